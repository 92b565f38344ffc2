// Tiles entering a hand: the deal batches (type 1) and the draws (type 5)
// both go through AddTilesToHand, which takes each tile's picture from the
// wall position being drawn, moves it into the seat's hand row and gives
// it its face (the local player) or the seat's standing back (the others).
// Before a drawn tile is added, the discard still lying in the centre is
// laid on its owner's pile.
//
// The wall ring: WallFront walks forward slot by slot; WallBack walks
// backward taking a stack's even slot first, then its odd partner. The
// front rule keeps WallFront off a stack whose even tile a replacement draw
// already took; the back rule keeps WallBack from falling just behind
// WallFront.
#pragma once

#include <array>
#include <cstdint>

namespace tess {

struct Client;
struct Element;

void OnDeal(Client& c);
void OnDraw(Client& c);

// seat: a SeatMask; n: 4 (deal: tiles[0..3]) or 1 (draw: tiles[3], with
// tiles[1] = 1 leaving the centre discard where it is). A seat whose tiles
// would pass mj(20) is a protocol fault (HandlerFault).
void AddTilesToHand(Client& c, int seat, int n, std::array<int16_t, 4> tiles);
// Sorts the first n concealed tiles of ViewSeat v (suit mask descending,
// rank ascending; only codes move, never slots) and redraws them.
void SortAndRedrawHand(Client& c, int v, int n);

// Entry i of another seat's (v 1-3) concealed row: its standing back's
// place at TileW(v) x TileH(v), shifted by the drawn tile's offset when
// `apart`, and its stacking (brought to the front on the left, sent to the back on
// the right).
void PlaceBack(Client& c, int v, int i, Element& e, bool apart);
// The wild-tile box shown with the large standing face of `code`.
void ShowWildTileBox(Client& c, int code);

// The back position after slot t: t + 1 for an even t, t - 3 mod 136 for an
// odd one.
int NextBack(int t);

}  // namespace tess
