// What the play of a hand keeps beside the seat records: how the next draw
// is taken, the sizes the next placement of each seat uses, the 报 and 摆
// marks, the placed winds and the right-hand discard pile, the open action
// offer, the first winner, the other seats' concealed kongs to turn up and
// the end-of-hand reveal. Reset at every new hand and by ResetHandState.
#pragma once

#include <array>
#include <cstdint>

#include "table/game_state.h"

namespace tess {

inline constexpr int kPlacedWinds = 16;    // BaiBao_img 0-15
inline constexpr int kRightPileSlots = 24;
inline constexpr int kActionButtons = 5;   // Operation(0..4)
inline constexpr int kKongChoices = 10;
inline constexpr int kRevealRows = 16;
inline constexpr int kPeekTiles = 5;

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

  // The action offer: per Operation button, 2 = offered by the current
  // message 6; cleared by the first button click.
  std::array<int16_t, kActionButtons> OfferedActions{};
  // value(0) of the last offer of a kong (bits 16, 32, 64: its kinds).
  int16_t OfferFlags = 0;
  // mj indices of the kong candidates, in Gang button order; entry 0 is the
  // kong a confirmation of the local seat lays out.
  std::array<int16_t, kKongChoices> KongChoices{};
  // The offer has been answered (pass, claim or discard sent).
  bool TurnActed = false;
  // The offer came while the hand held a discard count: one click discard.
  bool DiscardAllowed = false;

  // ViewSeat of the first win confirmed in this hand; -1 none.
  int16_t WinnerView = -1;
  // Other seats' concealed kongs: the fourth tile's slot (-1 once turned up
  // by a click), its code and picture group.
  std::array<int16_t, kRevealRows> RevealSlots{};
  std::array<int16_t, kRevealRows> RevealCodes{};
  std::array<int16_t, kRevealRows> RevealGroups{};
  uint8_t RevealCount = 0;

  // The end-of-hand reveal: OpenHandCodes[v][w], v 1-3, the seat's revealed
  // codes in arrival order (0 none yet).
  std::array<std::array<int16_t, kHandEntries>, kSeatCount> OpenHandCodes{};
  // The named wall tiles: codes, slots (-1 once turned up), how many.
  std::array<int16_t, kPeekTiles> PeekCodes{};
  std::array<int16_t, kPeekTiles> PeekSlots{};
  uint8_t PeekCount = 0;
  // Slot of the wild-tile indicator while it lies on the wall; -1 when it
  // does not (only a restored table puts it there).
  int16_t IndicatorSlot = -1;
};

}  // namespace tess
