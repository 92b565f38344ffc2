// The table snapshot laid out by a seated client from the scripted server:
// every tile of a running hand in its place (set-aside columns, melds with
// a kong's fourth tile on top, concealed rows, the indicator on the wall,
// face-down piles, the wall itself), a later snapshot, play going on from
// the restored table, bad input, and a client that reconnects mid-hand.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/client.h"
#include "spectator/snapshot_hand.h"
#include "support/table_script.h"
#include "table/game_state.h"

namespace tess::test {
namespace {

// Dealer alice, dice 1,1,1,1: the wall breaks at slot 110, its back at 108.
constexpr int kBreak = 110;

// The resource of tile `code`'s face in picture `group`.
int Id(int group, int code) { return 201 + *PictureIndex(group, code); }

class Snapshot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(t.SeatAt(kOwn));
    ASSERT_TRUE(t.Deliver(HandStartMsg(kOwn, {1, 1, 1, 1})));
    ASSERT_TRUE(t.Deliver(WildTileMsg(kWild, kIndicator)));
    ASSERT_EQ(c().game.WallFront, kBreak);
  }
  Client& c() { return t.c(); }
  SeatState& seat(int v) { return c().game.custom[v]; }
  Element& Slot(int slot) { return c().MainForm.At("MJ_Image", slot); }
  TableScript t;
};

struct Expected {
  int slot;
  double left, top;
  int width, height;
  int picture;  // resource id
};

// Every laid tile of HandInProgress, as the layout tables place it.
std::vector<Expected> ExpectedTiles() {
  std::vector<Expected> x;
  // alice's row: slots 110-123, mj 4-17 at 19 + 48m, 564, large faces.
  for (int m = 4; m < 18; ++m) x.push_back({kBreak + m - 4, 19.0 + 48 * m, 564, 48, 78, Id(4, kAliceSorted[m - 4])});
  // bob: the red dragon at HandX - 10, the wild tile at HandX - 15, 18 up;
  // the pung at c = 4..6: HandX - 5c, HandY - 18(c - 2); then mj 7-16.
  x.push_back({124, 942, 560, 45, 35, 201 + 36 * 3 + 4});
  x.push_back({125, 937, 542, 45, 35, Id(3, 0x25)});
  for (int c = 4; c <= 6; ++c) x.push_back({122 + c, 952.0 - 5 * c, 560.0 - 18 * (c - 2), 45, 35, Id(3, 0x83)});
  for (int m = 7; m <= 16; ++m)
    x.push_back({(129 + m - 7) % 136, 952.0 - 5 * (m + 1), 560 - 17.5 * (m + 1), 35, 66, 201 + 36 * 3 + 7});
  // carol: the kong at c = 4..6, HandX - 34(c - 2), its fourth on the
  // middle tile 17 up, the pung at c = 7..9, then mj 10-16.
  x.push_back({3, 774, 122, 34, 40, Id(2, 0x47)});
  x.push_back({4, 740, 122, 34, 40, Id(2, 0x47)});
  x.push_back({5, 706, 122, 34, 40, Id(2, 0x47)});
  x.push_back({6, 740, 105, 34, 40, Id(2, 0x47)});
  for (int c = 7; c <= 9; ++c) x.push_back({c, 842.0 - 34 * (c - 2), 122, 34, 40, Id(2, 0x29)});
  for (int m = 10; m <= 16; ++m) x.push_back({m, 842.0 - 36 * m, 122, 36, 50, 201 + 36 * 2 + 7});
  // dave: two red dragons 18 apart, then mj 4-16.
  x.push_back({17, 153, 192, 45, 35, 201 + 36 + 4});
  x.push_back({18, 153, 174, 45, 35, 201 + 36 + 4});
  for (int m = 4; m <= 16; ++m) x.push_back({15 + m, 153.0 - 5 * m, 192 + 17.5 * m, 35, 66, 201 + 36 + 7});
  // The indicator, face up 20 above the back stack 102 (side 3).
  x.push_back({32, 748, 172, 48, 35, Id(3, kIndicator)});
  // The piles face down: alice's, dave's, carol's (a second row after
  // eight), bob's; the last tiles take the back-taken slots 108, 109, 106,
  // 107, 104, 105.
  for (int n = 0; n < 3; ++n) x.push_back({33 + n, 358.0 + 36 * n, 438, 36, 50, 201 + 8});
  for (int n = 0; n < 2; ++n) x.push_back({36 + n, 287.0 - 5 * n, 238.0 + 18 * n, 48, 35, 201 + 36 + 8});
  const int top_slots[9] = {38, 39, 40, 41, 42, 43, 44, 108, 109};
  for (int n = 0; n < 8; ++n) x.push_back({top_slots[n], 635.0 - 30 * n, 238, 30, 36, 201 + 72 + 8});
  x.push_back({109, 635, 260, 30, 36, 201 + 72 + 8});
  const int right_slots[4] = {106, 107, 104, 105};
  for (int n = 0; n < 4; ++n) x.push_back({right_slots[n], 758.0 - 5 * n, 438.0 - 18 * n, 48, 35, 201 + 108 + 8});
  return x;
}

