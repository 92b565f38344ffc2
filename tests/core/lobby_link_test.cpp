// The lobby link, a whole client with a fake lobby window: the lobby's
// messages and their answers, the hide key, the table keys and the main
// window shown again.
#include "core/lobby_link.h"

#include <gtest/gtest.h>

#include "core/client.h"
#include "core/connection.h"
#include "platform/lobby_channel.h"
#include "support/table_steps.h"

namespace tess::test {
namespace {

size_t Count(const std::vector<ServerPacket>& packets, int type) {
  return static_cast<size_t>(std::count_if(packets.begin(), packets.end(), [&](const ServerPacket& p) {
    return p.type == type;
  }));
}

class LobbyLinkTest : public testing::Test {
 protected:
  void SetUp() override {
    // A tile on the table shows whether the table was cleared.
    h.client->MainForm.At("MJ_Image", 0).visible = true;
  }
  bool TableCleared() const { return !h.client->MainForm.At("MJ_Image", 0).visible; }
  void LogIn() { ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1, 5))); }
  // The lobby's message, then what the client posted back in answer.
  std::vector<uint32_t> Ask(uint32_t msg) {
    const size_t before = PostsToLobby(h).size();
    EXPECT_TRUE(PostFromLobby(h, msg));
    const auto posts = PostsToLobby(h);
    return std::vector<uint32_t>(posts.begin() + static_cast<long>(before), posts.end());
  }
  // Everything the server received, the leave packet included, once it is there.
  std::vector<ServerPacket> SettledReceived(size_t from) {
    h.RunFor(200);
    return ReceivedFrom(h, from);
  }

  ClientHarness h;
};

TEST_F(LobbyLinkTest, LeaveRequestDuringALoginIsRefusedWith1126) {
  ASSERT_TRUE(h.Start(h.PlayerLine()));
  ASSERT_TRUE(h.RunUntilReceived(1));  // the login is out, its answer not yet in
  EXPECT_EQ(Ask(771), std::vector<uint32_t>{1126});
  EXPECT_EQ(h.client->Winsock1.State(), TcpSocket::kConnected);
  EXPECT_EQ(Count(SettledReceived(0), 16), 0u);
  EXPECT_FALSE(TableCleared());
  // The lobby's connect marks a login under way as well, before anything is sent.
  ASSERT_TRUE(Answer(h, LoginAnswer(1)));
  ASSERT_TRUE(PostFromLobby(h, 1024));
  h.Do([](Client& c) { OnConnect(c); });
  EXPECT_EQ(Ask(771), std::vector<uint32_t>{1126});
}

TEST_F(LobbyLinkTest, LeaveRequestDuringAHandIsRefusedWith1125) {
  LogIn();
  BeginHand(h);
  const size_t before = h.server.ReceivedCount();
  EXPECT_EQ(Ask(771), std::vector<uint32_t>{1125});
  EXPECT_TRUE(h.client->game.HandInProgress);
  EXPECT_EQ(h.client->Winsock1.State(), TcpSocket::kConnected);
  EXPECT_EQ(Count(SettledReceived(before), 16), 0u);
}

TEST_F(LobbyLinkTest, LeaveRequestOtherwiseLeavesAndAnswers1024) {
  LogIn();
  h.client->game.custom[0].Seat = 4;
  const size_t before = h.server.ReceivedCount();
  const size_t commands = CommandsToLobby(h).size();
  EXPECT_EQ(Ask(771), std::vector<uint32_t>{1024});
  const auto sent = SettledReceived(before);
  ASSERT_EQ(Count(sent, 16), 1u);
  const ServerPacket& leave = sent.back();
  ServerPacket expected;
  expected.type = 16;
  expected.seat = 4;
  EXPECT_EQ(leave, expected);  // every other byte zero, the tag too
  EXPECT_TRUE(TableCleared());
  Client& c = *h.client;
  EXPECT_EQ(c.Winsock1.State(), TcpSocket::kClosed);
  EXPECT_EQ(c.MainForm.window_state, WindowState::kMinimized);
  EXPECT_EQ(CommandsToLobby(h).size(), commands);  // the lobby is not restored
  EXPECT_FALSE(h.ended);
}

