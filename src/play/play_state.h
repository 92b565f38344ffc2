// What the play of a hand keeps beside the seat records: how the next draw
// is taken, the sizes the next placement of each seat uses, the 报 and 摆
// marks, the placed winds and the right-hand discard pile. Reset at every
// new hand and by ResetHandState.
#pragma once

#include <array>
#include <cstdint>

#include "table/game_state.h"

namespace tess {

inline constexpr int kPlacedWinds = 16;    // BaiBao_img 0-15
inline constexpr int kRightPileSlots = 24;

struct PlayState {
  // The next draw is taken at WallFront; off for the one replacement draw
  // after a kong.
  bool DrawFromFront = true;
  // A claim took the centre discard: the next draw does not lay it.
  bool DiscardTaken = false;
  // The centre discard has been laid on its pile; a further draw before
  // the next discard leaves it there.
  bool DiscardLaid = false;
  // Width and height, per ViewSeat, of that seat's next placement.
  std::array<int16_t, kSeatCount> TileW{};
  std::array<int16_t, kSeatCount> TileH{};
  // 报: the seat declared (its hand is fixed); 摆: it places its winds.
  std::array<bool, kSeatCount> Declared{};
  std::array<bool, kSeatCount> Placing{};
  std::array<int16_t, kSeatCount> PlacedCount{};
  // PlacedSlots[n][v]: BaiBao_img index of seat v's n-th placed wind.
  std::array<std::array<int16_t, kSeatCount>, kPlacedWinds> PlacedSlots{};
  int16_t PlacedTotal = 0;
  bool DeclBubbleShown = false;
  std::array<int16_t, kRightPileSlots> RightPileSlots{};
  int16_t RightPileCount = 0;
};

}  // namespace tess
