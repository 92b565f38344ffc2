// The local player's mouse on the hand through the display layer: raising
// and lowering on hover, the click discard with its packets and marks, the
// lock that follows 报 and 摆, and the right-click pass.
#include <gtest/gtest.h>

#include "core/client.h"
#include "support/table_script.h"

namespace tess::test {
namespace {

// Sorted: 81 81 81 81 42 42 42 42 23 27 29 11 13 16 at mj 4-17.
constexpr std::array<uint16_t, 12> kHand = {0x81, 0x81, 0x81, 0x81, 0x42, 0x42, 0x42, 0x42, 0x23, 0x27, 0x11, 0x13};
constexpr uint8_t kOwn = 1, kRight = 2, kTop = 4, kLeft = 8;
constexpr int kPass = 1, kDeclare = 2, kPlace = 4, kConcealedKong = 32;
constexpr double kHandY = 564;

class HandInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(t.DealOwnTurn(kHand, 0x16, 0x29));
    c().buttons.ButtonLatched[2] = true;  // the start button was pressed
  }
  Client& c() { return t.c(); }
  SeatState& own() { return c().game.custom[0]; }
  const Element& Entry(int i) { return c().MainForm.At("MJ_Image", own().mj[i].slot); }
  const Element& Newest() { return Entry(own().HandStart + own().HandCount - 1); }
  // alice's next turn: every other seat draws and discards, then alice draws.
  void NextTurn(int16_t code) {
    ASSERT_TRUE(t.DeliverAll({DrawMsg(kRight, 0), DiscardMsg(kRight, 0x21), DrawMsg(kTop, 0),
                              DiscardMsg(kTop, 0x28), DrawMsg(kLeft, 0), DiscardMsg(kLeft, 0x26), DrawMsg(kOwn, code)}));
  }
  std::vector<ServerPacket> Discards(size_t n, size_t after) { return t.SentOfType(2, n, after); }
  TableScript t;
};

TEST_F(HandInput, HoverRaisesOneTileAtATimeAndTheTableBackgroundLowersIt) {
  const Element& a = Entry(6);
  const Element& b = Entry(9);
  t.Hover(a);
  EXPECT_EQ(a.top, kHandY - 10);
  EXPECT_EQ(a.mouse_pointer, 99);
  // Another tile: the first comes down.
  t.Hover(b);
  EXPECT_EQ(a.top, kHandY);
  EXPECT_EQ(b.top, kHandY - 10);
  // Leaving it downward by less than 10 pixels keeps it up.
  t.MoveOverTable(b.left + b.width / 2, b.top + b.height + 5);
  EXPECT_EQ(b.top, kHandY - 10);
  t.MoveOverTable(b.left + b.width / 2, kHandY - 60);
  EXPECT_EQ(b.top, kHandY);
  // A wall tile is not raised and gets the arrow.
  const Element& wall = c().MainForm.At("MJ_Image", c().game.WallFront);
  t.Hover(wall);
  EXPECT_EQ(wall.mouse_pointer, 0);
  // Nothing rises while the start button takes clicks.
  c().buttons.ButtonLatched[2] = false;
  t.Hover(a);
  EXPECT_EQ(a.top, kHandY);
}

TEST_F(HandInput, DiscardingDuringAnOpenOfferSendsThePassFirstThenEastAs4011) {
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kConcealedKong)));
  const size_t before = t.h.server.ReceivedCount();
  const int east = own().HandStart + 11;  // 81 81 81 81 42 42 42 42 23 27 29 [11]
  ASSERT_EQ(own().mj[east].code, 0x11);
  const int slot = own().mj[east].slot;
  t.Click(Entry(east));
  t.h.RunUntilReceived(before + 2);
  const auto got = t.h.server.Received();
  ASSERT_GE(got.size(), before + 2);
  EXPECT_EQ(got[before].type, 7);
  EXPECT_EQ(got[before].value, (std::array<int16_t, 4>{1, 0, 0, 0}));
  EXPECT_EQ(got[before + 1].type, 2);
  EXPECT_EQ(got[before + 1].value, (std::array<int16_t, 4>{0, 0, 0, 0x4011}));
  EXPECT_EQ(got[before + 1].seat, kOwn);
  // The tile lies in the centre; the hand closed up, sorted, 13 tiles.
  const Element& d = c().MainForm.At("MJ_Image", slot);
  EXPECT_EQ(d.width, 36);
  EXPECT_EQ(d.height, 50);
  EXPECT_EQ(d.picture->id, 201 + *PictureIndex(0, 0x11));
  EXPECT_EQ(c().game.LastDiscardSlot, slot);
  EXPECT_EQ(own().HandCount, 13);
  for (int i = own().HandStart; i < own().HandStart + 13; ++i) {
    EXPECT_NE(own().mj[i].slot, slot);
    EXPECT_EQ(Entry(i).left, 19 + 48 * i) << i;
  }
  EXPECT_FALSE(c().MainForm.At("Operation", 4).visible);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskTurnCountdown]);
  // One discard per offer: a second click sends nothing.
  t.Click(Entry(own().HandStart));
  t.h.RunFor(300);
  EXPECT_EQ(Discards(2, before).size(), 1u);
}

