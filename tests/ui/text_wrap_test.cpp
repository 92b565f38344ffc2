#include "ui/text_wrap.h"

#include <gtest/gtest.h>

namespace tess {
namespace {

// Every character (code point) 10 pixels wide.
int TenPerChar(std::string_view s) {
  int n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n * 10;
}

TEST(BreakLines, Cases) {
  struct Case {
    const char* text;
    int max_width;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", 0, {""}},
      {"no wrap at all here", 0, {"no wrap at all here"}},
      {"fits", 40, {"fits"}},
      {"ab cd", 30, {"ab", "cd"}},
      {"ab cd ef", 50, {"ab cd", "ef"}},
      {"ab   cd", 30, {"ab", "cd"}},
      {"abcdef", 30, {"abc", "def"}},
      {"一二三四五", 25, {"一二", "三四", "五"}},
      {"正在连接 server", 60, {"正在连接", "server"}},
      {"abc", 5, {"a", "b", "c"}},
      {"one\ntwo", 0, {"one", "two"}},
      {"one\r\n\r\ntwo", 100, {"one", "", "two"}},
      {"ab cd\nef", 30, {"ab", "cd", "ef"}},
  };
  for (const Case& c : cases) EXPECT_EQ(BreakLines(c.text, c.max_width, TenPerChar), c.lines) << c.text;
}

}  // namespace
}  // namespace tess
