#include "core/command_line.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tess {
namespace {

// 272 zero bytes with type 18, `name` at 16 and `key` at 32.
Packet ExpectedLogin(const char* name, const char* key) {
  Packet p{};
  p[3] = 18;
  std::memcpy(p.data() + 16, name, std::strlen(name));
  std::memcpy(p.data() + 32, key, std::strlen(key));
  return p;
}

TEST(CommandLine, ThirteenFieldsWithoutProxyOrAutomaticMode) {
  CommandLine cl = ParseCommandLine(
      "alice$k3y-77$10.1.2.3$6000$一号房间 3桌$0$proxy.example$1080$pu$pw$0$Other lobby$Other caption$");
  ASSERT_EQ(cl.status, CommandLineStatus::kOk);
  EXPECT_EQ(cl.fields_taken, 13);
  EXPECT_FALSE(cl.IsSpectator);
  EXPECT_EQ(cl.AccountName, "alice");
  EXPECT_EQ(cl.ServerHost, "10.1.2.3");
  EXPECT_EQ(cl.ServerPort, 6000);
  EXPECT_EQ(cl.Location, "一号房间 3桌");
  EXPECT_EQ(cl.ProxyKind, 0);
  EXPECT_EQ(cl.ProxyHost, "proxy.example");
  EXPECT_EQ(cl.ProxyPort, 1080);
  EXPECT_EQ(cl.ProxyUser, "pu");
  EXPECT_EQ(cl.ProxyPassword, "pw");
  EXPECT_FALSE(cl.AutoMode);
  EXPECT_EQ(cl.LobbyTitle, "Orvane");
  EXPECT_FALSE(cl.Caption);
  EXPECT_EQ(BuildLoginPacket(cl.AccountName, cl.LoginKey), ExpectedLogin("alice", "k3y-77"));
}

TEST(CommandLine, FourFieldsLeaveLocationProxyAndModeAtTheirDefaults) {
  CommandLine cl = ParseCommandLine("bob$secret$game.example$7001$");
  ASSERT_EQ(cl.status, CommandLineStatus::kOk);
  EXPECT_EQ(cl.fields_taken, 4);
  EXPECT_FALSE(cl.IsSpectator);
  EXPECT_EQ(cl.ServerHost, "game.example");
  EXPECT_EQ(cl.ServerPort, 7001);
  EXPECT_FALSE(cl.Location);
  EXPECT_EQ(cl.ProxyKind, 0);
  EXPECT_FALSE(cl.AutoMode);
  EXPECT_EQ(cl.LobbyTitle, "Orvane");
  EXPECT_EQ(BuildLoginPacket(cl.AccountName, cl.LoginKey), ExpectedLogin("bob", "secret"));
}

TEST(CommandLine, SpectatorLineEndsWithTheWatchedUserId) {
  CommandLine cl = ParseCommandLine("carol$kk$10.0.0.9$6100$二号房间$123456");
  ASSERT_EQ(cl.status, CommandLineStatus::kOk);
  EXPECT_TRUE(cl.IsSpectator);
  EXPECT_EQ(cl.fields_taken, 5);
  EXPECT_EQ(cl.WatchedUserId, 123456.0);
  EXPECT_EQ(cl.Location, "二号房间");
  EXPECT_EQ(cl.ProxyKind, 0);
  EXPECT_FALSE(cl.AutoMode);
  EXPECT_EQ(BuildLoginPacket(cl.AccountName, cl.LoginKey), ExpectedLogin("carol", "kk"));
}

TEST(CommandLine, AutomaticModeTakesLobbyTitleAndCaptionFromFields12And13) {
  CommandLine cl = ParseCommandLine("dave$dk$h$6000$桌$0$$0$$$1$Bot lobby$Bot table 3$");
  ASSERT_EQ(cl.status, CommandLineStatus::kOk);
  EXPECT_TRUE(cl.AutoMode);
  EXPECT_EQ(cl.LobbyTitle, "Bot lobby");
  EXPECT_EQ(cl.Caption, "Bot table 3");
  EXPECT_EQ(BuildLoginPacket(cl.AccountName, cl.LoginKey), ExpectedLogin("dave", "dk"));

  // Automatic mode without fields 12 and 13 changes neither.
  cl = ParseCommandLine("dave$dk$h$6000$桌$0$$0$$$1$");
  EXPECT_TRUE(cl.AutoMode);
  EXPECT_FALSE(cl.LobbyTitle);
  EXPECT_FALSE(cl.Caption);
}

TEST(CommandLine, Field11IsComparedAsANumber) {
  struct Case {
    const char* field;
    bool on;
  };
  for (Case c : {Case{"1", true}, Case{"01", true}, Case{" 1.0 ", true}, Case{"2", false},
                 Case{"0", false}, Case{"yes", false}, Case{"", false}, Case{"1x", false}}) {
    std::string line = std::string("a$b$h$1$l$0$$0$$$") + c.field + "$";
    EXPECT_EQ(ParseCommandLine(line).AutoMode, c.on) << "'" << c.field << "'";
  }
}

TEST(CommandLine, FieldsEndAtTheLastDollarAndAtThirteen) {
  CommandLine cl = ParseCommandLine("  eve$ek$h$5$  ");
  EXPECT_EQ(cl.fields_taken, 4);
  EXPECT_FALSE(cl.IsSpectator);
  EXPECT_EQ(cl.AccountName, "eve");

  cl = ParseCommandLine("eve$ek$h");  // no "$" after field 3: not taken
  EXPECT_EQ(cl.fields_taken, 2);
  EXPECT_EQ(cl.ServerHost, "");

  cl = ParseCommandLine("a$b$h$1$l$0$ph$0$u$p$1$t$c$extra$more$");
  EXPECT_EQ(cl.fields_taken, 13);
  EXPECT_EQ(cl.Caption, "c");
}

TEST(CommandLine, EmptyLineIsReported) {
  EXPECT_EQ(ParseCommandLine("").status, CommandLineStatus::kEmpty);
  EXPECT_EQ(ParseCommandLine("    ").status, CommandLineStatus::kEmpty);
}

TEST(CommandLine, NumericFieldsMustBeNumbersInRange) {
  struct Case {
    const char* line;
    int bad_field;
  };
  for (Case c : {Case{"a$b$h$port$", 4}, Case{"a$b$h$$", 4}, Case{"a$b$h$65536$", 4}, Case{"a$b$h$-1$", 4},
                 Case{"a$b$h$60x0$", 4}, Case{"a$b$h$1$l$five$", 6}, Case{"a$b$h$1$l$5$ph$99999$", 8}}) {
    CommandLine cl = ParseCommandLine(c.line);
    EXPECT_EQ(cl.status, CommandLineStatus::kBadNumber) << c.line;
    EXPECT_EQ(cl.bad_field, c.bad_field) << c.line;
  }
  CommandLine ok = ParseCommandLine("a$b$h$ 65535 $l$5$ph$+1080$");
  EXPECT_EQ(ok.status, CommandLineStatus::kOk);
  EXPECT_EQ(ok.ServerPort, 65535);
  EXPECT_EQ(ok.ProxyKind, 5);
  EXPECT_EQ(ok.ProxyPort, 1080);
}

TEST(CommandLine, LocationFontOnTheReducedLayout) {
  struct Case {
    float scale;
    const char* text;
    double size;
  };
  for (Case c : {Case{0.78125f, "一二三四五六七八九十一", 8}, Case{0.78125f, "一二三四五六七八九十", 10},
                 Case{1.0f, "一二三四五六七八九十", 9}, Case{1.0f, "abcdefghijk", 7}}) {
    EXPECT_EQ(LocationFontSize(9, c.scale, c.text), c.size) << c.scale << " " << c.text;
  }
}

TEST(LoginPacket, NameAndKeyMustBeSingleByteAndFit) {
  EXPECT_TRUE(BuildLoginPacket("abcdefghijklmnop", std::string(228, 'k')));
  EXPECT_FALSE(BuildLoginPacket("abcdefghijklmnopq", "k"));
  EXPECT_FALSE(BuildLoginPacket("a", std::string(229, 'k')));
  EXPECT_FALSE(BuildLoginPacket("张三", "k"));
  EXPECT_FALSE(BuildLoginPacket("a", "钥匙"));
  // A character GBK cannot hold goes as "?", one byte, like any unmappable one.
  EXPECT_EQ(BuildLoginPacket("x\xF0\x9F\x98\x80", "k"), ExpectedLogin("x?", "k"));
}

}  // namespace
}  // namespace tess
