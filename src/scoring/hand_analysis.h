// The hand evaluation behind automatic play. The client never tests a hand
// for a win; it only scores how well the local player's concealed tiles
// hang together, suit by suit: the most isolated complete meld is pulled out
// of a suit again and again (1000 each), and what is left scores by how
// closely its tiles connect, less a penalty for copies already seen on the
// table. The discard and claim choice of the automatic player compares such
// scores.
//
// The counting tables are indexed [suit number][rank], suit number 0
// honours, 1 bamboo, 2 characters, 3 dots; ranks 1-9 (entry 0 unused), the
// shape of GameState::SeenCount. They persist across calls in
// AnalysisState, one member of the client.
//
// Calling order: EvaluateSuit uses up TileCount as it extracts melds, so
// every evaluation must follow a RefreshTileCounts (and whatever adjustment
// the caller wants).
#pragma once

#include <array>
#include <cstdint>

#include "table/game_state.h"

namespace tess {

using TileTable = std::array<std::array<int16_t, 10>, 4>;

struct AnalysisState {
  TileTable TileCount{};      // copies of each kind among the local concealed tiles
  TileTable MeldCount{};      // how often each rank served a meld of the last evaluation
  TileTable ConnectWeight{};  // working weight of each rank within one extraction pass
  int16_t DropSuit = -1;      // suit number 1-3 to discard away; -1 none
  int16_t SuitsPresent = 0;   // numbered suits the concealed hand holds, 0-3
  int16_t NeedSuitChoice = 0; // 1: choose DropSuit on the next automatic turn
  int16_t ClaimPartner = 0;   // tile code a pung claim is made with; set by the pung test
};

// EvaluateSuit modes: plain, without one copy of the tile, plain (the two
// the pung test passes), and without the 1000 per extracted meld.
inline constexpr int kEvalPlain = 0;
inline constexpr int kEvalWithoutTile = 1;
inline constexpr int kEvalClaimWith = 3;
inline constexpr int kEvalNoMeldBonus = 4;

// Rebuilds TileCount from the local concealed tiles custom[0].mj(HandStart
// .. HandStart + HandCount - 1) and clears MeldCount. Every concealed code
// is written back reduced to its low 8 bits; codes of rank 0 or 10-15 are
// not counted. Throws HandlerFault when the concealed range lies outside
// mj(0..20).
void RefreshTileCounts(AnalysisState& a, GameState& gs);

// The score of the suit of `tile` in the current TileCount, with SeenCount
// as the seen copies. Mode 1 leaves one copy of `tile` out (and puts it
// back before returning; a rank outside 1-9 leaves nothing out); other
// modes read only the suit of `tile`: a caller scoring a whole suit passes
// its rank-1 tile. Decrements TileCount by the extracted melds, adds them to
// MeldCount. Throws HandlerFault for a code outside a byte.
int16_t EvaluateSuit(AnalysisState& a, const GameState& gs, int mode, int tile);

// SuitsPresent = how many of the three numbered suits the concealed hand
// holds; DropSuit = the suit with the fewest tiles when it holds all three
// (equal counts go to the higher suit number), else -1. Throws HandlerFault
// when the concealed range lies outside mj(0..20).
void ChooseDropSuit(AnalysisState& a, const GameState& gs);

// The bounds of the concealed range of the local hand as [first, end) mj
// indices; throws HandlerFault when HandStart or HandCount would reach
// outside mj(0..20).
struct MjRange {
  int first, end;
};
MjRange ConcealedRange(const SeatState& seat);

}  // namespace tess