TEST_F(Snapshot, EveryTileOfTheRunningHandLiesInItsPlace) {
  // The wall slots that stay in the wall, stacked the wrong way round (a
  // spectator's wall was never built): the snapshot stacks them anew.
  Form& main = c().MainForm;
  for (int k = 45; k <= 67; ++k) main.BringToFront(main.At("MJ_Image", k));
  for (int k = 101; k >= 68; --k) main.BringToFront(main.At("MJ_Image", k));
  ASSERT_TRUE(t.DeliverAll(HandInProgress()));
  const std::vector<Expected> expected = ExpectedTiles();
  std::set<int> laid;
  for (const Expected& x : expected) {
    SCOPED_TRACE(x.slot);
    laid.insert(x.slot);
    const Element& e = Slot(x.slot);
    EXPECT_TRUE(e.visible);
    EXPECT_DOUBLE_EQ(e.left, x.left);
    EXPECT_DOUBLE_EQ(e.top, x.top);
    EXPECT_EQ(e.width, x.width);
    EXPECT_EQ(e.height, x.height);
    ASSERT_TRUE(e.picture);
    EXPECT_EQ(e.picture->id, x.picture);
  }
  EXPECT_EQ(laid.size(), 77u);
  // The rest of the wall, 45-103, face down where the wall lies.
  for (int k = 0; k < 136; ++k) {
    if (laid.count(k)) continue;
    SCOPED_TRACE(k);
    EXPECT_TRUE(k >= 45 && k <= 103);
    EXPECT_TRUE(Slot(k).visible);
    EXPECT_EQ(Slot(k).picture->id, 201 + 36 * (k / 34) + 8);
  }
  EXPECT_DOUBLE_EQ(Slot(45).left, 164);
  EXPECT_DOUBLE_EQ(Slot(45).top, 476 - 5 * 15 + 20);
  // Stacked as a built wall: on the left side the first stacks are nearer
  // and an upper tile covers its lower; on the top side later stacks are
  // nearer.
  const Form& table = c().MainForm;
  EXPECT_GT(table.ZOf(Slot(46)), table.ZOf(Slot(48)));
  EXPECT_GT(table.ZOf(Slot(47)), table.ZOf(Slot(46)));
  EXPECT_GT(table.ZOf(Slot(70)), table.ZOf(Slot(68)));
  EXPECT_GT(table.ZOf(Slot(69)), table.ZOf(Slot(68)));

  const GameState& g = c().game;
  EXPECT_EQ(g.WallFront, 45);
  EXPECT_EQ(g.WallBack, 102);
  EXPECT_EQ(c().play.IndicatorSlot, 32);
  EXPECT_EQ(c().snapshot.SnapshotHigh, 71);
  EXPECT_EQ(c().snapshot.SnapshotLow, 6);
  EXPECT_EQ(c().snapshot.RestoreCount, 77);
  EXPECT_TRUE(c().snapshot.SnapshotDone);
  EXPECT_EQ(g.SeatCounter, 0);
  EXPECT_EQ(g.LastDiscardSlot, 105);
  EXPECT_EQ(g.LastDiscarder, 3);
  EXPECT_EQ(c().tick.BlinkCount, 0);
  const Element& box = c().MainForm.At("KB_Image");
  EXPECT_TRUE(box.visible);
  EXPECT_EQ(box.picture->id, Id(4, kWild));
  // The table never saw this hand start: the compass stands all the same.
  EXPECT_TRUE(c().MainForm.At("ZhiNan").visible);

  // The records as the claims and draws would have left them.
  struct Record {
    int v, meld_cursor, hand_start, hand_count, aside_a, aside_b;
  };
  for (const Record& r : {Record{0, 3, 4, 14, 0, 0}, Record{3, 7, 7, 10, 1, 1}, Record{2, 10, 10, 7, 0, 0},
                          Record{1, 4, 4, 13, 2, 0}}) {
    SCOPED_TRACE(r.v);
    EXPECT_EQ(seat(r.v).MeldCursor, r.meld_cursor);
    EXPECT_EQ(seat(r.v).HandStart, r.hand_start);
    EXPECT_EQ(seat(r.v).HandCount, r.hand_count);
    EXPECT_EQ(seat(r.v).AsideCountA, r.aside_a);
    EXPECT_EQ(seat(r.v).AsideCountB, r.aside_b);
    for (int i = r.hand_start; i < r.hand_start + r.hand_count; ++i) EXPECT_EQ(seat(r.v).mj[i].kind, 1);
  }
  for (int e = 2; e <= 7; ++e) EXPECT_EQ(seat(2).mj[e].kind, 3) << e;
  EXPECT_EQ(seat(2).mj[4].slot, 5);
  EXPECT_EQ(seat(2).mj[5].slot, 7);
  for (int e = 2; e <= 4; ++e) EXPECT_EQ(seat(3).mj[e].code, 0x83) << e;
  EXPECT_EQ(g.AsideSlots[3][0], 124);
  EXPECT_EQ(g.AsideSlots[3][4], 125);
  EXPECT_EQ(g.AsideSlots[1][1], 18);
  for (int m = 4; m < 18; ++m) EXPECT_EQ(seat(0).mj[m].code, kAliceSorted[m - 4]) << m;

  // Nearer tiles cover farther ones: the kong's fourth and the indicator
  // on top, the side rows towards their players, the lower set-aside tile
  // over the upper one.
  const Form& f = c().MainForm;
  EXPECT_GT(f.ZOf(Slot(6)), f.ZOf(Slot(4)));
  EXPECT_GT(f.ZOf(Slot(32)), f.ZOf(Slot(102)));
  for (int m = 5; m <= 16; ++m) EXPECT_GT(f.ZOf(Slot(15 + m)), f.ZOf(Slot(14 + m))) << m;
  for (int m = 8; m <= 16; ++m) EXPECT_LT(f.ZOf(Slot((129 + m - 7) % 136)), f.ZOf(Slot((128 + m - 7) % 136))) << m;
  EXPECT_GT(f.ZOf(Slot(17)), f.ZOf(Slot(18)));
  EXPECT_GT(f.ZOf(Slot(124)), f.ZOf(Slot(125)));
}

