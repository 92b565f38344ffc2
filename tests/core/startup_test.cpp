#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/startup.h"
#include "platform/lobby_channel.h"
#include "support/client_harness.h"

namespace tess::test {
namespace {

// The login packet the server must see: type 18, the name from 16, the key
// from 32, every other byte 0.
ServerPacket ExpectedLogin(const std::string& name, const std::string& key) {
  ServerPacket p;
  p.type = 18;
  p.Text(16, name).Text(32, key);
  return p;
}

size_t Minimises(const FakeLobby& lobby) {
  const auto got = lobby.Received();
  return std::count_if(got.begin(), got.end(),
                       [](const LobbyMessage& m) { return m.msg == kWmSysCommand && m.wparam == kScMinimize; });
}

std::string Port(const ClientHarness& h) { return std::to_string(h.server.Port()); }

TEST(Startup, LogsInAndSendsKeepAlivesEveryFiveSeconds) {
  ClientHarness h;
  ASSERT_TRUE(h.LogIn(8)) << h.ended.value_or("");
  EXPECT_EQ(h.client->MainForm.At("Sysmsg", 0).caption, "连接服务器成功！");
  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(h.RunUntilReceived(before + 2, 11000));
  auto got = h.server.Received();
  EXPECT_EQ(got[before].type, 24);
  EXPECT_EQ(got[before + 1].type, 24);
}

TEST(Startup, ThirteenFieldLineSendsExactlyTheLoginPacketOnceTheSocketIsUp) {
  ClientHarness h;
  ASSERT_TRUE(h.Start(h.PlayerLine("alice"))) << h.ended.value_or("");
  Client& c = *h.client;
  // Form_Load only starts the connection; the login task sends later.
  EXPECT_EQ(c.MainForm.At("Sysmsg", 0).caption, "正在连接服务器...");
  EXPECT_FALSE(c.conn.LoginSent);
  EXPECT_TRUE(c.tick.TaskEnabled[kTaskLogin]);
  EXPECT_NE(c.Winsock1.State(), TcpSocket::kConnected);
  ASSERT_TRUE(h.RunUntilReceived(1));
  EXPECT_EQ(c.Winsock1.State(), TcpSocket::kConnected);
  ASSERT_TRUE(h.RunFor(1000));  // and only once
  ASSERT_EQ(h.server.ReceivedCount(), 1u);
  EXPECT_EQ(h.server.Received()[0], ExpectedLogin("alice", "key"));
  EXPECT_TRUE(c.conn.LoginSent);
  EXPECT_FALSE(c.tick.TaskEnabled[kTaskLogin]);
  EXPECT_TRUE(c.tick.TaskEnabled[kTaskLinkWatch]);
  // The lobby heard 22 before the login went out.
  auto numbers = h.lobby->Numbers();
  EXPECT_NE(std::find(numbers.begin(), numbers.end(), 22u), numbers.end());
  const std::string trace = h.TraceText();
  const size_t posted = trace.find("\"ev\":\"lobby_out\",\"msg\":22,");
  ASSERT_NE(posted, std::string::npos) << trace;
  EXPECT_LT(posted, trace.find("\"ev\":\"send\"")) << trace;
  EXPECT_EQ(c.game.custom[0].Name, "alice");
  EXPECT_EQ(c.MainForm.At("Location").caption, "一号桌");
  EXPECT_EQ(c.lobby.LobbyTitle, "Orvane");
}

TEST(Startup, WhatEachFormOfTheCommandLineSets) {
  struct Case {
    const char* what;
    std::string fields_before_port, fields_after_port;
    const char* name;
    const char* key;
    bool spectator;
    double watched;
    const char* location;  // nullptr: the label keeps its caption
    bool auto_mode;
    const char* lobby_title;
    const char* caption;  // nullptr: the window keeps its caption
    int16_t turn_seconds;
  };
  const Case cases[] = {
      {"four fields", "bob$k$127.0.0.1$", "$", "bob", "k", false, 0, nullptr, false, "Orvane", nullptr, 8},
      {"spectator", "a$b$127.0.0.1$", "$loc$123456", "a", "b", true, 123456, "loc", false, "Orvane", nullptr, 8},
      {"automatic mode", "robot$rk$127.0.0.1$", "$东$0$$0$$$1$Robot lobby$Robot table$", "robot", "rk", false, 0,
       "东", true, "Robot lobby", "Robot table", 2},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.what);
    ClientHarness h;
    // The lobby of field 12 (start-up restores "Orvane" before it reads the line).
    std::unique_ptr<FakeLobby> other;
    if (std::string(cs.lobby_title) != "Orvane") other = std::make_unique<FakeLobby>(cs.lobby_title);
    Client& c = *h.client;
    const std::string location_before = c.MainForm.At("Location").caption;
    const std::string caption_before = c.MainForm.caption;

    ASSERT_TRUE(h.Start(cs.fields_before_port + Port(h) + cs.fields_after_port)) << h.ended.value_or("");
    EXPECT_EQ(c.game.IsSpectator, cs.spectator);
    EXPECT_EQ(c.game.players[0].UserId, cs.watched);
    EXPECT_EQ(c.MainForm.At("Location").caption, cs.location ? cs.location : location_before);
    EXPECT_EQ(c.proxy.ProxyKind, 0);
    EXPECT_EQ(c.tick.AutoMode, cs.auto_mode);
    EXPECT_EQ(c.lobby.LobbyTitle, cs.lobby_title);
    EXPECT_EQ(c.MainForm.caption, cs.caption ? cs.caption : caption_before);
    EXPECT_EQ(c.tick.TurnSeconds, cs.turn_seconds);

    ASSERT_TRUE(h.RunUntilReceived(1));
    EXPECT_EQ(h.server.Received()[0], ExpectedLogin(cs.name, cs.key));
    if (other) {
      // Showing the window minimised the lobby of field 12, and the login
      // task's 22 went there, not to "Orvane".
      // The lobby stand-in reads on its own thread: wait for the datagram.
      auto posted_22 = [&] {
        const auto to_other = other->Numbers();
        return std::find(to_other.begin(), to_other.end(), 22u) != to_other.end();
      };
      const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
      while (!posted_22() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      EXPECT_TRUE(posted_22());
      EXPECT_EQ(Minimises(*other), 1u);
      auto to_default = h.lobby->Numbers();
      EXPECT_EQ(std::find(to_default.begin(), to_default.end(), 22u), to_default.end());
    }
  }
}

}  // namespace
}  // namespace tess::test
