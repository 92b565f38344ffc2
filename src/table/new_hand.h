// The start of every hand (type 4: dealer, wall, two throws of the dice,
// the wall break), the wild tile (type 14) and the round information
// (type 41).
//
// The wall is the 136 tile slots laid out by ClearTable; building it shows
// them stack by stack. The break: with the dealer at ViewSeat k and the
// dice d0..d3 (0 counted as 1), WallFront = 2 * (17 * ((13 + k - d0 - d1)
// mod 4) + d0 + d1 + d2 + d3) mod 136 and WallBack = WallFront - 2 mod 136.
#pragma once

#include <array>

namespace tess {

struct Client;

void OnHandStart(Client& c);
void OnWildTile(Client& c);
void OnRoundInfo(Client& c);

// The wall break for dealer ViewSeat k and the sums of the two throws
// (dice already corrected for 0 at a seat; a spectator's round dice as
// received): front 2 × (17 × ((13 + k − first) mod 4) + first + second)
// mod 136, back two slots before it, both in 0..135.
struct WallBreak {
  int front, back;
};
WallBreak BreakWall(int k, int first_throw, int second_throw);

}  // namespace tess
