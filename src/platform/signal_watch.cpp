#include "platform/signal_watch.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace tess {
namespace {

// The pipe of the watch that owns each signal, for the handler.
constexpr int kSignals = 65;
volatile sig_atomic_t g_pipe_of[kSignals];
struct PipesCleared {
  PipesCleared() {
    for (auto& fd : g_pipe_of) fd = -1;
  }
} g_pipes_cleared;

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (signal > 0 && signal < kSignals && g_pipe_of[signal] >= 0 && write(g_pipe_of[signal], &byte, 1) < 0) {
    // A full pipe already holds pending signals.
  }
  errno = saved;
}

}  // namespace

SignalWatch::SignalWatch(EventLoop& loop, std::initializer_list<int> signals, std::function<void(int)> on_signal)
    : loop_(loop), on_signal_(std::move(on_signal)) {
  if (pipe2(pipe_, O_NONBLOCK | O_CLOEXEC) != 0) {
    std::fprintf(stderr, "tessaly: signals cannot reach the program (pipe failed)\n");
    pipe_[0] = pipe_[1] = -1;
    return;
  }
  for (int s : signals) {
    if (s <= 0 || s >= kSignals) continue;
    g_pipe_of[s] = pipe_[1];
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    struct sigaction old {};
    sigaction(s, &sa, &old);
    previous_.emplace_back(s, old);
  }
  watch_id_ = loop_.WatchFd(pipe_[0], kIoReadable, [this](int) {
    unsigned char got[64];
    ssize_t n;
    while ((n = read(pipe_[0], got, sizeof got)) > 0)
      for (ssize_t i = 0; i < n; ++i) on_signal_(got[i]);
  });
}

SignalWatch::~SignalWatch() {
  if (pipe_[0] < 0) return;
  for (const auto& [s, old] : previous_) {
    sigaction(s, &old, nullptr);
    g_pipe_of[s] = -1;
  }
  loop_.UnwatchFd(watch_id_);
  close(pipe_[0]);
  close(pipe_[1]);
}

}  // namespace tess
