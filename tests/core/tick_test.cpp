// The tick under the virtual clock: a logged-in client whose TimerBong is
// fired by hand, one call per tick, so every count below is exact.
#include "core/tick.h"

#include <gtest/gtest.h>

#include <sstream>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/client.h"
#include "platform/lobby_channel.h"
#include "support/client_harness.h"

namespace tess::test {
namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;

// The type byte of every packet the trace shows as sent, in order.
std::vector<int> SentTypes(const std::string& trace) {
  std::vector<int> types;
  const std::string needle = "\"ev\":\"send\",\"hex\":\"";
  for (size_t at = trace.find(needle); at != std::string::npos; at = trace.find(needle, at + 1))
    types.push_back(std::stoi(trace.substr(at + needle.size() + 6, 2), nullptr, 16));
  return types;
}

size_t CountLines(const std::string& trace, const std::string& ev) {
  size_t n = 0;
  const std::string needle = "\"ev\":\"" + ev + "\"";
  for (size_t at = trace.find(needle); at != std::string::npos; at = trace.find(needle, at + 1)) ++n;
  return n;
}

// Restore or minimise commands the lobby has received.
size_t Commands(const FakeLobby& lobby, uint32_t command) {
  size_t n = 0;
  for (const LobbyMessage& m : lobby.Received()) n += m.msg == kWmSysCommand && m.wparam == command;
  return n;
}

Packet Incoming(uint8_t type) {
  Packet p{};
  p[kOffType] = type;
  return p;
}

class TickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(h.LogIn()) << h.ended.value_or("");
    sound_mark = h.TraceText().size();
  }

  Client& c() { return *h.client; }
  // n ticks; false once the program has ended.
  bool Ticks(int n) {
    for (int i = 0; i < n; ++i)
      if (!h.Do([](Client& cl) { TimerBong_Timer(cl); })) return false;
    return true;
  }
  void Arrive(const Packet& p) { Winsock1_DataArrival(c().packets, c().tick, p); }

  // The turn countdown switched on as the start of a turn does it.
  void StartTurn(int16_t countdown, int16_t turn_state) {
    c().tick.Countdown = countdown;
    c().tick.TurnState = turn_state;
    c().tick.TurnTimerAllowed = true;
    SwitchTaskOn(c(), kTaskTurnCountdown);
  }
  // The turn countdown at 0 runs out on its next run.
  void TimeOut() {
    StartTurn(0, 0);
    ASSERT_TRUE(Ticks(20));
  }

  // The files of the sounds played since sound_mark, from the trace.
  std::vector<std::string> Sounds() const {
    std::vector<std::string> files;
    std::istringstream lines(h.TraceText().substr(sound_mark));
    const std::string key = "\"ev\":\"sound\",\"file\":\"";
    for (std::string line; std::getline(lines, line);)
      if (size_t at = line.find(key); at != std::string::npos)
        files.push_back(line.substr(at + key.size(), line.find('"', at + key.size()) - at - key.size()));
    return files;
  }

  ClientHarness h;
  size_t sound_mark = 0;
  // The automatic players that ran since `from` in the trace, by whether
  // each was the full one.
  std::vector<bool> AutoPlayers(size_t from) const {
    std::vector<bool> players;
    std::istringstream lines(h.TraceText().substr(from));
    for (std::string line; std::getline(lines, line);)
      if (line.find("\"ev\":\"autoplay\"") != std::string::npos)
        players.push_back(line.find("\"full\":true") != std::string::npos);
    return players;
  }
};

// --- Task 0: sending -------------------------------------------------------

TEST_F(TickTest, OnePacketGoesOutPerTickInQueueOrder) {
  const size_t before = SentTypes(h.TraceText()).size();
  for (int16_t type : {2, 7, 19}) {
    MessageRecord m;
    m.MsgType = type;
    c().packets.OutgoingChat = "x";
    QueueMessage(c(), m);
  }
  std::vector<size_t> sent_after_each_tick;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(Ticks(1));
    sent_after_each_tick.push_back(SentTypes(h.TraceText()).size() - before);
  }
  EXPECT_EQ(sent_after_each_tick, (std::vector<size_t>{1, 2, 3, 3}));
  std::vector<int> types = SentTypes(h.TraceText());
  EXPECT_EQ(std::vector<int>(types.end() - 3, types.end()), (std::vector<int>{2, 7, 19}));
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskSend]);  // switched itself off on the empty ring
}

