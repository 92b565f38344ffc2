// The automatic players through the real client: a turn countdown that
// runs out (the tick), answers and discards as the server receives them.
#include <gtest/gtest.h>

#include "autoplay/auto_play.h"
#include "core/client.h"
#include "support/table_script.h"

namespace tess::test {
namespace {

constexpr uint8_t kOwn = 1, kRight = 2;
constexpr int16_t kPass = 1, kPung = 8, kAddedKong = 64, kWin = 128;
// Three of a kind of characters 3, pairs of dots 2 and bamboo 6, a loose wind.
constexpr std::array<uint16_t, 12> kHand = {0x43, 0x43, 0x43, 0x82, 0x82, 0x26, 0x26, 0x27, 0x28, 0x11, 0x84, 0x85};

struct Sent {
  std::vector<std::array<int16_t, 4>> answers;   // type 7
  std::vector<std::array<int16_t, 4>> discards;  // type 2
};

// The turn countdown runs out with `auto_mode` set or not.
Sent TimeOut(TableScript& t, bool auto_mode) {
  const size_t from = t.h.server.ReceivedCount();
  t.c().tick.AutoMode = auto_mode;
  t.c().tick.TurnState = 0;
  t.c().tick.Countdown = 0;
  t.c().tick.TurnTimerAllowed = true;
  SwitchTaskOn(t.c(), kTaskTurnCountdown);
  t.h.RunFor(1500);
  t.h.server.WaitForPackets(from + 1, std::chrono::milliseconds(200));
  t.h.RunFor(200);
  Sent s;
  const auto got = t.h.server.Received();
  for (size_t i = from; i < got.size(); ++i) {
    if (got[i].type == 7) s.answers.push_back(got[i].value);
    if (got[i].type == 2) s.discards.push_back(got[i].value);
  }
  return s;
}

TEST(AutoPlay, AWinAndAPungOfferedTogetherAnswerOnlyTheWin) {
  TableScript t;
  ASSERT_TRUE(t.DealOthersTurn(kHand, 0x29));
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x82)));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kPung | kWin)));
  const Sent s = TimeOut(t, true);
  EXPECT_EQ(s.answers, (std::vector<std::array<int16_t, 4>>{{kWin, 0, 0, 0}}));
  EXPECT_TRUE(s.discards.empty());
}

TEST(AutoPlay, ARefusedPungIsAPassAndNoDiscard) {
  TableScript t;
  // Bamboo 3, 4, 4, 5 offered a 4: the run is worth more than the pung.
  ASSERT_TRUE(t.DealOthersTurn({0x23, 0x24, 0x24, 0x25, 0x43, 0x43, 0x43, 0x82, 0x82, 0x11, 0x84, 0x85}, 0x86));
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x24)));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kPung)));
  const Sent s = TimeOut(t, true);
  EXPECT_EQ(s.answers, (std::vector<std::array<int16_t, 4>>{{kPass, 0, 0, 0}}));
  EXPECT_TRUE(s.discards.empty());
}

// On its own turn (no offer open) a player only discards. The full player
// under a locked hand and the plain one let the last entry go (the hand is
// kept sorted); the kind follows the 报/摆 marks.
TEST(AutoPlay, OnItsOwnTurnOnlyTheDiscardGoesWithTheKindRule) {
  constexpr std::array<uint16_t, 12> kNoHonours = {0x43, 0x43, 0x43, 0x82, 0x82, 0x26, 0x26, 0x27, 0x28, 0x29, 0x84, 0x85};
  struct Case {
    const char* what;
    bool full, declared, placing;
    std::array<uint16_t, 12> own;
    int16_t kind;
    bool locked_after, placing_after;
  };
  for (const Case& k : {Case{"declared, full player", true, true, true, kHand, 1, true, true},
                        Case{"placing, a wind", false, false, true, kHand, 2, true, true},
                        Case{"placing, bamboo", false, false, true, kNoHonours, 0, false, false},
                        Case{"plain", false, false, false, kNoHonours, 0, false, false}}) {
    SCOPED_TRACE(k.what);
    TableScript t;
    ASSERT_TRUE(t.DealOwnTurn(k.own, 0x29, 0x27));
    t.c().play.TurnActed = true;  // no offer open
    t.c().play.Declared[0] = k.declared;
    t.c().play.Placing[0] = k.placing;
    t.c().tick.HandLocked = k.declared;
    const SeatState& own = t.c().game.custom[0];
    const int16_t last = own.mj[own.HandStart + own.HandCount - 1].code;
    const Sent s = TimeOut(t, k.full);
    EXPECT_TRUE(s.answers.empty());
    ASSERT_EQ(s.discards.size(), 1u);
    EXPECT_EQ(s.discards[0], (std::array<int16_t, 4>{0, k.kind, 0, static_cast<int16_t>(0x4000 | last)}));
    EXPECT_EQ(t.c().tick.HandLocked, k.locked_after);
    EXPECT_EQ(t.c().play.Placing[0], k.placing_after);
    EXPECT_EQ(own.HandCount, 13);
    EXPECT_EQ(t.c().tick.TurnState, 3);
  }
}

TEST(AutoPlay, ThePlainPlayerPassesAndDiscardsTheDrawnTileEvenWithAWinOffered) {
  TableScript t;
  ASSERT_TRUE(t.DealOwnTurn(kHand, 0x15, 0x25));
  ASSERT_TRUE(t.Deliver(OfferMsg(kOwn, kPass | kWin)));
  const Sent s = TimeOut(t, false);
  EXPECT_EQ(s.answers, (std::vector<std::array<int16_t, 4>>{{kPass, 0, 0, 0}}));
  ASSERT_EQ(s.discards.size(), 1u);
  const SeatState& own = t.c().game.custom[0];
  EXPECT_EQ(own.HandCount, 13);
  // The hand is kept sorted, so the drawn tile is the last entry: the red dragon.
  EXPECT_EQ(s.discards[0], (std::array<int16_t, 4>{0, 0, 0, 0x4015}));
}

TEST(AutoPlay, TheSingleWildIsHeldBackFromAnAddedKong) {
  struct Case {
    const char* what;
    std::vector<int16_t> extra;  // concealed besides the wild
    int wilds;
    bool held;
  };
  for (const Case& k : {Case{"one wild alone", {}, 1, true}, Case{"two wilds", {}, 2, false},
                        Case{"a red dragon first", {0x15}, 1, false}}) {
    SCOPED_TRACE(k.what);
    TableScript t;
    ASSERT_TRUE(t.DealOwnTurn(kHand, 0x17, 0x18));
    SeatState& s = t.c().game.custom[0];
    // Concealed: fillers, then the extras and the wilds at the end.
    int i = s.HandStart;
    for (int16_t code : k.extra) s.mj[i++].code = code;
    for (int w = 0; w < k.wilds; ++w) s.mj[s.HandStart + s.HandCount - 1 - w].code = t.c().game.WildTile;
    for (int j = s.HandStart; j < s.HandStart + s.HandCount; ++j)
      if (s.mj[j].code == 0x15 && std::find(k.extra.begin(), k.extra.end(), 0x15) == k.extra.end()) s.mj[j].code = 0x27;
    t.c().play.OfferFlags = kAddedKong;
    EXPECT_EQ(HoldSingleWild(t.c()), k.held);
  }
}

}  // namespace
}  // namespace tess::test