TEST_F(LobbyLinkTest, LeaveRequestFromSomeoneWhenTheLobbyIsGoneDoesNothing) {
  LogIn();
  FakeLobby stranger("Somebody Else");
  h.lobby->Close();
  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(stranger.PostTo(h.client->window_channel->Title(), 771));
  ASSERT_TRUE(h.RunFor(kTickMs));
  EXPECT_EQ(Count(SettledReceived(before), 16), 0u);
  EXPECT_EQ(h.client->Winsock1.State(), TcpSocket::kConnected);
  EXPECT_FALSE(h.ended);
}

TEST_F(LobbyLinkTest, HandQueryIsAnswered1125DuringAHandAnd1024Otherwise) {
  LogIn();
  EXPECT_EQ(Ask(1125), std::vector<uint32_t>{1024});
  BeginHand(h);
  EXPECT_EQ(Ask(1125), std::vector<uint32_t>{1125});
  EXPECT_EQ(h.client->Winsock1.State(), TcpSocket::kConnected);
}

TEST_F(LobbyLinkTest, LeaveNowDuringAHandLeavesAtOnceWithoutAnswer) {
  LogIn();
  BeginHand(h);
  const size_t before = h.server.ReceivedCount();
  EXPECT_TRUE(Ask(1024).empty());
  EXPECT_EQ(Count(SettledReceived(before), 16), 1u);
  Client& c = *h.client;
  EXPECT_FALSE(c.game.HandInProgress);
  EXPECT_EQ(c.Winsock1.State(), TcpSocket::kClosed);
  EXPECT_EQ(c.MainForm.window_state, WindowState::kMinimized);
  EXPECT_FALSE(TableCleared());  // the table is not cleared
  EXPECT_FALSE(h.ended);
}

TEST_F(LobbyLinkTest, ConnectWhileConnectedClosesTheOldConnectionFirst) {
  LogIn();
  h.Do([](Client& c) { OnConnect(c); });
  EXPECT_NE(h.client->Winsock1.State(), TcpSocket::kConnected);  // closed, connecting anew
  ASSERT_TRUE(h.RunUntil([&] { return h.server.Connections() == 2; }));
  ASSERT_TRUE(h.RunUntil([&] { return Count(h.server.Received(), 18) == 2; }));
  EXPECT_TRUE(h.client->conn.LoginPending);
  EXPECT_FALSE(h.client->buttons.ButtonLatched[2]);
  EXPECT_FALSE(h.client->MainForm.At("Number").visible);
}

TEST_F(LobbyLinkTest, ConnectAfterAReconnectSendsALoginAgain) {
  LogIn();
  BeginHand(h);
  h.server.CloseClient();
  // The first attempt (about 4 s after the loss) sends a reconnect packet.
  ASSERT_TRUE(h.RunUntil([&] { return Count(h.server.Received(), 28) == 1; }, 10000));
  EXPECT_EQ(h.client->conn.LoginPacket[3], 28);
  ASSERT_TRUE(PostFromLobby(h, 1024));
  ASSERT_TRUE(PostFromLobby(h, 22));
  ASSERT_TRUE(h.RunUntil([&] { return Count(h.server.Received(), 18) == 2; }));
  EXPECT_EQ(h.server.Received().back().type, 18);
}

// ---------------------------------------------------------------------------
// The hide key and the main window shown again.

TEST(HideKey, TwiceKeepsBothWindowsMinimisedUntilTheMainWindowIsShown) {
  for (bool auto_mode : {false, true}) {
    SCOPED_TRACE(auto_mode);
    ClientHarness h;
    ASSERT_TRUE(LogInWith(h, PlayerLineWith(h, 0, "", 0, auto_mode, "Orvane", "Tessaly"), LoginAnswer(1, 5)));
    Client& c = *h.client;
    c.tick.TimeoutStreak = 2;
    const size_t commands = CommandsToLobby(h).size();
    // F1 reaches the chat line, which has the focus.
    ASSERT_EQ(c.desktop.focus, c.MainForm.Find("Chat"));
    ASSERT_TRUE(h.Do([](Client& c) { c.desktop.KeyDown(kKeyF1, 0); }));
    ASSERT_TRUE(h.Do([](Client& c) { c.desktop.KeyDown(kKeyF1, 0); }));
    EXPECT_TRUE(c.tick.Hidden);
    EXPECT_EQ(c.tick.TurnSeconds, 0);
    EXPECT_EQ(c.MainForm.window_state, WindowState::kMinimized);
    auto after = CommandsToLobby(h);
    EXPECT_EQ(std::vector<uint32_t>(after.begin() + static_cast<long>(commands), after.end()),
              (std::vector<uint32_t>{kScMinimize, kScMinimize}));

    ASSERT_TRUE(h.Do([](Client& c) { RestoreMainWindow(c); }));
    EXPECT_FALSE(c.tick.Hidden);
    EXPECT_EQ(c.tick.TurnSeconds, auto_mode ? 1 : 8);  // not the answer's 5
    EXPECT_EQ(c.tick.TimeoutStreak, 0);
    EXPECT_EQ(CommandsToLobby(h).back(), kScMinimize);
  }
}

