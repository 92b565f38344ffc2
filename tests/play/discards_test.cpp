// Discards through the scripted server: the centre, the piles in rows of
// eight, the right pile's stacking, placed winds, the speech bubbles and
// the seen counts.
#include <gtest/gtest.h>

#include "core/client.h"
#include "play/discards.h"
#include "support/table_script.h"

namespace tess::test {
namespace {

constexpr std::array<uint16_t, 12> kOwnTiles = {0x11, 0x83, 0x21, 0x49, 0x15, 0x82, 0x29, 0x41, 0x17, 0x85, 0x23, 0x47};
constexpr uint8_t kRight = 2, kTop = 4, kLeft = 8, kOwn = 1;

// alice at mask 1; bob (2, right) deals; the deal and the wild tile are in.
class Discards : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(t.SeatAt(kOwn));
    ASSERT_TRUE(t.StartHand(kRight, kOwnTiles));
    ASSERT_TRUE(t.DeliverAll({DrawMsg(kOwn, 0x12), DrawMsg(kRight, 0), DrawMsg(kTop, 0), DrawMsg(kLeft, 0),
                              DrawMsg(kRight, 0), WildTileMsg(0x25, 0x24)}));
  }
  Client& c() { return t.c(); }
  const Form& f() { return c().MainForm; }
  const Element& Tile(int slot) { return f().At("MJ_Image", slot); }
  int NewestSlot(int v) {
    const SeatState& s = c().game.custom[v];
    return s.mj[s.HandStart + s.HandCount - 1].slot;
  }
  // The local player's discard as a click lays it out.
  void OwnDiscard(int code) {
    ASSERT_TRUE(t.h.Do([&](Client& cl) {
      SeatState& s = cl.game.custom[0];
      const int slot = s.mj[s.HandStart + s.HandCount - 1].slot;
      --s.HandCount;
      Element& e = cl.MainForm.At("MJ_Image", slot);
      e.width = 36;
      e.height = 50;
      cl.game.LastDiscardSlot = static_cast<int16_t>(slot);
      cl.game.LastDiscarder = 0;
      cl.game.LastDiscard = static_cast<int16_t>(code);
      ShowOwnDiscard(cl, slot, code);
    }));
  }
  TableScript t;
};

TEST_F(Discards, ADiscardLiesInTheCentreUntilTheNextSeatDrawsThenJoinsItsPile) {
  const int slot = NewestSlot(3);
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x23)));
  const Element& e = Tile(slot);
  EXPECT_EQ(c().game.LastDiscardSlot, slot);
  EXPECT_EQ(c().game.LastDiscarder, 3);
  EXPECT_EQ(e.left, (1024 - 35) / 2.0);  // centred by its size before the move
  EXPECT_EQ(e.top, (768 - 66) / 2.0);
  EXPECT_EQ(e.width, 48);
  EXPECT_EQ(e.height, 35);
  EXPECT_EQ(e.picture->id, 201 + *PictureIndex(3, 0x23));
  EXPECT_EQ(f().ZOf(e), static_cast<int>(f().Elements().size()) - 1);
  EXPECT_EQ(c().game.custom[3].HandCount, 13);
  EXPECT_EQ(c().game.SeenCount[1][3], 1);

  // A draw with value(1) = 1 leaves it there; the next one lays it.
  ASSERT_TRUE(t.Deliver(DrawMsg(kTop, 0, 1)));
  EXPECT_EQ(e.left, (1024 - 35) / 2.0);
  const int64_t before = t.h.clock.NowMs();
  ASSERT_TRUE(t.Deliver(DrawMsg(kTop, 0)));
  EXPECT_GE(t.h.clock.NowMs() - before, 400);
  EXPECT_EQ(e.left, 758);
  EXPECT_EQ(e.top, 438);
  EXPECT_EQ(c().game.custom[3].DiscardY, 438 - 18);
  EXPECT_EQ(c().game.custom[3].DiscardX, 758 - 5);
  EXPECT_GE(c().tick.BlinkCount, 2);  // 3, and the blink may have run once
  // A further draw before the next discard (a kong's replacement) leaves it.
  ASSERT_TRUE(t.Deliver(DrawMsg(kTop, 0)));
  EXPECT_EQ(e.top, 438);
  EXPECT_EQ(c().game.custom[3].DiscardY, 438 - 18);
}

