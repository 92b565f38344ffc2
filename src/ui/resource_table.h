// The table of built-in resources behind FindResource (ui/resources.h).
//
// The picture generator writes the source that defines ResourceTable: one
// record per resource, sorted by type and then identifier, each pointing at
// bytes that live for the whole run.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tess {

struct ResourceRecord {
  std::string_view type;
  int id;
  std::span<const uint8_t> bytes;
};

std::span<const ResourceRecord> ResourceTable();

}  // namespace tess
