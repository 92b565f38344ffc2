// Leaving the table, a whole client with its scripted server and fake
// lobby: every path off a table or out of the program, the leave
// confirmation, and the server's departure messages (types 16, 21, 22).
#include "core/leave.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "core/client.h"
#include "core/connection.h"
#include "core/startup.h"
#include "platform/gbk.h"
#include "platform/lobby_channel.h"
#include "support/table_steps.h"
#include "ui/resources.h"

namespace tess::test {
namespace {

// `text` is `prefix` and then a time of day as hour:minute:second, each a
// number without leading zeros.
bool TextThenTimeOfDay(const std::string& text, const std::string& prefix) {
  if (text.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string time = text.substr(prefix.size());
  const int limits[] = {23, 59, 59};
  size_t at = 0;
  for (int part = 0; part < 3; ++part) {
    size_t end = at;
    while (end < time.size() && std::isdigit(static_cast<unsigned char>(time[end]))) ++end;
    const size_t digits = end - at;
    if (digits == 0 || digits > 2 || (digits == 2 && time[at] == '0')) return false;
    if (std::stoi(time.substr(at, digits)) > limits[part]) return false;
    at = end;
    if (part < 2) {
      if (at >= time.size() || time[at] != ':') return false;
      ++at;
    }
  }
  return at == time.size();
}

const char* const kWatchingEnds = "有用户退出，旁观结束！";

ServerPacket Msg(uint16_t type, uint8_t seat, int16_t value3, const std::string& text = "") {
  ServerPacket p;
  p.type = type;
  p.seat = seat;
  p.value[3] = value3;
  p.Text(kBodyOffset, text);
  return p;
}

// The local player at seat bit 1; the others at bits 8, 4, 2 sit at
// ViewSeats 1, 2, 3 and are called nick8, nick4, nick2.
void SeatEveryone(Client& c) {
  const uint8_t masks[] = {1, 8, 4, 2};
  for (int v = 0; v < 4; ++v) {
    c.game.custom[v].Seat = masks[v];
    if (v > 0) {
      c.game.custom[v].Name = "p" + std::to_string(masks[v]);
      c.game.players[v].Nick = "nick" + std::to_string(masks[v]);
      c.MainForm.Load("Tou", v).SetPicture(std::make_shared<Picture>());
    }
  }
}

// Type-16 leave packets (value(3) = 0; continue carries 1) from `from` on.
size_t LeavePackets(const ClientHarness& h, size_t from) {
  size_t n = 0;
  for (const ServerPacket& p : ReceivedFrom(h, from)) n += p.type == 16 && p.value[3] == 0;
  return n;
}

// The idle state every reset leaves.
void ExpectIdle(const Client& c) {
  EXPECT_FALSE(c.game.HandInProgress);
  EXPECT_EQ(std::count(c.tick.TaskEnabled.begin(), c.tick.TaskEnabled.end(), true), 0);
  EXPECT_FALSE(c.TimerKeepAlive.Enabled());
  EXPECT_FALSE(c.TimerBong.Enabled());
  EXPECT_EQ(c.Winsock1.State(), TcpSocket::kClosed);
  EXPECT_EQ(c.MainForm.window_state, WindowState::kMinimized);
  EXPECT_EQ(c.MainForm.At("Sysmsg", 0).caption, "");
  EXPECT_EQ(c.MainForm.At("Sysmsg", 1).caption, "");
  EXPECT_EQ(c.packets.RecvReadPos + c.packets.RecvWritePos + c.packets.SendReadPos + c.packets.SendWritePos, 0);
  EXPECT_TRUE(c.buttons.ButtonLatched[2]);
  for (int v = 0; v < 4; ++v) {
    EXPECT_EQ(c.game.custom[v].Name, "") << v;
    EXPECT_EQ(c.game.custom[v].Seat, 0) << v;
  }
}

void Click(Client& c, const char* form, const char* name) {
  Element& e = c.desktop.FindForm(form)->At(name);
  e.on_click(e);
}

// ---------------------------------------------------------------------------
// Every path off a table or out of the program.

enum class Lobby { kRestored, kAnswered1024, kUntouched };

struct PathCase {
  const char* name;
  std::function<void(ClientHarness&)> setup;  // at the table, after the login
  std::function<void(ClientHarness&)> trigger;
  bool leave_packet;
  bool resets;
  bool table_cleared;
  Lobby lobby;
  bool ends;
};

void PrintTo(const PathCase& k, std::ostream* os) { *os << k.name; }

void Nothing(ClientHarness&) {}

void OthersLeft(ClientHarness& h) { ASSERT_TRUE(Answer(h, Msg(22, 0, 0, "game over"))); }

void HandRunning(ClientHarness& h) { BeginHand(h); }

void ConfirmLeave(ClientHarness& h) {
  h.Do([](Client& c) {
    ToggleLeaveConfirmation(c);
    Click(c, "frmExit", "pbCloseMe");
  });
}

const PathCase kPaths[] = {
    {"frmExit confirm", Nothing, ConfirmLeave, true, true, true, Lobby::kRestored, false},
    {"frmExit confirm, no lobby", [](ClientHarness& h) { h.lobby->Close(); }, ConfirmLeave, true, true, true,
     Lobby::kUntouched, true},
    {"frmOtherExit OK", OthersLeft,
     [](ClientHarness& h) { h.Do([](Client& c) { Click(c, "frmOtherExit", "imgOK"); }); }, false, true, true,
     Lobby::kRestored, false},
    {"continue while OtherExitShown", OthersLeft,
     [](ClientHarness& h) { h.Do([](Client& c) { ContinueAfterOthersLeft(c); }); }, false, true, true,
     Lobby::kRestored, false},
    {"lobby 771", Nothing, [](ClientHarness& h) { PostFromLobby(h, 771); }, true, true, true,
     Lobby::kAnswered1024, false},
    {"lobby 1024", HandRunning, [](ClientHarness& h) { PostFromLobby(h, 1024); }, true, true, false,
     Lobby::kUntouched, false},
    {"link lost outside a hand", Nothing,
     [](ClientHarness& h) {
       h.server.CloseClient();
       h.RunUntil([&] { return h.client->MainForm.window_state == WindowState::kMinimized; });
     },
     false, true, true, Lobby::kRestored, false},
    {"silence watchdog", HandRunning,
     [](ClientHarness& h) {
       h.client->tick.SilenceTicks = kSilenceLimit - 1;
       h.RunFor(200);
     },
     false, true, true, Lobby::kRestored, false},
    {"reconnect window Cancel",
     [](ClientHarness& h) {
       BeginHand(h);
       h.server.Refuse();
       h.server.CloseClient();
       ASSERT_TRUE(h.RunUntil([&] { return h.client->desktop.FindForm("frmReconnect") != nullptr; }));
     },
     [](ClientHarness& h) { h.Do([](Client& c) { Click(c, "frmReconnect", "pbCancel"); }); }, false, true,
     true, Lobby::kRestored, false},
    {"type 16, the local seat highest leaver", [](ClientHarness& h) { h.client->game.custom[0].Seat = 8; },
     [](ClientHarness& h) { Answer(h, Msg(16, 7, 1)); }, false, false, false,
     Lobby::kUntouched, true},
    {"type 21 naming the local player", Nothing, [](ClientHarness& h) { Answer(h, Msg(21, 0, 0, "alice")); }, false,
     false, false, Lobby::kUntouched, true},
    {"main window closed", Nothing, [](ClientHarness& h) { h.Do([](Client& c) { Form_Unload(c); }); }, false, false,
     false, Lobby::kUntouched, true},
};

class PathTest : public testing::TestWithParam<PathCase> {};

TEST_P(PathTest, EndsInTheStateItsRowGives) {
  const PathCase& k = GetParam();
  ClientHarness h;
  Deadline deadline(h, 60000);
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
  ASSERT_NO_FATAL_FAILURE(k.setup(h));
  // A tile on the table shows whether the table was cleared.
  Element& tile = h.client->MainForm.At("MJ_Image", 0);
  tile.visible = true;
  const size_t received = h.server.ReceivedCount();
  const size_t commands = CommandsToLobby(h).size();
  const size_t posts = PostsToLobby(h).size();
  k.trigger(h);

  EXPECT_EQ(h.ended.has_value(), k.ends) << h.ended.value_or("");
  EXPECT_NE(h.ended.value_or(""), kDeadlineReason);
  if (k.leave_packet) h.server.WaitForPackets(received + 1, std::chrono::milliseconds(2000));
  else std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(LeavePackets(h, received), k.leave_packet ? 1u : 0u);
  if (k.resets) ExpectIdle(*h.client);
  EXPECT_EQ(!tile.visible, k.table_cleared);
  const auto new_commands = CommandsToLobby(h);
  const auto new_posts = PostsToLobby(h);
  switch (k.lobby) {
    case Lobby::kRestored:
      ASSERT_GT(new_commands.size(), commands);
      EXPECT_EQ(new_commands.back(), kScRestore);
      EXPECT_EQ(h.client->MainForm.window_state, WindowState::kMinimized);
      break;
    case Lobby::kAnswered1024:
      EXPECT_EQ(new_commands.size(), commands);
      EXPECT_EQ(std::vector<uint32_t>(new_posts.begin() + static_cast<long>(posts), new_posts.end()),
                std::vector<uint32_t>{1024});
      break;
    case Lobby::kUntouched:
      EXPECT_EQ(new_commands.size(), commands);
      EXPECT_EQ(new_posts.size(), posts);
      break;
  }
  EXPECT_EQ(TraceTexts(h, "msgbox").size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Leave, PathTest, testing::ValuesIn(kPaths), [](const auto& info) {
  std::string name;
  for (char ch : std::string(info.param.name)) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
});

// The main window closes, by itself or because the local player is the
// highest seat a type 16 names as gone.
TEST(Paths, ClosingTheMainWindowRemovesTheHookAndStopsTheSound) {
  const std::function<void(ClientHarness&)> closes[] = {
      [](ClientHarness& h) { h.Do([](Client& c) { Form_Unload(c); }); },
      [](ClientHarness& h) {
        h.client->game.custom[0].Seat = 8;
        Answer(h, Msg(16, 7, 1));
      },
  };
  for (const auto& close : closes) {
    ClientHarness h;
    ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
    const size_t stops_before = TraceEvents(h).size();
    close(h);
    EXPECT_EQ(h.ended.value_or(""), "main window closed");
    int stopped = 0;
    const std::vector<TraceEvent> events = TraceEvents(h);
    for (size_t i = stops_before; i < events.size(); ++i) stopped += events[i].ev == "sound_stop";
    EXPECT_EQ(stopped, 1);
    EXPECT_FALSE(h.client->window_channel->OnMessage);
  }
}

TEST(Paths, ASpectatorIsToldWatchingEndsWhenAPlayerLeaves) {
  const ServerPacket triggers[] = {Msg(16, 7, 1), Msg(16, 9, 3), Msg(21, 0, 0, "p8")};
  for (const ServerPacket& trigger : triggers) {
    SCOPED_TRACE(testing::Message() << "type " << trigger.type << " value(3) " << trigger.value[3]);
    ClientHarness h;
    const std::string line = "alice$key$127.0.0.1$" + std::to_string(h.server.Port()) + "$一号桌$123456";
    ASSERT_TRUE(LogInWith(h, line, LoginAnswer(1)));
    ASSERT_TRUE(h.client->game.IsSpectator);
    SeatEveryone(*h.client);
    Answer(h, trigger);
    EXPECT_TRUE(h.ended);
    EXPECT_EQ(TraceTexts(h, "msgbox"), std::vector<std::string>{kWatchingEnds});
  }
}

// ---------------------------------------------------------------------------
// The leave confirmation.

TEST(LeaveConfirmation, WarnsOfThePenaltyOnlyForASeatedPlayerInAHand) {
  struct Case {
    bool hand, spectator, warned;
  } cases[] = {{true, false, true}, {false, false, false}, {true, true, false}};
  for (const Case& k : cases) {
    ClientHarness h;
    ASSERT_TRUE(h.Start(h.PlayerLine()));
    Client& c = *h.client;
    c.game.HandInProgress = k.hand;
    c.game.IsSpectator = k.spectator;
    c.MainForm.left = 100;
    c.MainForm.top = 50;
    h.Do([](Client& c) { ToggleLeaveConfirmation(c); });
    Form& f = *c.desktop.FindForm("frmExit");
    EXPECT_TRUE(f.visible);
    EXPECT_EQ(f.caption, "退出");
    EXPECT_EQ(f.At("Label1").caption, "您真的要退出吗？");
    EXPECT_EQ(f.At("Label2").caption, "游戏正在进行，逃跑会扣分！");
    EXPECT_EQ(f.At("Label2").visible, k.warned) << k.hand << k.spectator;
    EXPECT_EQ(f.left, 100 + (c.MainForm.width - f.width) / 2);
    EXPECT_EQ(f.top, 50 + (c.MainForm.height - f.height) / 2);
    EXPECT_EQ(f.At("pbCloseMe").width, 65);
    EXPECT_EQ(f.At("pbCancel").height, 30);
    h.Do([](Client& c) { ToggleLeaveConfirmation(c); });
    EXPECT_FALSE(f.visible);
  }
}

TEST(LeaveConfirmation, CancelClosesItAndStaysAtTheTable) {
  ClientHarness h;
  ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
  h.Do([](Client& c) {
    ToggleLeaveConfirmation(c);
    Click(c, "frmExit", "pbCancel");
  });
  EXPECT_FALSE(h.client->desktop.FindForm("frmExit")->visible);
  EXPECT_EQ(h.client->Winsock1.State(), TcpSocket::kConnected);
}

// ---------------------------------------------------------------------------
// The server's departure messages.

class DepartureTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
    SeatEveryone(c());
    BeginHand(h);
  }
  Client& c() { return *h.client; }
  std::string Line(int i) { return c().MainForm.At("Sysmsg", i).caption; }
  std::string Notice() { return c().desktop.FindForm("frmOtherExit")->At("Label1").caption; }
  bool NoticeShown() {
    const Form* f = c().desktop.FindForm("frmOtherExit");
    return f && f->visible;
  }

  ClientHarness h;
};

TEST_F(DepartureTest, EveryoneStillSeatedChangesNothing) {
  ASSERT_TRUE(Answer(h, Msg(16, 15, 1)));
  EXPECT_TRUE(c().game.HandInProgress);
  EXPECT_FALSE(c().tick.TableBroken);
  EXPECT_FALSE(NoticeShown());
  EXPECT_EQ(c().game.custom[1].Name, "p8");
  EXPECT_EQ(Line(0), "连接服务器成功！");
}

TEST_F(DepartureTest, APlayerWhoLeftEndsTheGame) {
  const int64_t before = h.loop.NowMs();
  ASSERT_TRUE(Answer(h, Msg(16, 7, 1)));  // seat bit 8 is missing
  EXPECT_GE(h.loop.NowMs() - before, 2000);  // the pause
  EXPECT_TRUE(TextThenTimeOfDay(Line(0), "nick8,退出了游戏！ ")) << Line(0);
  EXPECT_EQ(Line(1), "nick8,请退出重新开始游戏.");
  EXPECT_TRUE(NoticeShown());
  EXPECT_EQ(Notice(), "玩家nick8,退出了游戏！游戏结束！");
  EXPECT_TRUE(c().desktop.FindForm("frmOtherExit")->topmost);
  EXPECT_TRUE(c().leave.OtherExitShown);
  EXPECT_TRUE(c().tick.TableBroken);
  EXPECT_FALSE(c().game.HandInProgress);
  EXPECT_EQ(c().leave.OthersListed, -1);
  for (int v = 1; v < 4; ++v) {  // every other seat is emptied
    EXPECT_EQ(c().game.custom[v].Name, "") << v;
    EXPECT_EQ(c().game.players[v].Nick, "") << v;
    EXPECT_EQ(c().MainForm.At("Tou", v).picture, nullptr) << v;
  }
  EXPECT_EQ(c().Winsock1.State(), TcpSocket::kConnected);
  EXPECT_FALSE(h.ended);
}

TEST_F(DepartureTest, PlayersWithTooFewCoins) {
  struct Case {
    uint8_t seat;  // the seats that still have coins
    const char* line;
    const char* notice;
  } cases[] = {
      {14, "玩家，alice金币不够，退出游戏！", "您的金币不够，退出游戏！游戏结束！"},
      {9, "玩家nick2，nick4金币不够，退出游戏！", "玩家nick2，nick4的金币不够，退出游戏！游戏结束！"},
      {6, "玩家nick8，alice金币不够，退出游戏！", "玩家nick8以及您的金币不够，退出游戏！游戏结束！"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.line);
    ClientHarness h;
    ASSERT_TRUE(LogInWith(h, h.PlayerLine(), LoginAnswer(1)));
    SeatEveryone(*h.client);
    BeginHand(h);
    h.client->MainForm.At("Sysmsg", 1).caption = "kept";
    ASSERT_TRUE(Answer(h, Msg(16, k.seat, 3)));
    Client& c = *h.client;
    EXPECT_EQ(c.MainForm.At("Sysmsg", 0).caption, k.line);
    EXPECT_EQ(c.MainForm.At("Sysmsg", 1).caption, "kept");  // only the first line is rewritten
    EXPECT_EQ(c.desktop.FindForm("frmOtherExit")->At("Label1").caption, k.notice);
    EXPECT_EQ(c.Winsock1.State(), TcpSocket::kClosed);
    EXPECT_TRUE(c.tick.TableBroken);
    EXPECT_FALSE(c.tick.TaskEnabled[kTaskLinkWatch]);
    for (int v = 1; v < 4; ++v)  // only the seats without coins are emptied
      EXPECT_EQ(c.game.custom[v].Name.empty(), (~k.seat & 15 & c.game.custom[v].Seat) != 0) << v;
    EXPECT_FALSE(h.ended);
  }
}

TEST_F(DepartureTest, TheDealerMarkNamesTheDealersWind) {
  struct Case {
    uint8_t seat;
    const char* wind;
    int view;
  } cases[] = {{1, "北", 0}, {2, "西", 3}, {4, "南", 2}, {8, "东", 1}};
  for (const Case& k : cases) {
    for (auto& s : c().game.custom) s.IsDealer = false;
    ASSERT_TRUE(Answer(h, Msg(16, static_cast<uint8_t>(0xF0 | k.seat), 2)));
    EXPECT_EQ(c().MainForm.At("Zhuang").caption, k.wind);
    for (int v = 0; v < 4; ++v) EXPECT_EQ(c().game.custom[v].IsDealer, v == k.view) << k.wind << v;
  }
  EXPECT_TRUE(c().game.HandInProgress);
}

TEST_F(DepartureTest, APlayerLeftMessageEmptiesThatSeatOnly) {
  ASSERT_TRUE(Answer(h, Msg(21, 0, 0, "p4")));
  EXPECT_TRUE(TextThenTimeOfDay(Line(0), "nick4退出了游戏 ")) << Line(0);
  EXPECT_EQ(c().game.custom[2].Name, "");
  EXPECT_EQ(c().MainForm.At("Tou", 2).picture, nullptr);
  EXPECT_EQ(c().game.custom[1].Name, "p8");
  EXPECT_TRUE(c().game.HandInProgress);  // the hand goes on
  EXPECT_FALSE(c().tick.TableBroken);

  const std::string line = Line(0);
  ASSERT_TRUE(Answer(h, Msg(21, 0, 0, "nobody")));
  EXPECT_EQ(Line(0), line);
  EXPECT_EQ(c().game.custom[1].Name, "p8");
  EXPECT_FALSE(h.ended);
}

TEST_F(DepartureTest, AnOtherExitShowsItsTextAndKeepsTheSocket) {
  ServerPacket p = Msg(22, 0, 0);
  const std::string gbk = Utf8ToGbk("张三离开了，游戏结束");
  p.Bytes(16, std::vector<uint8_t>(gbk.begin(), gbk.end()));
  ASSERT_TRUE(Answer(h, p));
  EXPECT_EQ(Notice(), "张三离开了，游戏结束");
  // The notice's buttons show the pictures stored with it.
  const Form& notice = *c().desktop.FindForm("frmOtherExit");
  ASSERT_NE(notice.At("imgOK").picture, nullptr);
  EXPECT_EQ(notice.At("imgOK").picture->id, kFormNoticeOk);
  ASSERT_NE(notice.At("imgCancel").picture, nullptr);
  EXPECT_EQ(notice.At("imgCancel").picture->id, kFormNoticeCancel);
  EXPECT_TRUE(c().tick.TableBroken);
  EXPECT_FALSE(c().game.HandInProgress);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskLinkWatch]);
  EXPECT_EQ(c().Winsock1.State(), TcpSocket::kConnected);
  for (int v = 0; v < 4; ++v) EXPECT_EQ(c().MainForm.At("Tou", v).picture, nullptr) << v;

