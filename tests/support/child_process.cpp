#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace tess::test {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// The test's environment with `extra` added or replaced.
std::vector<std::string> Environment(const std::vector<std::pair<std::string, std::string>>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const auto& [name, value] : extra) replaced = replaced || entry.rfind(name + "=", 0) == 0;
    if (!replaced) env.push_back(entry);
  }
  for (const auto& [name, value] : extra) env.push_back(name + "=" + value);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  for (auto& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

}  // namespace

bool ChildProcess::Start(const ChildOptions& options) {
  Stop();
  int in[2] = {-1, -1}, out[2] = {-1, -1};
  if (options.pipe_stdin && pipe2(in, O_CLOEXEC) != 0) return false;
  if (options.pipe_stdout && pipe2(out, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (options.pipe_stdin) posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  if (options.pipe_stdout) posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  if (options.quiet_stderr) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  std::vector<std::string> argv = options.argv;
  std::vector<std::string> env = Environment(options.env);
  const bool ok = !argv.empty() && posix_spawn(&pid_, argv[0].c_str(), &actions, &attr, Pointers(argv).data(),
                                               Pointers(env).data()) == 0;
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  for (int fd : {in[0], out[1]})
    if (fd >= 0) close(fd);
  stdin_fd_ = in[1];
  stdout_fd_ = out[0];
  if (!ok) {
    pid_ = 0;
    Stop();
  }
  return ok;
}

bool ChildProcess::WriteLine(const std::string& line) {
  if (stdin_fd_ < 0) return false;
  const std::string text = line + "\n";
  return write(stdin_fd_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

bool ChildProcess::WaitForLine(const std::string& line, int timeout_ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  size_t checked = 0;
  for (;;) {
    for (; checked < lines_.size(); ++checked)
      if (lines_[checked] == line) {
        // Later calls look only at lines that come after this one.
        lines_.erase(lines_.begin(), lines_.begin() + static_cast<long>(checked) + 1);
        return true;
      }
    if (stdout_fd_ < 0) return false;
    pollfd p{stdout_fd_, POLLIN, 0};
    if (poll(&p, 1, MsLeft(end)) <= 0) return false;
    char buf[1024];
    const ssize_t n = read(stdout_fd_, buf, sizeof buf);
    if (n <= 0) return false;
    partial_.append(buf, static_cast<size_t>(n));
    for (size_t eol; (eol = partial_.find('\n')) != std::string::npos; partial_.erase(0, eol + 1))
      lines_.push_back(partial_.substr(0, eol));
  }
}

std::optional<int> ChildProcess::WaitExit(int timeout_ms) {
  if (pid_ <= 0) return std::nullopt;
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = 0;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (MsLeft(end) == 0) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void ChildProcess::Stop() {
  if (pid_ > 0) {
    const pid_t group = pid_;
    kill(-group, SIGTERM);
    if (!WaitExit(2000)) {
      kill(-group, SIGKILL);
      waitpid(group, nullptr, 0);
      pid_ = 0;
    }
    kill(-group, SIGKILL);  // children the leader left behind
  }
  for (int* fd : {&stdin_fd_, &stdout_fd_})
    if (*fd >= 0) {
      close(*fd);
      *fd = -1;
    }
}

int RunProgram(const std::vector<std::string>& argv, bool quiet) {
  ChildProcess child;
  if (!child.Start(ChildOptions{argv, {}, false, false, quiet})) return -1;
  // Administration tools finish in well under this.
  return child.WaitExit(10000).value_or(-1);
}

}  // namespace tess::test
