// A lobby window for tests, on its own thread: it binds a title on the lobby
// channel (in the XDG_RUNTIME_DIR of the test), records every message it
// receives, answers the restore and minimise commands at once, and posts the
// lobby's messages to the client when told. It speaks the channel's wire
// format with raw sockets, so it does not share the client's code.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tess::test {

struct LobbyMessage {
  uint32_t msg = 0;
  uint32_t wparam = 0;
  uint32_t lparam = 0;
};

class FakeLobby {
 public:
  explicit FakeLobby(std::string title = "Orvane");
  ~FakeLobby();  // closes and removes its window
  FakeLobby(const FakeLobby&) = delete;
  FakeLobby& operator=(const FakeLobby&) = delete;

  bool Bound() const { return fd_ >= 0; }
  // While false, commands are received but not answered (a hung lobby).
  void SetAnswering(bool on) { answering_ = on; }
  // Everything received so far, in order.
  std::vector<LobbyMessage> Received() const;
  // Just the message numbers; restore/minimise commands as 0x112.
  std::vector<uint32_t> Numbers() const;
  // Posts `msg` (parameters 0) to the window `title`; false when it is not there.
  bool PostTo(const std::string& title, uint32_t msg) const;
  // Closes the window now (the lobby goes away).
  void Close();

 private:
  void Run();
  std::string path_;
  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<bool> answering_{true};
  mutable std::mutex mu_;
  std::vector<LobbyMessage> received_;
  std::thread thread_;
};

// The socket path of a window title in the current XDG_RUNTIME_DIR.
std::string LobbyWindowPath(const std::string& title);

}  // namespace tess::test