// Play goes on from the restored table: alice discards, bob draws from the
// new front and discards, carol pungs into her next meld group, dave kongs
// and draws his replacement from the back, bob wins, the hands are shown
// and a wall tile is turned up.
TEST_F(Snapshot, TheSeatedHandlersPlayOnFromTheRestoredTable) {
  ASSERT_TRUE(t.DeliverAll(HandInProgress()));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, 1)));
  const int thrown = seat(0).mj[17].slot;
  t.Click(Slot(thrown));
  const auto sent = t.SentOfType(2, 1);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].value[3] & 0xFF, 0x17);
  ASSERT_TRUE(t.DeliverAll({DiscardMsg(kOwn, 0x17), DrawMsg(kRight, 0)}));
  // alice's discard is her fourth on the pile; bob's tile came from slot 45.
  EXPECT_DOUBLE_EQ(Slot(thrown).left, 358 + 36 * 3);
  EXPECT_EQ(seat(3).mj[17].slot, 45);
  EXPECT_EQ(c().game.WallFront, 46);

  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x29)));
  const int pung = c().game.LastDiscardSlot;
  EXPECT_EQ(pung, 45);
  ASSERT_TRUE(t.Deliver(ClaimMsg(kTop, 8, {0x29, 0x29, 0x29})));
  EXPECT_EQ(seat(2).mj[10].slot, pung);
  EXPECT_DOUBLE_EQ(Slot(pung).left, 842 - 34 * 10);
  for (int e = 2; e <= 10; ++e) EXPECT_EQ(seat(2).mj[e].kind, 3) << e;
  EXPECT_EQ(seat(2).mj[7].slot, 9);  // the restored pung keeps its tiles
  EXPECT_EQ(seat(2).HandStart, 13);

  ASSERT_TRUE(t.Deliver(DiscardMsg(kTop, 0x46)));
  ASSERT_TRUE(t.Deliver(ClaimMsg(kLeft, 16, {0x46, 0x46, 0x46})));
  ASSERT_TRUE(t.Deliver(DrawMsg(kLeft, 0)));
  const SeatState& dave = seat(1);
  EXPECT_EQ(dave.mj[dave.HandStart + dave.HandCount - 1].slot, 102);
  EXPECT_EQ(c().game.WallBack, 103);

  // bob wins on dave's discard; the hands are shown and the next tile at
  // the back, on which the indicator lies, is turned up by a click.
  ASSERT_TRUE(t.Deliver(DiscardMsg(kLeft, 0x13)));
  const int winning = c().game.LastDiscardSlot;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kRight, 128, {0, 0, 0x13})));
  const std::array<uint8_t, 5> wall = {0x11, 0x12, 0x13, 0x14, 0x15};
  for (auto [s, n] : {std::pair<uint8_t, int>{kRight, 10}, {kTop, 4}, {kLeft, 10}})
    for (int i = 0; i < n; i += 4)
      ASSERT_TRUE(t.Deliver(RevealMsg(s, {0x21, 0x22, 0x23, 0x24}, wall)));
  // bob's row face up, sorted: each message is taken from value(3) down,
  // 24 23 22 21, 24 23 22 21, 24 23.
  const int faces[10] = {0x21, 0x21, 0x22, 0x22, 0x23, 0x23, 0x23, 0x24, 0x24, 0x24};
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(Slot(seat(3).mj[seat(3).HandStart + i].slot).picture->id, Id(3, faces[i])) << i;
  EXPECT_EQ(Slot(winning).picture->id, Id(3, 0x13));
  EXPECT_EQ(c().play.PeekSlots, (std::array<int16_t, 5>{103, 100, 46, 47, 48}));
  const double back_left = Slot(103).left, back_top = Slot(103).top;
  t.Click(Slot(103));
  EXPECT_DOUBLE_EQ(Slot(103).left, 400);
  EXPECT_DOUBLE_EQ(Slot(103).top, 340);
  EXPECT_EQ(Slot(103).picture->id, Id(0, 0x11));
  EXPECT_DOUBLE_EQ(Slot(32).left, back_left);
  EXPECT_DOUBLE_EQ(Slot(32).top, back_top);
  EXPECT_FALSE(t.h.ended) << t.h.ended.value_or("");
}

