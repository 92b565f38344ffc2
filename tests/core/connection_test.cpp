// The connection to the game server, a whole client against a scripted
// server on a virtual clock: the login and its answers, the notice page,
// link loss between hands and during a hand, and the reconnect cycle.
#include "core/connection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "chat/chat_log.h"
#include "core/client.h"
#include "platform/lobby_channel.h"
#include "core/proxy_tunnel.h"
#include "support/dante.h"
#include "support/http_stub.h"
#include "support/table_steps.h"
#include "ui/resources.h"

namespace tess::test {
namespace {

const std::string kWelcomeLine = std::string("欢迎进入Tessaly ") + kGameCentreAddress;
const char* const kReconnecting = "正在重新连接服务器...";

std::string Account(const ServerPacket& p) { return p.TextAt(16, 16); }

// Bytes 3, 16-31, 32-... and 260-261 of a login or reconnect packet.
void ExpectLoginPacket(const ServerPacket& p, int type, std::array<uint8_t, 2> tag) {
  EXPECT_EQ(p.type, type);
  EXPECT_EQ(Account(p), "alice");
  EXPECT_EQ(p.TextAt(32, 200), "key");
  EXPECT_EQ(p.tag, tag);
  EXPECT_EQ(p.value, (std::array<int16_t, 4>{}));
}

TEST(Login, AcceptedAtTheFirstTable) {
  ClientHarness h;
  ASSERT_TRUE(h.Start(h.PlayerLine()));
  ASSERT_TRUE(h.RunUntilReceived(1));
  ExpectLoginPacket(h.server.Received()[0], 18, {0, 0});
  EXPECT_TRUE(h.client->conn.LoginPending);
  EXPECT_EQ(PostsToLobby(h), std::vector<uint32_t>{22});  // just before the login

  ASSERT_TRUE(Answer(h, LoginAnswer(1, 0x1C, 3)));
  Client& c = *h.client;
  EXPECT_EQ(c.MainForm.At("Sysmsg", 0).caption, "连接服务器成功！");
  EXPECT_EQ(c.MainForm.At("Sysmsg", 1).caption, kWelcomeLine);
  EXPECT_EQ(LoadTalkWindow(c).At("Text1").items, std::vector<std::string>{kWelcomeLine});
  EXPECT_TRUE(c.tick.TurnTimerAllowed);
  EXPECT_FALSE(c.conn.LoginPending);
  EXPECT_TRUE(c.TimerKeepAlive.Enabled());
  EXPECT_EQ(c.tick.TurnSeconds, 12);  // only the low four bits of 0x1C
  EXPECT_EQ(c.tick.TimeoutLimit, 3);
  EXPECT_EQ(PostsToLobby(h), (std::vector<uint32_t>{22, 771}));
  EXPECT_FALSE(c.MainForm.At("WebBrowser1").visible);  // no notice address
  // The posts reach the lobby window.
  EXPECT_TRUE(h.RunUntil([&] {
    auto got = h.lobby->Numbers();
    return std::count(got.begin(), got.end(), 771u) == 1;
  }));
}

TEST(Login, TurnSecondsComeFromTheAnswerOrAreOneInAutomaticMode) {
  struct Case {
    bool auto_mode;
    int16_t value1;
    int16_t turn_seconds;
  } cases[] = {{false, 0x1C, 12}, {false, 0x0F, 15}, {false, 0x10, 0}, {true, 0x1C, 1}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "auto " << k.auto_mode << " value(1) " << k.value1);
    ClientHarness h;
    const std::string line = PlayerLineWith(h, 0, "", 0, k.auto_mode, "Orvane", "Tessaly Auto");
    ASSERT_TRUE(LogInWith(h, line, LoginAnswer(1, k.value1)));
    EXPECT_EQ(h.client->tick.TurnSeconds, k.turn_seconds);
  }
}

TEST(Login, ASecondTableAfterAHandKeepsWhatTheFirstAnswerSet) {
  ClientHarness h;
  HttpStub http;
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1, 5, 3)));
  BeginHand(h);
  h.client->game.HandInProgress = false;  // the hand is over
  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(PostFromLobby(h, 771));  // leave
  ASSERT_TRUE(PostFromLobby(h, 22));   // the next table
  ASSERT_TRUE(h.RunUntilReceived(before + 2));
  const auto sent = ReceivedFrom(h, before);
  EXPECT_EQ(sent[0].type, 16);  // the leave packet
  ExpectLoginPacket(sent[1], 18, {0, 0});
  ASSERT_TRUE(Answer(h, LoginAnswer(1, 9, 7, http.Url("/notice"))));
  EXPECT_TRUE(h.client->tick.TurnTimerAllowed);
  EXPECT_EQ(h.client->tick.TurnSeconds, 5);
  EXPECT_EQ(h.client->tick.TimeoutLimit, 3);
  EXPECT_EQ(PostsToLobby(h), (std::vector<uint32_t>{22, 771, 1024, 22}));  // no second 771
  h.RunFor(500);
  EXPECT_TRUE(http.Requests().empty());
  EXPECT_FALSE(h.client->MainForm.At("WebBrowser1").visible);
}