TEST_F(TickTest, PacketQueuedAfterTheSendInATickGoesOutOnTheNextTick) {
  // The continue countdown runs after the send task and queues type 16.
  c().tick.Countdown = 0;
  c().game.TableCleared = true;
  SwitchTaskOn(c(), kTaskContinueCountdown);
  ASSERT_TRUE(Ticks(19));
  const size_t before = SentTypes(h.TraceText()).size();
  ASSERT_TRUE(Ticks(1));
  EXPECT_EQ(SendPendingBytes(c().packets), 272);
  EXPECT_EQ(SentTypes(h.TraceText()).size(), before);
  ASSERT_TRUE(Ticks(1));
  ASSERT_EQ(SentTypes(h.TraceText()).size(), before + 1);
  EXPECT_EQ(SentTypes(h.TraceText()).back(), kTypePlayerQuit);
}

TEST_F(TickTest, KeepAliveIsQueuedEveryFiveSecondsWithTheLocalSeat) {
  c().game.custom[0].Seat = 4;
  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(h.RunUntilReceived(before + 2, 11000));
  auto got = h.server.Received();
  for (size_t i = before; i < before + 2; ++i) {
    EXPECT_EQ(got[i].type, kTypeKeepAlive);
    EXPECT_EQ(got[i].seat, 4);
    EXPECT_EQ(got[i].value, (std::array<int16_t, 4>{}));
  }
}

// --- Task 1: receiving -----------------------------------------------------

// A chat line that cannot be shown fails like an undecodable packet: the
// receive error box, that packet dropped, the next one dispatched. (With
// the local seat out of range the line names no sender.)
TEST_F(TickTest, AChatLineThatCannotBeShownGivesTheReceiveErrorAndReceivingGoesOn) {
  c().game.custom[0].Seat = 0x30;
  Packet chat = Incoming(kTypeChat);
  chat[kOffSeat] = 1;
  chat[16] = 'h', chat[17] = 'i';
  Arrive(chat);
  Packet next = Incoming(kTypeNoEffect);
  next[260] = 0x42;
  Arrive(next);
  ASSERT_TRUE(Ticks(4));
  EXPECT_NE(h.TraceText().find("\"msgbox\",\"text\":\"接受数据错误，请重新入座！\""), std::string::npos);
  EXPECT_EQ(c().packets.ConnectionTag[0], 0x42);  // the next packet was dispatched
}

// A fault in a task outside the dispatcher (here the automatic player's)
// takes the fault exit: the lobby restored, the program ended.
TEST_F(TickTest, AFaultInATaskRestoresTheLobbyAndEndsTheProgram) {
  // The full player meets a hand record that reaches past its last entry.
  c().tick.AutoMode = true;
  c().analysis.NeedSuitChoice = 1;
  c().game.custom[0].HandStart = 19;
  c().game.custom[0].HandCount = 13;
  const size_t lobby_before = h.lobby->Received().size();
  StartTurn(0, 0);
  EXPECT_FALSE(Ticks(20));
  ASSERT_TRUE(h.ended);
  EXPECT_NE(h.ended->find("fault in the tick"), std::string::npos) << *h.ended;
  const auto got = h.lobby->Received();
  ASSERT_GT(got.size(), lobby_before);
  EXPECT_EQ(got.back().wparam, kScRestore);
}

TEST_F(TickTest, ABacklogIsDispatchedOnConsecutiveTicksThenCheckedEverySecondTick) {
  // During a hand each run of the receive task without a packet counts as silence.
  c().game.HandInProgress = true;
  const size_t before = CountLines(h.TraceText(), "recv");
  for (int i = 0; i < 3; ++i) Arrive(Incoming(kTypeNoEffect));
  std::vector<size_t> received;
  std::vector<int32_t> silence;
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(Ticks(1));
    received.push_back(CountLines(h.TraceText(), "recv") - before);
    silence.push_back(c().tick.SilenceTicks);
  }
  EXPECT_EQ(received, (std::vector<size_t>{0, 1, 2, 3, 3, 3, 3, 3}));
  EXPECT_EQ(silence, (std::vector<int32_t>{0, 0, 0, 0, 0, 1, 1, 2}));
}