// A second snapshot of the same hand (the client reconnected again): the
// table is laid anew from the same wall break, and RestoreCount goes on.
TEST_F(Snapshot, ALaterSnapshotLaysTheTableAgainAndRestoreCountGoesOn) {
  ASSERT_TRUE(t.DeliverAll(HandInProgress()));
  ASSERT_TRUE(t.DeliverAll({DrawMsg(kRight, 0), DiscardMsg(kRight, 0x29)}));
  ASSERT_TRUE(t.DeliverAll(HandInProgress()));
  EXPECT_EQ(c().snapshot.RestoreCount, 154);
  for (const Expected& x : ExpectedTiles()) {
    SCOPED_TRACE(x.slot);
    EXPECT_DOUBLE_EQ(Slot(x.slot).left, x.left);
    EXPECT_DOUBLE_EQ(Slot(x.slot).top, x.top);
    EXPECT_EQ(Slot(x.slot).picture->id, x.picture);
  }
  EXPECT_EQ(seat(3).HandCount, 10);
  EXPECT_EQ(c().game.WallFront, 45);
  EXPECT_EQ(c().play.RightPileCount, 4);
}

// Edge cases of the messages themselves.
TEST_F(Snapshot, MessagesWithoutTilesTooManyConcealedAndTheFoldOfTheCounts) {
  std::vector<Entry> no_tiles;
  for (uint8_t flag : {0x00, 0x0F, 0x30, 0x40, 0xFF}) no_tiles.push_back({flag, 0x11});
  ASSERT_TRUE(t.DeliverAll({
      SnapshotMsg(kOwn, 0, 60, 4, Tiles(kConcealed, std::vector<uint8_t>(20, 0x21))),
      SnapshotMsg(kRight, 0, 62, 3, no_tiles),
      SnapshotMsg(kTop, 0, 61, 5, {}),
      SnapshotMsg(kLeft, 5, 55, 9, Tiles(kConcealed, std::vector<uint8_t>(13, 0))),
  }));
  EXPECT_EQ(seat(0).HandCount, 14);
  EXPECT_EQ(seat(3).HandCount, 0);
  EXPECT_EQ(seat(2).HandCount, 0);
  EXPECT_EQ(c().snapshot.SnapshotHigh, 62);
  EXPECT_EQ(c().snapshot.SnapshotLow, 3);
  // 27 tiles in hands, the indicator, then dave's five discards.
  EXPECT_EQ(c().snapshot.RestoreCount, 14 + 13 + 1 + 5);
  EXPECT_EQ(c().play.IndicatorSlot, (kBreak + 27) % 136);
  EXPECT_EQ(c().game.WallFront, (kBreak + 62) % 136);
  // Three tiles off the back (108, 109, 106): the next replacement is 107,
  // the upper tile of a stack whose lower one is gone, and the indicator
  // lies on it, in front of the wall, 20 above the stack (2 of side 3).
  EXPECT_EQ(c().game.WallBack, 107);
  EXPECT_FALSE(Slot(106).visible);
  const Element& indicator = Slot(c().play.IndicatorSlot);
  EXPECT_DOUBLE_EQ(indicator.left, 748);
  EXPECT_DOUBLE_EQ(indicator.top, 192 + 2 * 15 + 20 - 20);
  for (int k : {104, 105, 107}) EXPECT_GT(c().MainForm.ZOf(indicator), c().MainForm.ZOf(Slot(k))) << k;
}

