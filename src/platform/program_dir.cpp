#include "platform/program_dir.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>

namespace tess {
namespace {

std::string WithoutTrailingSlashes(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

std::string ExecutableDir() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  if (n <= 0 || n == static_cast<ssize_t>(sizeof buf)) return ".";
  const std::string exe(buf, static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : exe.substr(0, slash);
}

}  // namespace

std::string ProgramDir() {
  const char* home = getenv("TESSALY_HOME");
  if (home != nullptr && *home != '\0') return WithoutTrailingSlashes(home);
  return ExecutableDir();
}

std::string ProgramPath(std::string_view relative) {
  std::string rel(relative);
  std::replace(rel.begin(), rel.end(), '\\', '/');
  std::string dir = ProgramDir();
  if (dir == "/") dir.clear();
  if (rel.empty() || rel.front() != '/') rel.insert(rel.begin(), '/');
  return dir + rel;
}

}  // namespace tess
