// How the practice-table tests start a real tessaly client in automatic
// mode for one seat: its command line and environment.
#pragma once

#include <string>

#include "support/child_process.h"

namespace tess::test {

// Bot `n` of the practice server at `port`: lobby title PracticeLobbyN,
// window title PracticeBotN, offscreen and silent, message boxes answered,
// tracing to `trace`, with program directory `home` and the lobby channel
// in `runtime_dir`.
inline ChildOptions PracticeBot(const std::string& binary, const std::string& port, int n, const std::string& runtime_dir,
                                const std::string& home, const std::string& trace) {
  const std::string k = std::to_string(n);
  const std::string line = "bot" + k + "$practice$127.0.0.1$" + port + "$练习桌$0$$0$$$1$PracticeLobby" + k + "$PracticeBot" + k + "$";
  return ChildOptions{{binary, line},
                      {{"XDG_RUNTIME_DIR", runtime_dir},
                       {"SDL_VIDEODRIVER", "offscreen"},
                       {"SDL_AUDIODRIVER", "dummy"},
                       {"TESSALY_MESSAGEBOX", "auto"},
                       {"TESSALY_TRACE", trace},
                       {"TESSALY_HOME", home}},
                      false, false, true};
}

}  // namespace tess::test