// The piles stop once the tiles laid have used every slot the hand took;
// WallFront still moves on and the snapshot is done.
TEST_F(Snapshot, PilesStopWhenTheTakenSlotsAreUsedUp) {
  ASSERT_TRUE(t.DeliverAll({
      SnapshotMsg(kOwn, 6, 20, 1, Tiles(kConcealed, std::vector<uint8_t>(13, 0x21))),
      SnapshotMsg(kRight, 6, 20, 1, {}),
      SnapshotMsg(kTop, 0, 20, 1, {}),
      SnapshotMsg(kLeft, 6, 20, 1, {}),
  }));
  // 13 + the indicator + 7 discards: alice's 6 and the first of dave's;
  // bob, after dave, gets none.
  EXPECT_EQ(c().snapshot.RestoreCount, 21);
  EXPECT_EQ(seat(0).DiscardX, 358 + 6 * 36);
  EXPECT_EQ(seat(1).DiscardY, 238 + 18);
  EXPECT_EQ(c().play.RightPileCount, 0);
  EXPECT_EQ(c().game.WallFront, (kBreak + 20) % 136);
  EXPECT_TRUE(c().snapshot.SnapshotDone);
  // The new front lies in the wall, face down.
  EXPECT_EQ(Slot(c().game.WallFront).picture->id, 201 + 36 * (c().game.WallFront / 34) + 8);
  // One tile off the back: the lower tile of stack 108 is gone (one of
  // dave's discards), the next replacement is its upper tile 109, and the
  // indicator lies on it.
  EXPECT_EQ(c().game.WallBack, 109);
  EXPECT_EQ(Slot(109).picture->id, 201 + 36 * 3 + 8);
  EXPECT_DOUBLE_EQ(Slot(c().play.IndicatorSlot).top, 192 + 3 * 15 + 20 - 20);
}

// A seated client that loses its link mid-hand reconnects and gets the
// snapshot: the hand it showed gives way to the restored one.
TEST(SnapshotReconnect, ASeatedClientThatReconnectsLaysTheRunningHand) {
  TableScript t;
  ASSERT_TRUE(t.DealOwnTurn({0x81, 0x82, 0x83, 0x84, 0x45, 0x46, 0x47, 0x21, 0x22, 0x23, 0x11, 0x11}, 0x17, 0x25));
  ASSERT_TRUE(t.Deliver(WildTileMsg(kWild, kIndicator)));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, 1)));
  Client& c = t.c();
  t.Click(c.MainForm.At("MJ_Image", c.game.custom[0].mj[17].slot));
  ASSERT_EQ(t.SentOfType(2, 1).size(), 1u);
  ASSERT_TRUE(t.DeliverAll({DiscardMsg(kOwn, 0x25), DrawMsg(kRight, 0), DiscardMsg(kRight, 0x29)}));

  t.h.server.Refuse();
  t.h.server.CloseClient();
  Timer back(t.h.loop, "server back");
  back.SetInterval(5500);
  back.OnTimer = [&] {
    back.SetEnabled(false);
    t.h.server.Listen();
  };
  back.SetEnabled(true);
  const size_t before = t.h.server.ReceivedCount();
  ASSERT_TRUE(t.h.RunUntil([&] {
    const auto got = t.h.server.Received();
    for (size_t i = before; i < got.size(); ++i)
      if (got[i].type == 28) return true;
    return false;
  }, 30000));
  ServerPacket resumed;
  resumed.type = 29;
  resumed.value = {0, 0, 0, 1};
  ASSERT_TRUE(t.Deliver(resumed));
  ASSERT_TRUE(c.conn.Reconnected);
  ASSERT_TRUE(t.DeliverAll(HandInProgress()));

  for (const Expected& x : ExpectedTiles()) {
    SCOPED_TRACE(x.slot);
    const Element& e = c.MainForm.At("MJ_Image", x.slot);
    EXPECT_TRUE(e.visible);
    EXPECT_DOUBLE_EQ(e.left, x.left);
    EXPECT_DOUBLE_EQ(e.top, x.top);
    EXPECT_EQ(e.width, x.width);
    EXPECT_EQ(e.picture->id, x.picture);
  }
  EXPECT_EQ(c.game.custom[0].HandCount, 14);
  EXPECT_EQ(c.game.custom[3].HandCount, 10);
  EXPECT_EQ(c.game.WallFront, 45);
  EXPECT_EQ(c.game.WallBack, 102);
  EXPECT_EQ(c.game.LastDiscard, 0);
  EXPECT_TRUE(c.game.HandInProgress);
  EXPECT_TRUE(c.game.custom[0].IsDealer);
}

