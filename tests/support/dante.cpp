#include "support/dante.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/loopback.h"

namespace tess::test {
namespace {

constexpr int kStartMs = 5000;

}  // namespace

bool DanteInstalled() { return access(kDanted, X_OK) == 0; }

ThrowawayUser::ThrowawayUser() : name_("tessproxy" + std::to_string(getpid())) {}

ThrowawayUser::~ThrowawayUser() {
  if (created_) RunProgram({"/usr/sbin/userdel", name_});
}

bool ThrowawayUser::Create(const std::string& password) {
  RunProgram({"/usr/sbin/userdel", name_}, true);  // a leftover of a killed run
  if (RunProgram({"/usr/sbin/useradd", "--no-create-home", "--shell", "/usr/sbin/nologin", name_}) != 0)
    return false;
  created_ = true;
  FILE* chpasswd = popen("/usr/sbin/chpasswd", "w");
  if (!chpasswd) return false;
  std::fprintf(chpasswd, "%s:%s\n", name_.c_str(), password.c_str());
  return pclose(chpasswd) == 0;
}

bool Dante::Start(const std::filesystem::path& dir, const std::string& method, std::string& error) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    uint16_t port = 0;
    const int probe = ListenLoopback(port);
    if (probe < 0) break;
    close(probe);  // free again; danted takes it (or the next attempt another)
    const std::filesystem::path conf = dir / "danted.conf";
    const std::filesystem::path log = dir / "danted.log";
    std::ofstream(conf) << "logoutput: " << log.string() << "\n"
                        << "internal: 127.0.0.1 port = " << port << "\n"
                        << "external: 127.0.0.1\n"
                        << "clientmethod: none\n"
                        << "socksmethod: " << method << "\n"
                        << (geteuid() == 0 ? "user.privileged: root\nuser.unprivileged: nobody\n" : "")
                        << "client pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n}\n"
                        << "socks pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n  command: connect\n}\n";
    if (process_.Start(ChildOptions{{kDanted, "-f", conf.string()}, {}, false, false, false}) &&
        WaitListening(port)) {
      port_ = port;
      return true;
    }
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    error = "danted did not come up on port " + std::to_string(port) + ": " + text.str();
    process_.Stop();
  }
  return false;
}

bool Dante::WaitListening(uint16_t port) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
  while (std::chrono::steady_clock::now() < end) {
    if (process_.WaitExit(0)) return false;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool up = connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
    close(fd);
    if (up) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace tess::test