TEST_F(Discards, TheLocalDiscardIsLaidOnlyWhenTheSeatAfterTheLocalPlayerDraws) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x23)));
  ASSERT_TRUE(t.Deliver(DrawMsg(kTop, 0)));
  const int slot = NewestSlot(0);
  OwnDiscard(0x17);
  const Element& e = Tile(slot);
  EXPECT_EQ(e.left, (1024 - 36) / 2.0);
  // Its own message only names it.
  ASSERT_TRUE(t.Deliver(DiscardMsg(kOwn, 0x17)));
  EXPECT_EQ(c().game.LastDiscard, 0x17);
  EXPECT_EQ(e.left, (1024 - 36) / 2.0);
  ASSERT_TRUE(t.Deliver(DrawMsg(kLeft, 0)));
  EXPECT_EQ(e.left, (1024 - 36) / 2.0);
  ASSERT_TRUE(t.Deliver(DrawMsg(kRight, 0)));
  EXPECT_EQ(e.left, 358);
  EXPECT_EQ(e.top, 438);
}

TEST_F(Discards, PilesTurnAfterEightTiles) {
  // The opposite seat's ninth discard starts a row 22 below its first.
  // The top and left seats take turns: each draw lays the other's discard.
  ASSERT_TRUE(t.Deliver(DrawMsg(kTop, 0)));
  std::vector<int> slots;
  for (int i = 0; i < 9; ++i) {
    slots.push_back(NewestSlot(2));
    ASSERT_TRUE(t.Deliver(DiscardMsg(kTop, 0x81 + (i % 9))));
    ASSERT_TRUE(t.Deliver(DrawMsg(kLeft, 0)));
    ASSERT_TRUE(t.Deliver(DiscardMsg(kLeft, 0x42)));
    ASSERT_TRUE(t.Deliver(DrawMsg(kTop, 0)));
  }
  EXPECT_EQ(Tile(slots[0]).left, 635);
  EXPECT_EQ(Tile(slots[0]).top, 238);
  EXPECT_EQ(Tile(slots[7]).left, 635 - 7 * 30);
  EXPECT_EQ(Tile(slots[8]).left, 635);
  EXPECT_EQ(Tile(slots[8]).top, 238 + 22);
  EXPECT_EQ(c().game.SeenCount[3][1], 1);
  EXPECT_EQ(c().game.SeenCount[2][2], 9);

  // The local seat's ninth starts a row 32 above its first.
  std::vector<int> own;
  for (int i = 0; i < 9; ++i) {
    ASSERT_TRUE(t.h.Do([&](Client& cl) {
      cl.game.LastDiscarder = 0;
      cl.game.LastDiscardSlot = static_cast<int16_t>(60 + i);
      LayDiscardOnPile(cl);
    }));
  }
  EXPECT_EQ(Tile(60).left, 358);
  EXPECT_EQ(Tile(60).top, 438);
  EXPECT_EQ(Tile(67).left, 358 + 7 * 36);
  EXPECT_EQ(Tile(68).left, 358);
  EXPECT_EQ(Tile(68).top, 438 - 32);
}

TEST_F(Discards, TheRightPileKeepsItsOldestTilesInFront) {
  ASSERT_TRUE(t.h.Do([&](Client& cl) {
    for (int i = 0; i < 18; ++i) {
      cl.game.LastDiscarder = 3;
      cl.game.LastDiscardSlot = static_cast<int16_t>(40 + i);
      LayDiscardOnPile(cl);
    }
  }));
  auto z = [&](int entry) { return f().ZOf(Tile(40 + entry)); };
  for (int column : {0, 8, 16}) {
    const int end = std::min(column + 8, 18);
    for (int i = column; i + 1 < end; ++i) EXPECT_GT(z(i), z(i + 1)) << "entry " << i;
  }
  EXPECT_GT(z(15), z(0));   // the second column in front of the first
  EXPECT_GT(z(17), z(8));   // the third in front of the second
  EXPECT_EQ(Tile(48).left, 758 - 40 + 40 - 48 + 5);
  EXPECT_EQ(Tile(48).top, 438);
}

