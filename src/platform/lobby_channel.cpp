#include "platform/lobby_channel.h"

#include <errno.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tess {
namespace {

constexpr size_t kDatagramSize = 12;
constexpr int64_t kSendTimeoutMs = 2000;
// How long an answer to a timed-out send is still expected, and how many
// such answers are remembered at most.
constexpr int64_t kLateAnswerMs = 10000;
constexpr size_t kMaxLateAnswers = 8;

int64_t MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// False if `path` does not fit a socket address.
bool MakeAddress(const std::string& path, sockaddr_un* addr, socklen_t* len) {
  *addr = sockaddr_un{};
  addr->sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr->sun_path) return false;
  std::memcpy(addr->sun_path, path.data(), path.size());
  *len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size() + 1);
  return true;
}

int OpenDatagramSocket() { return socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

// 0 if a live socket is bound at `path`, else the errno of connecting to it
// (ENOENT: no file; ECONNREFUSED: a file nobody is bound to).
int ProbeError(const std::string& path) {
  sockaddr_un addr;
  socklen_t len;
  if (!MakeAddress(path, &addr, &len)) return ENAMETOOLONG;
  const int fd = OpenDatagramSocket();
  if (fd < 0) return errno;
  const int rc = connect(fd, reinterpret_cast<const sockaddr*>(&addr), len);
  const int err = rc == 0 ? 0 : errno;
  close(fd);
  return err;
}

void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetLe32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool SendDatagram(int fd, const std::string& path, const WindowMessage& m) {
  sockaddr_un addr;
  socklen_t len;
  if (fd < 0 || !MakeAddress(path, &addr, &len)) return false;
  uint8_t buf[kDatagramSize];
  PutLe32(buf, m.msg);
  PutLe32(buf + 4, m.wparam);
  PutLe32(buf + 8, m.lparam);
  const ssize_t n = sendto(fd, buf, sizeof buf, MSG_DONTWAIT | MSG_NOSIGNAL,
                           reinterpret_cast<const sockaddr*>(&addr), len);
  return n == static_cast<ssize_t>(sizeof buf);
}

enum class Received { kNothing, kDropped, kMessage };

// Takes one datagram from `fd` without waiting. Datagrams of the wrong
// length are taken and dropped.
Received ReceiveDatagram(int fd, WindowMessage* m, std::string* from) {
  uint8_t buf[kDatagramSize];
  sockaddr_un addr{};
  socklen_t len = sizeof addr;
  // MSG_TRUNC reports the datagram's real length, so a long one shows.
  const ssize_t n = recvfrom(fd, buf, sizeof buf, MSG_DONTWAIT | MSG_TRUNC,
                             reinterpret_cast<sockaddr*>(&addr), &len);
  if (n < 0) return Received::kNothing;
  if (n != static_cast<ssize_t>(sizeof buf)) return Received::kDropped;
  *m = WindowMessage{GetLe32(buf), GetLe32(buf + 4), GetLe32(buf + 8)};
  const size_t path_room = len > offsetof(sockaddr_un, sun_path)
                               ? std::min<size_t>(len - offsetof(sockaddr_un, sun_path), sizeof addr.sun_path)
                               : 0;
  // An unnamed sender has no path; an abstract one (leading zero) gets none
  // either, since answers go to socket files only.
  from->assign(addr.sun_path, strnlen(addr.sun_path, path_room));
  return Received::kMessage;
}

}  // namespace

std::string LobbyChannelDir() {
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  const std::string dir = runtime != nullptr && *runtime != '\0'
                              ? std::string(runtime) + "/tessaly"
                              : "/tmp/tessaly-" + std::to_string(getuid());
  mkdir(dir.c_str(), 0700);  // an existing directory is fine
  return dir;
}

std::string WindowSocketPath(const std::string& title) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string path = LobbyChannelDir() + "/win-";
  for (unsigned char c : title) {
    path += kHex[c >> 4];
    path += kHex[c & 0xF];
  }
  return path;
}

LobbyChannel::LobbyChannel(EventLoop& loop, const std::string& title) : loop_(loop) { Bind(title); }

LobbyChannel::~LobbyChannel() {
  if (deferred_source_ != 0) loop_.RemoveSource(deferred_source_);
  Unbind();
}

void LobbyChannel::Retitle(const std::string& title) {
  Unbind();
  Bind(title);
}

