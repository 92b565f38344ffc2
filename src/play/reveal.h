// The end-of-hand reveal. Message 15 carries up to four concealed tiles of
// one seat, so a hand arrives in several messages; its bytes 16-20 name up
// to five wall tiles. The tiles of the three other seats are collected in
// OpenHandCodes while each seat's HandCount counts those still missing;
// once all three hands are complete every row on the table is turned face
// up: the local standing tiles as lying faces, each other row sorted, and
// the winner's row on a discard completed with that discard. The named
// wall tiles (the next two at the back, up to three at the front) stay face
// down until clicked; a click turns one up into a row in the middle.
#pragma once

#include <array>
#include <cstdint>

namespace tess {

struct Client;

// Message type 15.
void OnHandReveal(Client& c);
// Collects `tiles` (low bytes of value(3) down to value(0), 0 = none) for
// `seat` (a SeatMask) and lays out all hands once the others are complete;
// every later message lays them out again.
void RevealHand(Client& c, int seat, const std::array<int16_t, 4>& tiles);
// A click on MJ_Image(index) after a win: turns a named wall tile up.
// Moves involving the indicator are left out while IndicatorSlot is -1
// (no indicator lies on the wall).
void WallTileClick(Client& c, int index);

}  // namespace tess
