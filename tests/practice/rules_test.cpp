// The practice table's own rules: winning hands with and without wild
// tiles, the offers that follow from a hand, and the scoring of a won hand.
#include <gtest/gtest.h>

#include "rules.h"
#include "scoring.h"

namespace tess::practice {
namespace {

// Codes: bamboo 0x21-0x29, characters 0x41-0x49, dots 0x81-0x89,
// winds 0x11-0x14, dragons 0x15-0x17.
constexpr Tile kNoWild = 0;
constexpr Tile kWild = 0x89;  // nine of dots as this hand's wild tile

struct WinCase {
  const char* what;
  std::vector<Tile> tiles;
  int melds_needed;
  Tile wild;
  bool wins;
};

TEST(PracticeRules, WinningHandsWithAndWithoutWildTiles) {
  const WinCase cases[] = {
      {"runs, a triplet and a pair", {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x15}, 4, kNoWild, true},
      {"four triplets and a pair", {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x29, 0x29, 0x29, 0x43, 0x43, 0x43, 0x82, 0x82}, 4, kNoWild, true},
      {"one tile short of a run", {0x21, 0x22, 0x24, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x15}, 4, kNoWild, false},
      {"honours make no runs", {0x11, 0x12, 0x13, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x15}, 4, kNoWild, false},
      {"a run does not cross suits", {0x28, 0x29, 0x41, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x15}, 4, kNoWild, false},
      {"a run does not wrap from nine to one", {0x28, 0x29, 0x21, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x15}, 4, kNoWild, false},
      {"the wild fills the middle of a run", {0x21, kWild, 0x23, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x15}, 4, kWild, true},
      {"the wild completes the pair", {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, kWild}, 4, kWild, true},
      {"two wilds complete a triplet", {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x17, kWild, kWild, 0x15, 0x15}, 4, kWild, true},
      {"the same tile is no wild in another hand", {0x21, kWild, 0x23, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x15}, 4, kNoWild, false},
      {"a wild does not mend two gaps", {0x21, kWild, 0x24, 0x24, 0x25, 0x27, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x15}, 4, kWild, false},
      {"exposed melds leave fewer to form", {0x21, 0x22, 0x23, 0x47, 0x47, 0x47, 0x15, 0x15}, 2, kNoWild, true},
      {"four wilds and a single", {kWild, kWild, kWild, kWild, 0x15}, 1, kWild, true},
      {"a tile count that fits no hand", {0x21, 0x22, 0x23, 0x15, 0x15, 0x15}, 2, kNoWild, false},
  };
  for (const WinCase& c : cases) EXPECT_EQ(IsWinningHand(c.tiles, c.melds_needed, c.wild), c.wins) << c.what;
}

TEST(PracticeRules, OffersOnAnotherSeatsDiscard) {
  SeatHand hand;
  hand.concealed = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15};
  EXPECT_EQ(DiscardOptions(hand, 0x15, kNoWild), kPass | kWin);
  EXPECT_EQ(DiscardOptions(hand, 0x81, kNoWild), kPass | kPung | kKong);
  EXPECT_EQ(DiscardOptions(hand, 0x17, kNoWild), kPass);
  // A discarded wild tile is not claimed, not even to win.
  EXPECT_EQ(DiscardOptions(hand, 0x15, 0x15), kPass);
  // A locked hand only wins.
  hand.declared = true;
  EXPECT_EQ(DiscardOptions(hand, 0x81, kNoWild), kPass);
  EXPECT_EQ(DiscardOptions(hand, 0x15, kNoWild), kPass | kWin);
}

TEST(PracticeRules, OffersOnTheSeatsOwnTurn) {
  SeatHand hand;
  // Ready after discarding the north wind: 报 is open to the first seat only.
  hand.concealed = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x47, 0x48, 0x49, 0x81, 0x81, 0x81, 0x15, 0x14};
  EXPECT_EQ(TurnOptions(hand, kNoWild, false), kPass | kDeclare);
  EXPECT_EQ(TurnOptions(hand, kNoWild, true), kPass | kPlace);  // it holds a wind
  hand.concealed.back() = 0x15;
  EXPECT_EQ(TurnOptions(hand, kNoWild, false) & kWin, kWin);
  // Four equal tiles, and a pung with its fourth tile in the hand.
  SeatHand kongs;
  kongs.concealed = {0x81, 0x81, 0x81, 0x81, 0x47, 0x22, 0x23, 0x29, 0x29, 0x16, 0x17};
  kongs.melds = {{0x47, kPung}};
  EXPECT_EQ(TurnOptions(kongs, kNoWild, false), kPass | kConcealedKong | kAddedKong);
  EXPECT_EQ(ConcealedKongTile(kongs, kNoWild), 0x81);
  EXPECT_EQ(AddedKongTile(kongs, kNoWild), 0x47);
  // Wild tiles make no kong.
  EXPECT_EQ(TurnOptions(kongs, 0x81, false) & kConcealedKong, 0);
}

