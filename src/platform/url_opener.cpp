#include "platform/url_opener.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>

namespace tess {
namespace {

constexpr const char* kOpener = "xdg-open";

}  // namespace

std::string FindOnPath(const std::string& name) {
  const char* path = getenv("PATH");
  std::stringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

bool OpenUrlWithDesktop(const std::string& url) {
  const std::string opener = FindOnPath(kOpener);
  if (opener.empty()) return false;
  // Everything the children use is made before the fork: after it, the
  // child of a process with threads may only make async-signal-safe calls.
  char* const argv[] = {const_cast<char*>(kOpener), const_cast<char*>(url.c_str()), nullptr};
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    // The middle process starts the opener and ends at once, so the opener
    // belongs to init and is reaped there.
    setsid();
    const pid_t opener_pid = fork();
    if (opener_pid == 0) {
      const int null = open("/dev/null", O_RDWR);
      if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
      }
      execv(opener.c_str(), argv);
      _exit(127);
    }
    _exit(opener_pid < 0 ? 1 : 0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace tess
