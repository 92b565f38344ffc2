#include "support/fake_lobby.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace tess::test {
namespace {

constexpr uint32_t kSysCommand = 0x112;

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t Get32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

sockaddr_un Address(const std::string& path) {
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
  return a;
}

}  // namespace

std::string LobbyWindowPath(const std::string& title) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string dir = runtime && *runtime ? std::string(runtime) + "/tessaly" : "/tmp/tessaly-" + std::to_string(getuid());
  mkdir(dir.c_str(), 0700);
  static const char kHex[] = "0123456789abcdef";
  std::string path = dir + "/win-";
  for (unsigned char c : title) {
    path += kHex[c >> 4];
    path += kHex[c & 15];
  }
  return path;
}

FakeLobby::FakeLobby(std::string title) : path_(LobbyWindowPath(title)) {
  unlink(path_.c_str());
  fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_un a = Address(path_);
  if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd_);
    fd_ = -1;
  }
  if (fd_ >= 0) thread_ = std::thread([this] { Run(); });
}

FakeLobby::~FakeLobby() { Close(); }

void FakeLobby::Close() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
    unlink(path_.c_str());
  }
}

void FakeLobby::Run() {
  while (!stop_) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    uint8_t buf[64];
    sockaddr_un from{};
    socklen_t from_len = sizeof from;
    ssize_t n = recvfrom(fd_, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &from_len);
    if (n != 12) continue;
    LobbyMessage m{Get32(buf), Get32(buf + 4), Get32(buf + 8)};
    {
      std::lock_guard<std::mutex> lock(mu_);
      received_.push_back(m);
    }
    if (m.msg == kSysCommand && answering_ && from_len > sizeof(sa_family_t)) {
      uint8_t answer[12];
      Put32(answer, m.msg);
      Put32(answer + 4, m.wparam);
      Put32(answer + 8, 0);
      sendto(fd_, answer, sizeof answer, 0, reinterpret_cast<sockaddr*>(&from), from_len);
    }
  }
}

std::vector<LobbyMessage> FakeLobby::Received() const {
  std::lock_guard<std::mutex> lock(mu_);
  return received_;
}

std::vector<uint32_t> FakeLobby::Numbers() const {
  std::vector<uint32_t> out;
  for (const auto& m : Received()) out.push_back(m.msg);
  return out;
}

bool FakeLobby::PostTo(const std::string& title, uint32_t msg) const {
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  uint8_t buf[12];
  Put32(buf, msg);
  Put32(buf + 4, 0);
  Put32(buf + 8, 0);
  sockaddr_un a = Address(LobbyWindowPath(title));
  bool ok = sendto(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&a), sizeof a) == 12;
  close(fd);
  return ok;
}

}  // namespace tess::test
