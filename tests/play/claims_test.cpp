// Claims confirmed by the scripted server and laid out for every seat: the
// other seats' meld groups and restacking, the local pung and kongs, the
// announcement, the replacement draw after a kong, the wins, and claims
// the seat's record cannot hold.
#include <gtest/gtest.h>

#include "core/client.h"
#include "support/table_script.h"
#include "ui/result_boards.h"

namespace tess::test {
namespace {

// Sorted: 81 81 42 43 44 23 24 26 11 12 13 14 17 at mj 4-16.
constexpr std::array<uint16_t, 12> kOwnTiles = {0x81, 0x81, 0x42, 0x43, 0x44, 0x23, 0x24, 0x26, 0x11, 0x12, 0x13, 0x17};
constexpr uint8_t kOwn = 1, kRight = 2, kTop = 4, kLeft = 8;
constexpr int kPung = 8, kKong = 16, kConcealedKong = 32, kAddedKong = 64, kWin = 128;

// bob (right) deals: alice and the others hold 13, bob 14.
class Claims : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(t.DealOthersTurn(kOwnTiles, 0x14)); }
  Client& c() { return t.c(); }
  SeatState& seat(int v) { return c().game.custom[v]; }
  Element& Pic(int v, int e) { return c().MainForm.At("MJ_Image", seat(v).mj[e].slot); }
  Element& Slot(int slot) { return c().MainForm.At("MJ_Image", slot); }
  int Face(int group, int code) { return 201 + *PictureIndex(group, code); }
  size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }
  TableScript t;
};

TEST_F(Claims, TheOppositeSeatsPungTakesEntriesTwoToFourAndMovesEntrySixToTheEnd) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x29)));
  const int discard = c().game.LastDiscardSlot;
  const int h4 = seat(2).mj[4].slot, h5 = seat(2).mj[5].slot, h6 = seat(2).mj[6].slot;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kTop, kPung, {0x29, 0x29, 0x29})));
  const SeatState& s = seat(2);
  EXPECT_EQ(s.HandStart, 7);
  EXPECT_EQ(s.MeldCursor, 7);
  EXPECT_EQ(s.HandCount, 11);
  EXPECT_EQ(s.mj[2].slot, h4);
  EXPECT_EQ(s.mj[3].slot, h5);
  EXPECT_EQ(s.mj[4].slot, discard);
  EXPECT_EQ(s.mj[17].slot, h6);
  for (int e = 2; e <= 4; ++e) {
    SCOPED_TRACE(e);
    EXPECT_EQ(s.mj[e].kind, 3);
    EXPECT_EQ(s.mj[e].code, 0x29);
    const Element& p = Pic(2, e);
    EXPECT_EQ(p.left, 842 - 34 * e);
    EXPECT_EQ(p.top, 122);
    EXPECT_EQ(p.width, 34);
    EXPECT_EQ(p.height, 40);
    EXPECT_EQ(p.picture->id, Face(2, 0x29));
  }
  EXPECT_DOUBLE_EQ(Pic(2, 17).left, 842 - (17 + 1.3) * 34);
  // Announced: the top bubble with the pung caption, the sound and voice.
  const Element& bubble = c().MainForm.At("Speak", 1);
  const Element& words = c().MainForm.At("Words");
  EXPECT_TRUE(bubble.visible);
  EXPECT_TRUE(words.visible);
  EXPECT_EQ(words.picture->id, 184);
  EXPECT_DOUBLE_EQ(words.left, bubble.left + 0.17 * bubble.width);
  EXPECT_EQ(c().tick.BubbleSeat, 1);
  EXPECT_TRUE(c().tick.BubbleShown);
  EXPECT_NE(t.h.TraceText().find("02.wav"), std::string::npos);
}

TEST_F(Claims, TheLocalPungLaysTheGroupBelowTheRowAndShiftsTheHandOnePlace) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x81)));
  const int discard = c().game.LastDiscardSlot;
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, 1 | kPung)));
  t.Click(c().MainForm.At("Operation", 1));
  std::vector<int> rest;
  for (int i = 6; i <= 16; ++i) rest.push_back(seat(0).mj[i].slot);
  const size_t sounds = Count(t.h.TraceText(), "\"sound\"");
  ASSERT_TRUE(t.Deliver(ClaimMsg(kOwn, kPung, {0x81, 0x81, 0x81})));
  const SeatState& s = seat(0);
  EXPECT_EQ(s.HandStart, 7);
  EXPECT_EQ(s.MeldCursor, 6);
  EXPECT_EQ(s.HandCount, 11);
  EXPECT_EQ(s.mj[3].slot, discard);
  for (int e = 1; e <= 3; ++e) {
    SCOPED_TRACE(e);
    const Element& p = Pic(0, e);
    EXPECT_EQ(p.left, 19 + (e + 1) * 43);
    EXPECT_EQ(p.top, 564 + 18);
    EXPECT_EQ(p.width, 45);
    EXPECT_EQ(p.height, 60);
    EXPECT_EQ(p.picture->id, Face(0, 0x81));
  }
  for (int i = 7; i <= 17; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.mj[i].slot, rest[i - 7]);
    EXPECT_EQ(Pic(0, i).left, 19 + 48 * i);
  }
  // The local claim was announced by the click: no bubble, no sound here.
  for (int b = 0; b < 3; ++b) EXPECT_FALSE(c().MainForm.At("Speak", b).visible);
  EXPECT_EQ(Count(t.h.TraceText(), "\"sound\""), sounds);
}

