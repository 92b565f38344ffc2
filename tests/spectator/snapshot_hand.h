// The type-40 messages of a hand in progress, for the snapshot tests and
// the screenshot of a restored table.
#pragma once

#include <cstdint>
#include <vector>

#include "support/scripted_server.h"

namespace tess::test {

inline constexpr uint8_t kOwn = 1, kRight = 2, kTop = 4, kLeft = 8;
inline constexpr uint8_t kExposed = 0x20, kConcealed = 0x10;
inline constexpr int16_t kWild = 0x25, kIndicator = 0x24;

// One of a seat's 24 entries: a flag byte and a tile code.
struct Entry {
  uint8_t flag, code;
};

// Type 40 for `seat`: `discards` on its pile, the tiles taken from the
// front (value(1)) and the back (value(3)), the entries as given (at most
// 24; the rest empty).
ServerPacket SnapshotMsg(uint8_t seat, uint8_t discards, int16_t front, int16_t back, const std::vector<Entry>& entries);
// `codes` as entries of one flag.
std::vector<Entry> Tiles(uint8_t flag, const std::vector<uint8_t>& codes);
std::vector<Entry> operator+(std::vector<Entry> a, const std::vector<Entry>& b);

// alice's fourteen as sent, unsorted, and as her row shows them.
extern const std::vector<uint8_t> kAliceTiles;
extern const std::vector<uint8_t> kAliceSorted;

// The four messages of a hand in progress at a table where alice sits at
// mask 1 (see the definition for what each seat holds).
std::vector<ServerPacket> HandInProgress();

}  // namespace tess::test
