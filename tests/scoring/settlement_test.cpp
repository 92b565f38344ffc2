// The end of a hand through the scripted server: the four results, the
// drawn hand, the settlement of a won hand, the history file and the
// continue button.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/client.h"
#include "core/ini_file.h"
#include "scoring/history_file.h"
#include "support/table_script.h"
#include "support/table_steps.h"
#include "ui/result_boards.h"

namespace tess::test {
namespace {

constexpr uint8_t kOwn = 1, kRight = 2, kTop = 4, kLeft = 8;

// Type 9: `seat`'s result as eight little-endian bytes, value(1) the sign flag.
ServerPacket ResultMsg(uint8_t seat, std::array<uint8_t, 8> bytes, int16_t sign = 1) {
  ServerPacket p;
  p.type = 9;
  p.seat = seat;
  p.value[1] = sign;
  p.Bytes(16, bytes);
  return p;
}
ServerPacket ResultMsg(uint8_t seat, int64_t v) {
  std::array<uint8_t, 8> b{};
  const uint64_t u = static_cast<uint64_t>(v < 0 ? -v : v);
  for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(u >> (8 * i));
  return ResultMsg(seat, b, v < 0 ? 0 : 1);
}

// Type 17 with one block per seat: {column, byte} pairs and the money
// (columns 22-29 and the loss mark in 30), gold coins, bar count 5.
struct Block {
  uint8_t seat;
  std::vector<std::pair<int, uint8_t>> columns;
  int64_t money;
};
ServerPacket SettlementMsg(const std::vector<Block>& blocks, int16_t no_tax = 0) {
  ServerPacket p;
  p.type = 17;
  p.value = {0, 5, no_tax, 1};
  for (size_t k = 0; k < blocks.size(); ++k) {
    const size_t at = 60 * k;
    const uint64_t m = static_cast<uint64_t>(blocks[k].money < 0 ? -blocks[k].money : blocks[k].money);
    for (int i = 0; i < 8; ++i) p.body[at + 20 + i] = static_cast<uint8_t>(m >> (8 * i));
    p.body[at + 28] = blocks[k].money < 0 ? 2 : 1;
    for (auto [col, byte] : blocks[k].columns) p.body[at + col - 2] = byte;
    p.body[at + 54] = blocks[k].seat;
  }
  return p;
}

class Settlement : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(t.SeatAt(kOwn));
    ASSERT_TRUE(t.Deliver(HandStartMsg(kRight, {1, 1, 1, 1})));
  }
  Client& c() { return t.c(); }
  const std::vector<std::string>& State(int k) { return LoadScoreBoard(c()).At("State", k).items; }
  std::string History(const std::string& key) {
    classIniFile f;
    f.INIFileName = c().options.program_dir + "/info.kb";
    return f.GetIniKey("juNum:1", key);
  }
  TableScript t;
};

TEST_F(Settlement, ResultsReadAsSignedSixtyFourBitNumbers) {
  struct Case {
    std::array<uint8_t, 8> bytes;
    int16_t sign;
    int32_t stored;
  };
  for (const Case& k : {Case{{}, 0, 0}, Case{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1, -1},
                        Case{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0, 1},
                        Case{{0x10, 0x27, 0, 0, 0, 0, 0, 0}, 1, 10000}}) {
    ASSERT_TRUE(t.Deliver(ResultMsg(kTop, k.bytes, k.sign)));
    EXPECT_EQ(c().game.custom[2].HandScore, k.stored);
  }
  // Above 32 bits: the fault exit.
  EXPECT_FALSE(t.Deliver(ResultMsg(kTop, {0, 0, 0, 0, 1, 0, 0, 0})));
  ASSERT_TRUE(t.h.ended);
  EXPECT_NE(t.h.ended->find("fault"), std::string::npos);
}