TEST(Login, RefusedAnswersEndTheProgramWithTheirMessage) {
  struct Case {
    int16_t result;
    const char* text;
  } cases[] = {{2, "启动游戏失败，请重新在大厅就座后进入游戏！"},
               {0, "验证错误，请重新登陆游戏！"},
               {3, "验证错误，请重新登陆游戏！"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.result);
    ClientHarness h;
    ASSERT_TRUE(h.Start(h.PlayerLine()));
    ASSERT_TRUE(h.RunUntilReceived(1));
    ASSERT_TRUE(Answer(h, LoginAnswer(k.result, 8)));
    ASSERT_TRUE(h.ended);
    EXPECT_EQ(TraceTexts(h, "msgbox"), std::vector<std::string>{k.text});
    EXPECT_EQ(PostsToLobby(h), (std::vector<uint32_t>{22, 22}));
    // The message first, then the lobby restored.
    const auto events = TraceEvents(h);
    auto box = std::find_if(events.begin(), events.end(), [](const TraceEvent& e) { return e.ev == "msgbox"; });
    auto last_command = std::find_if(events.rbegin(), events.rend(), [](const TraceEvent& e) {
      return e.ev == "lobby_out" && e.fields["msg"].number == kWmSysCommand;
    });
    ASSERT_NE(last_command, events.rend());
    EXPECT_EQ(last_command->fields["wparam"].number, kScRestore);
    EXPECT_LT(box - events.begin(), events.rend() - last_command - 1);
  }
}

// The whole login through a real SOCKS5 server (ProxyKind 5 on the command
// line): the tunnel first, then the login as the first thing through it.
TEST(Login, ThroughARealSocks5Server) {
  if (!DanteInstalled()) GTEST_SKIP() << kDanted << " is missing (Debian package dante-server)";
  ClientHarness h;
  Dante dante;
  std::string error;
  ASSERT_TRUE(dante.Start(h.home_dir, "none", error)) << error;
  ASSERT_TRUE(LogInWith(h, PlayerLineWith(h, 5, "127.0.0.1", dante.Port()), LoginAnswer(1, 0x1C, 2)));
  ExpectLoginPacket(h.server.Received()[0], 18, {0, 0});
  const auto statuses = TraceTexts(h, "status");
  const auto proxy_up = std::find(statuses.begin(), statuses.end(), std::string(kProxyConnected));
  const auto logged_in = std::find(statuses.begin(), statuses.end(), std::string("连接服务器成功！"));
  ASSERT_NE(proxy_up, statuses.end());
  EXPECT_LT(proxy_up, logged_in);
  EXPECT_EQ(h.client->MainForm.At("Sysmsg", 0).caption, "连接服务器成功！");
  EXPECT_EQ(h.client->tick.TurnSeconds, 12);
  EXPECT_EQ(h.client->tick.TimeoutLimit, 2);
  // The tunnel and the first login each announce themselves; the login
  // task, which posts 22, does not run behind the proxy.
  EXPECT_EQ(PostsToLobby(h), (std::vector<uint32_t>{771, 771}));
  EXPECT_TRUE(h.RunUntilReceived(2, 11000));
  EXPECT_EQ(h.server.Received()[1].type, 24);  // the keep-alive goes through too
}