TEST_F(HandInput, AfterDeclaringOnlyTheNewestTileCanBeDiscarded) {
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kDeclare)));
  t.Click(c().MainForm.At("Operation", 0));
  size_t before = t.h.server.ReceivedCount();
  t.Click(Entry(own().HandStart + 8));  // 0x23
  auto sent = Discards(1, before);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].value, (std::array<int16_t, 4>{0, 1, 0, 0x4023}));
  EXPECT_TRUE(c().tick.HandLocked);

  NextTurn(0x85);
  // With only a pass the locked hand would be played at once; the win
  // offered leaves the choice to the player.
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | 128)));
  before = t.h.server.ReceivedCount();
  t.Click(Entry(own().HandStart));  // not the newest: nothing
  t.h.RunFor(300);
  EXPECT_TRUE(Discards(1, before).empty());
  EXPECT_EQ(own().HandCount, 14);
  const int newest = own().mj[own().HandStart + 13].code;
  t.Click(Newest());
  sent = Discards(1, before);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].value[1], 1);
  EXPECT_EQ(sent[0].value[3], 0x4000 | newest);
}

// 摆 before the lock: a non-wind ends it with mark 0, a wind is placed
// with mark 2 and locks the hand.
TEST_F(HandInput, PlacingWindsMarksWindsAndDropsWithTheFirstOtherTile) {
  struct Case {
    int offset;  // in the sorted hand
    int code;
    int mark;
    bool placing_after, locked;
  };
  for (const Case& cs : {Case{8, 0x23, 0, false, false}, Case{12, 0x13, 2, true, true}}) {
    SCOPED_TRACE(cs.code);
    TableScript fresh;
    ASSERT_TRUE(fresh.DealOwnTurn(kHand, 0x16, 0x29));
    ASSERT_TRUE(fresh.Deliver(DiscardMsg(kLeft, 0x19, 1)));  // dave declared
    ASSERT_TRUE(fresh.Deliver(OfferMsg(kOwn, kPass | kPlace)));
    Client& cl = fresh.c();
    fresh.Click(cl.MainForm.At("Operation", 0));
    ASSERT_TRUE(cl.play.Placing[0]);
    const SeatState& s = cl.game.custom[0];
    ASSERT_EQ(s.mj[s.HandStart + cs.offset].code, cs.code);
    const size_t before = fresh.h.server.ReceivedCount();
    fresh.Click(cl.MainForm.At("MJ_Image", s.mj[s.HandStart + cs.offset].slot));
    const auto sent = fresh.SentOfType(2, 1, before);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].value, (std::array<int16_t, 4>{0, static_cast<int16_t>(cs.mark), 0,
                                                     static_cast<int16_t>(0x4000 | cs.code)}));
    EXPECT_EQ(cl.play.Placing[0], cs.placing_after);
    EXPECT_EQ(cl.tick.HandLocked, cs.locked);
    EXPECT_EQ(cl.play.PlacedCount[0], cs.locked ? 1 : 0);
    EXPECT_EQ(cl.MainForm.At("BaiBao_img", 0).visible, cs.locked);
  }
}

TEST_F(HandInput, ARightClickPassesOnTheBackgroundOnlyWhileThePassButtonShows) {
  // A right click without an offer does nothing.
  size_t before = t.h.server.ReceivedCount();
  // A bare spot of the table.
  const Element& table = c().MainForm.At("Pic1");
  ASSERT_EQ(c().MainForm.HitTest(table.FormLeft() + 300, table.FormTop() + 420), &table);
  t.ClickTable(300, 420, kButtonRight);
  t.h.RunFor(300);
  EXPECT_TRUE(t.SentOfType(7, 1, before).empty());

  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kConcealedKong)));
  before = t.h.server.ReceivedCount();
  t.ClickTable(300, 420, kButtonRight);
  const auto passes = t.SentOfType(7, 1, before);
  ASSERT_EQ(passes.size(), 1u);
  EXPECT_EQ(passes[0].value[0], 1);
  EXPECT_FALSE(c().MainForm.At("Operation", 4).visible);
  EXPECT_EQ(c().tick.TurnState, 1);
  // The countdown runs on for the discard still due.
  EXPECT_TRUE(c().tick.TaskEnabled[kTaskTurnCountdown]);
  EXPECT_TRUE(c().play.DiscardAllowed);
}

TEST_F(HandInput, ARightClickOnAWallTilePassesAndALockedHandPlaysAtOnce) {
  c().tick.HandLocked = true;
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | 128)));
  EXPECT_EQ(c().tick.Countdown, c().tick.TurnSeconds);
  const size_t before = t.h.server.ReceivedCount();
  t.Click(c().MainForm.At("MJ_Image", c().game.WallFront), kButtonRight);
  EXPECT_EQ(t.SentOfType(7, 1, before).size(), 1u);
  EXPECT_EQ(c().tick.Countdown, 0);
  EXPECT_FALSE(c().MainForm.At("Operation", 3).visible);
  EXPECT_FALSE(c().MainForm.At("Operation", 3).enabled);
}

}  // namespace
}  // namespace tess::test

namespace tess::test {
namespace {

TEST(HandInputOnAnotherSeatsDiscard, ARightClickOnAConcealedTileNeverPasses) {
  TableScript t;
  ASSERT_TRUE(t.DealOthersTurn(kHand, 0x16));
  ASSERT_TRUE(t.DeliverAll({DiscardMsg(kRight, 0x42), OfferMsg(kOwn, kPass | 8)}));
  const SeatState& s = t.c().game.custom[0];
  const size_t before = t.h.server.ReceivedCount();
  t.Click(t.c().MainForm.At("MJ_Image", s.mj[s.HandStart + 2].slot), kButtonRight);
  t.h.RunFor(300);
  EXPECT_EQ(t.h.server.ReceivedCount(), before);
  EXPECT_TRUE(t.c().MainForm.At("Operation", 4).visible);
  EXPECT_EQ(s.HandCount, 13);
  // Beside the hand it passes.
  t.ClickTable(300, 420, kButtonRight);
  EXPECT_EQ(t.SentOfType(7, 1, before).size(), 1u);
  EXPECT_FALSE(t.c().MainForm.At("Operation", 4).visible);
}

}  // namespace
}  // namespace tess::test