TEST_F(Settlement, FourZeroResultsAreADrawnHandWithAFifteenSecondCountdown) {
  c().tick.AutoMode = true;  // still 15 seconds
  for (uint8_t seat : {kOwn, kRight, kTop, kLeft}) ASSERT_TRUE(t.Deliver(ResultMsg(seat, 0)));
  for (int v = 0; v < 4; ++v) {
    EXPECT_EQ(State(v), std::vector<std::string>{"      黄  庄"}) << v;
    EXPECT_EQ(State(v + 4), std::vector<std::string>{"最终分：0金币"}) << v;
    EXPECT_EQ(LoadScoreBoard(c()).At("ID", v).fore_color, 0xFF0000u);
    EXPECT_EQ(LoadHeroBoard(c()).At("Grade", v).items, std::vector<std::string>{"0        金币"});
  }
  EXPECT_EQ(LoadHeroBoard(c()).At("Num").items, std::vector<std::string>{"1           "});
  EXPECT_TRUE(LoadScoreBoard(c()).visible);
  EXPECT_FALSE(c().game.HandInProgress);
  EXPECT_EQ(c().MainForm.At("Sysmsg", 0).caption, "请点击【继续】按钮继续游戏！");
  EXPECT_EQ(c().MainForm.At("Sysmsg", 1).caption, "游戏将在15秒内开始");
  EXPECT_EQ(c().tick.Countdown, 15);
  EXPECT_TRUE(c().tick.TaskEnabled[kTaskContinueCountdown]);
  EXPECT_EQ(History("count( 0 )"), "1");
  EXPECT_EQ(History("count( 0 )( 0 )"), "黄  庄");  // read back without its leading spaces
}

TEST_F(Settlement, AWonHandSettlesMoneyCountersTaxAndTheHistory) {
  c().game.players[1].Coins = 50;  // dave loses more than he has
  for (auto [seat, v] : {std::pair<uint8_t, int64_t>{kOwn, 0}, {kRight, 12}, {kTop, 0}, {kLeft, -12}})
    ASSERT_TRUE(t.Deliver(ResultMsg(seat, v)));
  EXPECT_EQ(c().settlement.ResultCount, 0);
  // bob (right) wins by a plain win on dave's (left) discard: dave paid.
  // bob's level title is two GBK characters.
  ASSERT_TRUE(t.Deliver(SettlementMsg({{kOwn, {}, 0},
                                       {kRight, {{5, 0x01}, {31, 0xB8}, {32, 0xDF}, {33, 0xCA}, {34, 0xD6}}, 10000},
                                       {kTop, {}, 0},
                                       {kLeft, {{4, 1}}, -10000}})));
  const GameState& g = c().game;
  EXPECT_EQ(c().settlement.HandMoney[3], 10000);
  EXPECT_EQ(c().settlement.HandMoney[1], -10000);
  EXPECT_EQ(g.players[3].Level, "高手");
  EXPECT_EQ(c().MainForm.At("Level", 3).caption, "高手");
  EXPECT_EQ(g.players[1].Coins, 0);
  EXPECT_EQ(g.players[1].Points, 1);
  EXPECT_EQ(c().MainForm.At("Cash", 3).caption, "11001金币");
  // The paid rule: the payer loses, the announced winner (none here) wins,
  // nobody else changes.
  EXPECT_EQ(g.players[1].Losses, 1);
  EXPECT_EQ(g.players[3].Wins, 0);
  EXPECT_EQ(g.players[0].Wins + g.players[0].Losses + g.players[2].Wins + g.players[2].Losses, 0);

  const std::vector<std::string>& bob = State(3);
  ASSERT_GE(bob.size(), 26u);
  EXPECT_EQ(bob[0], "   房间条数:  5");
  EXPECT_EQ(bob[21], "------------------------------");
  EXPECT_EQ(bob[22], " ");
  EXPECT_EQ(bob[23], "胡牌总分：12金币");
  EXPECT_EQ(bob[24], "");
  EXPECT_EQ(bob[25], "扣税：3%");
  EXPECT_EQ(bob.back(), "最终分：10000金币");
  EXPECT_EQ(State(1)[25], " ");  // the loser pays no tax
  EXPECT_EQ(State(1 + 4), std::vector<std::string>{"最终分：-10000金币"});
  EXPECT_EQ(LoadHeroBoard(c()).At("sumScore", 3).caption, "10000金币");
  EXPECT_EQ(c().tick.Countdown, 15);
  EXPECT_EQ(History("count( 3 )"), std::to_string(bob.size()));
  EXPECT_EQ(History("count( 7 )( 0 )"), "最终分：10000金币");
}

TEST_F(Settlement, NoTaxTablesShowAnEmptyLineAndNobodyPaidCountsByMoney) {
  for (uint8_t seat : {kOwn, kRight, kTop, kLeft}) ASSERT_TRUE(t.Deliver(ResultMsg(seat, seat == kRight ? 6 : -2)));
  ASSERT_TRUE(t.Deliver(SettlementMsg(
      {{kOwn, {}, -200}, {kRight, {{5, 0x01}}, 600}, {kTop, {}, -200}, {kLeft, {}, -200}}, /*no_tax=*/1)));
  EXPECT_EQ(State(3)[25], "");
  EXPECT_EQ(State(0)[25], "");
  EXPECT_EQ(c().game.players[3].Wins, 1);
  EXPECT_EQ(c().game.players[0].Losses, 1);
}