TEST_F(TickTest, SilenceOf3000ReceiveRunsDuringAHandGivesUpTheTable) {
  c().game.HandInProgress = true;
  SwitchTaskOn(c(), kTaskReceive);  // runs every second tick from now
  ASSERT_TRUE(Ticks(2 * 2999));
  EXPECT_EQ(c().tick.SilenceTicks, 2999);
  EXPECT_EQ(c().MainForm.window_state, WindowState::kNormal);
  const size_t restores = Commands(*h.lobby, kScRestore);
  ASSERT_TRUE(Ticks(2));
  EXPECT_EQ(c().tick.SilenceTicks, 0);
  EXPECT_EQ(c().MainForm.window_state, WindowState::kMinimized);
  EXPECT_EQ(Commands(*h.lobby, kScRestore), restores + 1);
  EXPECT_FALSE(c().game.HandInProgress);
  EXPECT_NE(c().Winsock1.State(), TcpSocket::kConnected);
}

TEST_F(TickTest, SilenceWithTheLobbyGoneEndsTheProgram) {
  c().game.HandInProgress = true;
  c().tick.SilenceTicks = kSilenceLimit - 1;
  SwitchTaskOn(c(), kTaskReceive);
  h.lobby->Close();
  EXPECT_FALSE(Ticks(2));
  ASSERT_TRUE(h.ended);
  EXPECT_NE(h.ended->find("silence"), std::string::npos) << *h.ended;
}

// --- Task 6: the turn countdown --------------------------------------------

TEST_F(TickTest, TurnCountdownIsGreenAboveFiveAndRedWithTheWarningFromFive) {
  struct Case {
    int16_t countdown;
    const char* shown;
    uint32_t colour;
    bool warning;
  };
  for (Case cs : {Case{7, "6", kGreen, false}, Case{6, "5", kRed, true}, Case{2, "1", kRed, true}}) {
    sound_mark = h.TraceText().size();
    StartTurn(cs.countdown, 0);
    ASSERT_TRUE(Ticks(19));
    EXPECT_EQ(c().tick.Countdown, cs.countdown) << "runs only after 20 ticks";
    ASSERT_TRUE(Ticks(1));
    const Element& number = c().MainForm.At("Number");
    EXPECT_EQ(number.caption, cs.shown);
    EXPECT_EQ(number.fore_color, cs.colour) << cs.shown;
    EXPECT_EQ(Sounds(), cs.warning ? std::vector<std::string>{"../common/music/tishi.wav"} : std::vector<std::string>{})
        << cs.shown;
  }
}

TEST_F(TickTest, TurnCountdownWaitsForTurnTimerAllowed) {
  StartTurn(5, 0);
  c().tick.TurnTimerAllowed = false;
  ASSERT_TRUE(Ticks(60));
  EXPECT_EQ(c().tick.Countdown, 5);
  // Its counter went on counting and starting over at 20 meanwhile.
  c().tick.TurnTimerAllowed = true;
  ASSERT_TRUE(Ticks(19));
  EXPECT_EQ(c().tick.Countdown, 5);
  ASSERT_TRUE(Ticks(1));
  EXPECT_EQ(c().tick.Countdown, 4);
}

TEST_F(TickTest, TimeoutStartsTheAutomaticPlayerOnlyWhenThePlayerHasNotActed) {
  struct Case {
    int16_t turn_state;
    int16_t hand_count;
    bool auto_mode;
    int16_t state_after;
    std::vector<bool> players;  // AutoPlayTurn calls, by their AutoMode argument
    int16_t streak_after;
  };
  for (const Case& cs : {Case{0, 13, false, 3, {false}, 1}, Case{1, 13, true, 3, {true}, 1},
                         Case{1, 0, false, 3, {}, 1}, Case{2, 13, false, 2, {}, 0}}) {
    const size_t from = h.TraceText().size();
    c().tick.TimeoutStreak = 0;
    c().tick.TimeoutLimit = 0;
    c().tick.TurnSeconds = 8;
    c().tick.AutoMode = cs.auto_mode;
    c().game.custom[0].HandCount = cs.hand_count;
    c().MainForm.At("Number").visible = c().MainForm.At("Time_Img").visible = true;
    StartTurn(0, cs.turn_state);
    ASSERT_TRUE(Ticks(20));
    const std::string label = "TurnState " + std::to_string(cs.turn_state) + ", " +
                              std::to_string(cs.hand_count) + " tiles";
    EXPECT_EQ(c().tick.TurnState, cs.state_after) << label;
    EXPECT_EQ(AutoPlayers(from), cs.players) << label;
    EXPECT_EQ(c().tick.TimeoutStreak, cs.streak_after) << label;
    const bool timed_out = cs.turn_state < 2;
    EXPECT_EQ(c().tick.TaskEnabled[kTaskTurnCountdown], !timed_out) << label;
    EXPECT_EQ(c().MainForm.At("Number").visible, !timed_out) << label;
    EXPECT_EQ(c().MainForm.At("Time_Img").visible, !timed_out) << label;
    EXPECT_EQ(c().tick.Countdown, timed_out ? 8 : 0) << label;
  }
}