TEST_F(Discards, PlacedWindsAndTheMarkBubbles) {
  // The left seat declares (报) with a wind: centre, placed-wind column, 报 bubble.
  ASSERT_TRUE(t.Deliver(DrawMsg(kLeft, 0)));
  ASSERT_TRUE(t.Deliver(DiscardMsg(kLeft, 0x12, 1)));
  const Element& wind = f().At("BaiBao_img", 0);
  EXPECT_TRUE(wind.visible);
  EXPECT_EQ(wind.picture->id, 201 + *PictureIndex(1, 0x12));
  EXPECT_EQ(wind.left, 153 - 48 + 40);
  EXPECT_EQ(wind.top, (768 - 35) / 2.0);
  const Element& bubble = f().At("speakFeng");
  EXPECT_TRUE(bubble.visible);
  EXPECT_EQ(bubble.picture->id, 425);
  EXPECT_EQ(bubble.left, 8);
  EXPECT_EQ(bubble.top, 280);
  EXPECT_TRUE(c().tick.BubbleShown);
  EXPECT_EQ(c().game.SeenCount[0][2], 0);  // honours are not counted

  // Its next wind: the 摆 bubble (报 shows once a hand), the column grows upward.
  ASSERT_TRUE(t.Deliver(DrawMsg(kLeft, 0)));
  ASSERT_TRUE(t.Deliver(DiscardMsg(kLeft, 0x14, 1)));
  EXPECT_EQ(bubble.picture->id, 428);
  const Element& second = f().At("BaiBao_img", 1);
  EXPECT_EQ(second.left, 153 - 48 + 40 + 5);
  EXPECT_EQ(second.top, (768 - 35) / 2.0 - 18);
  EXPECT_GT(f().ZOf(wind), f().ZOf(second));  // the oldest in front
  EXPECT_EQ(c().play.PlacedTotal, 2);

  // A non-wind under 摆: no placed wind, no bubble of its own.
  c().tick.BubbleShown = false;
  ASSERT_TRUE(t.Deliver(DrawMsg(kLeft, 0)));
  ASSERT_TRUE(t.Deliver(DiscardMsg(kLeft, 0x22, 2)));
  EXPECT_EQ(c().play.PlacedTotal, 2);
  EXPECT_FALSE(c().tick.BubbleShown);

  // The bubble hides two seconds after it was shown.
  ASSERT_TRUE(t.Deliver(DrawMsg(kTop, 0)));
  ASSERT_TRUE(t.Deliver(DiscardMsg(kTop, 0x13, 2)));
  EXPECT_TRUE(bubble.visible);
  EXPECT_EQ(bubble.picture->id, 429);
  ASSERT_TRUE(t.h.RunFor(2100));
  EXPECT_FALSE(bubble.visible);
}

TEST_F(Discards, AFollowTheDealerDiscardShowsItsBubble) {
  c().MainForm.At("Speak", 2).visible = true;
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x11, 0, 3)));
  const Element& bubble = f().At("tsSpeak", 2);
  EXPECT_TRUE(bubble.visible);
  EXPECT_EQ(bubble.picture->id, 420);
  EXPECT_EQ(bubble.left, 936);
  EXPECT_EQ(bubble.top, 280);
  EXPECT_FALSE(f().At("Speak", 2).visible);
  EXPECT_EQ(c().tick.BubbleSeat, 2);
}

TEST_F(Discards, SoundsOfADiscard) {
  const size_t from = t.h.TraceText().size();
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0x45)));  // characters 5: voice suit digit 8
  const std::string added = t.h.TraceText().substr(from);
  const PlayerInfo& bob = c().game.players[3];
  EXPECT_NE(added.find("../common/music/dapai.wav"), std::string::npos);
  EXPECT_NE(added.find("../common/mj/v00" + bob.VoiceId + "13" + "85.wav"), std::string::npos) << added;
}

TEST_F(Discards, TileZeroOnlyRecordsAndADiscardFromAnEmptyHandIsAFault) {
  ASSERT_TRUE(t.Deliver(DiscardMsg(kRight, 0, 2)));
  EXPECT_EQ(c().game.LastDiscard, 0);
  EXPECT_TRUE(c().play.Placing[3]);
  EXPECT_EQ(c().game.custom[3].HandCount, 14);
  c().game.custom[2].HandCount = 0;
  EXPECT_FALSE(t.Deliver(DiscardMsg(kTop, 0x23)));
  ASSERT_TRUE(t.h.ended);
  EXPECT_NE(t.h.ended->find("fault"), std::string::npos);
}

}  // namespace
}  // namespace tess::test