TEST(PracticeRules, ScoresASelfDrawnDealerFlushWithItsItems) {
  std::array<SeatHand, 4> hands;
  hands[1].concealed = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x22, 0x22, 0x22, 0x25, 0x25};
  hands[1].declared = hands[1].placing = true;
  hands[1].placed_winds = 2;
  WinFacts facts;
  facts.winner = 1;
  facts.discarder = -1;
  facts.tile = 0x25;
  facts.dealer = 1;
  facts.dealer_repeats = 2;
  facts.kong_replacement = true;
  const HandScore s = ScoreWin(hands, facts, kNoWild, 10);
  const ScoreRow& w = s.rows[1];
  EXPECT_EQ(Column(w, kColWinKind), 0x11);  // plain win, one suit
  EXPECT_EQ(Column(w, kColDealer), 1);
  EXPECT_EQ(Column(w, kColRepeats), 2);
  EXPECT_EQ(Column(w, kColVoidSuit), 0);  // one suit is not a void suit
  EXPECT_EQ(Column(w, kColDeclared), 0x42);
  EXPECT_EQ(Column(w, kColKongWin), 1);
  EXPECT_EQ(Column(w, kColHow), 2);
  EXPECT_EQ(Column(w, kColClosedWait), 0x25);  // 4-5-6 holds the winning five
  // (2 + 59 + 3 + 4 + 4 + 2 + 10 + 5) doubled for the self-drawn win.
  EXPECT_EQ(s.total, 178);
  EXPECT_EQ(256 * Column(w, kColTotalHigh) + Column(w, kColTotalLow), 178);
  EXPECT_EQ(s.money, (std::array<int64_t, 4>{-1780, 5340, -1780, -1780}));
  EXPECT_EQ(Column(w, kColSign), 1);
  EXPECT_EQ(Column(s.rows[0], kColSign), 2);
  EXPECT_EQ(Column(s.rows[0], kColPaid), 0);  // nobody paid for a discard
  // 5340 = 0x14DC, little-endian in columns 22-29.
  EXPECT_EQ(Column(w, kColMoney), 0xDC);
  EXPECT_EQ(Column(w, kColMoney + 1), 0x14);
  EXPECT_EQ(Column(w, kColMoney + 2), 0);
}

TEST(PracticeRules, TheDiscarderAlonePaysAWinOnItsDiscard) {
  std::array<SeatHand, 4> hands;
  // Two numbered suits and honours: a void suit; the last tile of the wall.
  hands[2].concealed = {0x21, 0x22, 0x23, 0x47, 0x48, 0x49, 0x41, 0x41, 0x41, 0x11, 0x11, 0x11, 0x15, 0x15};
  WinFacts facts;
  facts.winner = 2;
  facts.discarder = 3;
  facts.tile = 0x15;
  facts.dealer = 0;
  facts.last_tile = true;
  facts.kong_replacement = true;  // the last tile takes precedence
  const HandScore s = ScoreWin(hands, facts, kNoWild, 10);
  EXPECT_EQ(s.total, 2 + 5 + 10);
  EXPECT_EQ(Column(s.rows[2], kColLastTile), 1);
  EXPECT_EQ(Column(s.rows[2], kColKongWin), 0);
  EXPECT_EQ(Column(s.rows[2], kColVoidSuit), 1);
  EXPECT_EQ(Column(s.rows[3], kColPaid), 1);
  EXPECT_EQ(Column(s.rows[3], kColHow), 1);
  EXPECT_EQ(s.money, (std::array<int64_t, 4>{0, 0, 170, -170}));
  EXPECT_EQ(Column(s.rows[0], kColSign), 0);
}

TEST(PracticeRules, TheTablesOwnPlayDiscardsTheLeastConnectedTile) {
  struct Case {
    const char* what;
    std::vector<Tile> tiles;
    Tile wild;
    bool declared;
    Tile discard;
  };
  const Case cases[] = {
      {"a lone honour", {0x21, 0x22, 0x23, 0x45, 0x45, 0x17, 0x86, 0x87}, kNoWild, false, 0x17},
      {"a numbered tile far from its suit", {0x21, 0x22, 0x23, 0x29, 0x45, 0x46, 0x86, 0x87}, kNoWild, false, 0x29},
      {"not the lonely wild tile", {0x21, 0x22, 0x23, 0x89, 0x45, 0x46}, kWild, false, 0x46},
      {"the newer of two equally lonely tiles", {0x11, 0x21, 0x22, 0x23, 0x45, 0x46, 0x47, 0x12}, kNoWild, false, 0x12},
      {"a locked hand: the newest tile", {0x21, 0x22, 0x23, 0x17, 0x45, 0x46, 0x47, 0x22}, kNoWild, true, 0x22},
  };
  for (const Case& c : cases) {
    SeatHand hand;
    hand.concealed = c.tiles;
    hand.declared = c.declared;
    EXPECT_EQ(TimeoutDiscard(hand, c.wild), c.discard) << c.what;
  }
}

TEST(PracticeRules, WildTileFollowsItsIndicator) {
  const std::pair<Tile, Tile> cases[] = {{0x25, 0x26}, {0x29, 0x21}, {0x89, 0x81}, {0x11, 0x12},
                                         {0x14, 0x11}, {0x15, 0x16}, {0x17, 0x15}};
  for (auto [indicator, wild] : cases) EXPECT_EQ(WildAfter(indicator), wild) << int(indicator);
}

TEST(PracticeRules, WallFilesMustHoldAFullSet) {
  std::string line;
  for (Tile t : FullSet()) line += " " + std::to_string(t / 16) + std::to_string(t % 16);
  ASSERT_TRUE(ParseWall(line));
  EXPECT_EQ(ParseWall(line)->size(), 136u);
  EXPECT_FALSE(ParseWall(line + " 11"));                 // a fifth east wind
  EXPECT_FALSE(ParseWall(line.substr(0, line.size() - 3)));  // one short
  EXPECT_FALSE(ParseWall("zz" + line));
  // The same seed, the same wall.
  Wall a = Wall::Shuffled(7), b = Wall::Shuffled(7), c = Wall::Shuffled(8);
  std::vector<Tile> ta, tb, tc;
  while (!a.Empty()) ta.push_back(a.TakeFront());
  while (!b.Empty()) tb.push_back(b.TakeFront());
  while (!c.Empty()) tc.push_back(c.TakeFront());
  EXPECT_EQ(ta, tb);
  EXPECT_NE(ta, tc);
}

}  // namespace
}  // namespace tess::practice
