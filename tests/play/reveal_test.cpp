// The end-of-hand reveal through the scripted server: collecting the other
// hands over several messages, turning the rows once all are in, the
// winner's discard, the named wall tiles and their clicks.
#include <gtest/gtest.h>

#include "core/client.h"
#include "support/table_script.h"

namespace tess::test {
namespace {

constexpr std::array<uint16_t, 12> kOwnTiles = {0x81, 0x81, 0x42, 0x43, 0x44, 0x23, 0x24, 0x26, 0x11, 0x12, 0x13, 0x17};
constexpr uint8_t kOwn = 1, kRight = 2, kTop = 4, kLeft = 8;
constexpr int kWin = 128, kConcealedKong = 32;

// Thirteen tiles in arrival order, out of sort order.
constexpr std::array<int16_t, 13> kThirteen = {0x13, 0x29, 0x81, 0x45, 0x21, 0x88, 0x11, 0x42, 0x27, 0x83, 0x15, 0x22, 0x47};

// bob (right) deals: he holds 14, alice and the others 13.
class Reveal : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(t.DealOthersTurn(kOwnTiles, 0x14)); }
  Client& c() { return t.c(); }
  const SeatState& seat(int v) { return c().game.custom[v]; }
  const Element& Pic(int v, int e) { return c().MainForm.At("MJ_Image", seat(v).mj[e].slot); }
  const Element& Slot(int slot) { return c().MainForm.At("MJ_Image", slot); }
  int Face(int group, int code) { return 201 + *PictureIndex(group, code); }
  // `tiles` of `seat` in messages of four, the first arriving first.
  void RevealAll(uint8_t seat, const std::vector<int16_t>& tiles, std::array<uint8_t, 5> wall = {}) {
    for (size_t i = 0; i < tiles.size(); i += 4) {
      std::array<int16_t, 4> v{};
      for (size_t k = 0; k < 4 && i + k < tiles.size(); ++k) v[3 - k] = tiles[i + k];
      ASSERT_TRUE(t.Deliver(RevealMsg(seat, v, wall)));
    }
  }
  std::vector<int16_t> Thirteen() { return {kThirteen.begin(), kThirteen.end()}; }
  TableScript t;
};

TEST_F(Reveal, NothingTurnsUntilAllThreeHandsAreInThenEveryRowLiesSorted) {
  std::vector<int16_t> right = Thirteen();
  right.push_back(0x19 - 0x08);  // east, drawn last
  RevealAll(kRight, right);      // 4, 4, 4, 2 tiles
  EXPECT_EQ(seat(3).HandCount, 0);
  EXPECT_EQ(c().play.OpenHandCodes[3][13], 0x11);
  for (int e = 4; e < 18; ++e) EXPECT_EQ(Pic(3, e).picture->id, 201 + 36 * 3 + 7) << e;  // still backs
  RevealAll(kTop, Thirteen());
  for (int e = 4; e < 17; ++e) EXPECT_EQ(Pic(2, e).picture->id, 201 + 36 * 2 + 7) << e;
  RevealAll(kLeft, Thirteen());

  // The right row: thirteen sorted, the fourteenth apart face up; 45 x 35.
  std::vector<int16_t> sorted = Thirteen();
  std::sort(sorted.begin(), sorted.end(), [](int a, int b) {
    return (a >> 4) != (b >> 4) ? (a >> 4) > (b >> 4) : (a & 15) < (b & 15);
  });
  for (int e = 4; e < 17; ++e) {
    SCOPED_TRACE(e);
    EXPECT_EQ(seat(3).mj[e].code, sorted[e - 4]);
    EXPECT_EQ(Pic(3, e).picture->id, Face(3, sorted[e - 4]));
    EXPECT_EQ(Pic(3, e).width, 45);
    EXPECT_EQ(Pic(3, e).height, 35);
    EXPECT_EQ(seat(1).mj[e].code, sorted[e - 4]);
    EXPECT_EQ(Pic(2, e).width, 36);
    EXPECT_EQ(Pic(2, e).height, 39);
  }
  EXPECT_EQ(Pic(3, 17).picture->id, Face(3, 0x11));
  EXPECT_EQ(Pic(3, 17).width, 45);
  // The local row: lying faces where it stands.
  for (int e = 4; e < 17; ++e) EXPECT_EQ(Pic(0, e).picture->id, Face(0, seat(0).mj[e].code)) << e;
}