TEST_F(Claims, TheLeftSeatsConcealedKongShowsThreeBacksUnderItsFourthTileFaceUp) {
  ASSERT_TRUE(t.Deliver(DrawMsg(kLeft, 0)));
  const SeatState& s = seat(1);
  ASSERT_EQ(s.HandCount, 14);
  const int fourth = s.mj[s.HandStart + 13].slot;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kLeft, kConcealedKong, {0x47, 0x47, 0x47})));
  EXPECT_EQ(s.HandCount, 10);
  EXPECT_EQ(s.HandStart, 7);
  EXPECT_EQ(s.MeldCursor, 7);
  for (int e = 2; e <= 4; ++e) {
    SCOPED_TRACE(e);
    EXPECT_EQ(Pic(1, e).picture->id, 201 + 36 + 8);
    EXPECT_EQ(Pic(1, e).left, 153 - 5 * e);
    EXPECT_EQ(Pic(1, e).top, 192 + (35 - 17) * e);
  }
  const Element& top = Slot(fourth);
  EXPECT_EQ(top.picture->id, Face(1, 0x47));
  EXPECT_EQ(top.left, Pic(1, 3).left);
  EXPECT_EQ(top.top, Pic(1, 3).top - 18);
  EXPECT_EQ(c().play.RevealCount, 1);
  EXPECT_EQ(c().play.RevealSlots[0], fourth);
  EXPECT_EQ(c().play.RevealCodes[0], 0x47);
  EXPECT_EQ(c().play.RevealGroups[0], 1);
  EXPECT_FALSE(c().play.DrawFromFront);
  EXPECT_EQ(c().MainForm.At("Words").picture->id, 186);
  EXPECT_NE(t.h.TraceText().find("03.wav"), std::string::npos);
}

TEST_F(Claims, AKongOnTheDiscardLaysItOnTopAndTheReplacementDrawLeavesIt) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x29)));
  const int discard = c().game.LastDiscardSlot;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kTop, kKong, {0x29, 0x29, 0x29})));
  const SeatState& s = seat(2);
  EXPECT_EQ(s.HandCount, 10);
  const Element& d = Slot(discard);
  EXPECT_EQ(d.left, 842 - 3 * 34);
  EXPECT_EQ(d.top, 122 - 18);
  EXPECT_EQ(d.picture->id, Face(2, 0x29));
  const int back = c().game.WallBack;
  ASSERT_TRUE(t.Deliver(DrawMsg(kTop, 0)));
  EXPECT_EQ(d.left, 842 - 3 * 34);
  EXPECT_EQ(d.top, 122 - 18);
  EXPECT_EQ(s.mj[s.HandStart + s.HandCount - 1].slot, back);  // from the back of the wall
  EXPECT_EQ(c().game.custom[3].DiscardX, 758);                 // the right pile is still empty
}

TEST_F(Claims, ARedDragonAddedKongHasTheBubbleAndSoundButNoCaptionOrVoice) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x15)));
  ASSERT_TRUE(t.Deliver(ClaimMsg(kLeft, kPung, {0x15, 0x15, 0x15})));
  ASSERT_TRUE(t.DeliverAll({DiscardMsg(kLeft, 0x29), DrawMsg(kOwn, 0x88), DiscardMsg(kOwn, 0x88), DrawMsg(kLeft, 0)}));
  const SeatState& s = seat(1);
  const int added = s.mj[s.HandStart + s.HandCount - 1].slot;
  const std::string before = t.h.TraceText();
  ASSERT_TRUE(t.Deliver(ClaimMsg(kLeft, kAddedKong, {0, 0, 0x15})));
  const std::string now = t.h.TraceText().substr(before.size());
  EXPECT_NE(now.find("dapai.wav"), std::string::npos);
  EXPECT_EQ(now.find("03.wav"), std::string::npos);
  EXPECT_EQ(c().MainForm.At("Words").picture->id, 184);  // still the pung's caption
  EXPECT_TRUE(c().MainForm.At("Speak", 0).visible);
  // The tile lies on the pung's middle tile, face up (and blinks as the
  // last discard); the record keeps its groups.
  const Element& tile = Slot(added);
  EXPECT_EQ(tile.picture->id, Face(1, 0x15));
  EXPECT_EQ(tile.left, 153 - 5 * 3);
  EXPECT_EQ(tile.top, 192 + 18 * 3 - 17);
  EXPECT_EQ(c().game.LastDiscardSlot, added);
  EXPECT_EQ(s.MeldCursor, 7);
  EXPECT_EQ(s.HandStart, 7);
  EXPECT_EQ(s.mj[0].slot, added);  // a red dragon with nothing set aside
}

