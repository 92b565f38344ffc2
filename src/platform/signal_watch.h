// Signals handled inside the event loop.
//
// A SignalWatch catches the signals it is given and hands each to its
// callback from the loop, as an ordinary event: the signal handler itself
// only writes the signal's number to a pipe the loop watches. Several
// watches may exist, each for signals of its own; destruction restores the
// actions the signals had before.
#pragma once

#include <signal.h>

#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/event_loop.h"

namespace tess {

class SignalWatch {
 public:
  // `loop` must outlive the watch. Without a pipe (a system out of file
  // descriptors) the signals keep their actions and Active() is false.
  SignalWatch(EventLoop& loop, std::initializer_list<int> signals, std::function<void(int signal)> on_signal);
  ~SignalWatch();
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  bool Active() const { return pipe_[0] >= 0; }

 private:
  EventLoop& loop_;
  std::function<void(int)> on_signal_;
  std::vector<std::pair<int, struct sigaction>> previous_;
  int pipe_[2] = {-1, -1};
  int watch_id_ = 0;
};

}  // namespace tess
