// The single-threaded event loop: file-descriptor watches, window timers,
// polled event sources (the window system), and the waits the client uses.
//
// Everything runs on the thread that owns the loop; nothing here is
// thread-safe. Handlers may call DoEvents (or a wait that processes events)
// from inside an event handler; a timer whose handler is still running is
// never fired again until that handler returns.
//
// Under a VirtualClock the loop moves time itself: whenever a pass finds no
// ready descriptor within a short real slice, the clock jumps to the next
// timer due (or the wait's deadline), so timers fire in due order and at
// exactly their due times.
//
// The loop also tells a watcher (the renderer) whether anything can have
// run since it last looked: only handlers and code outside the loop change
// what the program shows, and HandlerRuns counts both.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace tess {

class EventLoop;

// A window timer: while Enabled, calls OnTimer every Interval milliseconds.
// Enabling a disabled timer, or changing the interval of an enabled one,
// starts a fresh period from now. A timer with interval 0 never fires.
class Timer {
 public:
  Timer(EventLoop& loop, std::string name);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetInterval(int ms);
  int Interval() const { return interval_ms_; }
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  const std::string& Name() const { return name_; }

  std::function<void()> OnTimer;

 private:
  friend class EventLoop;
  EventLoop& loop_;
  std::string name_;
  int interval_ms_ = 0;
  bool enabled_ = false;
  bool running_ = false;
  int64_t due_ms_ = 0;
  uint64_t order_ = 0;  // creation order breaks ties between equal dues
};

enum IoEvent : int { kIoReadable = 1, kIoWritable = 2 };

class EventLoop {
 public:
  static constexpr int64_t kForever = std::numeric_limits<int64_t>::max();

  // `clock` must outlive the loop.
  explicit EventLoop(Clock& clock);
  ~EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  Clock& clock() { return clock_; }
  int64_t NowMs() const { return clock_.NowMs(); }

  // Calls on_ready(ready_events) whenever `fd` is ready for any of `events`
  // (a kIo* mask; error and hang-up count as readable). Returns a watch id.
  int WatchFd(int fd, int events, std::function<void(int)> on_ready);
  void SetFdEvents(int watch_id, int events);
  void UnwatchFd(int watch_id);

  // A source pumped on every pass (the window system's input queue). The
  // loop never blocks longer than `max_wait_ms` between two pumps. Its pump
  // is a handler run (HandlerRuns) unless it is kWatcher: one that notices
  // its own changes and asks HandlerRuns about everybody else's.
  enum class SourceKind { kHandler, kWatcher };
  int AddSource(std::function<void()> pump, int max_wait_ms, SourceKind kind = SourceKind::kHandler);
  void SetSourceMaxWait(int source_id, int max_wait_ms);
  void RemoveSource(int source_id);

  // Counts every start and every end of a handler (descriptor watch, timer,
  // posted call, source other than a watcher) and every entry into the loop
  // (DoEvents, the waits, Run) from code outside it. While the count stands
  // still and no handler is running, nothing has run that could have
  // changed the program's state.
  uint64_t HandlerRuns() const { return handler_runs_; }
  // True while a handler is running, also while it waits inside the loop.
  bool InHandler() const { return handler_depth_ > 0; }
  // Runs `fn` as a handler: how a watcher hands its own input (mouse, keys)
  // to the program's handlers.
  void RunHandler(const std::function<void()>& fn);

  // Runs `fn` on a later pass as an event of its own, after the caller has
  // returned (a window message posted to oneself). Posted calls run in
  // order; one that waits processing events lets the later ones run.
  void Post(std::function<void()> fn);

  // Processes what is pending now (descriptors, sources, due timers,
  // posted calls) once, without waiting, and returns.
  void DoEvents();

  // Processes events for `ms` milliseconds of clock time.
  void WaitProcessing(int64_t ms);

  // Processes events until done() is true or `timeout_ms` has passed;
  // returns done(). With kForever there is no limit.
  bool WaitUntil(const std::function<bool()>& done, int64_t timeout_ms = kForever);

  // Blocks for `ms` milliseconds processing nothing (timers that fall due
  // meanwhile fire afterwards, once).
  void Sleep(int64_t ms);

  // Blocks the program for `ms` milliseconds of clock time while the window
  // keeps painting: no descriptor is read, no timer fires, no posted call
  // runs and no handler source is pumped, so what arrives meanwhile (socket
  // data, lobby messages) waits where it is and is handled afterwards in
  // its order; timers that fall due meanwhile fire afterwards, once. Only
  // watcher sources are pumped, and a watcher that hands input to the
  // program leaves it queued while Blocked() (the window system keeps it
  // in order). Under a VirtualClock the time passes at once, with one pump
  // of the watchers before and one after it.
  void WaitBlocking(int64_t ms);
  // True during WaitBlocking.
  bool Blocked() const { return blocked_depth_ > 0; }

  // Processes events until Quit is called.
  void Run();
  void Quit() { quit_ = true; }
  bool QuitRequested() const { return quit_; }

 private:
  friend class Timer;
  struct FdWatch {
    int id;
    int fd;
    int events;
    std::function<void(int)> on_ready;
  };
  struct Source {
    int id;
    std::function<void()> pump;
    int max_wait_ms;
    SourceKind kind;
  };
  // A handler running: counted in HandlerRuns on entry and on return.
  struct HandlerScope {
    explicit HandlerScope(EventLoop& loop);
    ~HandlerScope();
    EventLoop& loop;
  };
  // DoEvents, a wait or Run under way: counted when code outside the loop
  // enters it.
  struct EntryScope {
    explicit EntryScope(EventLoop& loop);
    ~EntryScope();
    EventLoop& loop;
  };

  // One pass: waits for descriptors at most until `deadline_ms` (or the next
  // timer due), dispatches what is ready, pumps sources, fires due timers.
  void Pass(int64_t deadline_ms);
  // Returns true if any descriptor was dispatched.
  bool PollFds(int timeout_ms);
  void PumpSources();
  void PumpWatchers();
  void FireDueTimers();
  void RunPosted();
  int64_t NextTimerDue() const;

  Clock& clock_;
  std::vector<FdWatch> fds_;
  std::vector<Source> sources_;
  std::vector<Timer*> timers_;
  std::deque<std::function<void()>> posted_;
  int next_id_ = 1;
  uint64_t next_timer_order_ = 0;
  bool quit_ = false;
  uint64_t handler_runs_ = 0;
  int handler_depth_ = 0;
  int entry_depth_ = 0;
  int blocked_depth_ = 0;
};

}  // namespace tess
