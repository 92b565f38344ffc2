// The deal and the draws through the scripted server: which wall slot each
// tile takes, where it stands, the end-of-deal arrangement and the wall
// ring's rules.
#include <gtest/gtest.h>

#include "core/client.h"
#include "play/deal.h"
#include "support/table_script.h"

namespace tess::test {
namespace {

constexpr std::array<uint16_t, 12> kOwnTiles = {0x11, 0x83, 0x21, 0x49, 0x15, 0x82, 0x29, 0x41, 0x17, 0x85, 0x23, 0x47};

// alice at mask 1 (bob 2 on her right, carol 4 opposite, dave 8 on her left).
class Deal : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(t.SeatAt(1)); }
  Client& c() { return t.c(); }
  const Element& Tile(int slot) { return c().MainForm.At("MJ_Image", slot); }
  std::vector<int> Slots(int v) {
    std::vector<int> slots;
    const SeatState& s = c().game.custom[v];
    for (int i = s.HandStart; i < s.HandStart + s.HandCount; ++i) slots.push_back(s.mj[i].slot);
    return slots;
  }
  TableScript t;
};

TEST_F(Deal, ThreeBatchesServeTheLocalSeatFirstThenRightOppositeLeft) {
  ASSERT_TRUE(t.StartHand(1, kOwnTiles));  // alice deals: WallFront 110
  EXPECT_EQ(Slots(0), (std::vector<int>{110, 111, 112, 113, 126, 127, 128, 129, 6, 7, 8, 9}));
  EXPECT_EQ(Slots(3), (std::vector<int>{114, 115, 116, 117, 130, 131, 132, 133, 10, 11, 12, 13}));
  EXPECT_EQ(Slots(2), (std::vector<int>{118, 119, 120, 121, 134, 135, 0, 1, 14, 15, 16, 17}));
  EXPECT_EQ(Slots(1), (std::vector<int>{122, 123, 124, 125, 2, 3, 4, 5, 18, 19, 20, 21}));
  EXPECT_EQ(c().game.WallFront, 22);
  // The local tiles in deal order, unsorted, as large faces in a row.
  const SeatState& own = c().game.custom[0];
  for (int i = 4; i < 16; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(own.mj[i].code, kOwnTiles[i - 4]);
    EXPECT_EQ(own.mj[i].kind, 1);
    const Element& e = Tile(own.mj[i].slot);
    EXPECT_EQ(e.left, 19 + 48 * i);
    EXPECT_EQ(e.top, 564);
    EXPECT_EQ(e.width, 48);
    EXPECT_EQ(e.height, 78);
    EXPECT_EQ(e.picture->id, 201 + *PictureIndex(4, kOwnTiles[i - 4]));
  }
  // The others' entry 4: standing backs at their seat's geometry.
  struct Place {
    int v;
    double left, top, w, h;
    int picture;
  };
  for (const Place& p : {Place{1, 133, 262, 35, 66, 201 + 43}, Place{2, 698, 122, 36, 50, 201 + 79},
                         Place{3, 927, 472.5, 35, 66, 201 + 115}}) {
    SCOPED_TRACE(p.v);
    const Element& e = Tile(c().game.custom[p.v].mj[4].slot);
    EXPECT_EQ(e.left, p.left);
    EXPECT_EQ(e.top, p.top);
    EXPECT_EQ(e.width, p.w);
    EXPECT_EQ(e.height, p.h);
    EXPECT_EQ(e.picture->id, p.picture);
  }
  // The left seat's later tiles in front, the right seat's behind.
  const Form& f = c().MainForm;
  EXPECT_GT(f.ZOf(Tile(c().game.custom[1].mj[15].slot)), f.ZOf(Tile(c().game.custom[1].mj[4].slot)));
  EXPECT_LT(f.ZOf(Tile(c().game.custom[3].mj[15].slot)), f.ZOf(Tile(c().game.custom[3].mj[4].slot)));
  EXPECT_NE(t.h.TraceText().find("qupai.wav"), std::string::npos);
}

TEST_F(Deal, TheDealersFourteenthTileTurnsTheHandDownAndShowsItSorted) {
  ASSERT_TRUE(t.StartHand(1, kOwnTiles));
  ASSERT_TRUE(t.DeliverAll({DrawMsg(1, 0x12), DrawMsg(2, 0), DrawMsg(4, 0), DrawMsg(8, 0)}));
  const SeatState& own = c().game.custom[0];
  EXPECT_EQ(own.HandCount, 13);
  // The thirteenth stands in the row, no gap, still unsorted.
  EXPECT_EQ(Tile(own.mj[16].slot).left, 19 + 48 * 16);
  EXPECT_EQ(own.mj[4].code, 0x11);
  EXPECT_EQ(Tile(c().game.custom[3].mj[16].slot).top, 560 - 17.5 * 17);  // no set-apart either
  std::vector<int> slots_before = Slots(0);
  slots_before.push_back(c().game.WallFront);
  ASSERT_TRUE(t.Deliver(DrawMsg(1, 0x81)));
  EXPECT_EQ(own.HandCount, 14);
  const std::vector<int> sorted = {0x81, 0x82, 0x83, 0x85, 0x41, 0x47, 0x49, 0x21, 0x23, 0x29, 0x11, 0x12, 0x15, 0x17};
  for (int i = 0; i < 14; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(own.mj[4 + i].code, sorted[i]);
    EXPECT_EQ(own.mj[4 + i].slot, slots_before[i]);
    EXPECT_EQ(Tile(own.mj[4 + i].slot).picture->id, 201 + *PictureIndex(4, sorted[i]));
  }
}

