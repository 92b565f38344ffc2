#include "table/game_state.h"

#include <gtest/gtest.h>

namespace tess {
namespace {

TEST(SeatHelpers, SeatIndexIsTheHighestSetBitOfAFourBitMask) {
  struct Case {
    int mask, index;
  };
  for (Case c : {Case{0, 0}, Case{1, 0}, Case{2, 1}, Case{3, 1}, Case{4, 2}, Case{5, 2}, Case{7, 2},
                 Case{8, 3}, Case{9, 3}, Case{15, 3}}) {
    EXPECT_EQ(SeatIndexOf(c.mask), c.index) << c.mask;
  }
  // Bits above the four seats would index past the seat arrays.
  for (int bad : {16, 31, 128, 255, 256, -1, -8}) EXPECT_FALSE(SeatIndexOf(bad)) << bad;
}

TEST(SeatHelpers, MaskOfRoundTripsAndIsZeroOutsideTheFourSeats) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(SeatIndexOf(MaskOf(i)), i);
  for (int bad : {-1, 4, 8, 31}) EXPECT_EQ(MaskOf(bad), 0) << bad;
}

TEST(SeatHelpers, ViewSeatsAroundTheLocalPlayer) {
  GameState gs;
  struct Case {
    uint8_t local, other;
    int view;
  };
  for (Case c : {Case{2, 2, 0}, Case{2, 4, 3}, Case{2, 1, 1}, Case{2, 8, 2},
                 Case{8, 1, 3}, Case{1, 8, 1}, Case{1, 4, 2},
                 // Masks that are not one seat: their highest bit; 0 is index 0.
                 Case{0, 1, 0}, Case{0, 8, 1}, Case{4, 0, 2}, Case{4, 15, 3}, Case{15, 6, 1}}) {
    gs.custom[0].Seat = c.local;
    EXPECT_EQ(ViewSeatOf(gs, c.other), c.view) << int(c.local) << " sees " << int(c.other);
  }
}

TEST(SeatHelpers, ViewSeatOfAMaskAboveFourBitsIsNone) {
  GameState gs;
  gs.custom[0].Seat = 4;
  for (int bad : {16, 255, -1}) EXPECT_FALSE(ViewSeatOf(gs, bad)) << bad;
  gs.custom[0].Seat = 0x20;
  EXPECT_FALSE(ViewSeatOf(gs, 1));
}

TEST(TileHelpers, PictureIndexOfValidCodes) {
  struct Case {
    int group, code, picture;
  };
  for (Case c : {Case{0, 0x11, 0}, Case{0, 0x25, 13}, Case{3, 0x47, 132}, Case{4, 0x89, 179},
                 Case{1, kStandingBackCode, 43}, Case{2, kLyingBackCode, 80}, Case{4, 0x17, 150}}) {
    EXPECT_EQ(PictureIndex(c.group, c.code), c.picture) << c.group << "/" << std::hex << c.code;
  }
  EXPECT_EQ(SuitNumber(0x89), 3);
  EXPECT_EQ(Rank(0x89), 9);
}

TEST(TileHelpers, SuitNibbleThatIsNotOneSuitReadsAsItsHighestBit) {
  struct Case {
    int code, suit, picture;  // picture in group 0
  };
  for (Case c : {Case{0x05, 0, 4}, Case{0x35, 1, 13}, Case{0x63, 2, 20}, Case{0xF5, 3, 31}}) {
    EXPECT_EQ(SuitNumber(c.code), c.suit) << std::hex << c.code;
    EXPECT_EQ(PictureIndex(0, c.code), c.picture) << std::hex << c.code;
  }
}

TEST(TileHelpers, CodesThatNameNoTileHaveNoRankOrPicture) {
  // Rank 0 or 10-15, values outside a byte.
  for (int bad : {0x00, 0x10, 0x1A, 0x2F, 0x8F, 0xF0, 0x100, 0x111, -1, -0x11}) {
    EXPECT_FALSE(PictureIndex(0, bad)) << std::hex << bad;
  }
  for (int bad : {0x100, -1}) EXPECT_FALSE(SuitNumber(bad)) << std::hex << bad;
  for (int bad : {0x10, 0x1A, 0x1F, 0x100, -1}) EXPECT_FALSE(Rank(bad)) << std::hex << bad;
  EXPECT_FALSE(PictureIndex(-1, 0x11));
  EXPECT_FALSE(PictureIndex(5, 0x11));
}

TEST(TileHelpers, EveryPictureIndexThatExistsIsInRange) {
  for (int group = -2; group < 8; ++group) {
    for (int code = -16; code < 0x120; ++code) {
      if (std::optional<int> p = PictureIndex(group, code)) {
        ASSERT_GE(*p, 0);
        ASSERT_LT(*p, kPictureCount);
      }
    }
  }
}

TEST(SeatPositions, ScaledFromTheReferenceLayout) {
  GameState gs;
  SetUpSeatPositions(gs);
  EXPECT_EQ(gs.custom[0].HandX, 19);
  EXPECT_EQ(gs.custom[2].HandY, 122);
  EXPECT_EQ(gs.custom[3].DiscardX, 758);
  EXPECT_EQ(gs.custom[1].DiscardRowY, 238);

  gs.ScaleX = gs.ScaleY = 0.78125f;
  SetUpSeatPositions(gs);
  EXPECT_EQ(gs.custom[0].HandX, 15);       // 14.84
  EXPECT_EQ(gs.custom[3].HandY, 438);      // 437.5
  EXPECT_EQ(gs.custom[1].DiscardX, 224);   // 224.2
  EXPECT_EQ(gs.custom[1].DiscardRowX, 224);
  EXPECT_EQ(gs.custom[2].DiscardY, 186);   // 185.9
}

TEST(HandReset, LeavesNoStaleTileAndKeepsTheSeats) {
  GameState gs;
  for (int v = 0; v < kSeatCount; ++v) {
    SeatState& s = gs.custom[v];
    s.Seat = MaskOf(v);
    s.Name = "p" + std::to_string(v);
    s.HandScore = 50;
    s.IsDealer = true;
    for (HandEntry& e : s.mj) e = {3, 0x25, 77};
    s.MeldCursor = s.HandStart = s.HandCount = s.AsideCountA = s.AsideCountB = 9;
    gs.SeatNames[v] = "x";
    gs.AsideSlots[v].fill(12);
  }
  gs.players[2].Nick = "kept";
  gs.juNum = 5;
  gs.HandInProgress = true;

  ResetHandRecords(gs);

  for (int v = 0; v < kSeatCount; ++v) {
    const SeatState& s = gs.custom[v];
    for (const HandEntry& e : s.mj) {
      EXPECT_EQ(e.kind, 0);
      EXPECT_EQ(e.slot, -1);
    }
    EXPECT_EQ(s.MeldCursor, v == 0 ? 3 : 4);
    EXPECT_EQ(s.HandStart, 4);
    EXPECT_EQ(s.HandCount, 0);
    EXPECT_EQ(s.AsideCountA + s.AsideCountB, 0);
    EXPECT_EQ(s.HandScore, 0);
    EXPECT_FALSE(s.IsDealer);
    EXPECT_EQ(s.Seat, MaskOf(v));
    EXPECT_EQ(s.Name, "p" + std::to_string(v));
    EXPECT_EQ(gs.SeatNames[v], "");
    for (int16_t slot : gs.AsideSlots[v]) EXPECT_EQ(slot, 0);
  }
  EXPECT_EQ(gs.players[2].Nick, "kept");
  EXPECT_EQ(gs.juNum, 5);
  EXPECT_FALSE(gs.HandInProgress);
}

}  // namespace
}  // namespace tess
