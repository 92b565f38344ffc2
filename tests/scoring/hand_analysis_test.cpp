#include "scoring/hand_analysis.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/local_hand.h"
#include "table/dispatcher.h"

namespace tess {
namespace {

using test::SetLocalHand;

struct EvalCase {
  const char* what;
  std::vector<int> hand;
  int mode, tile;
  int16_t expected;
  int seen_rank = 0, seen = 0;  // copies of the tile's rank seen on the table
};

TEST(EvaluateSuit, ScoresMeldsAndLeftoversAsTheRulesSay) {
  const EvalCase cases[] = {
      {"2-3-4 is one run", {0x22, 0x23, 0x24}, kEvalPlain, 0x21, 1000},
      {"2-3-4 without the meld bonus", {0x22, 0x23, 0x24}, kEvalNoMeldBonus, 0x21, 0},
      {"an empty suit", {0x22, 0x23, 0x24}, kEvalPlain, 0x41, 0},
      {"an empty suit without a bonus", {0x22, 0x23, 0x24}, kEvalNoMeldBonus, 0x81, 0},
      {"an empty suit without one tile", {0x22, 0x23, 0x24}, kEvalWithoutTile, 0x45, 0},
      {"a single honour", {0x11}, kEvalPlain, 0x11, -60},
      {"a seen single honour", {0x11}, kEvalPlain, 0x11, -64, 1, 2},
      {"an honour pair", {0x13, 0x13}, kEvalPlain, 0x11, -30},
      {"an honour triplet", {0x15, 0x15, 0x15}, kEvalPlain, 0x11, 1000},
      {"honours make no runs", {0x11, 0x12, 0x13}, kEvalPlain, 0x11, -180},
      {"four of an honour", {0x16, 0x16, 0x16, 0x16}, kEvalPlain, 0x11, 1090},
      {"four of an honour, three seen", {0x16, 0x16, 0x16, 0x16}, kEvalPlain, 0x11, 1084, 6, 3},
      // The fourth copy: -60 + 4 (middle), 15 for itself, (3 * 10) \ 2 for the meld.
      {"four of a numbered rank", {0x25, 0x25, 0x25, 0x25}, kEvalPlain, 0x21, 974},
      {"a seen single", {0x25}, kEvalPlain, 0x21, -45, 5, 2},
      {"neighbours", {0x24, 0x25}, kEvalPlain, 0x21, -57},
      {"two apart", {0x23, 0x25}, kEvalPlain, 0x21, -76},
      {"four apart, (1 * 6) \\ 3 each", {0x21, 0x25}, kEvalPlain, 0x21, -82},
      {"five apart, nothing", {0x21, 0x26}, kEvalPlain, 0x21, -87},
      {"1-2-3 and a pair of 7", {0x21, 0x22, 0x23, 0x27, 0x27}, kEvalPlain, 0x27, 972},
      {"1-2-3 and a 7 without the other", {0x21, 0x22, 0x23, 0x27, 0x27}, kEvalWithoutTile, 0x27, 957},
      {"1-2-3 in the claim mode", {0x21, 0x22, 0x23}, kEvalClaimWith, 0x27, 1000},
      {"3-4-4-5", {0x23, 0x24, 0x24, 0x25}, kEvalPlain, 0x24, 971},
      {"3 and 5 in the claim mode", {0x23, 0x25}, kEvalClaimWith, 0x24, -76},
      // 2 and 6 are equally isolated: 2-3-4 goes first, 5 and 6 are left.
      {"the lower of two candidates", {0x22, 0x23, 0x24, 0x25, 0x26}, kEvalPlain, 0x21, 955},
      {"characters score like bamboo", {0x42, 0x43, 0x44}, kEvalPlain, 0x41, 1000},
      {"dots too", {0x84, 0x85}, kEvalPlain, 0x81, -57},
  };
  for (const EvalCase& c : cases) {
    GameState gs;
    AnalysisState a;
    SetLocalHand(gs, c.hand);
    if (c.seen_rank) gs.SeenCount[*SuitNumber(c.tile)][c.seen_rank] = static_cast<int16_t>(c.seen);
    RefreshTileCounts(a, gs);
    EXPECT_EQ(EvaluateSuit(a, gs, c.mode, c.tile), c.expected) << c.what;
  }
}

TEST(EvaluateSuit, ExtractsTheMeldsIntoMeldCountAndUsesUpTileCount) {
  GameState gs;
  AnalysisState a;
  SetLocalHand(gs, {0x22, 0x23, 0x24, 0x25, 0x26});
  RefreshTileCounts(a, gs);
  EvaluateSuit(a, gs, kEvalPlain, 0x21);
  const std::array<int16_t, 10> melds{0, 0, 1, 1, 1, 0, 0, 0, 0, 0};
  const std::array<int16_t, 10> left{0, 0, 0, 0, 0, 1, 1, 0, 0, 0};
  EXPECT_EQ(a.MeldCount[1], melds);
  EXPECT_EQ(a.TileCount[1], left);
}

TEST(EvaluateSuit, ModeOnePutsTheLeftOutCopyBack) {
  GameState gs;
  AnalysisState a;
  SetLocalHand(gs, {0x21, 0x22, 0x23, 0x27, 0x27});
  RefreshTileCounts(a, gs);
  EvaluateSuit(a, gs, kEvalWithoutTile, 0x27);
  EXPECT_EQ(a.TileCount[1][7], 2);
  EXPECT_EQ(a.TileCount[1][1], 0);  // used up by the run
}

TEST(EvaluateSuit, StopsAfterFivePasses) {
  // Six honour triplets: all weigh 9, so east to red go first and the green
  // triplet is left over as a pair's -30 would be.
  GameState gs;
  AnalysisState a;
  SeatState& local = gs.custom[0];
  local.HandStart = 3;
  local.HandCount = 18;
  for (int i = 0; i < 18; ++i) local.mj[3 + i] = HandEntry{1, static_cast<int16_t>(0x11 + i / 3), -1};
  RefreshTileCounts(a, gs);
  EXPECT_EQ(EvaluateSuit(a, gs, kEvalPlain, 0x11), 4970);
  EXPECT_EQ(a.TileCount[0][6], 3);
}

TEST(EvaluateSuit, ACodeOutsideAByteIsAFault) {
  GameState gs;
  AnalysisState a;
  EXPECT_THROW(EvaluateSuit(a, gs, kEvalPlain, 0x121), HandlerFault);
  EXPECT_THROW(EvaluateSuit(a, gs, kEvalWithoutTile, -1), HandlerFault);
}

TEST(RefreshTileCounts, CountsTheConcealedTilesAndReducesTheirCodes) {
  GameState gs;
  AnalysisState a;
  SetLocalHand(gs, {0x125, 0x25, 0x120, 0x2A, 0x11, -1});
  a.MeldCount[2][3] = 7;
  a.TileCount[3][9] = 4;
  RefreshTileCounts(a, gs);

  TileTable counts{};
  counts[1][5] = 2;
  counts[0][1] = 1;
  EXPECT_EQ(a.TileCount, counts);  // the meld entries before HandStart do not count
  EXPECT_EQ(a.MeldCount, TileTable{});
  std::vector<int> codes;
  for (int i = 4; i < 10; ++i) codes.push_back(gs.custom[0].mj[i].code);
  EXPECT_EQ(codes, (std::vector<int>{0x25, 0x25, 0x20, 0x2A, 0x11, 0xFF}));
  EXPECT_EQ(gs.custom[0].mj[0].code, 0x29);
}

TEST(RefreshTileCounts, AConcealedRangeOutsideTheHandIsAFault) {
  struct Case {
    int16_t start, count;
    bool fault;
  };
  for (Case c : {Case{4, 17, false}, Case{21, 0, false}, Case{0, 21, false}, Case{4, 18, true},
                 Case{-1, 3, true}, Case{4, -1, true}, Case{22, 0, true}}) {
    GameState gs;
    AnalysisState a;
    gs.custom[0].HandStart = c.start;
    gs.custom[0].HandCount = c.count;
    if (c.fault) {
      EXPECT_THROW(RefreshTileCounts(a, gs), HandlerFault) << c.start << "+" << c.count;
      EXPECT_THROW(ChooseDropSuit(a, gs), HandlerFault) << c.start << "+" << c.count;
    } else {
      EXPECT_NO_THROW(RefreshTileCounts(a, gs)) << c.start << "+" << c.count;
    }
  }
}

TEST(ChooseDropSuit, PicksTheThinnestSuitOnlyWhenAllThreeAreHeld) {
  struct Case {
    const char* what;
    std::vector<int> hand;
    int16_t present, drop;
  };
  const Case cases[] = {
      {"no tiles", {}, 0, -1},
      {"two suits", {0x21, 0x22, 0x45, 0x11, 0x11}, 2, -1},
      {"honours do not count", {0x11, 0x12, 0x13, 0x84}, 1, -1},
      {"bamboo thinnest", {0x21, 0x41, 0x42, 0x81, 0x82, 0x83}, 3, 1},
      {"characters thinnest", {0x21, 0x22, 0x41, 0x81, 0x82}, 3, 2},
      {"bamboo and dots tie: dots", {0x21, 0x41, 0x42, 0x81, 0x17}, 3, 3},
      {"all equal: dots", {0x21, 0x49, 0x89}, 3, 3},
      {"bamboo and characters tie: characters", {0x21, 0x41, 0x81, 0x82}, 3, 2},
      {"ranks are not checked", {0x20, 0x4F, 0x85, 0x86}, 3, 2},
  };
  for (const Case& c : cases) {
    GameState gs;
    AnalysisState a;
    a.DropSuit = 2;  // last hand's choice does not linger
    a.SuitsPresent = 3;
    SetLocalHand(gs, c.hand);
    ChooseDropSuit(a, gs);
    EXPECT_EQ(a.SuitsPresent, c.present) << c.what;
    EXPECT_EQ(a.DropSuit, c.drop) << c.what;
  }
}

}  // namespace
}  // namespace tess
