#include "scoring/history_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/gbk.h"
#include "support/temp_dir.h"

namespace tess {
namespace {

class HistoryFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::MakeTempDir("history");
    ASSERT_FALSE(dir_.empty());
    file_.INIFileName = dir_ + "/info.kb";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Contents() const {
    std::ifstream in(file_.INIFileName, std::ios::binary);
    std::string gbk{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return GbkToUtf8(gbk);
  }
  void Put(const std::string& utf8) {
    std::ofstream(file_.INIFileName, std::ios::binary | std::ios::trunc) << Utf8ToGbk(utf8);
  }

  std::string dir_;
  classIniFile file_;
};

ResultLists DrawnHand() {
  ResultLists lists;
  for (int k = 0; k < 4; ++k) lists[k] = {"      黄  庄"};
  for (int k = 4; k < 8; ++k) lists[k] = {"最终分：0金币"};
  return lists;
}

// A won hand's column of 27 lines and its final line.
std::vector<std::string> WonColumn(const std::string& money) {
  std::vector<std::string> lines = {"   房间条数:  5", "庄家        3嘴", "", " "};
  while (lines.size() < 18) lines.push_back("");
  lines.push_back("胡牌番数   -12嘴");
  lines.push_back("");
  lines.push_back(std::string(26, '-'));
  lines.push_back(std::string(30, '-'));
  lines.push_back(" ");
  lines.push_back("胡牌总分：" + money + "金条");
  lines.push_back("");
  lines.push_back("扣税：3%");
  lines.push_back("最终分：" + money + "金条");
  return lines;
}

ResultLists WonHand() {
  const char* money[4] = {"1200", "-300", "0", "-900"};
  ResultLists lists;
  for (int v = 0; v < 4; ++v) {
    lists[v] = WonColumn(money[v]);
    lists[v + 4] = {std::string("最终分：") + money[v] + "金条"};
  }
  return lists;
}

// The line as it comes back from the file: without surrounding blanks, an
// empty line as one space.
std::string ReadBack(const std::string& line) {
  size_t first = line.find_first_not_of(' '), last = line.find_last_not_of(' ');
  return first == std::string::npos ? " " : line.substr(first, last - first + 1);
}

TEST_F(HistoryFileTest, ADrawnHandWritesOneLinePerListUnderItsHandNumber) {
  WriteHistoryEntry(file_, 3, DrawnHand());
  std::string expected = "[juNum:3]\r\n";
  for (int k = 0; k < 8; ++k) {
    expected += "count( " + std::to_string(k) + " )=1\r\n";
    expected += "count( " + std::to_string(k) + " )( 0 )=" + (k < 4 ? "      黄  庄" : "最终分：0金币") + "\r\n";
  }
  EXPECT_EQ(Contents(), expected);
}

TEST_F(HistoryFileTest, AWonHandReadsBackWithoutLeadingSpacesAndColoursTheGainers) {
  WriteHistoryEntry(file_, 1, DrawnHand());
  const ResultLists won = WonHand();
  WriteHistoryEntry(file_, 2, won);
  ASSERT_EQ(won[0].size(), 27u);

  ResultView view;
  view.State[0] = std::vector<std::string>(40, "stale");  // more lines than stored
  view.StateColour.fill(0x123456);
  ShowHistoryEntry(file_, 2, view);
  for (int k = 0; k < 8; ++k) {
    ASSERT_EQ(view.State[k].size(), won[k].size()) << k;
    for (size_t i = 0; i < won[k].size(); ++i) EXPECT_EQ(view.State[k][i], ReadBack(won[k][i])) << k << "/" << i;
  }
  EXPECT_EQ(view.State[0][0], "房间条数:  5");
  const std::array<uint32_t, 4> black{}, names{kWinnerNameColour, kOtherNameColour, kOtherNameColour,
                                               kOtherNameColour};
  EXPECT_EQ(view.StateColour, black);
  EXPECT_EQ(view.IdColour, names);

  // The earlier hand is still there, in its own section.
  ShowHistoryEntry(file_, 1, view);
  EXPECT_EQ(view.State[0], std::vector<std::string>{"黄  庄"});
  EXPECT_EQ(view.State[7], std::vector<std::string>{"最终分：0金币"});
  EXPECT_EQ(view.IdColour[0], kOtherNameColour);
}

TEST_F(HistoryFileTest, HandZeroAndAHandNeverWrittenShowNothing) {
  WriteHistoryEntry(file_, 1, WonHand());
  ResultView before;
  before.State[0] = {"current"};
  before.IdColour.fill(0x123456);
  before.StateColour.fill(0x654321);

  ResultView view = before;
  ShowHistoryEntry(file_, 0, view);
  EXPECT_EQ(view.State, before.State);
  EXPECT_EQ(view.IdColour, before.IdColour);
  EXPECT_EQ(view.StateColour, before.StateColour);

  ShowHistoryEntry(file_, 5, view);  // stops at its first count: the lists stay
  EXPECT_EQ(view.State, before.State);
  EXPECT_EQ(view.IdColour[0], kOtherNameColour);
}

TEST_F(HistoryFileTest, RewritingAHandReadsOnlyWhatItsCountsSay) {
  WriteHistoryEntry(file_, 4, WonHand());
  WriteHistoryEntry(file_, 4, DrawnHand());
  ResultView view;
  ShowHistoryEntry(file_, 4, view);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(view.State[k].size(), 1u) << k;
  EXPECT_NE(Contents().find("count( 0 )( 26 )="), std::string::npos);  // left behind, unread
}

TEST_F(HistoryFileTest, AnEntryEditedIntoNonsenseShowsWhatCanBeReadAndNothingElse) {
  Put("[juNum:6]\r\n"
      "count( 0 )=3\r\n"
      "count( 0 )( 0 )=first\r\n"
      "count( 0 )( 2 )=   third\r\n"
      "count( 1 )=0\r\n"
      "count( 2 )=two\r\n"
      "count( 3 )=1\r\n"
      "count( 3 )( 0 )=never read\r\n"
      "count( 4 )( 0 )=最终分：5金条\r\n"
      "count( 5 )( 0 )=最终分：abc金条\r\n"
      "count( 6 )( 0 )=最终分\r\n"
      "count( 7 )( 0 )=最终分：5\r\n"
      "[juNum:7]\r\n"
      "count( 0 )=100000\r\n"
      "count( 1 )=-1\r\n");
  ResultView view;
  for (auto& list : view.State) list = {"current"};
  ShowHistoryEntry(file_, 6, view);
  EXPECT_EQ(view.State[0], (std::vector<std::string>{"first", " ", "third"}));
  EXPECT_TRUE(view.State[1].empty());
  for (int k = 2; k < 8; ++k) EXPECT_EQ(view.State[k], std::vector<std::string>{"current"}) << k;
  const std::array<uint32_t, 4> names{kWinnerNameColour, kOtherNameColour, kOtherNameColour,
                                      kOtherNameColour};
  EXPECT_EQ(view.IdColour, names);

  ShowHistoryEntry(file_, 7, view);  // a count past any real list is damage, not a length
  EXPECT_EQ(view.State[0], (std::vector<std::string>{"first", " ", "third"}));
}

TEST_F(HistoryFileTest, AFileThatCannotBeWrittenIsIgnored) {
  file_.INIFileName = dir_ + "/missing/info.kb";
  WriteHistoryEntry(file_, 1, DrawnHand());
  ResultView view;
  ShowHistoryEntry(file_, 1, view);
  EXPECT_TRUE(view.State[0].empty());
  EXPECT_FALSE(std::filesystem::exists(file_.INIFileName));
}

}  // namespace
}  // namespace tess
