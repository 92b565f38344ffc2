#include "scoring/score_breakdown.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "core/packet.h"
#include "table/dispatcher.h"

namespace tess {
namespace {

// A settlement message as the server sends it: parameters big-endian at
// 8-15, block k at 16 + 60k with its seat mask at block byte 54.
struct Settlement {
  std::array<int16_t, 4> values{};
  std::array<uint8_t, 4> masks{1, 2, 4, 8};
};

Packet SettlementPacket(const Settlement& s) {
  Packet p{};
  p[kOffType] = kTypeSettlement;
  for (size_t i = 0; i < 4; ++i) {
    uint16_t v = static_cast<uint16_t>(s.values[i]);
    p[kOffValues + 2 * i] = static_cast<uint8_t>(v >> 8);
    p[kOffValues + 2 * i + 1] = static_cast<uint8_t>(v);
  }
  for (size_t k = 0; k < 4; ++k) {
    size_t block = kOffBody + 60 * k;
    for (size_t b = 0; b < 60; ++b) p[block + b] = 0xEE;  // 53 and 55-59 are not read
    for (size_t b = 0; b < 53; ++b) p[block + b] = static_cast<uint8_t>(64 * k + b);
    p[block + 54] = s.masks[k];
  }
  return p;
}

// The local player sits at seat index 1 (mask 2).
GameState Received(const Packet& p) {
  GameState gs;
  gs.custom[0].Seat = 2;
  gs.LastPacket = p;
  gs.info = DecodeMessage(p);
  return gs;
}

TEST(DecodeSettlement, PlacesEachSeatBlockInTheRowOfItsViewSeat) {
  Settlement s;
  s.values = {1, -3, 7, 1};
  GameState gs = Received(SettlementPacket(s));
  HandResultState r;
  DecodeSettlement(gs, r);

  EXPECT_EQ(r.NoTaxFlag, 7);
  // Mask 1 is left of seat 2, 2 the local seat, 4 on the right, 8 opposite.
  const int view_of_block[4] = {1, 0, 3, 2};
  for (int k = 0; k < 4; ++k) {
    const HandResultRow& row = r.HandResult[view_of_block[k]];
    EXPECT_EQ(row[0], 256 - 3) << k;  // signed parameters
    EXPECT_EQ(row[1], 1) << k;
    for (int b = 0; b < 53; ++b) ASSERT_EQ(row[b + 2], 64 * k + b) << "block " << k << " byte " << b;
  }
}

TEST(DecodeSettlement, NegativeParametersAndUnnamedRows) {
  Settlement s;
  s.values = {-1, 5, 0, 2};
  s.masks = {1, 1, 8, 0};  // 0 reads as seat index 0 too; the local seat is named by none
  GameState gs = Received(SettlementPacket(s));
  HandResultState r;
  r.HandResult[0].fill(99);
  DecodeSettlement(gs, r);

  EXPECT_EQ(r.HandResult[0][0], -251);
  EXPECT_EQ(r.HandResult[0][1], 2);
  EXPECT_EQ(r.HandResult[0][2], 99);  // kept from the last message
  EXPECT_EQ(r.HandResult[0][54], 99);
  EXPECT_EQ(r.HandResult[1][2], 64 * 3);  // the last block naming seat index 0
  EXPECT_EQ(r.HandResult[2][2], 64 * 2);
}

TEST(DecodeSettlement, InputItCannotPlaceIsAFaultThatChangesNothing) {
  struct Case {
    const char* what;
    Settlement s;
  };
  const Case cases[] = {
      {"a mask above the four seats", {{0, 5, 0, 1}, {1, 2, 0x10, 8}}},
      {"a mask of the high bit", {{0, 5, 0, 1}, {0x80, 2, 4, 8}}},
      {"a mask of all bits", {{0, 5, 0, 1}, {1, 2, 4, 0xFF}}},
      {"a bar count past 16 bits", {{128, 0, 0, 1}, {1, 2, 4, 8}}},
      {"a bar count below 16 bits", {{-129, 0, 0, 1}, {1, 2, 4, 8}}},
      {"a negative no-tax flag", {{0, 5, -1, 1}, {1, 2, 4, 8}}},
      {"a no-tax flag past a byte", {{0, 5, 256, 1}, {1, 2, 4, 8}}},
  };
  for (const Case& c : cases) {
    GameState gs = Received(SettlementPacket(c.s));
    HandResultState r;
    for (HandResultRow& row : r.HandResult) row.fill(42);
    r.NoTaxFlag = 3;
    EXPECT_THROW(DecodeSettlement(gs, r), HandlerFault) << c.what;
    for (const HandResultRow& row : r.HandResult) {
      for (int16_t column : row) ASSERT_EQ(column, 42) << c.what;
    }
    EXPECT_EQ(r.NoTaxFlag, 3) << c.what;
  }
  // The edges that still fit.
  GameState gs = Received(SettlementPacket({{127, 255, 255, 1}, {1, 2, 4, 8}}));
  HandResultState r;
  DecodeSettlement(gs, r);
  EXPECT_EQ(r.HandResult[0][0], 32767);
  EXPECT_EQ(r.NoTaxFlag, 255);
}

HandResultRow RowWith(const std::vector<std::pair<int, int>>& columns) {
  HandResultRow row{};
  for (auto [column, value] : columns) row[column] = static_cast<int16_t>(value);
  return row;
}

const std::string kDashes(26, '-');

TEST(BreakdownOf, ASeatWithNoItemsShowsOnlyItsTotal) {
  SeatBreakdown b = BreakdownOf(HandResultRow{});
  std::array<std::string, 20> expected{};
  expected[2] = " ";
  expected[17] = "胡牌番数   -0嘴";
  expected[19] = kDashes;
  EXPECT_EQ(b.lines, expected);
  EXPECT_EQ(b.name_colour, kOtherNameColour);
}

TEST(BreakdownOf, EveryItemOnItsOwnLine) {
  SeatBreakdown b = BreakdownOf(RowWith({{6, 1}, {7, 3}, {5, 0x11}, {4, 0x10}, {9, 1}, {10, 0x43},
                                         {12, 8}, {13, 1}, {14, 2}, {15, 3}, {16, 0x25}, {18, 1},
                                         {19, 2}, {20, 1}, {11, 1}, {8, 2}, {17, 1}, {30, 1},
                                         {47, 1}, {48, 4}}));
  const std::array<std::string, 20> expected{
      "庄家        3嘴",
      "连庄        6嘴",
      "屁胡        2嘴",
      "清一色      59嘴",
      "通天        20嘴",
      "缺门        5嘴",
      "报嘴        4嘴",
      "摆风        3嘴",
      "八张        8嘴",
      "铺列1对×1  5嘴",
      "铺列2对×2  20嘴",
      "铺列3对×3  60嘴",
      "夹 5条      5嘴",
      "三个头×1   10嘴",
      "四个头×2   40嘴",
      "海底捞      10嘴",
      "自摸 × 2",
      "胡牌番数    260嘴",
      "",
      kDashes,
  };
  for (int i = 0; i < 20; ++i) EXPECT_EQ(b.lines[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(b.name_colour, kWinnerNameColour);
}

TEST(BreakdownOf, ColumnsReadBitByBitAndAlternativesInOrder) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> columns;
    std::map<int, std::string> lines;  // line number (1-20) -> text; the rest as for no items
  };
  const std::vector<Case> cases = {
      {"plain win and one suit", {{5, 0x11}}, {{3, "屁胡        2嘴"}, {4, "清一色      59嘴"}}},
      {"plain win and one suit with honours", {{5, 0x21}}, {{3, "屁胡        2嘴"}, {4, "草一色      30嘴"}}},
      {"all honours alone", {{5, 0x40}}, {{4, "风一色      59嘴"}}},
      {"no one-suit kind for 3", {{5, 0x31}}, {{3, "屁胡        2嘴"}}},
      {"low nibble 2 is no plain win", {{5, 0x02}}, {}},
      {"six in a row", {{4, 0x20}}, {{5, "连六        10嘴"}}},
      {"twice six, low bits ignored", {{4, 0x41}}, {{5, "连六×2     20嘴"}}},
      {"a paying seat's 1 is no item", {{4, 1}}, {}},
      {"declared with winds", {{10, 0x43}}, {{7, "报嘴        4嘴"}, {8, "摆风        3嘴"}}},
      {"declared alone", {{10, 0x40}}, {{7, "报嘴        4嘴"}}},
      {"winds alone", {{10, 0x05}}, {{8, "摆风        5嘴"}}},
      {"closed wait on bamboo", {{16, 0x25}}, {{13, "夹 5条      5嘴"}}},
      {"closed wait on an honour", {{16, 0x15}}, {{13, "夹 5      5嘴"}}},
      {"closed wait on characters", {{16, 0x49}}, {{13, "夹 9万      9嘴"}}},
      {"closed wait on dots", {{16, 0x83}}, {{13, "夹 3筒      3嘴"}}},
      {"last tile before kong win", {{20, 1}, {11, 1}}, {{16, "海底捞      10嘴"}}},
      {"kong win", {{11, 2}}, {{16, "杠开        10嘴"}}},
      {"self-drawn before robbed kong", {{8, 2}, {17, 1}}, {{17, "自摸 × 2"}}},
      {"paid for a discard", {{8, 1}, {17, 1}}, {{17, "点炮"}}},
      {"robbed kong", {{8, 3}, {17, 1}}, {{17, "抢杠"}}},
      {"no such way to win", {{8, 3}}, {}},
      {"dealer repeats", {{7, 3}}, {{2, "连庄        6嘴"}}},
      {"a loser's total", {{30, 2}, {48, 35}}, {{18, "胡牌番数   -35嘴"}}},
      {"the largest total", {{30, 2}, {47, 255}, {48, 255}}, {{18, "胡牌番数   -65535嘴"}}},
  };
  for (const Case& c : cases) {
    std::array<std::string, 20> expected = BreakdownOf(HandResultRow{}).lines;
    for (const auto& [line, text] : c.lines) expected[line - 1] = text;
    SeatBreakdown b = BreakdownOf(RowWith(c.columns));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(b.lines[i], expected[i]) << c.what << ", line " << i + 1;
    EXPECT_EQ(b.name_colour, kOtherNameColour) << c.what;
  }
}

TEST(ShowScoreBreakdown, AppendsEachSeatsLinesAfterWhatItsColumnHolds) {
  HandResultState result;
  result.HandResult[2] = RowWith({{30, 1}, {6, 1}});
  result.HandResult[3] = RowWith({{30, 2}, {48, 7}});
  ResultView view;
  for (int v = 0; v < 4; ++v) view.State[v] = {"   房间条数:  5"};
  view.State[4] = {"final"};
  ShowScoreBreakdown(result, view);

  for (int v = 0; v < 4; ++v) {
    ASSERT_EQ(view.State[v].size(), 21u) << v;
    EXPECT_EQ(view.State[v][0], "   房间条数:  5") << v;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(view.State[v][i + 1], BreakdownOf(result.HandResult[v]).lines[i]);
  }
  EXPECT_EQ(view.State[2][1], "庄家        3嘴");
  EXPECT_EQ(view.State[3][18], "胡牌番数   -7嘴");
  const std::array<uint32_t, 4> names{kOtherNameColour, kOtherNameColour, kWinnerNameColour, kOtherNameColour};
  EXPECT_EQ(view.IdColour, names);
  EXPECT_EQ(view.State[4], std::vector<std::string>{"final"});
}

TEST(HandMoneyOf, ColumnsTwentyTwoToTwentyNineWithTheLossMark) {
  struct Case {
    std::array<int, 8> bytes;  // columns 22-29
    int won_lost;
    double money;
  };
  for (Case c : {Case{{0x10, 0x27, 0, 0, 0, 0, 0, 0}, 2, -10000}, Case{{0x10, 0x27, 0, 0, 0, 0, 0, 0}, 1, 10000},
                 Case{{0x10, 0x27, 0, 0, 0, 0, 0, 0}, 0, 10000}, Case{{0, 0, 0, 0, 0, 0, 0, 0}, 2, 0},
                 Case{{0, 0, 0, 0, 1, 0, 0, 0}, 1, 4294967296.0},
                 Case{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 2, -18446744073709551615.0}}) {
    HandResultRow row{};
    for (int i = 0; i < 8; ++i) row[22 + i] = static_cast<int16_t>(c.bytes[i]);
    row[30] = static_cast<int16_t>(c.won_lost);
    EXPECT_EQ(HandMoneyOf(row), c.money) << c.money;
  }
}

}  // namespace
}  // namespace tess