// ---------------------------------------------------------------------------
// The notice page.

class NoticeTest : public testing::Test {
 protected:
  Element& Page() { return h.client->MainForm.At("WebBrowser1"); }
  Element& Bird() { return h.client->MainForm.At("Bird"); }

  // Logs in with notice address `url`; Bird moved to where the page does
  // not start out.
  void LogInWithNotice(const std::string& url) {
    ASSERT_TRUE(h.Start(h.PlayerLine()));
    Bird().left = 500;
    Bird().top = 300;
    ASSERT_TRUE(h.RunUntilReceived(1));
    ASSERT_TRUE(Answer(h, LoginAnswer(1, 8, 0, url)));
  }

  // Runs until the page has loaded or failed.
  bool RunUntilPageEvent() {
    return h.RunUntil([&] {
      for (const TraceEvent& e : TraceEvents(h))
        if (e.ev == "notice_loaded" || e.ev == "notice_failed") return true;
      return false;
    }, 60000);
  }

  ClientHarness h;
  HttpStub http;
};

TEST_F(NoticeTest, TheAddressIsNavigatedAndThePageMadeVisibleAtOnce) {
  ASSERT_TRUE(h.Start(h.PlayerLine()));
  std::vector<std::string> navigated;
  h.client->parts.NavigateNotice = [&](Client&, const std::string& url) { navigated.push_back(url); };
  ASSERT_TRUE(h.RunUntilReceived(1));
  ASSERT_TRUE(Answer(h, LoginAnswer(1, 8, 0, std::string(99, 'x') + "tail")));
  EXPECT_EQ(navigated, std::vector<std::string>{std::string(99, 'x') + "t"});  // bytes 16-115
  EXPECT_TRUE(Page().visible);
}

TEST_F(NoticeTest, ALoadedPageSitsTwoPixelsInsideBirdInFront) {
  auto gif = FindResource(kPictureResourceType, 101);
  http.Set("/notice.gif", {200, "image/gif", std::string(gif.begin(), gif.end()), ""});
  LogInWithNotice(http.Url("/notice.gif"));
  ASSERT_TRUE(RunUntilPageEvent());
  EXPECT_TRUE(Page().visible);
  EXPECT_EQ(Page().left, 502);
  EXPECT_EQ(Page().top, 302);
  EXPECT_GT(h.client->MainForm.ZOf(Page()), h.client->MainForm.ZOf(Bird()));
  ASSERT_NE(Page().picture, nullptr);
  EXPECT_FALSE(h.client->conn.BrowserFailed);
}

TEST_F(NoticeTest, AFailedPageIsHiddenAndNeverShownAgain) {
  LogInWithNotice(http.Url("/missing"));
  ASSERT_TRUE(RunUntilPageEvent());
  EXPECT_FALSE(Page().visible);
  EXPECT_TRUE(h.client->conn.BrowserFailed);
  // A later load (an older navigation finishing) does not show it.
  h.Do([](Client& c) { WebBrowser1_DocumentComplete(c); });
  EXPECT_FALSE(Page().visible);
}

// ---------------------------------------------------------------------------
// Link loss.

TEST(LinkLoss, BetweenHandsTheClientReturnsToTheLobby) {
  ClientHarness h;
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
  const size_t commands = CommandsToLobby(h).size();
  h.server.CloseClient();
  ASSERT_TRUE(h.RunUntil([&] { return CommandsToLobby(h).size() > commands; }));
  h.RunFor(10000);
  Client& c = *h.client;
  EXPECT_FALSE(h.ended);
  EXPECT_EQ(CommandsToLobby(h).back(), kScRestore);
  EXPECT_EQ(c.MainForm.window_state, WindowState::kMinimized);
  EXPECT_EQ(c.Winsock1.State(), TcpSocket::kClosed);
  EXPECT_FALSE(c.TimerKeepAlive.Enabled());
  EXPECT_EQ(std::count(c.tick.TaskEnabled.begin(), c.tick.TaskEnabled.end(), true), 0);
  EXPECT_EQ(h.server.Connections(), 1);  // no reconnect
  const auto statuses = TraceTexts(h, "status");
  EXPECT_EQ(std::find(statuses.begin(), statuses.end(), kReconnecting), statuses.end());
}

