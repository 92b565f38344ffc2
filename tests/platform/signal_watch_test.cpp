#include "platform/signal_watch.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/clock.h"

namespace tess {
namespace {

TEST(SignalWatch, SignalsReachTheirOwnWatchFromTheLoopAndOldActionsReturn) {
  VirtualClock clock;
  EventLoop loop(clock);
  signal(SIGUSR2, SIG_IGN);
  std::vector<int> first, second;
  {
    SignalWatch a(loop, {SIGUSR2}, [&](int s) { first.push_back(s); });
    SignalWatch b(loop, {SIGWINCH, SIGCHLD}, [&](int s) { second.push_back(s); });
    ASSERT_TRUE(a.Active() && b.Active());
    ASSERT_EQ(raise(SIGUSR2), 0);
    ASSERT_EQ(raise(SIGCHLD), 0);
    ASSERT_EQ(raise(SIGUSR2), 0);
    EXPECT_TRUE(first.empty()) << "nothing runs inside the signal handler";
    loop.DoEvents();
    EXPECT_EQ(first, (std::vector<int>{SIGUSR2, SIGUSR2}));
    EXPECT_EQ(second, (std::vector<int>{SIGCHLD}));
  }
  struct sigaction now {};
  sigaction(SIGUSR2, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_IGN);
  signal(SIGUSR2, SIG_DFL);
}

}  // namespace
}  // namespace tess
