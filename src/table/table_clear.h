// Clearing the table between hands. The three operations are always used
// together, in this order, by ClearTableForNextHand; leaving the table and
// the lobby's leave request use ClearTable alone or the full sequence.
//
// ClearHandLists: every seat's tile codes 0, no last discard, the per-hand
// lists of the play emptied. ClearTable: every tile slot, the countdown,
// action and choice buttons, compass, dealer caption, speech pictures and
// placed winds hidden; the wall laid out again; every seat's hand and
// discard anchors back at their start. ResetHandState: the per-hand values
// of the seat records and the play back to their start values, no wall
// break known to a snapshot, the caption Label3 emptied.
#pragma once

#include <functional>

namespace tess {

struct Client;

void ClearHandLists(Client& c);
void ClearTable(Client& c);
void ResetHandState(Client& c);
// The three, then TableCleared.
void ClearTableForNextHand(Client& c);
// Every tile slot hidden and put back at its place in the wall.
void LayOutWallSlots(Client& c);
// Where and how big wall slot `slot` (0-135) lies, in reference pixels
// times the layout scale.
struct SlotPlace {
  double left, top, width, height;
};
SlotPlace WallPlace(const Client& c, int slot);
// Brings the wall slots for which `in_wall` holds to the front in the
// wall's stacking order: the left side's stacks come nearer from the last
// to the first, the other sides' from the first to the last; an upper tile
// covers its lower.
void StackWall(Client& c, const std::function<bool(int slot)>& in_wall);

}  // namespace tess
