#include "chat/chat_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tess {
namespace {

std::string Times(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(FilterChat, RemovesEveryEntryInListOrder) {
  struct Case {
    std::string text, filtered;
  };
  const Case cases[] = {
      {"他妈的婊子养的", ""},  // "婊子养的" goes whole, before "婊子"
      {"婊子养的东西", "东西"},
      {"婊子和婊子", "和"},
      {"shit, Shit, fuck, FUCK", ", Shit, , FUCK"},  // case-sensitive
      {"看黄色色情淫秽", "看秽"},
      {"她妈的它妈的法轮功", ""},
      {std::string("你好") + std::string(kFilteredNames[0]) + "和" + std::string(kFilteredNames[3]), "你好和"},
      {"他他妈的妈的", "他妈的"},  // one pass: what a removal joins stays
      {"打得好！", "打得好！"},
  };
  for (const Case& c : cases) EXPECT_EQ(FilterChat(c.text), c.filtered) << c.text;
}

TEST(WrapForLog, BreaksOnceALineReaches46Columns) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
  };
  const std::string han = "牌";
  const Case cases[] = {
      {"100 double-byte characters: four of 23 and one of 8", Times(han, 100),
       {Times(han, 23), " " + Times(han, 23), " " + Times(han, 23), " " + Times(han, 23), " " + Times(han, 8)}},
      {"30 single-byte characters whole", Times("x", 30), {Times("x", 30)}},
      {"exactly 46 columns: no empty line after", Times("x", 46), {Times("x", 46)}},
      {"47 columns", Times("x", 47), {Times("x", 46), " x"}},
      {"a double-byte character crossing column 46 stays on its line", Times("x", 45) + han + "y",
       {Times("x", 45) + han, " y"}},
      {"only what lies before the first zero counts", std::string("ab\0cd", 5), {"ab"}},
      {"empty text is one empty line", "", {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(WrapForLog(c.text), c.lines) << c.what;
}

TEST(TickerText, KeepsTheFirst45Characters) {
  EXPECT_EQ(TickerText(Times("牌", 100)), Times("牌", 45));
  EXPECT_EQ(TickerText(Times("x", 30)), Times("x", 30));
}

}  // namespace
}  // namespace tess