TEST_F(TickTest, TimeoutsWhileHiddenOrLockedDoNotCountTowardsTheStreak) {
  c().tick.TimeoutLimit = 1;
  for (auto [hidden, locked] : {std::pair{true, false}, std::pair{false, true}}) {
    c().tick.Hidden = hidden;
    c().tick.HandLocked = locked;
    TimeOut();
    EXPECT_EQ(c().tick.TimeoutStreak, 0);
    EXPECT_EQ(c().MainForm.window_state, WindowState::kNormal);
  }
}

TEST_F(TickTest, TheThirdTimeoutInARowHidesTheClientWhenTheLimitIsThree) {
  c().tick.TimeoutLimit = 3;
  const size_t minimises = Commands(*h.lobby, kScMinimize);
  TimeOut();
  TimeOut();
  EXPECT_EQ(c().MainForm.window_state, WindowState::kNormal);
  EXPECT_FALSE(c().tick.Hidden);
  EXPECT_EQ(Commands(*h.lobby, kScMinimize), minimises);
  TimeOut();
  EXPECT_EQ(c().tick.TimeoutStreak, 3);
  EXPECT_TRUE(c().tick.Hidden);
  EXPECT_EQ(c().MainForm.window_state, WindowState::kMinimized);
  EXPECT_EQ(Commands(*h.lobby, kScMinimize), minimises + 1);
  EXPECT_EQ(c().tick.TurnSeconds, 0);
}

TEST_F(TickTest, WithTimeoutLimitZeroTimeoutsNeverHideTheClient) {
  c().tick.TimeoutLimit = 0;
  for (int i = 0; i < 5; ++i) TimeOut();
  EXPECT_EQ(c().tick.TimeoutStreak, 5);
  EXPECT_FALSE(c().tick.Hidden);
  EXPECT_EQ(c().MainForm.window_state, WindowState::kNormal);
  EXPECT_EQ(c().tick.TurnSeconds, 8);
}

// --- Task 3: blinking ------------------------------------------------------

TEST_F(TickTest, ChatButtonFlashesThreeTwoFourTimesThenStaysTwo) {
  const auto& button = c().pictures.ButtonPictures;
  ASSERT_NE(button[2], button[3]);
  c().tick.ChatFlash = 8;
  SwitchTaskOn(c(), kTaskBlink);
  std::vector<int> shown;
  for (int run = 0; run < 9; ++run) {
    ASSERT_TRUE(Ticks(8));
    const PictureRef& p = c().MainForm.At("AnNiu", 1).picture;
    ASSERT_TRUE(p);
    shown.push_back(p->id == button[3] ? 3 : p->id == button[2] ? 2 : -1);
  }
  EXPECT_EQ(shown, (std::vector<int>{3, 2, 3, 2, 3, 2, 3, 2, 2}));
}

TEST_F(TickTest, LastDiscardBlinksBlinkCountTimesThenStaysVisible) {
  Element& tile = c().MainForm.At("MJ_Image", 40);
  Element& previous = c().MainForm.At("MJ_Image", 12);
  tile.visible = true;
  previous.visible = false;
  c().game.LastDiscardSlot = 40;
  c().tick.BlinkPrevSlot = 12;  // the tile blinked before: shown again at once
  c().tick.BlinkCount = 3;
  SwitchTaskOn(c(), kTaskBlink);
  std::vector<bool> visible;
  for (int run = 0; run < 4; ++run) {
    ASSERT_TRUE(Ticks(8));
    visible.push_back(tile.visible);
  }
  EXPECT_EQ(visible, (std::vector<bool>{false, true, false, true}));
  EXPECT_TRUE(previous.visible);
  EXPECT_EQ(c().tick.BlinkPrevSlot, 40);
}

