// Programs a test runs beside itself: the client binary, the lobby
// stand-in, a SOCKS5 server.
//
// A ChildProcess runs in a process group of its own, with environment
// variables added to the test's, and optionally a pipe to its standard
// input and one from its standard output (read line by line). Destruction
// stops the whole group: SIGTERM, then SIGKILL after 2 s. Every wait is
// bounded by the caller's timeout. Not thread-safe.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tess::test {

struct ChildOptions {
  std::vector<std::string> argv;  // argv[0] is the program's path
  std::vector<std::pair<std::string, std::string>> env;  // added or replaced
  bool pipe_stdin = false;
  bool pipe_stdout = false;      // otherwise standard output goes nowhere
  bool quiet_stderr = false;     // standard error goes nowhere
};

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // False when the program cannot be started.
  bool Start(const ChildOptions& options);
  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }

  // Writes `line` and a newline to its standard input.
  bool WriteLine(const std::string& line);
  // Reads its output until a line equal to `line` has come (true) or
  // `timeout_ms` has passed or the output ended (false). Every line read
  // is kept in Lines().
  bool WaitForLine(const std::string& line, int timeout_ms);
  const std::vector<std::string>& Lines() const { return lines_; }

  // The exit status once it has ended within `timeout_ms` (-1 for a
  // signal); nothing if it still runs. 0 ms only looks.
  std::optional<int> WaitExit(int timeout_ms);
  // Stops the whole group (SIGTERM, then SIGKILL after 2 s) and reaps it.
  void Stop();

 private:
  pid_t pid_ = 0;
  int stdin_fd_ = -1;
  int stdout_fd_ = -1;
  std::string partial_;
  std::vector<std::string> lines_;
};

// Runs `argv` to its end and returns its exit status, or -1. `quiet`: its
// standard error goes nowhere.
int RunProgram(const std::vector<std::string>& argv, bool quiet = false);

}  // namespace tess::test