// Times (virtual ms) of the reconnect attempts: their status lines.
std::vector<int64_t> AttemptTimes(const ClientHarness& h) {
  std::vector<int64_t> times;
  for (const TraceEvent& e : TraceEvents(h))
    if (e.ev == "status" && e.fields["text"].text == kReconnecting) times.push_back(e.ms);
  return times;
}

TEST(LinkLoss, DuringAHandSixteenAttemptsThenTheFailureMessage) {
  ClientHarness h;
  Deadline deadline(h, 120000);
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
  BeginHand(h);
  h.server.Refuse();
  const int64_t lost = h.loop.NowMs();
  h.server.CloseClient();
  ASSERT_TRUE(h.RunUntil([&] { return h.client->conn.TimerReconnect != nullptr; }));
  EXPECT_FALSE(h.client->tick.TurnTimerAllowed);
  EXPECT_TRUE(h.client->TimerKeepAlive.Enabled());
  EXPECT_FALSE(h.client->desktop.FindForm("frmReconnect")->visible);
  h.RunFor(100000);  // ends inside

  ASSERT_TRUE(h.ended);
  EXPECT_NE(*h.ended, kDeadlineReason);
  const auto times = AttemptTimes(h);
  ASSERT_EQ(times.size(), 16u);
  // The loss is noticed within a tick; 1 s countdown, then 3 s.
  EXPECT_GE(times[0] - lost, 4000);
  EXPECT_LE(times[0] - lost, 4150);
  for (size_t i = 1; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], 3000) << i;
  const auto events = TraceEvents(h);
  auto box = std::find_if(events.begin(), events.end(), [](const TraceEvent& e) { return e.ev == "msgbox"; });
  ASSERT_NE(box, events.end());
  EXPECT_EQ(box->fields["text"].text, "重连失败，请检查您的网络！");
  EXPECT_EQ(box->ms, times.back() + 3000);  // about 52 s after the loss
  EXPECT_EQ(CommandsToLobby(h).back(), kScRestore);
  EXPECT_EQ(h.server.Connections(), 1);
}

// Through a proxy that has gone, each attempt waits for a proxy connection
// that never comes; the next attempt still starts on time.
TEST(LinkLoss, ThroughAProxyThatIsGoneSixteenAttemptsThenTheFailureMessage) {
  if (!DanteInstalled()) GTEST_SKIP() << kDanted << " is missing (Debian package dante-server)";
  ClientHarness h;
  Deadline deadline(h, 120000);
  Dante dante;
  std::string error;
  ASSERT_TRUE(dante.Start(h.home_dir, "none", error)) << error;
  ASSERT_TRUE(LogInWith(h, PlayerLineWith(h, 5, "127.0.0.1", dante.Port()), LoginAnswer(1)));
  BeginHand(h);
  dante.Stop();
  h.RunFor(100000);  // ends inside

  ASSERT_TRUE(h.ended);
  EXPECT_NE(*h.ended, kDeadlineReason);
  const auto times = AttemptTimes(h);
  ASSERT_EQ(times.size(), 16u);
  for (size_t i = 1; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], 3000) << i;
  const auto boxes = TraceTexts(h, "msgbox");
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back(), "重连失败，请检查您的网络！");
  EXPECT_EQ(CommandsToLobby(h).back(), kScRestore);
}

// A server name behind the proxy cannot be reached: at start-up the client
// says so and, the link being down between hands, returns to the lobby.
TEST(Login, AServerNameBehindTheProxyReturnsToTheLobby) {
  ClientHarness h;
  ASSERT_TRUE(h.Start("alice$key$game.example$" + std::to_string(h.server.Port()) + "$一号桌$5$127.0.0.1$9$$$0$$$"));
  ASSERT_TRUE(h.RunUntil([&] { return h.client->MainForm.window_state == WindowState::kMinimized; }, 5000));
  EXPECT_EQ(TraceTexts(h, "status").front(), "正在连接服务器...");
  const auto statuses = TraceTexts(h, "status");
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), std::string(kProxyHostNotIpv4)), statuses.end());
  EXPECT_EQ(h.server.Connections(), 0);
  EXPECT_FALSE(h.ended);
}

