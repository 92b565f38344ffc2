#include "platform/event_loop.h"

#include <errno.h>
#include <poll.h>
#include <time.h>

#include <algorithm>

namespace tess {
namespace {

// Under a virtual clock, how long (real milliseconds) a pass listens for
// descriptors before it lets virtual time jump ahead.
constexpr int kVirtualSliceMs = 1;

}  // namespace

Timer::Timer(EventLoop& loop, std::string name)
    : loop_(loop), name_(std::move(name)), order_(loop.next_timer_order_++) {
  loop_.timers_.push_back(this);
}

Timer::~Timer() {
  auto& v = loop_.timers_;
  v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

void Timer::SetInterval(int ms) {
  interval_ms_ = ms < 0 ? 0 : ms;
  if (enabled_) due_ms_ = loop_.NowMs() + interval_ms_;
}

void Timer::SetEnabled(bool on) {
  if (on && !enabled_) due_ms_ = loop_.NowMs() + interval_ms_;
  enabled_ = on;
}

EventLoop::EventLoop(Clock& clock) : clock_(clock) {}

EventLoop::HandlerScope::HandlerScope(EventLoop& l) : loop(l) {
  ++loop.handler_runs_;
  ++loop.handler_depth_;
}

EventLoop::HandlerScope::~HandlerScope() {
  --loop.handler_depth_;
  ++loop.handler_runs_;
}

EventLoop::EntryScope::EntryScope(EventLoop& l) : loop(l) {
  if (loop.entry_depth_++ == 0) ++loop.handler_runs_;
}

EventLoop::EntryScope::~EntryScope() { --loop.entry_depth_; }

EventLoop::~EventLoop() = default;

int EventLoop::WatchFd(int fd, int events, std::function<void(int)> on_ready) {
  int id = next_id_++;
  fds_.push_back(FdWatch{id, fd, events, std::move(on_ready)});
  return id;
}

void EventLoop::SetFdEvents(int watch_id, int events) {
  for (auto& w : fds_)
    if (w.id == watch_id) w.events = events;
}

void EventLoop::UnwatchFd(int watch_id) {
  std::erase_if(fds_, [&](const FdWatch& w) { return w.id == watch_id; });
}

int EventLoop::AddSource(std::function<void()> pump, int max_wait_ms, SourceKind kind) {
  int id = next_id_++;
  sources_.push_back(Source{id, std::move(pump), max_wait_ms, kind});
  return id;
}

void EventLoop::SetSourceMaxWait(int source_id, int max_wait_ms) {
  for (auto& s : sources_)
    if (s.id == source_id) s.max_wait_ms = max_wait_ms;
}

void EventLoop::RemoveSource(int source_id) {
  std::erase_if(sources_, [&](const Source& s) { return s.id == source_id; });
}

bool EventLoop::PollFds(int timeout_ms) {
  std::vector<pollfd> pfds;
  std::vector<int> ids;
  for (const auto& w : fds_) {
    short ev = 0;
    if (w.events & kIoReadable) ev |= POLLIN;
    if (w.events & kIoWritable) ev |= POLLOUT;
    if (ev == 0) continue;
    pfds.push_back(pollfd{w.fd, ev, 0});
    ids.push_back(w.id);
  }
  if (pfds.empty()) {
    if (timeout_ms > 0) {
      timespec ts{timeout_ms / 1000, (timeout_ms % 1000) * 1000000L};
      nanosleep(&ts, nullptr);
    }
    return false;
  }
  int n = poll(pfds.data(), pfds.size(), timeout_ms);
  if (n <= 0) return false;
  bool any = false;
  for (size_t i = 0; i < pfds.size(); ++i) {
    short re = pfds[i].revents;
    if (re == 0) continue;
    int mask = 0;
    if (re & (POLLIN | POLLERR | POLLHUP | POLLNVAL)) mask |= kIoReadable;
    if (re & POLLOUT) mask |= kIoWritable;
    // A handler may have removed or replaced this watch meanwhile.
    auto it = std::find_if(fds_.begin(), fds_.end(),
                           [&](const FdWatch& w) { return w.id == ids[i]; });
    if (it == fds_.end()) continue;
    mask &= it->events | kIoReadable;
    if (mask == 0) continue;
    any = true;
    auto on_ready = it->on_ready;  // the handler may unwatch itself
    HandlerScope running(*this);
    on_ready(mask);
  }
  return any;
}

void EventLoop::PumpSources() {
  std::vector<int> ids;
  for (const auto& s : sources_) ids.push_back(s.id);
  for (int id : ids) {
    auto it = std::find_if(sources_.begin(), sources_.end(),
                           [&](const Source& s) { return s.id == id; });
    if (it == sources_.end()) continue;
    auto pump = it->pump;
    if (it->kind == SourceKind::kWatcher) {
      pump();
      continue;
    }
    HandlerScope running(*this);
    pump();
  }
}

void EventLoop::PumpWatchers() {
  std::vector<std::function<void()>> pumps;
  for (const auto& s : sources_)
    if (s.kind == SourceKind::kWatcher) pumps.push_back(s.pump);
  for (auto& pump : pumps) pump();
}

void EventLoop::RunHandler(const std::function<void()>& fn) {
  HandlerScope running(*this);
  fn();
}

void EventLoop::Post(std::function<void()> fn) { posted_.push_back(std::move(fn)); }

void EventLoop::RunPosted() {
  // Only what was posted before this pass; a call posted meanwhile waits
  // for the next pass.
  for (size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
    std::function<void()> fn = std::move(posted_.front());
    posted_.pop_front();
    HandlerScope running(*this);
    fn();
  }
}

int64_t EventLoop::NextTimerDue() const {
  // A posted call is due at once.
  int64_t next = posted_.empty() ? kForever : NowMs();
  for (const Timer* t : timers_)
    if (t->enabled_ && t->interval_ms_ > 0 && !t->running_) next = std::min(next, t->due_ms_);
  return next;
}

void EventLoop::FireDueTimers() {
  const int64_t now = NowMs();
  std::vector<Timer*> due;
  for (Timer* t : timers_)
    if (t->enabled_ && t->interval_ms_ > 0 && !t->running_ && t->due_ms_ <= now) due.push_back(t);
  std::sort(due.begin(), due.end(), [](const Timer* a, const Timer* b) {
    return a->due_ms_ != b->due_ms_ ? a->due_ms_ < b->due_ms_ : a->order_ < b->order_;
  });
  for (Timer* t : due) {
    // An earlier handler may have destroyed, disabled or re-armed this one.
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
    if (!t->enabled_ || t->running_ || t->due_ms_ > NowMs()) continue;
    t->due_ms_ += t->interval_ms_;
    if (t->due_ms_ <= NowMs()) t->due_ms_ = NowMs() + t->interval_ms_;
    struct Running {
      EventLoop& loop;
      Timer* t;
      ~Running() {
        if (std::find(loop.timers_.begin(), loop.timers_.end(), t) != loop.timers_.end())
          t->running_ = false;
      }
    } guard{*this, t};
    t->running_ = true;
    HandlerScope running(*this);
    if (t->OnTimer) t->OnTimer();
  }
}

void EventLoop::Pass(int64_t deadline_ms) {
  const int64_t now = NowMs();
  const int64_t next = std::min(deadline_ms, NextTimerDue());
  if (clock_.IsVirtual()) {
    bool dispatched = PollFds(next <= now ? 0 : kVirtualSliceMs);
    PumpSources();
    if (!dispatched && next != kForever && next > NowMs()) clock_.AdvanceTo(next);
  } else {
    int64_t wait = next == kForever ? -1 : std::max<int64_t>(0, next - now);
    for (const auto& s : sources_)
      if (wait < 0 || wait > s.max_wait_ms) wait = s.max_wait_ms;
    PollFds(static_cast<int>(std::min<int64_t>(wait, 60000)));
    PumpSources();
  }
  FireDueTimers();
  RunPosted();
}

void EventLoop::DoEvents() {
  EntryScope entry(*this);
  PollFds(0);
  PumpSources();
  FireDueTimers();
  RunPosted();
}

void EventLoop::WaitProcessing(int64_t ms) {
  EntryScope entry(*this);
  const int64_t end = NowMs() + ms;
  while (!quit_ && NowMs() < end) Pass(end);
}

bool EventLoop::WaitUntil(const std::function<bool()>& done, int64_t timeout_ms) {
  EntryScope entry(*this);
  const int64_t end = timeout_ms == kForever ? kForever : NowMs() + timeout_ms;
  while (!done()) {
    if (quit_ || NowMs() >= end) return done();
    Pass(end);
  }
  return true;
}

void EventLoop::Sleep(int64_t ms) {
  if (ms <= 0) return;
  if (clock_.IsVirtual()) {
    clock_.AdvanceTo(NowMs() + ms);
    return;
  }
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>((ms % 1000) * 1000000L)};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

void EventLoop::WaitBlocking(int64_t ms) {
  EntryScope entry(*this);
  ++blocked_depth_;
  struct Unblock {
    int& depth;
    ~Unblock() { --depth; }
  } unblock{blocked_depth_};
  const int64_t end = NowMs() + std::max<int64_t>(ms, 0);
  PumpWatchers();
  while (NowMs() < end) {
    // Real time passes in slices short enough for the watchers to keep
    // painting; virtual time jumps to the end at once.
    int64_t slice = end - NowMs();
    if (!clock_.IsVirtual())
      for (const auto& s : sources_)
        if (s.kind == SourceKind::kWatcher) slice = std::min<int64_t>(slice, std::max(s.max_wait_ms, 1));
    Sleep(slice);
    PumpWatchers();
  }
}

void EventLoop::Run() {
  EntryScope entry(*this);
  while (!quit_) Pass(kForever);
}

}  // namespace tess
