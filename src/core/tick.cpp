#include "core/tick.h"

#include <exception>

#include "autoplay/auto_play.h"
#include "core/client.h"
#include "table/table_clear.h"
#include "table/dispatcher.h"
#include "table/pictures.h"
#include "table/seats.h"
#include "core/program_end.h"

namespace tess {
namespace {

constexpr int kThreshold[kTaskCount] = {1, 2, 4, 8, 0, 1, 20, 20, 0, 40};
// Tasks in the order they run each tick.
constexpr int kRunOrder[] = {kTaskSend, kTaskReceive, kTaskLogin, kTaskBlink,
                             kTaskTurnCountdown, kTaskContinueCountdown, kTaskLinkWatch, kTaskBubbleHide};

constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kRed = 0xFF0000;

// Task 1: the silence watchdog, then one packet to the dispatcher.
void ReceiveTask(Client& c) {
  if (c.game.HandInProgress && ++c.tick.SilenceTicks >= kSilenceLimit) {
    c.tick.SilenceTicks = 0;
    if (!FindLobby(c)) EndProgram(c, "lobby gone after silence");
    ReturnToLobby(c, /*lobby_first=*/true);
  }
  if (RecvPacketPending(c.packets)) {
    if (DecodeReceived(c)) {
      if (c.game.HandInProgress) c.tick.SilenceTicks = 0;
      DispatchMessage(c);
    }
  }
  c.tick.TaskCounter[kTaskReceive] = RecvPacketPending(c.packets) ? 1 : 0;
}

// Task 3: the last discard blinks, the chat button flashes.
void BlinkTask(Client& c) {
  auto slot = [&](int s) -> Element* {
    return s >= 0 && s < kTileSlots ? c.MainForm.Find("MJ_Image", s) : nullptr;
  };
  TickState& t = c.tick;
  const int last = c.game.LastDiscardSlot;
  if (t.BlinkCount > 0) {
    --t.BlinkCount;
    if (t.BlinkPrevSlot >= 0 && t.BlinkPrevSlot != last)
      if (Element* e = slot(t.BlinkPrevSlot)) e->visible = true;
    if (Element* e = slot(last)) e->visible = !e->visible;
    t.BlinkPrevSlot = static_cast<int16_t>(last);
  } else if (Element* e = slot(last)) {
    e->visible = true;
  }
  int picture = 2;
  if (t.ChatFlash > 0) {
    --t.ChatFlash;
    if (t.ChatFlash % 2 == 1) picture = 3;
  }
  if (Element* chat = c.MainForm.Find("AnNiu", 1)) ShowButtonPicture(c, *chat, picture);
}

void ShowCountdown(Client& c, bool warn) {
  Element& number = c.MainForm.At("Number");
  number.caption = std::to_string(c.tick.Countdown);
  if (c.tick.Countdown > 5) {
    number.fore_color = kGreen;
  } else {
    number.fore_color = kRed;
    if (warn) PlayEffect(c, kEffectCountdown);
  }
}

void HideCountdown(Client& c) {
  c.MainForm.At("Time_Img").visible = false;
  c.MainForm.At("Number").visible = false;
}

// Task 6: the local player's turn.
void TurnCountdownTask(Client& c) {
  TickState& t = c.tick;
  if (t.Countdown > 0) {
    --t.Countdown;
    ShowCountdown(c, /*warn=*/true);
    return;
  }
  if (t.TurnState >= 2) return;
  t.TurnState = 3;
  if (!t.Hidden && !t.HandLocked) {
    ++t.TimeoutStreak;
    if (t.TimeoutLimit > 0 && t.TimeoutStreak >= t.TimeoutLimit) HideTable(c);
  }
  HideCountdown(c);
  t.Countdown = t.TurnSeconds;
  SwitchTaskOff(c, kTaskTurnCountdown);
  if (c.game.custom[0].HandCount <= 0) return;
  if (t.AutoMode)
    AutoPlayTurn(c);
  else
    TimeoutPlayTurn(c);
}

// Task 7: the pause before the next hand.
void ContinueCountdownTask(Client& c) {
  TickState& t = c.tick;
  if (t.Countdown > 0) {
    --t.Countdown;
    ShowCountdown(c, /*warn=*/false);
    return;
  }
  HideCountdown(c);
  if (!c.game.TableCleared) {
    if (Element* cont = c.MainForm.Find("AnNiu", 2)) ShowButtonPicture(c, *cont, kContinuePicture);
    c.buttons.ButtonLatched[2] = true;
    ClearTableForNextHand(c);
  }
  MessageRecord m;
  m.MsgType = kTypePlayerQuit;
  m.value[3] = 1;
  QueueMessage(c, m);
  SwitchTaskOff(c, kTaskContinueCountdown);
}

// Task 5: the link.
void LinkWatchTask(Client& c) {
  if (c.Winsock1.State() == TcpSocket::kConnected) return;
  if (!FindLobby(c)) EndProgram(c, "lobby gone while the link is down");
  if (c.game.HandInProgress) {
    c.tick.TurnTimerAllowed = false;
    SwitchTaskOff(c, kTaskLinkWatch);
    c.TimerKeepAlive.SetEnabled(true);
    OnLinkLostDuringHand(c);
    return;
  }
  if (!c.tick.TableBroken) ReturnToLobby(c, /*lobby_first=*/true);
  SwitchTaskOff(c, kTaskContinueCountdown);
  c.game.HandInProgress = false;
}

// Task 9: speech bubbles.
void BubbleHideTask(Client& c) {
  const int seat = c.tick.BubbleSeat;
  for (const char* name : {"Speak", "tsSpeak"})
    if (Element* e = c.MainForm.Find(name, seat)) e->visible = false;
  for (const char* name : {"speakFeng", "Words"})
    if (Element* e = c.MainForm.Find(name)) e->visible = false;
}

// Task 9's flag is BubbleShown, which the bubbles set; task 6 also needs
// TurnTimerAllowed.
bool MayRun(const TickState& t, int k) {
  if (k == kTaskBubbleHide) return t.BubbleShown;
  if (k == kTaskTurnCountdown) return t.TaskEnabled[k] && t.TurnTimerAllowed;
  return t.TaskEnabled[k];
}

void RunTask(Client& c, int k) {
  switch (k) {
    case kTaskSend: SendNextPacket(c.packets, c.tick, c.Winsock1, c.trace); break;
    case kTaskReceive: ReceiveTask(c); break;
    case kTaskLogin: SendLogin(c); break;
    case kTaskBlink: BlinkTask(c); break;
    case kTaskTurnCountdown: TurnCountdownTask(c); break;
    case kTaskContinueCountdown: ContinueCountdownTask(c); break;
    case kTaskLinkWatch: LinkWatchTask(c); break;
    case kTaskBubbleHide: BubbleHideTask(c); break;
  }
}

}  // namespace

void SwitchTaskOn(Client& c, int k) {
  c.tick.TaskEnabled[k] = true;
  c.tick.TaskCounter[k] = 0;
}

void SwitchTaskOff(Client& c, int k) { c.tick.TaskEnabled[k] = false; }

void ClearAllTasks(Client& c) {
  c.tick.TaskEnabled.fill(false);
  c.tick.TaskCounter.fill(0);
}

void TimerBong_Timer(Client& c) {
  // A task that processes pending events must not cause a nested tick.
  c.TimerBong.SetEnabled(false);
  TickState& t = c.tick;
  const uint32_t resets = t.IdleResets;
  for (int k : kRunOrder) ++t.TaskCounter[k];
  try {
    for (int k : kRunOrder) {
      if (MayRun(t, k) && t.TaskCounter[k] >= kThreshold[k]) {
        RunTask(c, k);
        // The receive task sets its own counter; every other task starts over.
        if (k != kTaskReceive) t.TaskCounter[k] = 0;
      }
      if (t.TaskCounter[k] >= kThreshold[k]) t.TaskCounter[k] = 0;
    }
  } catch (const std::exception& fault) {
    // A task's fault (the automatic player's, say) ends as the dispatcher's do.
    FaultExit(c, std::string("fault in the tick: ") + fault.what());
  }
  // Back at idle (the link lost between hands, the silence watchdog) the
  // tick stays off, as every other way to idle leaves it.
  if (t.IdleResets == resets) c.TimerBong.SetEnabled(true);
}

void TimerKeepAlive_Timer(Client& c) {
  MessageRecord m;
  m.MsgType = kTypeKeepAlive;
  QueueMessage(c, m);
}

void TimerChat_Timer(Client& c) {
  c.TimerChat.SetEnabled(false);
  c.tick.ChatAllowed = true;
}

}  // namespace tess