// Input the client cannot lay: ignored where it describes nobody or keeps
// within the table, the fault exit (lobby restored, program ended) where
// a record would overflow.
TEST(SnapshotInput, BadMessagesAreBoundedOrEndTheClient) {
  std::vector<Entry> eight_pungs;
  for (uint8_t code : {0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88})
    for (int k = 0; k < 3; ++k) eight_pungs.push_back({kExposed, code});
  struct Case {
    const char* what;
    bool seated;
    std::vector<ServerPacket> messages;
    bool faults;
  };
  const std::vector<Case> cases = {
      {"before any profile", false, {SnapshotMsg(kOwn, 3, 50, 2, Tiles(kConcealed, {0x11, 0x12}))}, false},
      {"a seat mask of nobody", true, {SnapshotMsg(3, 3, 50, 2, Tiles(kExposed, {0x15})), SnapshotMsg(0, 0, 0, 0, {})}, false},
      {"huge counts", true,
       {SnapshotMsg(kOwn, 255, 0x7FFF, -1, Tiles(kConcealed, {0x11})), SnapshotMsg(kRight, 255, 0x7FFF, -1, {}),
        SnapshotMsg(kTop, 255, 255, 255, {}), SnapshotMsg(kLeft, 255, 255, 255, {})},
       false},
      {"a fifth message", true,
       {SnapshotMsg(kOwn, 0, 10, 1, {}), SnapshotMsg(kRight, 0, 10, 1, {}), SnapshotMsg(kTop, 0, 10, 1, {}),
        SnapshotMsg(kLeft, 0, 10, 1, {}), SnapshotMsg(kLeft, 0, 10, 1, Tiles(kConcealed, {0, 0}))},
       false},
      {"24 exposed entries", true, {SnapshotMsg(kRight, 0, 40, 1, eight_pungs)}, true},
      {"five red dragons", true, {SnapshotMsg(kLeft, 0, 40, 1, Tiles(kExposed, {0x15, 0x15, 0x15, 0x15, 0x15}))}, true},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    TableScript t;
    if (cs.seated) {
      ASSERT_TRUE(t.SeatAt(kOwn));
      ASSERT_TRUE(t.Deliver(HandStartMsg(kOwn, {1, 1, 1, 1})));
    }
    const size_t lobby_before = t.h.lobby->Received().size();
    bool alive = true;
    for (const ServerPacket& p : cs.messages) alive = alive && t.Deliver(p);
    if (!cs.faults) {
      EXPECT_TRUE(alive) << t.h.ended.value_or("");
      for (int s = 0; s < 4; ++s) EXPECT_LE(t.c().game.custom[s].HandStart + t.c().game.custom[s].HandCount, 21);
      continue;
    }
    t.h.RunUntil([&] { return t.h.ended.has_value(); }, 2000);
    ASSERT_TRUE(t.h.ended);
    EXPECT_NE(t.h.ended->find("type 40"), std::string::npos) << *t.h.ended;
    const auto got = t.h.lobby->Received();
    ASSERT_GT(got.size(), lobby_before);
    EXPECT_EQ(got.back().wparam, kScRestore);
  }
}

}  // namespace
}  // namespace tess::test
