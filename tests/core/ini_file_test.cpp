#include "core/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tess {
namespace {

namespace fs = std::filesystem;

// GBK bytes of a few characters.
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";  // 中文
const std::string kLaiGbk = "\xB0\x5D";                // 癩: its trail byte is "]"
const std::string kLaoGbk = "\xB0\x41";                // 癆: trail byte "A"
const std::string kYinGbk = "\xB0\x61";                // 癮: trail byte "a"

class IniFileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = testing::TempDir() + "ini_file_test.XXXXXX";
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    ini_.INIFileName = dir_ + "/info.kb";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Put(std::string_view bytes) {
    std::ofstream(ini_.INIFileName, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Contents() const {
    std::ifstream in(ini_.INIFileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool TempExists() const { return fs::exists(ini_.INIFileName + ".tmp"); }

  std::string dir_;
  classIniFile ini_;
};

TEST_F(IniFileTest, LookupsFollowTheProfileRules) {
  Put("top=before any section\r\n"
      "[Phrase1]\r\n"
      "num=2\r\n"
      "1=" + kZhongWenGbk + "\r\n"
      " 2 =  spaced value  \r\n"
      "; 3=commented out\r\n"
      "no equals sign\r\n"
      "Empty=\r\n"
      "dup=first\r\n"
      "DUP=second\r\n"
      "url=a=b\r\n"
      "\r\n"
      "[phrase1]\r\n"
      "late=in a second section of the same name\r\n"
      "[ " + kLaiGbk + " ]\n"
      "k=lai\n"
      "[" + kLaoGbk + "]\n"
      "k=lao\n"
      "[Other]\n"
      "num=9");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Phrase1", "num", "2"},
      {"PHRASE1", "NUM", "2"},
      {"Phrase1", "1", "中文"},
      {"Phrase1", "2", "spaced value"},
      {" Phrase1 ", " 2 ", "spaced value"},
      {"Phrase1", "3", ""},
      {"Phrase1", "; 3", ""},
      {"Phrase1", "no equals sign", ""},
      {"Phrase1", "Empty", ""},
      {"Phrase1", "dup", "first"},
      {"Phrase1", "url", "a=b"},
      {"Phrase1", "late", ""},
      {"Phrase1", "top", ""},
      {"癩", "k", "lai"},
      {"癆", "k", "lao"},
      {"癮", "k", ""},  // differs from 癆 only in a trail byte's letter case
      {"Other", "num", "9"},
      {"Other", "missing", ""},
      {"Missing", "num", ""},
      {"", "top", ""},
      {"Phrase1", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini_.GetIniKey(c.section, c.key), c.expected) << c.section << " / " << c.key;
  }
}

TEST_F(IniFileTest, MissingOrUnreadableFileReadsEmpty) {
  EXPECT_EQ(ini_.GetIniKey("Phrase1", "num"), "");
  ini_.INIFileName = dir_;  // a directory, not a file
  EXPECT_EQ(ini_.GetIniKey("Phrase1", "num"), "");
}

TEST_F(IniFileTest, WritesChangeOnlyTheirOwnBytes) {
  struct Case {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  } cases[] = {
      {"replace keeps spacing and neighbours", "; c\n[A]\nk = old\nx=1\n\n[B]\nk=b\n", "a", "K",
       "new", "; c\n[A]\nk = new\nx=1\n\n[B]\nk=b\n"},
      {"replace only the first of duplicates", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "9",
       "[A]\r\nk=9\r\nk=2\r\n"},
      {"replace on a last line without break", "[A]\nk=1", "A", "k", "22", "[A]\nk=22"},
      {"add after the section's last key", "[A]\nk=1\nx=1\n\n; about B\n[B]\nk=b\n", "A", "y",
       "2", "[A]\nk=1\nx=1\ny=2\n\n; about B\n[B]\nk=b\n"},
      {"add to a section without keys", "[A]\n; note\n[B]\n", "A", "k", "v",
       "[A]\nk=v\n; note\n[B]\n"},
      {"add to the first of two same sections", "[A]\nk=1\n[a]\nx=2\n", "A", "x", "3",
       "[A]\nk=1\nx=3\n[a]\nx=2\n"},
      {"add after a last line without break", "[A]\r\nk=1", "A", "y", "2", "[A]\r\nk=1\r\ny=2\r\n"},
      {"add a section at the end", "[A]\nk=1\n", "B", "k", "v", "[A]\nk=1\n[B]\nk=v\n"},
      {"add a section after a comment without break", "; only a comment", "S", "k", "v",
       "; only a comment\r\n[S]\r\nk=v\r\n"},
      {"new file", nullptr, "juNum:1", "count( 0 )", "1", "[juNum:1]\r\ncount( 0 )=1\r\n"},
      {"empty file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"empty value", "[S]\nk=v\n", "S", "k", "", "[S]\nk=\n"},
      {"mixed endings kept", "[A]\r\nk=1\n[B]\r\n", "A", "y", "2", "[A]\r\nk=1\ny=2\r\n[B]\r\n"},
  };
  for (const auto& c : cases) {
    fs::remove(ini_.INIFileName);
    if (c.before) Put(c.before);
    EXPECT_TRUE(ini_.WriteIniKey(c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(Contents(), c.after) << c.name;
    EXPECT_FALSE(TempExists()) << c.name;
  }
}

TEST_F(IniFileTest, WrittenValuesReadBack) {
  ASSERT_TRUE(ini_.WriteIniKey("juNum:3", "count( 0 )", "27"));
  ASSERT_TRUE(ini_.WriteIniKey("juNum:3", "count( 0 )( 0 )", "   房间条数:  5"));
  ASSERT_TRUE(ini_.WriteIniKey("juNum:3", "count( 4 )( 0 )", "最终分：1200金币"));
  ASSERT_TRUE(ini_.WriteIniKey("juNum:3", "count( 0 )", "28"));
  EXPECT_EQ(ini_.GetIniKey("juNum:3", "count( 0 )"), "28");
  EXPECT_EQ(ini_.GetIniKey("juNum:3", "count( 0 )( 0 )"), "房间条数:  5");
  EXPECT_EQ(ini_.GetIniKey("JUNUM:3", "COUNT( 4 )( 0 )"), "最终分：1200金币");
  EXPECT_EQ(ini_.GetIniKey("juNum:4", "count( 0 )"), "");
}

TEST_F(IniFileTest, TextIsStoredAsGbk) {
  ASSERT_TRUE(ini_.WriteIniKey("中", "文", "中文"));
  EXPECT_EQ(Contents(), "[\xD6\xD0]\r\n\xCE\xC4=" + kZhongWenGbk + "\r\n");
  // A section name whose GBK holds a "]" trail byte is stored and found.
  ASSERT_TRUE(ini_.WriteIniKey("癩", "k", "1"));
  ASSERT_TRUE(ini_.WriteIniKey("癩", "k", "2"));
  EXPECT_EQ(ini_.GetIniKey("癩", "k"), "2");
  EXPECT_EQ(Contents(), "[\xD6\xD0]\r\n\xCE\xC4=" + kZhongWenGbk + "\r\n[" + kLaiGbk + "]\r\nk=2\r\n");
}

TEST_F(IniFileTest, ReadsAreCutAt1023Bytes) {
  const std::string a1022(1022, 'a');
  struct Case {
    const char* name;
    std::string stored;
    std::string expected;
  } cases[] = {
      {"exactly 1023", a1022 + "b", a1022 + "b"},
      {"one too many", a1022 + "bc", a1022 + "b"},
      {"leading blanks not counted", "  \t" + a1022 + "bc", a1022 + "b"},
      {"double-byte character fits", a1022.substr(1) + kZhongWenGbk, a1022.substr(1) + "中"},
      {"double-byte character split by the cut is dropped", a1022 + kZhongWenGbk, a1022},
      {"cut ending in a blank keeps it", a1022 + " b", a1022 + " "},
  };
  for (const auto& c : cases) {
    Put("[S]\nk=" + c.stored + "\n");
    EXPECT_EQ(ini_.GetIniKey("S", "k"), c.expected) << c.name;
  }
  // Writing stores a long value whole; only the read is cut.
  const std::string long_value(2000, 'x');
  ASSERT_TRUE(ini_.WriteIniKey("S", "k", long_value));
  EXPECT_EQ(Contents(), "[S]\nk=" + long_value + "\n");
  EXPECT_EQ(ini_.GetIniKey("S", "k"), long_value.substr(0, 1023));
}

TEST_F(IniFileTest, WhatCannotBeStoredIsRefused) {
  const std::string before = "[S]\r\nk=1\r\n";
  struct Case {
    std::string section;
    std::string key;
    std::string value;
  } cases[] = {
      {"S", "k", "x\r\n[Evil]\r\nk=1"},
      {"S", "k", "x\nj=2"},
      {"S", "k", "x\rj=2"},
      {"S", "k", std::string("x\0y", 3)},
      {"S", "k=j", "1"},
      {"S", "[k", "1"},
      {"S", ";k", "1"},
      {"S", "", "1"},
      {"S", "  ", "1"},
      {"S", "k\nj", "1"},
      {"S]x", "k", "1"},
      {"", "k", "1"},
      {"S\n[T", "k", "1"},
      {std::string("S\0", 2), "k", "1"},
  };
  for (const auto& c : cases) {
    Put(before);
    EXPECT_FALSE(ini_.WriteIniKey(c.section, c.key, c.value)) << c.section << " / " << c.key;
    EXPECT_EQ(Contents(), before) << c.section << " / " << c.key;
  }
  EXPECT_EQ(ini_.GetIniKey("Evil", "k"), "");
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFile) {
  const std::string before = "[S]\r\nk=1\r\n";
  Put(before);

  // The temporary file cannot be created.
  fs::create_directory(ini_.INIFileName + ".tmp");
  EXPECT_FALSE(ini_.WriteIniKey("S", "k", "2"));
  EXPECT_EQ(Contents(), before);
  fs::remove(ini_.INIFileName + ".tmp");

  // The disk fills up while the new text is written.
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 64;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = ini_.WriteIniKey("S", "k", std::string(1000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  EXPECT_EQ(Contents(), before);
  EXPECT_FALSE(TempExists());

  // The directory does not exist.
  ini_.INIFileName = dir_ + "/missing/info.kb";
  EXPECT_FALSE(ini_.WriteIniKey("S", "k", "2"));
  EXPECT_FALSE(fs::exists(dir_ + "/missing"));
}

TEST_F(IniFileTest, PermissionsThatForbidTheWriteLeaveTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const std::string before = "[S]\r\nk=1\r\n";
  Put(before);
  // An old file that cannot be read is not replaced by one holding only the
  // new key.
  ASSERT_EQ(chmod(ini_.INIFileName.c_str(), 0200), 0);
  EXPECT_FALSE(ini_.WriteIniKey("S", "j", "2"));
  ASSERT_EQ(chmod(ini_.INIFileName.c_str(), 0600), 0);
  EXPECT_EQ(Contents(), before);
  // A directory that cannot be written.
  ASSERT_EQ(chmod(dir_.c_str(), 0500), 0);
  EXPECT_FALSE(ini_.WriteIniKey("S", "k", "2"));
  ASSERT_EQ(chmod(dir_.c_str(), 0700), 0);
  EXPECT_EQ(Contents(), before);
}

TEST_F(IniFileTest, ReplacementKeepsPermissionsAndOverwritesAStaleTemporary) {
  Put("[S]\nk=1\n");
  ASSERT_EQ(chmod(ini_.INIFileName.c_str(), 0640), 0);
  std::ofstream(ini_.INIFileName + ".tmp") << "left over from a crash";
  ASSERT_TRUE(ini_.WriteIniKey("S", "k", "2"));
  EXPECT_EQ(Contents(), "[S]\nk=2\n");
  EXPECT_FALSE(TempExists());
  struct stat st;
  ASSERT_EQ(stat(ini_.INIFileName.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace tess
