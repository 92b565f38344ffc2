// A whole client in the test's process: a fresh Client on a virtual clock,
// a scripted game server on loopback, a fake lobby window on its own
// thread, and private XDG_RUNTIME_DIR and program directories, so tests can
// run side by side. Message boxes answer themselves; the program's end
// (ProgramEnd) is caught and kept in `ended`.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/client.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "support/fake_lobby.h"
#include "support/scripted_server.h"

namespace tess::test {

class ClientHarness {
 public:
  // `lobby_title`: the fake lobby's window title; empty for no lobby.
  explicit ClientHarness(const std::string& lobby_title = "Orvane");
  ~ClientHarness();

  // A 13-field player's command line for this harness's server.
  std::string PlayerLine(const std::string& account = "alice") const;

  // Form_Load with `command_line`; false when the program ended.
  bool Start(const std::string& command_line);
  // Runs the loop for `ms` of virtual time; false once the program ended.
  bool RunFor(int64_t ms);
  // Runs until `done` or `timeout_ms` of virtual time; returns done().
  bool RunUntil(const std::function<bool()>& done, int64_t timeout_ms = 10000);
  // Runs until the server has received `n` packets in all (or the timeout).
  bool RunUntilReceived(size_t n, int64_t timeout_ms = 10000);
  // Runs `f` on the client, catching the program's end.
  bool Do(const std::function<void(Client&)>& f);

  // Logs in: starts with PlayerLine, waits for the login packet and answers
  // it with `accepted` (type 18, value(3) = 1) and `value1`.
  bool LogIn(int16_t value1 = 8);

  // The trace so far, and the file it is written to.
  std::string TraceText() const;
  const std::string& TracePath() const { return trace_path_; }

  VirtualClock clock;
  EventLoop loop{clock};
  std::string runtime_dir;
  std::string home_dir;
  std::unique_ptr<FakeLobby> lobby;
  ScriptedServer server;
  std::unique_ptr<Client> client;
  std::optional<std::string> ended;  // the exit reason once the program ended

 private:
  std::string trace_path_;
};

}  // namespace tess::test
