// Writes the C++ source that builds the resources into the client: the
// bytes of every resource as an array and the sorted table of
// ui/resource_table.h that FindResource searches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace picgen {

struct EmbeddedResource {
  std::string type;
  int id = 0;
  std::vector<uint8_t> bytes;
};

// Sorts by type and identifier and writes the source to `path`. Returns
// false when the file cannot be written.
bool WriteResourceSource(const std::string& path, std::vector<EmbeddedResource> resources);

}  // namespace picgen