TEST_F(Claims, OnlyTheFirstWinColoursTheResultLabelsAndNamesTheWinner) {
  Form& score = LoadScoreBoard(c());
  ASSERT_TRUE(t.Deliver(ClaimMsg(kTop, kWin, {0, 0, 0})));
  EXPECT_EQ(c().play.WinnerView, 2);
  EXPECT_EQ(c().MainForm.At("Words").picture->id, 190);
  for (int v = 0; v < 4; ++v) EXPECT_EQ(score.At("ID", v).fore_color, v == 2 ? 0xFF0000u : 0x00FF00u) << v;
  score.At("ID", 1).fore_color = 0;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kLeft, kWin, {0, 0, 0})));
  EXPECT_EQ(c().play.WinnerView, 2);
  EXPECT_EQ(score.At("ID", 1).fore_color, 0u);
  EXPECT_TRUE(c().MainForm.At("Speak", 0).visible);  // still announced
}

TEST_F(Claims, ALocalWinOnADiscardTakesItIntoTheHandASelfDrawnWinMovesNothing) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x29)));
  const int discard = c().game.LastDiscardSlot;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kOwn, kWin, {0, 0, 0})));
  const Element& d = Slot(discard);
  EXPECT_EQ(d.left, Pic(0, 16).left + 48);
  EXPECT_EQ(d.top, 564);
  EXPECT_EQ(d.width, 48);
  EXPECT_EQ(d.height, 78);
  EXPECT_EQ(d.picture->id, Face(0, 0x29));
  EXPECT_EQ(c().play.WinnerView, 0);

  TableScript self;
  ASSERT_TRUE(self.DealOwnTurn(kOwnTiles, 0x14, 0x29));
  const SeatState& s = self.c().game.custom[0];
  std::vector<double> lefts;
  for (int i = 4; i < 18; ++i) lefts.push_back(self.c().MainForm.At("MJ_Image", s.mj[i].slot).left);
  ASSERT_TRUE(self.Deliver(ClaimMsg(kOwn, kWin, {0, 0, 0})));
  for (int i = 4; i < 18; ++i) EXPECT_EQ(self.c().MainForm.At("MJ_Image", s.mj[i].slot).left, lefts[i - 4]);
  EXPECT_EQ(self.c().play.WinnerView, 0);
}

TEST_F(Claims, AnAddedKongWithoutItsPungStaysInTheRowInMeldSizeShowingItsBack) {
  const SeatState& s = seat(1);
  const int tile = s.mj[s.HandStart + s.HandCount - 1].slot;
  const double left = Slot(tile).left, top = Slot(tile).top;
  ASSERT_TRUE(t.Deliver(ClaimMsg(kLeft, kAddedKong, {0, 0, 0x33})));
  EXPECT_TRUE(Slot(tile).visible);
  EXPECT_EQ(Slot(tile).left, left);
  EXPECT_EQ(Slot(tile).top, top);
  EXPECT_EQ(Slot(tile).width, 45);
  EXPECT_EQ(Slot(tile).height, 35);
  EXPECT_EQ(Slot(tile).picture->id, 201 + 36 + 7);
  EXPECT_EQ(s.HandCount, 12);
}

TEST_F(Claims, ALocalPungWhosePairIsMissingOnlyShiftsTheConcealedTilesOnePlace) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x81)));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, 1 | kPung)));
  t.Click(c().MainForm.At("Operation", 1));
  std::vector<int> slots;
  for (int i = 4; i <= 16; ++i) slots.push_back(seat(0).mj[i].slot);
  // The server names a tile the hand holds no pair of.
  ASSERT_TRUE(t.Deliver(ClaimMsg(kOwn, kPung, {0x42, 0x42, 0x42})));
  for (int i = 7; i <= 17; ++i) EXPECT_EQ(seat(0).mj[i].slot, slots[i - 5]) << i;
  EXPECT_FALSE(t.h.ended);
}

// Claims the seat's record cannot hold end the client by the fault exit.
TEST(BadClaims, AClaimForASeatWithTooFewConcealedTilesIsAFault) {
  struct Case {
    uint8_t seat;
    int16_t kind;
  };
  for (const Case& cs : {Case{kTop, kPung}, Case{kLeft, kKong}, Case{kRight, kConcealedKong}, Case{kTop, kAddedKong},
                         Case{kOwn, kPung}, Case{kOwn, kConcealedKong}}) {
    SCOPED_TRACE(cs.kind * 10 + cs.seat);
    TableScript fresh;
    ASSERT_TRUE(fresh.SeatAt(kOwn));
    fresh.Deliver(ClaimMsg(cs.seat, cs.kind, {0x29, 0x29, 0x29}));
    ASSERT_TRUE(fresh.h.ended);
    EXPECT_NE(fresh.h.ended->find("type 7"), std::string::npos) << *fresh.h.ended;
  }
}

}  // namespace
}  // namespace tess::test
