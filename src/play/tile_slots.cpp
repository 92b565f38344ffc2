#include "play/tile_slots.h"

#include <cmath>
#include <string>

#include "core/client.h"
#include "table/dispatcher.h"
#include "table/pictures.h"

namespace tess {

int16_t RoundPixels(double v) { return static_cast<int16_t>(std::lround(v)); }

Element& TileAt(Client& c, int slot) {
  if (Element* e = FindTile(c, slot)) return *e;
  throw HandlerFault("tile slot " + std::to_string(slot) + " outside the table");
}

Element* FindTile(Client& c, int slot) {
  return slot >= 0 && slot < kTileSlots ? &c.MainForm.At("MJ_Image", slot) : nullptr;
}

void ShowFace(Client& c, int slot, int group, int code) {
  if (auto picture = PictureIndex(group, code & 0xFF)) ShowTilePicture(c, slot, *picture);
}

void SetHandTileSize(Client& c) {
  c.play.TileW[0] = RoundPixels(48 * c.game.ScaleX);
  c.play.TileH[0] = RoundPixels(78 * c.game.ScaleY);
}

bool HoldsDiscardCount(const SeatState& s) { return (s.HandCount - 2) % 3 == 0; }

bool IsWind(int code) { return (code >> 4) == 1 && (code & 0x0F) >= 1 && (code & 0x0F) <= 4; }

void MoveOnto(Element& e, const Element& to) {
  e.left = to.left;
  e.top = to.top;
}

}  // namespace tess