  ServerPacket empty = Msg(22, 0, 0);
  empty.Text(17, "after the zero");
  ASSERT_TRUE(Answer(h, empty));
  EXPECT_EQ(Notice(), "");
}

TEST_F(DepartureTest, CancelOnTheNoticeKeepsTheFinishedTableUntilContinue) {
  ASSERT_TRUE(Answer(h, Msg(22, 0, 0, "over")));
  h.Do([](Client& c) { Click(c, "frmOtherExit", "imgCancel"); });
  EXPECT_FALSE(NoticeShown());
  EXPECT_TRUE(c().leave.OtherExitShown);
  EXPECT_FALSE(c().game.HandInProgress);
  EXPECT_EQ(c().MainForm.window_state, WindowState::kNormal);
  c().buttons.ButtonLatched[2] = true;
  const size_t commands = CommandsToLobby(h).size();
  h.Do([](Client& c) { ContinueAfterOthersLeft(c); });
  EXPECT_FALSE(c().MainForm.At("Label3").visible);
  EXPECT_GT(CommandsToLobby(h).size(), commands);
  EXPECT_EQ(CommandsToLobby(h).back(), kScRestore);
  EXPECT_EQ(c().MainForm.window_state, WindowState::kMinimized);
}

// Each showing of the notice marks it as opened for the table, also after
// the mark was cleared (a new hand clears it).
TEST_F(DepartureTest, EveryShowingOfTheNoticeMarksItOpened) {
  ASSERT_TRUE(Answer(h, Msg(22, 0, 0, "first")));
  h.Do([](Client& c) { Click(c, "frmOtherExit", "imgOK"); });
  c().leave.OtherExitShown = false;
  ASSERT_TRUE(PostFromLobby(h, 22));
  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(h.RunUntilReceived(before + 1));
  ASSERT_TRUE(Answer(h, Msg(22, 0, 0, "second")));
  EXPECT_TRUE(NoticeShown());
  EXPECT_EQ(Notice(), "second");
  EXPECT_TRUE(c().leave.OtherExitShown);
}

// Once the server has said the table broke up, a link loss outside a hand
// no longer returns to the lobby, at this table or any later one.
TEST_F(DepartureTest, ABrokenTableStaysBrokenAtLaterTables) {
  ASSERT_TRUE(Answer(h, Msg(22, 0, 0, "over")));
  h.Do([](Client& c) { Click(c, "frmOtherExit", "imgOK"); });
  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(PostFromLobby(h, 22));
  ASSERT_TRUE(h.RunUntilReceived(before + 1));
  ASSERT_TRUE(Answer(h, LoginAnswer(1)));
  ASSERT_TRUE(c().tick.TurnTimerAllowed);
  h.RunFor(500);
  const size_t commands = CommandsToLobby(h).size();
  h.server.CloseClient();
  h.RunFor(3000);
  EXPECT_TRUE(c().tick.TableBroken);
  EXPECT_EQ(CommandsToLobby(h).size(), commands);
  EXPECT_EQ(c().Winsock1.State(), TcpSocket::kClosed);
  EXPECT_EQ(Line(0), "连接服务器成功！");  // no reset ran
  EXPECT_FALSE(h.ended);
}

}  // namespace
}  // namespace tess::test