TEST(HideKey, ShowingTheWindowWhenNotHiddenKeepsTurnSeconds) {
  ClientHarness h;
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1, 5)));
  ASSERT_TRUE(h.Do([](Client& c) { RestoreMainWindow(c); }));
  EXPECT_EQ(h.client->tick.TurnSeconds, 5);
}

TEST(HideKey, ShowingTheMainWindowWithoutALobbyEndsTheProgram) {
  ClientHarness h;
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
  h.lobby->Close();
  EXPECT_FALSE(h.Do([](Client& c) { RestoreMainWindow(c); }));
  EXPECT_TRUE(h.ended);
}

TEST(TableKeys, AltAndCInEitherOrderOpenTheChatLog) {
  struct Case {
    std::vector<int> keys;
    KeySource source;
    int opened;
  } cases[] = {
      {{kKeyAlt, kKeyC}, KeySource::kPic1, 1},
      {{kKeyC, kKeyAlt}, KeySource::kPic1, 1},
      {{kKeyAlt, 'X', kKeyC}, KeySource::kPic1, 0},
      {{kKeyAlt, kKeyC, kKeyAlt, kKeyC}, KeySource::kPic2, 2},
      {{kKeyAlt, kKeyAlt, kKeyC, kKeyC}, KeySource::kPic1, 1},
      {{kKeyAlt, kKeyC}, KeySource::kChat, 0},  // the chat line takes F1 only
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&k - cases));
    ClientHarness h;
    ASSERT_TRUE(h.Start(h.PlayerLine()));
    int opened = 0;
    h.client->parts.OpenChatLog = [&](Client&) { ++opened; };
    for (int key : k.keys) h.Do([&](Client& c) { TableKeyDown(c, key, k.source); });
    EXPECT_EQ(opened, k.opened);
  }
}

TEST(TableKeys, EscTogglesTheLeaveConfirmationAndPic2HandsTheFocusToChat) {
  ClientHarness h;
  ASSERT_TRUE(h.Start(h.PlayerLine()));
  Client& c = *h.client;
  c.desktop.focus = nullptr;
  h.Do([](Client& c) { TableKeyDown(c, kKeyEscape, KeySource::kPic2); });
  ASSERT_NE(c.desktop.FindForm("frmExit"), nullptr);
  EXPECT_TRUE(c.desktop.FindForm("frmExit")->visible);
  EXPECT_EQ(c.desktop.focus, nullptr);  // not after Esc
  h.Do([](Client& c) { TableKeyDown(c, kKeyEscape, KeySource::kPic1); });
  EXPECT_FALSE(c.desktop.FindForm("frmExit")->visible);
  h.Do([](Client& c) { TableKeyDown(c, 'X', KeySource::kPic2); });
  EXPECT_EQ(c.desktop.focus, c.MainForm.Find("Chat"));
}

// The keys reach the table once the player has clicked on it: the table
// picture takes the focus, and a right click there does not click.
TEST(TableKeys, AClickOnTheTableGivesItTheKeys) {
  ClientHarness h;
  ASSERT_TRUE(h.Start(h.PlayerLine()));
  Client& c = *h.client;
  const Element& table = c.MainForm.At("Pic1");
  const double x = c.MainForm.left + table.left + 300, y = c.MainForm.top + table.top + 200;
  h.Do([&](Client& c) {
    c.desktop.MouseDown(x, y, kButtonLeft, 0, 0);
    c.desktop.MouseUp(x, y, kButtonLeft, 0);
  });
  ASSERT_EQ(c.desktop.focus, &table);
  h.Do([](Client& c) { c.desktop.KeyDown(kKeyEscape, 0); });
  ASSERT_NE(c.desktop.FindForm("frmExit"), nullptr);
  EXPECT_TRUE(c.desktop.FindForm("frmExit")->visible);
}

}  // namespace
}  // namespace tess::test