TEST_F(Deal, ANonDealerHandIsArrangedAtItsThirteenthTile) {
  ASSERT_TRUE(t.StartHand(2, kOwnTiles));
  const int64_t before = t.h.clock.NowMs();
  ASSERT_TRUE(t.Deliver(DrawMsg(1, 0x12)));
  EXPECT_GE(t.h.clock.NowMs() - before, 1000);  // the hand lay face down for a second
  const SeatState& own = c().game.custom[0];
  EXPECT_EQ(own.mj[4].code, 0x82);
  EXPECT_EQ(own.mj[16].code, 0x17);
}

TEST_F(Deal, DrawsOnceTheWildTileIsKnownStandApart) {
  ASSERT_TRUE(t.StartHand(2, kOwnTiles));
  ASSERT_TRUE(t.DeliverAll({DrawMsg(1, 0x12), DrawMsg(2, 0), DrawMsg(4, 0), DrawMsg(8, 0), DrawMsg(2, 0)}));
  ASSERT_TRUE(t.Deliver(WildTileMsg(0x25, 0x24)));
  // The right seat (the dealer) discards; the local player draws.
  ASSERT_TRUE(t.Deliver(DiscardMsg(2, 0x33)));
  ASSERT_TRUE(t.Deliver(DrawMsg(1, 0x44)));
  const SeatState& own = c().game.custom[0];
  EXPECT_EQ(own.mj[17].code, 0x44);
  EXPECT_EQ(Tile(own.mj[17].slot).left, 19 + 48 * 17 + 24);
  // Then the opposite seat: its new back shifted 10 to the left.
  ASSERT_TRUE(t.Deliver(DrawMsg(4, 0)));
  const SeatState& top = c().game.custom[2];
  EXPECT_EQ(Tile(top.mj[top.HandStart + top.HandCount - 1].slot).left, 842 - 36 * 17 - 10);
}

TEST_F(Deal, AReplacementDrawSortsTheOthersAndStandsApart) {
  ASSERT_TRUE(t.StartHand(2, kOwnTiles));
  ASSERT_TRUE(t.DeliverAll({DrawMsg(1, 0x12), DrawMsg(2, 0), DrawMsg(4, 0), DrawMsg(8, 0), DrawMsg(2, 0)}));
  ASSERT_TRUE(t.Deliver(WildTileMsg(0x25, 0x24)));
  c().play.DrawFromFront = false;  // as a kong leaves it
  const int back = c().game.WallBack;
  ASSERT_TRUE(t.Deliver(DrawMsg(1, 0x31)));
  const SeatState& own = c().game.custom[0];
  EXPECT_EQ(own.mj[17].slot, back);
  EXPECT_EQ(own.mj[17].code, 0x31);
  EXPECT_EQ(Tile(back).left, 19 + 48 * 17 + 24);
  EXPECT_EQ(own.mj[4].code, 0x82);  // the others sorted
  EXPECT_TRUE(c().play.DrawFromFront);
}

TEST_F(Deal, TheWallRingJumpsPastATakenStackAndStopsAtTheFront) {
  ASSERT_TRUE(t.StartHand(2, kOwnTiles));
  GameState& g = c().game;
  // The front reaches a stack whose even tile a replacement draw took.
  g.WallFront = 99;
  g.WallBack = 101;
  ASSERT_TRUE(t.Deliver(DrawMsg(4, 0)));
  EXPECT_EQ(c().game.custom[2].mj[16].slot, 99);
  EXPECT_EQ(g.WallFront, 101);
  // The back would fall just behind the front: it stays at the front.
  g.WallFront = 50;
  g.WallBack = 48;
  c().play.DrawFromFront = false;
  ASSERT_TRUE(t.Deliver(DrawMsg(8, 0)));
  EXPECT_EQ(c().game.custom[1].mj[16].slot, 48);
  EXPECT_EQ(g.WallBack, 50);
  // The back walks even-then-odd down the wall.
  EXPECT_EQ(NextBack(100), 101);
  EXPECT_EQ(NextBack(101), 98);
  EXPECT_EQ(NextBack(1), 134);
}

// Deals and draws the server cannot mean end the client; a batch whose size
// is no multiple of four deals only its whole passes.
TEST_F(Deal, BadBatchesAndOverfullHands) {
  ASSERT_TRUE(t.Deliver(HandStartMsg(1, {1, 1, 1, 1})));
  ASSERT_TRUE(t.Deliver(DealMsg(1, 5, kOwnTiles)));
  EXPECT_EQ(c().game.custom[0].HandCount, 4);
  EXPECT_EQ(c().game.custom[3].HandCount, 4);
  EXPECT_FALSE(t.Deliver(DealMsg(1, 16, kOwnTiles)));
  ASSERT_TRUE(t.h.ended);
  EXPECT_NE(t.h.ended->find("fault"), std::string::npos);
}

TEST_F(Deal, ADrawPastTheLastEntryIsAFault) {
  ASSERT_TRUE(t.StartHand(2, kOwnTiles));
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(t.Deliver(DrawMsg(4, 0))) << i;  // entries 16-20
  EXPECT_EQ(c().game.custom[2].HandCount, 17);
  EXPECT_FALSE(t.Deliver(DrawMsg(4, 0)));
  ASSERT_TRUE(t.h.ended);
  EXPECT_NE(t.h.ended->find("fault"), std::string::npos);
}

}  // namespace
}  // namespace tess::test