TEST_F(Reveal, TheDiscardWinnersRowGetsTheDiscardBesideItsLastTile) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x29)));
  const int discard = c().game.LastDiscardSlot;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kTop, kWin, {0, 0, 0})));
  RevealAll(kRight, Thirteen());
  RevealAll(kLeft, Thirteen());
  const double before = Slot(discard).left;
  RevealAll(kTop, Thirteen());
  const Element& d = Slot(discard);
  EXPECT_NE(d.left, before);
  EXPECT_EQ(d.left, 842 - 17 * 36 - 5);
  EXPECT_EQ(d.top, 122);
  EXPECT_EQ(d.width, 36);
  EXPECT_EQ(d.height, 39);
  EXPECT_EQ(d.picture->id, Face(2, 0x29));
}

TEST_F(Reveal, TwoNamedWallTilesGivePeekCountTwoAndKeepTheOtherSlots) {
  ASSERT_TRUE(t.h.Do([](Client& cl) { cl.play.PeekSlots = {7, 7, 7, 7, 7}; }));
  ASSERT_TRUE(t.Deliver(RevealMsg(kTop, {0, 0, 0, 0x13}, {0x11, 0x25, 0, 0, 0})));
  EXPECT_EQ(c().play.PeekCount, 2);
  EXPECT_EQ(c().play.PeekCodes[0], 0x11);
  EXPECT_EQ(c().play.PeekCodes[1], 0x25);
  EXPECT_EQ(c().play.PeekSlots[0], c().game.WallBack);
  EXPECT_EQ(c().play.PeekSlots[2], 7);
  EXPECT_EQ(c().play.PeekSlots[4], 7);
  // Recorded once: a later message changes nothing.
  ASSERT_TRUE(t.Deliver(RevealMsg(kTop, {0, 0, 0, 0x14}, {0x11, 0x25, 0x26, 0x27, 0x28})));
  EXPECT_EQ(c().play.PeekCount, 2);
}

TEST_F(Reveal, TheNamedWallTilesAreTheNextTwoAtTheBackAndThreeAtTheFront) {
  ASSERT_TRUE(t.h.Do([](Client& cl) {
    cl.game.WallBack = 100;
    cl.game.WallFront = 40;
  }));
  ASSERT_TRUE(t.Deliver(RevealMsg(kTop, {0, 0, 0, 0x13}, {0x11, 0x25, 0x26, 0x27, 0x28})));
  EXPECT_EQ(c().play.PeekSlots, (std::array<int16_t, 5>{100, 101, 40, 41, 42}));
}

TEST_F(Reveal, AClickOnALowerFrontTileFirstPutsDownTheTileOnIt) {
  // The front on the top side of the wall, where a stack's lower tile
  // shows below its upper one.
  ASSERT_TRUE(t.h.Do([](Client& cl) { cl.game.WallFront = 70; }));
  for (int v = 0; v < 4; ++v)
    for (const HandEntry& e : seat(v).mj) ASSERT_TRUE(e.slot < 70 || e.slot > 72) << e.slot;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kTop, kWin, {0, 0, 0})));
  ASSERT_TRUE(t.Deliver(RevealMsg(kTop, {0, 0, 0, 0x13}, {0x11, 0x25, 0x26, 0x27, 0x28})));
  // The first odd front tile that is not WallFront: its upper partner is
  // the entry before it.
  const auto& peek = c().play.PeekSlots;
  int k = 2;
  while (peek[k] % 2 == 0 || peek[k] == c().game.WallFront) ++k;
  const int lower = peek[k], upper = peek[k - 1];
  ASSERT_EQ(upper, lower - 1);
  const double left = Slot(lower).left, top = Slot(lower).top;
  t.Click(Slot(lower));
  EXPECT_EQ(Slot(upper).left, left);
  EXPECT_EQ(Slot(upper).top, top);
  EXPECT_EQ(Slot(lower).left, 400 + 45 * k);
  EXPECT_EQ(Slot(lower).top, 340);
  EXPECT_EQ(Slot(lower).width, 45);
  EXPECT_EQ(Slot(lower).height, 60);
  EXPECT_EQ(Slot(lower).picture->id, Face(0, 0x26 + k - 2));
  EXPECT_EQ(peek[k], -1);
  // Turned once only.
  t.Click(Slot(lower));
  EXPECT_EQ(Slot(upper).left, left);
  // The back tiles: no indicator lies on the wall, so only the clicked one
  // moves (the upper one first, which leaves its partner alone).
  const int back = peek[0], next = peek[1];
  const double next_left = Slot(next).left;
  t.Click(Slot(back));
  EXPECT_EQ(Slot(back).left, 400);
  EXPECT_EQ(Slot(next).left, next_left);
}