TEST_F(Settlement, ContinueSendsOnePacketHoweverOftenItIsPressed) {
  for (uint8_t seat : {kOwn, kRight, kTop, kLeft}) ASSERT_TRUE(t.Deliver(ResultMsg(seat, 0)));
  const size_t before = t.h.server.ReceivedCount();
  t.Click(c().MainForm.At("AnNiu", 2));
  t.Click(c().MainForm.At("AnNiu", 2));
  EXPECT_TRUE(c().game.TableCleared);
  EXPECT_TRUE(c().MainForm.At("OK", 0).visible);
  EXPECT_FALSE(LoadScoreBoard(c()).visible);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskContinueCountdown]);
  t.h.RunFor(20000);  // the countdown would have run out by now
  size_t continues = 0;
  for (const ServerPacket& p : ReceivedFrom(t.h, before)) continues += p.type == 16 && p.value[3] == 1;
  EXPECT_EQ(continues, 1u);
}

TEST_F(Settlement, ALevelTitleEndsAtALeadByteWithoutItsTrail) {
  for (uint8_t seat : {kOwn, kRight, kTop, kLeft}) ASSERT_TRUE(t.Deliver(ResultMsg(seat, seat == kRight ? 6 : -2)));
  ASSERT_TRUE(t.Deliver(SettlementMsg({{kOwn, {{31, 0xB8}}, -200},
                                       {kRight, {{31, 0xB8}, {32, 0xDF}, {33, 0xCA}}, 600},
                                       {kTop, {}, -200},
                                       {kLeft, {}, -200}})));
  EXPECT_EQ(c().game.players[0].Level, "");
  EXPECT_EQ(c().game.players[3].Level, "高");
}

// The history board and the result button bring back hands from the file.
TEST_F(Settlement, EarlierHandsComeBackFromTheHistoryFile) {
  classIniFile file;
  file.INIFileName = c().options.program_dir + "/info.kb";
  for (int hand = 1; hand <= 3; ++hand) {
    ResultLists lists;
    lists[0] = {"hand " + std::to_string(hand)};
    WriteHistoryEntry(file, hand, lists);
    LoadHeroBoard(c()).At("Num").items.push_back(std::to_string(hand));
  }
  // Hand 4 runs: the result button shows hand 3, the last settled one.
  c().game.juNum = 4;
  c().settlement.HandUnsettled = true;
  t.Click(c().MainForm.At("AnNiu", 5));
  EXPECT_TRUE(LoadScoreBoard(c()).visible);
  EXPECT_EQ(State(0), std::vector<std::string>{"hand 3"});
  t.Click(c().MainForm.At("AnNiu", 5));
  EXPECT_FALSE(LoadScoreBoard(c()).visible);

  // A double click on the second line of Num asks for hand 2.
  Form& hero = LoadHeroBoard(c());
  t.Click(c().MainForm.At("AnNiu", 6));
  ASSERT_TRUE(hero.visible);
  const Element& num = hero.At("Num");
  const double x = hero.left + num.FormLeft() + 10;
  const double y = hero.top + num.FormTop() + kBoxTextInset + 1.5 * ListLineHeight(num);
  ASSERT_TRUE(t.h.Do([&](Client& cl) {
    for (int i = 0; i < 2; ++i) {
      cl.desktop.MouseDown(x, y, kButtonLeft, 0, t.h.loop.NowMs());
      cl.desktop.MouseUp(x, y, kButtonLeft, 0);
    }
  }));
  EXPECT_EQ(hero.At("Grade", 2).list_index, 1);  // the same line in every list
  EXPECT_TRUE(LoadScoreBoard(c()).visible);
  EXPECT_EQ(State(0), std::vector<std::string>{"hand 2"});
}

TEST_F(Settlement, ASpectatorSeesTheResultButNoCountdown) {
  c().game.IsSpectator = true;
  for (uint8_t seat : {kOwn, kRight, kTop, kLeft}) ASSERT_TRUE(t.Deliver(ResultMsg(seat, 0)));
  EXPECT_EQ(State(0), std::vector<std::string>{"      黄  庄"});
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskContinueCountdown]);
  EXPECT_FALSE(c().MainForm.At("Number").visible);
}

}  // namespace
}  // namespace tess::test
