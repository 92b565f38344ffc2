#include "platform/event_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

namespace tess {
namespace {

struct LoopFixture : ::testing::Test {
  VirtualClock clock;
  EventLoop loop{clock};
};

TEST_F(LoopFixture, TimersFireInDueOrderAtExactVirtualTimes) {
  Timer a(loop, "a"), b(loop, "b"), c(loop, "c");
  std::vector<std::string> fired;
  a.SetInterval(50);
  b.SetInterval(120);
  c.SetInterval(50);  // same due as a: creation order breaks the tie
  a.OnTimer = [&] { fired.push_back("a@" + std::to_string(loop.NowMs())); };
  b.OnTimer = [&] { fired.push_back("b@" + std::to_string(loop.NowMs())); };
  c.OnTimer = [&] { fired.push_back("c@" + std::to_string(loop.NowMs())); };
  a.SetEnabled(true);
  b.SetEnabled(true);
  c.SetEnabled(true);
  loop.WaitProcessing(150);
  EXPECT_EQ(fired, (std::vector<std::string>{"a@50", "c@50", "a@100", "c@100", "b@120", "a@150", "c@150"}));
  EXPECT_EQ(loop.NowMs(), 150);
}

// A timer that posts work returns at once and keeps its period, even
// while the posted work waits; posted calls run in order, each on its own.
// Waits nest: the first posted wait ends once the second, inside it, has.
TEST_F(LoopFixture, PostedCallsRunAfterTheCallerReturnsAndMayWaitWhileOthersRun) {
  Timer t(loop, "t");
  t.SetInterval(100);
  std::vector<std::string> log;
  int posts = 0;
  t.OnTimer = [&] {
    const int n = ++posts;
    log.push_back("tick " + std::to_string(n) + "@" + std::to_string(loop.NowMs()));
    if (n > 2) return;
    loop.Post([&, n] {
      log.push_back("start " + std::to_string(n));
      loop.WaitProcessing(250);  // a long wait inside posted work
      log.push_back("end " + std::to_string(n));
    });
    log.push_back("posted " + std::to_string(n));
  };
  t.SetEnabled(true);
  loop.WaitProcessing(620);
  EXPECT_EQ(log, (std::vector<std::string>{"tick 1@100", "posted 1", "start 1", "tick 2@200", "posted 2", "start 2",
                                           "tick 3@300", "tick 4@400", "end 2", "end 1", "tick 5@500", "tick 6@600"}));
}

TEST_F(LoopFixture, DisabledOrZeroIntervalTimerNeverFires) {
  Timer t(loop, "t");
  int n = 0;
  t.OnTimer = [&] { ++n; };
  t.SetInterval(10);
  loop.WaitProcessing(100);
  t.SetInterval(0);
  t.SetEnabled(true);
  loop.WaitProcessing(100);
  EXPECT_EQ(n, 0);
}

TEST_F(LoopFixture, ReenablingStartsAFreshPeriod) {
  Timer t(loop, "t");
  std::vector<int64_t> at;
  t.SetInterval(100);
  t.OnTimer = [&] { at.push_back(loop.NowMs()); };
  t.SetEnabled(true);
  loop.WaitProcessing(60);
  t.SetEnabled(false);
  t.SetEnabled(true);  // off and on again: a new period from 60
  loop.WaitProcessing(100);
  EXPECT_EQ(at, (std::vector<int64_t>{160}));
}

TEST_F(LoopFixture, DoEventsInsideAHandlerRunsOtherTimersButNeverReentersItself) {
  Timer outer(loop, "outer"), inner(loop, "inner");
  int outer_depth = 0, outer_max_depth = 0, outer_runs = 0, inner_runs = 0;
  outer.SetInterval(50);
  inner.SetInterval(10);
  outer.OnTimer = [&] {
    ++outer_runs;
    outer_max_depth = std::max(outer_max_depth, ++outer_depth);
    loop.WaitProcessing(200);  // a wait that processes events, as handlers do
    --outer_depth;
  };
  inner.OnTimer = [&] { ++inner_runs; };
  outer.SetEnabled(true);
  inner.SetEnabled(true);
  loop.WaitProcessing(300);
  EXPECT_EQ(outer_max_depth, 1);
  EXPECT_GE(inner_runs, 25);  // inner kept running inside outer's wait
  EXPECT_GE(outer_runs, 2);
}

TEST_F(LoopFixture, SleepProcessesNothingAndDueTimersFireOnceAfterwards) {
  Timer t(loop, "t");
  int n = 0;
  t.SetInterval(50);
  t.OnTimer = [&] { ++n; };
  t.SetEnabled(true);
  loop.Sleep(500);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(loop.NowMs(), 500);
  loop.DoEvents();
  EXPECT_EQ(n, 1);
}

// A blocking wait inside a timer's handler (the tick dispatching a
// message): what arrives during it (descriptor data, posted calls, a timer
// falling due, a handler source) is handled only once the wait is over, in
// the order it arrived; only the watcher keeps running meanwhile.
TEST_F(LoopFixture, BlockingWaitHandlesWhatArrivesDuringItAfterwardsInOrder) {
  int p[2];
  ASSERT_EQ(pipe(p), 0);
  std::vector<std::string> log;
  int fd_watch = loop.WatchFd(p[0], kIoReadable, [&](int) {
    char buf[16];
    const ssize_t n = read(p[0], buf, sizeof buf);
    if (n > 0) log.push_back("read " + std::string(buf, static_cast<size_t>(n)) + "@" + std::to_string(loop.NowMs()));
  });
  int watcher_pumps_blocked = 0;
  bool arrived = false;
  Timer other(loop, "other");
  other.SetInterval(300);
  other.OnTimer = [&] { log.push_back("timer@" + std::to_string(loop.NowMs())); };
  loop.AddSource([&] {
    if (!loop.Blocked()) return;
    ++watcher_pumps_blocked;
    if (arrived) return;
    // Things arrive while the wait blocks: a packet, two posted messages.
    arrived = true;
    ASSERT_EQ(write(p[1], "ab", 2), 2);
    loop.Post([&] { log.push_back("posted 1@" + std::to_string(loop.NowMs())); });
    loop.Post([&] { log.push_back("posted 2@" + std::to_string(loop.NowMs())); });
  }, 10, EventLoop::SourceKind::kWatcher);
  int handler_source_runs_blocked = 0;
  loop.AddSource([&] { if (loop.Blocked()) ++handler_source_runs_blocked; }, 10);
  Timer tick(loop, "tick");
  tick.SetInterval(100);
  tick.OnTimer = [&] {
    tick.SetEnabled(false);
    log.push_back("wait from@" + std::to_string(loop.NowMs()));
    loop.WaitBlocking(1000);
    log.push_back("wait to@" + std::to_string(loop.NowMs()));
  };
  tick.SetEnabled(true);
  other.SetEnabled(true);
  loop.WaitProcessing(1200);
  // The posted calls end the pass the wait ran in; the next pass reads the
  // descriptor and fires the timer that fell due (three times) just once.
  EXPECT_EQ(log, (std::vector<std::string>{"wait from@100", "wait to@1100", "posted 1@1100", "posted 2@1100",
                                           "read ab@1100", "timer@1100"}));
  EXPECT_GE(watcher_pumps_blocked, 2) << "the window keeps painting";
  EXPECT_EQ(handler_source_runs_blocked, 0);
  EXPECT_FALSE(loop.Blocked());
  loop.UnwatchFd(fd_watch);
  close(p[0]);
  close(p[1]);
}

TEST_F(LoopFixture, TimerMayDestroyAnotherDueTimer) {
  Timer killer(loop, "killer");  // created first: fires first at equal dues
  auto victim = std::make_unique<Timer>(loop, "victim");
  int victim_runs = 0;
  killer.SetInterval(10);
  victim->SetInterval(10);
  killer.OnTimer = [&] { victim.reset(); };
  victim->OnTimer = [&] { ++victim_runs; };
  killer.SetEnabled(true);
  victim->SetEnabled(true);
  loop.WaitProcessing(10);
  EXPECT_EQ(victim_runs, 0);
}

TEST_F(LoopFixture, WaitUntilStopsAtConditionOrTimeout) {
  Timer t(loop, "t");
  int n = 0;
  t.SetInterval(100);
  t.OnTimer = [&] { ++n; };
  t.SetEnabled(true);
  EXPECT_TRUE(loop.WaitUntil([&] { return n == 3; }));
  EXPECT_EQ(loop.NowMs(), 300);
  EXPECT_FALSE(loop.WaitUntil([&] { return n == 100; }, 250));
  EXPECT_EQ(loop.NowMs(), 550);
}

TEST_F(LoopFixture, DescriptorEventsAreDispatchedBeforeVirtualTimeMoves) {
  int p[2];
  ASSERT_EQ(pipe(p), 0);
  std::string got;
  int64_t got_at = -1;
  int id = loop.WatchFd(p[0], kIoReadable, [&](int) {
    char buf[16];
    ssize_t n = read(p[0], buf, sizeof buf);
    if (n > 0) got.append(buf, n);
    got_at = loop.NowMs();
  });
  Timer t(loop, "t");
  t.SetInterval(1000);
  t.SetEnabled(true);
  ASSERT_EQ(write(p[1], "hi", 2), 2);
  loop.WaitUntil([&] { return !got.empty(); }, 5000);
  EXPECT_EQ(got, "hi");
  EXPECT_EQ(got_at, 0);
  loop.UnwatchFd(id);
  close(p[0]);
  close(p[1]);
}

// What a watcher (the renderer) relies on to skip looking at an idle
// program: every kind of handler moves the count by its start and its end,
// an entry from outside by one, and nothing else moves it.
TEST_F(LoopFixture, HandlerRunsMovesWithEveryHandlerAndStandsStillOtherwise) {
  int p[2];
  ASSERT_EQ(pipe(p), 0);
  Timer timer(loop, "t");
  timer.SetInterval(50);
  int runs = 0;
  auto handler = [&] { ++runs; };
  bool ask_watcher = false;
  bool saw_waiting_handler = false;
  loop.AddSource([&] {
    if (loop.InHandler()) saw_waiting_handler = true;
    if (!ask_watcher) return;
    ask_watcher = false;
    loop.RunHandler(handler);
  }, 10, EventLoop::SourceKind::kWatcher);
  int once_source = 0;
  int fd_watch = loop.WatchFd(p[0], kIoReadable, [&](int) {
    char c;
    ASSERT_EQ(read(p[0], &c, 1), 1);
    handler();
  });
  struct Case {
    const char* name;
    std::function<void()> arm;  // makes one handler run at the next DoEvents
  };
  const Case cases[] = {
      {"descriptor", [&] { ASSERT_EQ(write(p[1], "x", 1), 1); }},
      {"timer", [&] {
         timer.OnTimer = [&] { handler(); timer.SetEnabled(false); };
         timer.SetEnabled(true);
         clock.Advance(50);
       }},
      {"posted call", [&] { loop.Post(handler); }},
      {"posted call that waits", [&] { loop.Post([&] { handler(); loop.WaitProcessing(20); }); }},
      {"source", [&] { once_source = loop.AddSource([&] { handler(); loop.RemoveSource(once_source); }, 10); }},
      {"watcher's input", [&] { ask_watcher = true; }},
  };
  for (const Case& c : cases) {
    loop.DoEvents();
    const uint64_t before = loop.HandlerRuns();
    const int runs_before = runs;
    c.arm();
    loop.DoEvents();
    EXPECT_EQ(runs, runs_before + 1) << c.name;
    EXPECT_EQ(loop.HandlerRuns(), before + 3) << c.name << ": the entry, the start and the end";
    EXPECT_FALSE(loop.InHandler()) << c.name;
  }
  EXPECT_TRUE(saw_waiting_handler) << "a handler waiting inside the loop is still running";

  const uint64_t idle = loop.HandlerRuns();
  loop.WaitProcessing(1000);
  EXPECT_EQ(loop.HandlerRuns(), idle + 1) << "only the entry: the watcher and the disabled timer run nothing";
  loop.UnwatchFd(fd_watch);
  close(p[0]);
  close(p[1]);
}

TEST(RealLoop, WaitProcessingTakesRoughlyTheRealTime) {
  RealClock clock;
  EventLoop loop(clock);
  Timer t(loop, "t");
  int n = 0;
  t.SetInterval(20);
  t.OnTimer = [&] { ++n; };
  t.SetEnabled(true);
  loop.WaitProcessing(110);
  EXPECT_GE(clock.NowMs(), 110);
  EXPECT_GE(n, 3);  // a loaded machine may deliver a tick late, never early
  EXPECT_LE(n, 5);
}

}  // namespace
}  // namespace tess