TEST(LinkLoss, DuringAHandTheClientReconnectsWhenTheServerIsBack) {
  ClientHarness h;
  Deadline deadline(h, 60000);
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
  ServerPacket tagged;
  tagged.type = 8;  // no visible effect; only its tag counts
  tagged.tag = {0x12, 0x34};
  ASSERT_TRUE(Answer(h, tagged));
  BeginHand(h);
  h.server.Refuse();
  h.server.CloseClient();
  // Back after the first attempt (about 4 s), before the second (7 s).
  Timer back(h.loop, "server back");
  back.SetInterval(5500);
  back.OnTimer = [&] {
    back.SetEnabled(false);
    h.server.Listen();
  };
  back.SetEnabled(true);
  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(h.RunUntil([&] {
    for (const ServerPacket& p : ReceivedFrom(h, before))
      if (p.type == 28) return true;
    return false;
  }, 30000));
  EXPECT_EQ(h.server.Connections(), 2);
  EXPECT_EQ(h.client->conn.ReconnectAttempts, 2);
  const auto sent = ReceivedFrom(h, before);
  ASSERT_FALSE(sent.empty());
  ExpectLoginPacket(sent[0], 28, {0x12, 0x34});

  ServerPacket answer;
  answer.type = 29;
  answer.value = {0, 0, 0, 1};
  answer.tag = {0x56, 0x78};
  ASSERT_TRUE(Answer(h, answer));
  Client& c = *h.client;
  EXPECT_EQ(c.MainForm.At("Sysmsg", 0).caption, "正在重连服务器，请等待...！");
  EXPECT_EQ(c.MainForm.At("Sysmsg", 1).caption, "");
  EXPECT_TRUE(c.tick.TurnTimerAllowed);
  EXPECT_TRUE(c.conn.Reconnected);
  EXPECT_FALSE(c.conn.LoginPending);  // no longer logging in: 771 is not refused
  EXPECT_EQ(c.packets.ConnectionTag, (TagBytes{0x12, 0x34}));  // type 29 keeps the tag
  // The next TimerCount run finds the socket up and unloads the window.
  h.RunFor(3100);
  EXPECT_FALSE(c.conn.TimerCount->Enabled());
  EXPECT_FALSE(c.conn.TimerReconnect->Enabled());
  EXPECT_FALSE(h.ended);
}

TEST(LinkLoss, ARefusedReconnectEndsTheProgram) {
  ClientHarness h;
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
  ServerPacket answer;
  answer.type = 29;
  answer.value = {0, 0, 1, 0x100};  // only the low byte of value(3) counts
  ASSERT_TRUE(Answer(h, answer));
  ASSERT_TRUE(h.ended);
  EXPECT_EQ(TraceTexts(h, "msgbox"), std::vector<std::string>{"重连服务器失败，退出后请重新入座！"});
  EXPECT_EQ(CommandsToLobby(h).back(), kScRestore);
}

// A second loss while the cycle runs leaves the cycle alone; a loss after
// it stopped starts a fresh one.
TEST(LinkLoss, LoadingTheReconnectWindowAgainKeepsARunningCycle) {
  ClientHarness h;
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
  Client& c = *h.client;
  h.Do([](Client& c) { LoadReconnectWindow(c); });
  c.conn.ReconnectAttempts = 5;
  h.Do([](Client& c) { LoadReconnectWindow(c); });
  EXPECT_EQ(c.conn.ReconnectAttempts, 5);
  h.Do([](Client& c) { UnloadReconnectWindow(c); });
  h.Do([](Client& c) { LoadReconnectWindow(c); });
  EXPECT_EQ(c.conn.ReconnectAttempts, 0);
  EXPECT_TRUE(c.conn.TimerReconnect->Enabled());
  EXPECT_EQ(c.desktop.FindForm("frmReconnect")->At("lbTime").caption, "1 秒后自动重连");
}

}  // namespace
}  // namespace tess::test
