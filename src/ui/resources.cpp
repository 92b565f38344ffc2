#include "ui/resources.h"

#include <algorithm>
#include <tuple>

#include "ui/resource_table.h"

namespace tess {

std::span<const uint8_t> FindResource(std::string_view type, int id) {
  const std::span<const ResourceRecord> table = ResourceTable();
  const auto it = std::lower_bound(table.begin(), table.end(), std::tie(type, id),
                                   [](const ResourceRecord& r, const std::tuple<std::string_view&, int&>& key) {
                                     return std::tie(r.type, r.id) < key;
                                   });
  if (it == table.end() || it->type != type || it->id != id) return {};
  return it->bytes;
}

}  // namespace tess