void LobbyChannel::Bind(const std::string& title) {
  title_ = title;
  path_ = WindowSocketPath(title);
  sockaddr_un addr;
  socklen_t len;
  if (!MakeAddress(path_, &addr, &len)) return;
  const int fd = OpenDatagramSocket();
  if (fd < 0) return;
  const auto* sa = reinterpret_cast<const sockaddr*>(&addr);
  if (bind(fd, sa, len) != 0) {
    // The file is in use; take it over only if nobody is bound to it.
    const bool stale = errno == EADDRINUSE && ProbeError(path_) == ECONNREFUSED;
    if (!stale || unlink(path_.c_str()) != 0 || bind(fd, sa, len) != 0) {
      close(fd);
      return;
    }
  }
  fd_ = fd;
  watch_ = loop_.WatchFd(fd_, kIoReadable, [this](int) { OnReadable(); });
}

void LobbyChannel::Unbind() {
  if (fd_ < 0) return;
  loop_.UnwatchFd(watch_);
  close(fd_);
  unlink(path_.c_str());
  fd_ = -1;
  watch_ = 0;
}

bool LobbyChannel::WindowExists(const std::string& title) const {
  return ProbeError(WindowSocketPath(title)) == 0;
}

bool LobbyChannel::Post(const std::string& title, const WindowMessage& m) {
  // From an unnamed socket: nothing can come back to it.
  const int fd = OpenDatagramSocket();
  if (fd < 0) return false;
  const bool sent = SendDatagram(fd, WindowSocketPath(title), m);
  close(fd);
  return sent;
}

bool LobbyChannel::Send(const std::string& title, const WindowMessage& m, uint32_t* result) {
  const std::string peer = WindowSocketPath(title);
  if (Bound() && peer == path_) {
    const uint32_t r = OnMessage ? OnMessage(m) : 0;
    if (result != nullptr) *result = r;
    return true;
  }
  if (!SendDatagram(fd_, peer, m)) return false;
  const int64_t deadline = MonotonicMs() + kSendTimeoutMs;
  for (int64_t left = kSendTimeoutMs; left > 0; left = deadline - MonotonicMs()) {
    Incoming in;
    const Received got = ReceiveDatagram(fd_, &in.m, &in.from);
    if (got == Received::kNothing) {
      pollfd p{fd_, POLLIN, 0};
      poll(&p, 1, static_cast<int>(left));
    } else if (got == Received::kMessage) {
      if (in.from == peer && in.m.msg == m.msg && in.m.wparam == m.wparam) {
        if (result != nullptr) *result = in.m.lparam;
        return true;
      }
      Defer(std::move(in));
    }
  }
  if (late_.size() >= kMaxLateAnswers) late_.erase(late_.begin());
  late_.push_back(LateAnswer{peer, m.msg, m.wparam, MonotonicMs() + kLateAnswerMs});
  return false;
}

void LobbyChannel::OnReadable() {
  Incoming in;
  if (ReceiveDatagram(fd_, &in.m, &in.from) != Received::kMessage) return;
  // Messages held back during a send go first.
  if (!deferred_.empty())
    Defer(std::move(in));
  else
    Handle(in);
}

void LobbyChannel::Handle(const Incoming& in) {
  if (in.m.msg != kWmSysCommand) {
    if (OnMessage) OnMessage(in.m);
    return;
  }
  if (in.from.empty() || TakeLateAnswer(in)) return;
  const uint32_t r = OnMessage ? OnMessage(in.m) : 0;
  SendDatagram(fd_, in.from, WindowMessage{in.m.msg, in.m.wparam, r});
}

void LobbyChannel::Defer(Incoming in) {
  deferred_.push_back(std::move(in));
  if (deferred_source_ == 0) deferred_source_ = loop_.AddSource([this] { DeliverDeferred(); }, 0);
}

void LobbyChannel::DeliverDeferred() {
  loop_.RemoveSource(deferred_source_);
  deferred_source_ = 0;
  while (!deferred_.empty()) {
    const Incoming in = std::move(deferred_.front());
    deferred_.pop_front();
    Handle(in);
  }
}

bool LobbyChannel::TakeLateAnswer(const Incoming& in) {
  const int64_t now = MonotonicMs();
  std::erase_if(late_, [&](const LateAnswer& a) { return a.until_ms <= now; });
  auto it = std::find_if(late_.begin(), late_.end(), [&](const LateAnswer& a) {
    return a.from == in.from && a.msg == in.m.msg && a.wparam == in.m.wparam;
  });
  if (it == late_.end()) return false;
  late_.erase(it);
  return true;
}

}  // namespace tess
