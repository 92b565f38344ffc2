// The local window-message channel between the client and the lobby.
//
// Every window that takes part binds a Unix-domain datagram socket at
// DIR/win-HEX, where DIR is $XDG_RUNTIME_DIR/tessaly (or /tmp/tessaly-UID
// when XDG_RUNTIME_DIR is unset; created with mode 0700) and HEX is the
// lowercase hex of the window title's UTF-8 bytes. A message is one 12-byte
// datagram: message number, wParam, lParam, each a little-endian unsigned
// 32-bit integer. Posting sends it to the peer's path, found afresh for every
// operation; a path that does not exist or refuses means "no such window".
// A synchronous send is the same datagram sent from the sender's own bound
// socket; the receiver acts on it and answers with a 12-byte datagram (same
// number and wParam, lParam = result); the sender waits for that answer,
// processing nothing else, for at most 2 seconds, and treats no answer as
// "no such window". Datagrams of another length, or from a sender the
// receiver cannot answer when an answer is due, are dropped.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/event_loop.h"

namespace tess {

struct WindowMessage {
  uint32_t msg = 0;
  uint32_t wparam = 0;
  uint32_t lparam = 0;
};

// Window-system command numbers carried by synchronous sends.
constexpr uint32_t kWmSysCommand = 0x112;
constexpr uint32_t kScRestore = 0xF120;
constexpr uint32_t kScMinimize = 0xF020;
constexpr uint32_t kScMove = 0xF012;

// The directory holding the window sockets (created on first use).
std::string LobbyChannelDir();
// DIR/win-HEX for `title`.
std::string WindowSocketPath(const std::string& title);

class LobbyChannel {
 public:
  // Binds the socket for window `title` and watches it on `loop`. A stale
  // socket file of a window that no longer exists is replaced; if another
  // live window holds the title, Bound() is false.
  LobbyChannel(EventLoop& loop, const std::string& title);
  ~LobbyChannel();  // unbinds and removes the socket file
  LobbyChannel(const LobbyChannel&) = delete;
  LobbyChannel& operator=(const LobbyChannel&) = delete;

  bool Bound() const { return fd_ >= 0; }
  const std::string& Title() const { return title_; }
  // Rebinds under a new title (the window caption changed).
  void Retitle(const std::string& title);

  // True if a window called `title` exists now.
  bool WindowExists(const std::string& title) const;
  // Posts a message; returns false if there is no such window.
  bool Post(const std::string& title, const WindowMessage& m);
  // Sends synchronously; on an answer within 2 s stores it in *result and
  // returns true; otherwise false (no such window). Only kWmSysCommand is
  // answered by a window. Needs Bound(); the 2 s are real time whatever the
  // loop's clock. Messages that arrive meanwhile reach OnMessage on the
  // loop's next pass; a send to our own title calls OnMessage directly.
  bool Send(const std::string& title, const WindowMessage& m, uint32_t* result);

  // Incoming messages (posted or sent). The return value is the answer's
  // lParam for a synchronous send; ignored for a post.
  std::function<uint32_t(const WindowMessage&)> OnMessage;

 private:
  struct Incoming {
    WindowMessage m;
    std::string from;  // the sender's socket path; empty if it has none
  };
  // An answer to a send that timed out; it is dropped if it comes later,
  // rather than taken for a new send and answered.
  struct LateAnswer {
    std::string from;
    uint32_t msg;
    uint32_t wparam;
    int64_t until_ms;
  };

  void Bind(const std::string& title);
  void Unbind();
  void OnReadable();
  void Handle(const Incoming& in);
  void Defer(Incoming in);
  void DeliverDeferred();
  bool TakeLateAnswer(const Incoming& in);

  EventLoop& loop_;
  std::string title_;
  std::string path_;
  int fd_ = -1;
  int watch_ = 0;
  std::deque<Incoming> deferred_;
  int deferred_source_ = 0;
  std::vector<LateAnswer> late_;
};

}  // namespace tess
