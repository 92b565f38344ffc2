// Action offers through the scripted server, answered with the mouse on
// the display elements: which buttons light, the countdown, 报 and 摆 on
// button 0, the kong chooser's Gang buttons and the claim packets.
#include <gtest/gtest.h>

#include "core/client.h"
#include "support/table_script.h"

namespace tess::test {
namespace {

// Sorted: 81 81 81 81 42 42 42 42 23 27 29 11 13 16 at mj 4-17.
constexpr std::array<uint16_t, 12> kTwoQuads = {0x81, 0x81, 0x81, 0x81, 0x42, 0x42, 0x42, 0x42, 0x23, 0x27, 0x11, 0x13};
constexpr uint8_t kOwn = 1, kLeft = 8;
constexpr int kPass = 1, kDeclare = 2, kPlace = 4, kPung = 8, kConcealedKong = 32;

class Offers : public ::testing::Test {
 protected:
  Client& c() { return t.c(); }
  const Element& Button(int i) { return c().MainForm.At("Operation", i); }
  int PictureOf(const Element& e) { return e.picture ? e.picture->id : -1; }
  void Deal() { ASSERT_TRUE(t.DealOwnTurn(kTwoQuads, 0x16, 0x29)); }
  TableScript t;
};

TEST_F(Offers, AnOfferOfOnlyPassLightsThePassButtonAloneAndStartsTheCountdown) {
  Deal();
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass)));
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Button(i).visible);
    EXPECT_EQ(Button(i).enabled, i == 4);
    EXPECT_EQ(c().play.OfferedActions[i], i == 4 ? 2 : 0);
  }
  EXPECT_EQ(PictureOf(Button(4)), 154);
  EXPECT_EQ(PictureOf(Button(1)), 144);
  EXPECT_EQ(PictureOf(Button(3)), 150);
  const Element& number = c().MainForm.At("Number");
  EXPECT_TRUE(number.visible);
  EXPECT_EQ(number.fore_color, 0x00FF00u);
  EXPECT_TRUE(c().MainForm.At("Time_Img").visible);
  EXPECT_TRUE(c().tick.TaskEnabled[kTaskTurnCountdown]);
  EXPECT_EQ(c().tick.Countdown, c().tick.TurnSeconds);
  EXPECT_TRUE(c().play.DiscardAllowed);  // 14 tiles: a discard is due
  // A click on a greyed button does nothing.
  const size_t before = t.h.server.ReceivedCount();
  t.Click(Button(1));
  EXPECT_EQ(c().tick.TurnState, 0);
  t.h.RunFor(200);
  EXPECT_EQ(t.h.server.ReceivedCount(), before);
}

TEST_F(Offers, AnOfferBeforeTheDealIsRecordedButShowsNothing) {
  ASSERT_TRUE(t.SeatAt(kOwn));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kPung)));
  EXPECT_EQ(c().play.OfferedActions[4], 2);
  EXPECT_EQ(c().play.OfferedActions[1], 2);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(Button(i).visible) << i;
  EXPECT_FALSE(c().MainForm.At("Number").visible);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskTurnCountdown]);
}

TEST_F(Offers, AnOfferForAnotherSeatIsIgnored) {
  Deal();
  ASSERT_TRUE(t.Deliver(OfferMsg(kLeft, kPass)));
  EXPECT_EQ(c().play.OfferedActions[4], 0);
  EXPECT_FALSE(Button(4).visible);
}

// The countdown of a locked hand: none unless a kong or the win is there
// to choose; without one the automatic player plays at the next tick.
TEST_F(Offers, ALockedHandGetsNoCountdownUnlessAKongOrTheWinIsOffered) {
  struct Case {
    int opts;
    bool locked;
    bool full_countdown;
  };
  const Case cases[] = {
      {kPass, true, false}, {kPass | 16, true, true}, {kPass | 128, true, true}, {kPass, false, true}};
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.opts + 1000 * cs.locked);
    TableScript fresh;
    ASSERT_TRUE(fresh.DealOwnTurn(kTwoQuads, 0x16, 0x29));
    const size_t trace_before = fresh.h.TraceText().size();
    fresh.c().tick.HandLocked = cs.locked;
    ASSERT_TRUE(fresh.Deliver(OfferMsg(kOwn, static_cast<int16_t>(cs.opts))));
    EXPECT_EQ(fresh.c().tick.Countdown, cs.full_countdown ? fresh.c().tick.TurnSeconds : 0);
    fresh.h.RunFor(1100);  // one countdown tick
    const bool played = fresh.h.TraceText().find("\"autoplay\"", trace_before) != std::string::npos;
    EXPECT_EQ(played, !cs.full_countdown);
    EXPECT_EQ(fresh.c().tick.TurnState, cs.full_countdown ? 0 : 3);
  }
}

