#include "spectator/snapshot_hand.h"

namespace tess::test {

ServerPacket SnapshotMsg(uint8_t seat, uint8_t discards, int16_t front, int16_t back, const std::vector<Entry>& entries) {
  ServerPacket p;
  p.type = 40;
  p.seat = seat;
  p.aux_b = discards;
  p.value = {0, front, 0, back};
  for (size_t i = 0; i < entries.size() && i < 24; ++i) {
    p.body[2 * i] = entries[i].flag;
    p.body[2 * i + 1] = entries[i].code;
  }
  return p;
}

std::vector<Entry> Tiles(uint8_t flag, const std::vector<uint8_t>& codes) {
  std::vector<Entry> e;
  for (uint8_t code : codes) e.push_back({flag, code});
  return e;
}

std::vector<Entry> operator+(std::vector<Entry> a, const std::vector<Entry>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<uint8_t> kAliceTiles = {0x11, 0x47, 0x82, 0x21, 0x81, 0x45, 0x23,
                                          0x17, 0x84, 0x46, 0x11, 0x22, 0x83, 0x25};
const std::vector<uint8_t> kAliceSorted = {0x81, 0x82, 0x83, 0x84, 0x45, 0x46, 0x47,
                                           0x21, 0x22, 0x23, 0x25, 0x11, 0x11, 0x17};

// 71 tiles taken from the front and 6 from the back (the indicator, a
// kong's and four set-aside tiles' replacements): alice (ViewSeat 0) holds
// 14; bob (right, 3) a red dragon and a wild tile set aside, a pung and
// 10; carol (top, 2) a kong and a pung and 7; dave (left, 1) two red
// dragons set aside and 13, between entries that carry no tile. Piles of
// 3, 2, 9 and 4 discards. The first message reports one tile fewer at the
// front and one more at the back than the others.
std::vector<ServerPacket> HandInProgress() {
  return {
      SnapshotMsg(kOwn, 3, 70, 7, Tiles(kConcealed, kAliceTiles)),
      SnapshotMsg(kRight, 4, 71, 6,
                  Tiles(kExposed, {0x15, 0x83, 0x83, 0x83, 0x25}) + Tiles(kConcealed, std::vector<uint8_t>(10, 0))),
      SnapshotMsg(kTop, 9, 71, 6,
                  Tiles(kExposed, {0x47, 0x29, 0x47, 0x29, 0x47, 0x29, 0x47}) +
                      Tiles(kConcealed, std::vector<uint8_t>(7, 0))),
      SnapshotMsg(kLeft, 2, 71, 6,
                  std::vector<Entry>{{0x20, 0x15}, {0x30, 0x11}, {0x2F, 0x15}, {0x00, 0x12}, {0x40, 0x13}} +
                      Tiles(0x1F, std::vector<uint8_t>(13, 0))),
  };
}

}  // namespace tess::test