TEST_F(TickTest, BlinkSlotsOutsideTheTableAreIgnored) {
  SwitchTaskOn(c(), kTaskBlink);
  Element& previous = c().MainForm.At("MJ_Image", 5);
  for (int16_t slot : {-1, 136, 200, -7}) {
    c().game.LastDiscardSlot = slot;
    c().tick.BlinkPrevSlot = 5;
    previous.visible = false;
    c().tick.BlinkCount = 2;
    ASSERT_TRUE(Ticks(24)) << slot;
    // The blinking ran its course: the slot before is shown again.
    EXPECT_EQ(c().tick.BlinkCount, 0) << slot;
    EXPECT_EQ(c().tick.BlinkPrevSlot, slot);
    EXPECT_TRUE(previous.visible) << slot;
  }
}

// --- Task 7: the continue countdown ----------------------------------------

TEST_F(TickTest, ContinueCountdownCountsDownThenClearsTheTableAndAsksForTheNextHand) {
  // A tile on the table shows whether the table was cleared.
  Element& tile = c().MainForm.At("MJ_Image", 0);
  tile.visible = true;
  c().game.custom[0].Seat = 2;
  c().game.TableCleared = false;
  c().tick.Countdown = 2;
  SwitchTaskOn(c(), kTaskContinueCountdown);
  ASSERT_TRUE(Ticks(20));
  EXPECT_EQ(c().MainForm.At("Number").caption, "1");
  EXPECT_EQ(c().MainForm.At("Number").fore_color, kRed);
  ASSERT_TRUE(Ticks(20));
  EXPECT_EQ(c().MainForm.At("Number").caption, "0");
  EXPECT_TRUE(tile.visible);
  EXPECT_TRUE(Sounds().empty());  // no warning sound here

  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(Ticks(20));
  EXPECT_FALSE(tile.visible);
  EXPECT_TRUE(c().game.TableCleared);
  EXPECT_TRUE(c().buttons.ButtonLatched[2]);
  ASSERT_TRUE(c().MainForm.At("AnNiu", 2).picture);
  EXPECT_EQ(c().MainForm.At("AnNiu", 2).picture->id, c().pictures.ButtonPictures[6]);
  EXPECT_FALSE(c().MainForm.At("Number").visible);
  EXPECT_FALSE(c().MainForm.At("Time_Img").visible);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskContinueCountdown]);

  ASSERT_TRUE(h.RunUntilReceived(before + 1, 1000));
  ServerPacket next = h.server.Received()[before];
  EXPECT_EQ(next.type, kTypePlayerQuit);
  EXPECT_EQ(next.seat, 2);
  EXPECT_EQ(next.value, (std::array<int16_t, 4>{0, 0, 0, 1}));
}

TEST_F(TickTest, ContinueCountdownDoesNotClearATableAlreadyCleared) {
  Element& tile = c().MainForm.At("MJ_Image", 0);
  tile.visible = true;
  c().game.TableCleared = true;
  c().tick.Countdown = 0;
  SwitchTaskOn(c(), kTaskContinueCountdown);
  ASSERT_TRUE(Ticks(20));
  EXPECT_TRUE(tile.visible);
  EXPECT_EQ(SendPendingBytes(c().packets), 272);
}

// --- Task 5: the link watch ------------------------------------------------

TEST_F(TickTest, LinkLostWithTheLobbyGoneEndsTheProgram) {
  h.lobby->Close();
  h.Do([](Client& cl) { cl.Winsock1.Close(); });
  EXPECT_FALSE(Ticks(1));
  ASSERT_TRUE(h.ended);
  EXPECT_NE(h.ended->find("lobby gone"), std::string::npos) << *h.ended;
}

TEST_F(TickTest, LinkLostDuringAHandOpensTheReconnectCountdown) {
  c().game.HandInProgress = true;
  c().TimerKeepAlive.SetEnabled(false);
  h.Do([](Client& cl) { cl.Winsock1.Close(); });
  ASSERT_TRUE(Ticks(1));
  EXPECT_FALSE(c().tick.TurnTimerAllowed);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskLinkWatch]);
  EXPECT_TRUE(c().TimerKeepAlive.Enabled());
  EXPECT_TRUE(c().desktop.FindForm("frmReconnect"));
  EXPECT_TRUE(c().game.HandInProgress);
  EXPECT_EQ(c().MainForm.window_state, WindowState::kNormal);
}