TEST_F(Offers, ButtonZeroDeclaresUntilSomebodyHasDeclaredThenPlacesWinds) {
  Deal();
  // Nobody has declared: the first 报.
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kDeclare)));
  EXPECT_EQ(PictureOf(Button(0)), 421);
  const size_t before = t.h.server.ReceivedCount();
  t.Click(Button(0));
  EXPECT_TRUE(c().play.Declared[0]);
  EXPECT_TRUE(c().play.Placing[0]);
  EXPECT_EQ(PictureOf(Button(0)), 422);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(Button(i).visible) << i;
  EXPECT_EQ(c().tick.TurnState, 1);
  // The countdown runs on: the player discards next. Nothing was sent.
  EXPECT_TRUE(c().tick.TaskEnabled[kTaskTurnCountdown]);
  t.h.RunFor(200);
  EXPECT_EQ(t.h.server.ReceivedCount(), before);

  // At another table the left seat declared first: button 0 offers 摆.
  TableScript other;
  ASSERT_TRUE(other.DealOwnTurn(kTwoQuads, 0x16, 0x29));
  ASSERT_TRUE(other.Deliver(DiscardMsg(kLeft, 0x19, 1)));
  ASSERT_TRUE(other.Deliver(OfferMsg(kOwn, kPass | kPlace)));
  EXPECT_EQ(other.c().MainForm.At("Operation", 0).picture->id, 423);
  other.Click(other.c().MainForm.At("Operation", 0));
  EXPECT_FALSE(other.c().play.Declared[0]);
  EXPECT_TRUE(other.c().play.Placing[0]);
  EXPECT_EQ(other.c().MainForm.At("Operation", 0).picture->id, 424);
}

TEST_F(Offers, TwoConcealedQuadsShowTwoGangButtonsAndHalveTheCountdown) {
  Deal();
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kConcealedKong)));
  t.Click(Button(2));
  EXPECT_EQ(c().play.KongChoices[0], 4);
  EXPECT_EQ(c().play.KongChoices[1], 8);
  const Element& g0 = c().MainForm.At("Gang", 0);
  const Element& g1 = c().MainForm.At("Gang", 1);
  for (const Element* g : {&g0, &g1}) {
    EXPECT_TRUE(g->visible);
    EXPECT_TRUE(g->enabled);
    EXPECT_DOUBLE_EQ(g->width, 0.8 * 48);
    EXPECT_DOUBLE_EQ(g->height, 0.8 * 78);
    EXPECT_EQ(g->left, Button(3).left);
  }
  EXPECT_EQ(g0.top, Button(0).top);
  EXPECT_DOUBLE_EQ(g1.top, Button(0).top - 0.8 * (0.8 * 78));
  EXPECT_EQ(g0.picture->id, 201 + *PictureIndex(4, 0x81));
  EXPECT_EQ(g1.picture->id, 201 + *PictureIndex(4, 0x42));
  EXPECT_FALSE(c().MainForm.At("Gang", 2).visible);
  EXPECT_EQ(c().tick.Countdown, c().tick.TurnSeconds / 2);
  EXPECT_TRUE(c().tick.TaskEnabled[kTaskTurnCountdown]);
  EXPECT_TRUE(c().MainForm.At("Number").visible);

  // The second quad: staged as a concealed kong and claimed.
  const size_t before = t.h.server.ReceivedCount();
  t.Click(g1);
  const auto claims = t.SentOfType(7, 1, before);
  ASSERT_EQ(claims.size(), 1u);
  EXPECT_EQ(claims[0].value, (std::array<int16_t, 4>{32, 0x2042, 0x2042, 0x2042}));
  EXPECT_EQ(claims[0].seat, kOwn);
  EXPECT_EQ(c().play.KongChoices[0], 8);
  const SeatState& s = c().game.custom[0];
  for (int e = 1; e <= 3; ++e) {
    EXPECT_EQ(s.mj[e].kind, 5);
    EXPECT_EQ(s.mj[e].code, 0x42);
    EXPECT_EQ(s.mj[e].slot, s.mj[e + 7].slot);
  }
  EXPECT_FALSE(g0.visible);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskTurnCountdown]);
}