// A restored table can have the indicator lying on the back stack: a back
// tile's click puts it down where the clicked tile lay.
TEST_F(Reveal, TheIndicatorOnTheWallComesDownWithTheBackTileUnderIt) {
  ASSERT_TRUE(t.h.Do([](Client& cl) {
    cl.game.WallBack = 70;
    cl.play.IndicatorSlot = 74;
  }));
  ASSERT_TRUE(t.Deliver(ClaimMsg(kTop, kWin, {0, 0, 0})));
  ASSERT_TRUE(t.Deliver(RevealMsg(kTop, {0, 0, 0, 0x13}, {0x11, 0x25, 0, 0, 0})));
  ASSERT_EQ(c().play.PeekSlots[1], 71);
  const double left70 = Slot(70).left, top70 = Slot(70).top, top71 = Slot(71).top;
  t.Click(Slot(71));  // the lower tile while the upper one still lies on it
  EXPECT_EQ(Slot(74).left, left70);
  EXPECT_EQ(Slot(74).top, top70);
  EXPECT_EQ(Slot(70).top, top71);
  EXPECT_EQ(Slot(71).left, 400 + 45);
}

TEST_F(Reveal, AfterAWinAClickTurnsUpAnotherSeatsConcealedKong) {
  ASSERT_TRUE(t.Deliver(DrawMsg(kLeft, 0)));
  ASSERT_TRUE(t.Deliver(ClaimMsg(kLeft, kConcealedKong, {0x47, 0x47, 0x47})));
  const int fourth = c().play.RevealSlots[0];
  // Before a win the click does nothing.
  const int back = Slot(fourth).picture->id;
  t.Click(Slot(fourth));
  ASSERT_EQ(Slot(fourth).picture->id, Face(1, 0x47));
  ASSERT_TRUE(t.h.Do([&](Client& cl) { ShowTilePicture(cl, fourth, back - 201); }));
  t.Click(Slot(fourth));
  EXPECT_EQ(Slot(fourth).picture->id, back);
  ASSERT_TRUE(t.Deliver(ClaimMsg(kTop, kWin, {0, 0, 0})));
  t.Click(Slot(fourth));
  EXPECT_EQ(Slot(fourth).picture->id, Face(1, 0x47));
  EXPECT_EQ(c().play.RevealSlots[0], -1);
}

TEST_F(Reveal, AZeroWordStillCountsAndAFurtherMessageForACompleteSeatOnlyLaysOutAgain) {
  RevealAll(kRight, Thirteen());
  ASSERT_TRUE(t.Deliver(RevealMsg(kRight, {0x33, 0x32, 0x31, 0x11})));  // one tile still missing
  EXPECT_EQ(seat(3).HandCount, 0);
  const auto codes = c().play.OpenHandCodes[3];
  RevealAll(kLeft, Thirteen());
  std::vector<int16_t> top = Thirteen();
  top[12] = 0;  // the last word is 0
  RevealAll(kTop, top);
  EXPECT_EQ(seat(2).HandCount, 0);
  EXPECT_EQ(c().play.OpenHandCodes[2][12], 0);
  // Only the twelve leading tiles are sorted, turned and resized.
  EXPECT_EQ(Pic(2, 15).height, 39);
  EXPECT_EQ(Pic(2, 16).height, 50);  // the deal's size
  EXPECT_EQ(Pic(2, 16).picture->id, 201 + 36 * 2 + 7);
  ASSERT_TRUE(t.Deliver(RevealMsg(kRight, {0x33, 0x33, 0x33, 0x33})));
  EXPECT_EQ(c().play.OpenHandCodes[3], codes);
  EXPECT_FALSE(t.h.ended);
}

}  // namespace
}  // namespace tess::test
