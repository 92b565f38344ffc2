// The tick: all periodic work of the client runs from one 50 ms window
// timer, TimerBong. Each tick runs a fixed list of tasks, each with an
// enable flag, a counter and a threshold: send one queued packet, take and
// dispatch one received packet, send the login once the socket is up, blink
// the last discard and the chat button, count down the local turn and the
// pause before the next hand, watch the link, hide speech bubbles. Other
// modules never start periodic work of their own; they switch a task on
// (SwitchTaskOn: flag set, counter zeroed) or off and let the tick run it.
// Two single-purpose timers sit beside it: TimerKeepAlive (5 s) and
// TimerChat (0.8 s).
#pragma once

#include <array>
#include <cstdint>

namespace tess {

struct Client;

enum TickTask : int {
  kTaskSend = 0,
  kTaskReceive = 1,
  kTaskLogin = 2,
  kTaskBlink = 3,
  kTaskLinkWatch = 5,
  kTaskTurnCountdown = 6,
  kTaskContinueCountdown = 7,
  kTaskBubbleHide = 9,
  kTaskCount = 10,
};

inline constexpr int kTickMs = 50;
inline constexpr int kKeepAliveMs = 5000;
inline constexpr int kChatPauseMs = 800;
// Receive-task runs without a packet during a hand before the table is given up.
inline constexpr int32_t kSilenceLimit = 3000;

// What the tasks read and write (booleans are 16-bit, -1 true, as on the wire
// and in files; here plain bool where nothing outside the client sees them).
struct TickState {
  std::array<bool, kTaskCount> TaskEnabled{};
  std::array<int16_t, kTaskCount> TaskCounter{};

  int32_t SilenceTicks = 0;
  int16_t BlinkCount = 0;
  int16_t BlinkPrevSlot = -1;
  int16_t ChatFlash = 0;
  int16_t Countdown = 0;
  int16_t TurnSeconds = 8;
  bool AutoMode = false;
  bool TurnTimerAllowed = false;
  int16_t TurnState = 0;
  bool Hidden = false;
  bool HandLocked = false;
  int16_t TimeoutStreak = 0;
  int16_t TimeoutLimit = 0;
  bool TableBroken = false;
  bool BubbleShown = false;  // task 9's enable flag: set with TaskCounter[9] = 0 by a bubble
  int16_t BubbleSeat = 0;
  bool ChatAllowed = true;
  // Counts the returns to idle (ResetToIdle), which switch the tick off: a
  // tick during which one happened does not switch itself on again.
  uint32_t IdleResets = 0;
};

// Task k on: flag set, counter 0, so it runs after exactly its threshold.
void SwitchTaskOn(Client& c, int k);
void SwitchTaskOff(Client& c, int k);
// Every task flag and counter cleared.
void ClearAllTasks(Client& c);

// TimerBong's handler: one tick.
void TimerBong_Timer(Client& c);
// TimerKeepAlive's handler: queue a type-24 keep-alive.
void TimerKeepAlive_Timer(Client& c);
// TimerChat's handler: chat may be sent again.
void TimerChat_Timer(Client& c);

}  // namespace tess