TEST_F(Offers, OneKongCandidateIsClaimedAtOnceAsItsOwnKind) {
  // 81 81 81 81 42 42 42 23 27 29 11 13 16 17: one quad only.
  ASSERT_TRUE(t.DealOwnTurn({0x81, 0x81, 0x81, 0x81, 0x42, 0x42, 0x42, 0x17, 0x23, 0x27, 0x11, 0x13}, 0x16, 0x29));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kConcealedKong)));
  const size_t before = t.h.server.ReceivedCount();
  t.Click(Button(2));
  const auto claims = t.SentOfType(7, 1, before);
  ASSERT_EQ(claims.size(), 1u);
  EXPECT_EQ(claims[0].value, (std::array<int16_t, 4>{32, 0x2081, 0x2081, 0x2081}));
  EXPECT_FALSE(c().MainForm.At("Gang", 0).visible);
  EXPECT_FALSE(Button(2).visible);
  // The pass button is gone with the offer: no pass follows.
  t.h.RunFor(500);
  EXPECT_EQ(t.SentOfType(7, 2, before).size(), 1u);
}

TEST_F(Offers, PassSendsKindOneOnceAndEndsACountdownOnAnotherSeatsDiscard) {
  ASSERT_TRUE(t.DealOthersTurn(kTwoQuads, 0x16));  // alice holds 13
  ASSERT_TRUE(t.Deliver(DiscardMsg(2, 0x81)));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kPung)));
  EXPECT_FALSE(c().play.DiscardAllowed);
  const size_t before = t.h.server.ReceivedCount();
  t.Click(Button(4));
  const auto passes = t.SentOfType(7, 1, before);
  ASSERT_EQ(passes.size(), 1u);
  EXPECT_EQ(passes[0].value, (std::array<int16_t, 4>{1, 0, 0, 0}));
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskTurnCountdown]);
  EXPECT_FALSE(c().MainForm.At("Number").visible);
  EXPECT_EQ(c().tick.TurnState, 1);
  // The right click on the table has nothing left to pass.
  t.ClickTable(300, 420, kButtonRight);
  t.h.RunFor(300);
  EXPECT_EQ(t.SentOfType(7, 2, before).size(), 1u);
}

TEST_F(Offers, PungClaimsTheDiscardWithTheFirstPairStaged) {
  ASSERT_TRUE(t.DealOthersTurn(kTwoQuads, 0x16));
  ASSERT_TRUE(t.Deliver(DiscardMsg(2, 0x42)));
  const int discard_slot = c().game.LastDiscardSlot;
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kPung)));
  const size_t before = t.h.server.ReceivedCount();
  t.Click(Button(1));
  const auto claims = t.SentOfType(7, 1, before);
  ASSERT_EQ(claims.size(), 1u);
  EXPECT_EQ(claims[0].value, (std::array<int16_t, 4>{8, 0x2042, 0x2042, 0x2042}));
  const SeatState& s = c().game.custom[0];
  // 81 81 81 81 42 42 42 42 ...: the pair is mj 8, 9.
  EXPECT_EQ(s.mj[1].slot, s.mj[8].slot);
  EXPECT_EQ(s.mj[2].slot, s.mj[9].slot);
  EXPECT_EQ(s.mj[3].slot, discard_slot);
  for (int e = 1; e <= 3; ++e) {
    EXPECT_EQ(s.mj[e].kind, 3);
    EXPECT_EQ(s.mj[e].code, 0x42);
  }
  EXPECT_FALSE(c().play.DiscardAllowed);
  EXPECT_TRUE(c().play.TurnActed);
  EXPECT_NE(t.h.TraceText().find("02.wav"), std::string::npos);
}

}  // namespace
}  // namespace tess::test
