// What the play code shares about the table's tile pictures: bounded access
// to an MJ_Image slot, a tile's face by picture group, the local hand size
// and the discard count test. Slots and codes reach here from the wire, so
// nothing indexes an array without its bound checked.
#pragma once

#include <cstdint>

#include "ui/elements.h"

namespace tess {

struct Client;
struct SeatState;

// Rounded reference pixels.
int16_t RoundPixels(double v);
// MJ_Image(slot); a slot outside 0..135 is a protocol fault (HandlerFault).
// For handlers the dispatcher calls.
Element& TileAt(Client& c, int slot);
// MJ_Image(slot), or nullptr outside 0..135. For input handlers, which
// skip what they cannot reach.
Element* FindTile(Client& c, int slot);
// Puts the face of `code` (its low byte) in picture group `group` into
// MJ_Image(slot); a code without a picture leaves the slot as it was.
void ShowFace(Client& c, int slot, int group, int code);
// TileW(0) x TileH(0) := the standing hand size, 48 x 78 scaled.
void SetHandTileSize(Client& c);
// The seat holds a discard count: (HandCount - 2) mod 3 = 0.
bool HoldsDiscardCount(const SeatState& s);
// Suit mask 1, rank 1-4.
bool IsWind(int code);
// Moves `e` to the Left and Top of `to`, keeping its size.
void MoveOnto(Element& e, const Element& to);

}  // namespace tess
