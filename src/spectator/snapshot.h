// The table snapshot (type 40): four messages, one per seat, that lay out a
// hand already running, for a spectator who joins it and for a seated
// client that reconnects. Each message carries a seat's exposed tiles (its
// red dragons and wild tiles set aside, its melds with a kong's fourth tile
// on top), its concealed tiles and the number of its discards; the fourth
// message restores the wall, puts the indicator on it face up, lays the
// discard piles face down and moves WallFront past the tiles taken.
//
// The tiles a snapshot lays take the slots the hand has taken from the
// wall: the front ones from the wall break on, then the back ones in the
// order the back is drawn. So the remaining wall, the next draw and the
// next replacement draw stay those of a table played from the deal. The
// first message of a snapshot empties the table's tiles first (a client
// that reconnects still shows the hand as it was).
//
// Input comes from the server: a message for a seat that is not at the
// table is ignored; a fifth tile in a set-aside column or a tile beyond
// mj(20) is a protocol fault (HandlerFault, the dispatcher's fault exit).
#pragma once

#include <array>
#include <cstdint>

#include "table/game_state.h"

namespace tess {

struct Client;

struct SnapshotState {
  // Per ViewSeat: the seat's discards on its pile, laid face down.
  std::array<int16_t, kSeatCount> SnapshotAux{};
  // The largest value(1) (tiles taken from the front) and the smallest
  // value(3) (from the back) over the snapshot's messages.
  int16_t SnapshotHigh = 0;
  int16_t SnapshotLow = 0;
  bool SnapshotDone = false;
  // Tiles laid by snapshots since start-up; never reset.
  int16_t RestoreCount = 0;
  // RestoreCount when the current snapshot began: its k-th tile is tile
  // RestoreCount - RestoreBase.
  int16_t RestoreBase = 0;
  // WallFront at this hand's wall break (the new-hand message); -1 when the
  // client has not seen this hand start (a spectator that joins it), and
  // the snapshot takes WallFront.
  int16_t BreakFront = -1;
};

// Message type 40.
void OnSnapshot(Client& c);

}  // namespace tess
