#include "platform/gbk.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tess {
namespace {

const std::string kFffd(kGbkUndecodable);

TEST(GbkTest, ChineseTextRoundTripsThroughKnownBytes) {
  EXPECT_EQ(Utf8ToGbk("中文"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(GbkToUtf8("\xD6\xD0\xCE\xC4"), "中文");
  for (const std::string text : {"正在连接服务器...", "Tessaly游戏已经运行！", "（发送消息太快！）",
                                 "你对张三说: hi"}) {
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(text)), text) << text;
  }
}

TEST(GbkTest, EveryDoubleByteCharacterReencodesToItsOwnBytes) {
  int decoded = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string text = GbkToUtf8(pair);
      if (text == kFffd) continue;
      ++decoded;
      ASSERT_EQ(Utf8Length(text), 1u) << std::hex << lead << " " << trail;
      ASSERT_EQ(Utf8ToGbk(text), pair) << std::hex << lead << " " << trail;
    }
  }
  EXPECT_GT(decoded, 21000);  // GBK holds 21886 double-byte characters
}

TEST(GbkTest, WhatGbkCannotHoldBecomesOneQuestionMark) {
  struct Case {
    const char* utf8;
    const char* gbk;
  } cases[] = {
      {"A😀B", "A?B"},                    // outside the basic plane
      {"ก", "?"},                          // Thai: not in GBK
      {"€", "?"},                          // GBK's lone byte 0x80 would read as a lead byte
      {"a\xFF" "b", "a?b"},                // not UTF-8 at all
      {"\xE4\xB8", "??"},                  // truncated sequence: each byte on its own
      {"\xC0\xAF", "??"},                  // overlong "/"
      {"\xED\xA0\x80", "???"},             // surrogate
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
    EXPECT_EQ(GbkWidth(c.utf8), std::string(c.gbk).size()) << c.utf8;
  }
}

TEST(GbkTest, UndecodableBytesBecomeReplacementCharacters) {
  struct Case {
    std::string gbk;
    std::string utf8;
  } cases[] = {
      {"\xFF\x41z", kFffd + "z"},       // no such lead byte: the pair goes together
      {"\x80\x41", kFffd},              // 0x80 is not a lead byte either
      {"\xB0\x30", kFffd},              // trail byte out of range
      {"ab\xD6", "ab" + kFffd},         // lead byte ends the run
      {std::string("\xD6\xD0\0\0", 4), std::string("中\0\0", 5)},  // zeros are characters
  };
  for (const auto& c : cases) EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
}

TEST(GbkTest, TrailingLeadByteIsNotReadPastTheEnd) {
  // An exact-size buffer, so a read past its end shows under the sanitizer.
  const std::string src = "x\xD6\xD0\xCE";
  auto buf = std::make_unique<char[]>(src.size());
  std::copy(src.begin(), src.end(), buf.get());
  EXPECT_EQ(GbkToUtf8(std::string_view(buf.get(), src.size())), "x中" + kFffd);
  auto one = std::make_unique<char[]>(1);
  one[0] = '\xE4';  // a UTF-8 lead byte alone
  EXPECT_EQ(Utf8ToGbk(std::string_view(one.get(), 1)), "?");
}

TEST(GbkTest, EmptyText) {
  EXPECT_EQ(Utf8ToGbk(""), "");
  EXPECT_EQ(GbkToUtf8(""), "");
  EXPECT_EQ(GbkWidth(""), 0u);
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_TRUE(Utf8Chars("").empty());
  EXPECT_EQ(Utf8Prefix("", 5), "");
}

TEST(GbkTest, WidthCountsDoubleByteCharactersTwice) {
  EXPECT_EQ(GbkWidth("abc"), 3u);
  EXPECT_EQ(GbkWidth("中文"), 4u);
  EXPECT_EQ(GbkWidth("a中😀"), 4u);
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "麻";
  EXPECT_EQ(GbkWidth(hundred), 200u);
}

TEST(GbkTest, CharactersAreCountedAndCutWhole) {
  EXPECT_EQ(Utf8Chars("a中\xFF😀"), (std::vector<std::string_view>{"a", "中", "\xFF", "😀"}));
  EXPECT_EQ(Utf8Length("a中\xFF😀"), 4u);
  std::string long_line;
  for (int i = 0; i < 101; ++i) long_line += i % 2 ? "字" : "x";
  const std::string cut = Utf8Prefix(long_line, 100);
  EXPECT_EQ(Utf8Length(cut), 100u);
  EXPECT_EQ(cut, long_line.substr(0, long_line.size() - 1));  // only the last "x" goes
  EXPECT_EQ(Utf8Prefix("中文", 1), "中");
  EXPECT_EQ(Utf8Prefix("中文", 0), "");
  EXPECT_EQ(Utf8Prefix("中文", 9), "中文");
}

}  // namespace
}  // namespace tess