TEST_F(TickTest, LinkLostOutsideAHandReturnsToTheLobby) {
  c().tick.Countdown = 5;
  SwitchTaskOn(c(), kTaskContinueCountdown);
  const size_t restores = Commands(*h.lobby, kScRestore);
  h.Do([](Client& cl) { cl.Winsock1.Close(); });
  ASSERT_TRUE(Ticks(1));
  EXPECT_EQ(c().MainForm.window_state, WindowState::kMinimized);
  EXPECT_EQ(Commands(*h.lobby, kScRestore), restores + 1);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskContinueCountdown]);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskLinkWatch]);
  EXPECT_FALSE(c().desktop.FindForm("frmReconnect"));
}

TEST_F(TickTest, LinkLostOutsideAHandAfterTheTableBrokeStaysAtTheTable) {
  c().tick.TableBroken = true;
  c().game.HandInProgress = false;
  SwitchTaskOn(c(), kTaskContinueCountdown);
  h.Do([](Client& cl) { cl.Winsock1.Close(); });
  ASSERT_TRUE(Ticks(1));
  EXPECT_EQ(c().MainForm.window_state, WindowState::kNormal);
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskContinueCountdown]);
  EXPECT_FALSE(c().game.HandInProgress);
}

// --- Task 9: speech bubbles ------------------------------------------------

TEST_F(TickTest, ABubbleIsHiddenTwoSecondsAfterItWasShownAndTheHideRepeats) {
  auto shown = [&](const char* name, int index = -1) -> bool& { return c().MainForm.At(name, index).visible; };
  auto show_all = [&] { shown("Speak", 1) = shown("tsSpeak", 1) = shown("speakFeng") = shown("Words") = true; };
  show_all();
  shown("Speak", 0) = true;  // another seat's bubble stays
  // What showing a bubble does: no task flag, only BubbleShown and the counter.
  c().tick.BubbleShown = true;
  c().tick.TaskCounter[kTaskBubbleHide] = 0;
  c().tick.BubbleSeat = 1;
  ASSERT_TRUE(Ticks(39));
  EXPECT_TRUE(shown("Speak", 1));
  ASSERT_TRUE(Ticks(1));
  for (auto [name, index] : {std::pair{"Speak", 1}, {"tsSpeak", 1}, {"speakFeng", -1}, {"Words", -1}})
    EXPECT_FALSE(shown(name, index)) << name;
  EXPECT_TRUE(shown("Speak", 0));
  EXPECT_TRUE(c().tick.BubbleShown);
  show_all();
  ASSERT_TRUE(Ticks(40));
  EXPECT_FALSE(shown("Words"));
  // Without BubbleShown nothing is hidden.
  c().tick.BubbleShown = false;
  show_all();
  ASSERT_TRUE(Ticks(80));
  EXPECT_TRUE(shown("Words"));
}

// --- The receive ring ------------------------------------------------------

TEST(ReceiveRing, HundredTwentyEightPacketsBeforeAnyIsDecodedEndTheClient) {
  ClientHarness h;
  ASSERT_TRUE(h.LogIn()) << h.ended.value_or("");
  // No tick may decode meanwhile.
  h.client->TimerBong.SetEnabled(false);
  const size_t restores = Commands(*h.lobby, kScRestore);
  std::vector<uint8_t> burst(127 * kPacketSize, 0);
  for (size_t i = 0; i < 127; ++i) burst[i * kPacketSize + kOffType] = kTypeNoEffect;
  ASSERT_TRUE(h.server.SendRaw(burst));
  ASSERT_TRUE(h.RunUntil([&] { return RecvPendingBytes(h.client->packets) == 127 * 272; }, 5000));
  EXPECT_FALSE(h.ended);

  ASSERT_TRUE(h.server.SendRaw(std::vector<uint8_t>(kPacketSize, 0)));
  h.RunUntil([&] { return h.ended.has_value(); }, 5000);
  ASSERT_TRUE(h.ended);
  EXPECT_NE(h.ended->find("overflow"), std::string::npos) << *h.ended;
  EXPECT_EQ(Commands(*h.lobby, kScRestore), restores + 1);
}

}  // namespace
}  // namespace tess::test
