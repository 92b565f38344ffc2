#include "platform/socket.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <exception>
#include <thread>

namespace tess {
namespace {

// How much one readiness dispatch reads at most; the rest waits for the next
// pass, so a fast sender cannot hold the loop.
constexpr size_t kReadChunk = 64 * 1024;
constexpr int kReadChunksPerPass = 16;

// Runs on its own thread: looks `host` up and writes the first IPv4 address
// (4 bytes, network order) to `answer_fd`, or nothing when the name does not
// resolve, then closes it. The socket may have given up meanwhile; the write
// then fails quietly (no SIGPIPE).
void LookUp(const std::string& host, int answer_fd) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0 && found != nullptr) {
    sockaddr_in sa{};
    std::memcpy(&sa, found->ai_addr, sizeof sa);
    send(answer_fd, &sa.sin_addr.s_addr, sizeof sa.sin_addr.s_addr, MSG_NOSIGNAL);
  }
  if (found != nullptr) freeaddrinfo(found);
  close(answer_fd);
}

}  // namespace

TcpSocket::TcpSocket(EventLoop& loop) : loop_(loop) {}

TcpSocket::~TcpSocket() { Close(); }

void TcpSocket::Connect() {
  Close();
  port_ = RemotePort;
  if (port_ < 1 || port_ > 65535) {
    state_ = kError;
    return;
  }
  in_addr addr{};
  if (inet_pton(AF_INET, RemoteHost.c_str(), &addr) == 1)
    StartConnect(addr.s_addr);
  else
    StartLookup(RemoteHost);
}

void TcpSocket::Close() {
  Release();
  in_.clear();
  state_ = kClosed;
  ++generation_;
}

void TcpSocket::SendData(const std::vector<uint8_t>& bytes) {
  if (state_ != kConnected || bytes.empty()) return;
  out_.insert(out_.end(), bytes.begin(), bytes.end());
  Drain();
}

std::vector<uint8_t> TcpSocket::GetData() {
  std::vector<uint8_t> taken;
  taken.swap(in_);
  return taken;
}

void TcpSocket::StartLookup(const std::string& host) {
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair) != 0) {
    state_ = kError;
    return;
  }
  try {
    std::thread(LookUp, host, pair[1]).detach();
  } catch (const std::exception&) {
    close(pair[0]);
    close(pair[1]);
    state_ = kError;
    return;
  }
  lookup_fd_ = pair[0];
  lookup_watch_ = loop_.WatchFd(lookup_fd_, kIoReadable, [this](int) { OnLookupDone(); });
  state_ = kResolving;
}

void TcpSocket::OnLookupDone() {
  uint32_t ipv4_be = 0;
  ssize_t n = recv(lookup_fd_, &ipv4_be, sizeof ipv4_be, 0);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
  loop_.UnwatchFd(lookup_watch_);
  lookup_watch_ = 0;
  close(lookup_fd_);
  lookup_fd_ = -1;
  if (n == static_cast<ssize_t>(sizeof ipv4_be))
    StartConnect(ipv4_be);
  else
    state_ = kError;
}

void TcpSocket::StartConnect(uint32_t ipv4_be) {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    state_ = kError;
    return;
  }
  // Packets are small and go out one per tick: do not hold them back.
  int one = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);

  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(static_cast<uint16_t>(port_));
  sa.sin_addr.s_addr = ipv4_be;
  if (connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
    state_ = kConnected;
  } else if (errno == EINPROGRESS || errno == EINTR) {
    state_ = kConnecting;
  } else {
    Release();
    state_ = kError;
    return;
  }
  watch_ = loop_.WatchFd(fd_, 0, [this](int events) { OnReady(events); });
  UpdateWatch();
}

void TcpSocket::OnReady(int events) {
  if (state_ == kConnecting) {
    FinishConnect();  // data that came with it is read on the next pass
    return;
  }
  if (state_ != kConnected) return;
  if (events & kIoWritable) Drain();
  if (events & kIoReadable) ReadAvailable();
}

void TcpSocket::FinishConnect() {
  int err = 0;
  socklen_t len = sizeof err;
  if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
  if (err != 0) {
    Release();
    state_ = kError;
    return;
  }
  state_ = kConnected;
  UpdateWatch();
}

void TcpSocket::ReadAvailable() {
  uint8_t chunk[kReadChunk];
  size_t got = 0;
  bool lost = false;
  int lost_state = kClosing;
  for (int i = 0; i < kReadChunksPerPass; ++i) {
    ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
    if (n > 0) {
      in_.insert(in_.end(), chunk, chunk + n);
      got += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    lost = true;
    if (n < 0) lost_state = kError;
    break;
  }
  if (lost) {
    Release();
    state_ = lost_state;
  }

  // A handler may Close or reconnect; OnClose then belongs to a connection
  // the caller has already given up.
  const uint64_t generation = generation_;
  if (got > 0 && OnDataArrival) {
    auto handler = OnDataArrival;
    handler(in_.size());
  }
  if (lost && generation == generation_ && OnClose) {
    auto handler = OnClose;
    handler();
  }
}

void TcpSocket::Drain() {
  while (out_pos_ < out_.size()) {
    ssize_t n = send(fd_, out_.data() + out_pos_, out_.size() - out_pos_, MSG_NOSIGNAL);
    if (n > 0) {
      out_pos_ += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      // The connection is broken. Shutting it down makes the descriptor
      // readable at end of stream, so the loss is reported from the loop
      // like any other.
      shutdown(fd_, SHUT_RDWR);
      out_.clear();
      out_pos_ = 0;
    }
    break;
  }
  if (out_pos_ == out_.size()) {
    out_.clear();
    out_pos_ = 0;
  } else if (out_pos_ > out_.size() / 2) {
    out_.erase(out_.begin(), out_.begin() + static_cast<std::ptrdiff_t>(out_pos_));
    out_pos_ = 0;
  }
  UpdateWatch();
}

void TcpSocket::UpdateWatch() {
  if (watch_ == 0) return;
  int events = kIoReadable;
  if (state_ == kConnecting) events = kIoWritable;
  else if (PendingSendBytes() > 0) events |= kIoWritable;
  loop_.SetFdEvents(watch_, events);
}

void TcpSocket::Release() {
  if (watch_ != 0) loop_.UnwatchFd(watch_);
  watch_ = 0;
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (lookup_watch_ != 0) loop_.UnwatchFd(lookup_watch_);
  lookup_watch_ = 0;
  if (lookup_fd_ >= 0) close(lookup_fd_);
  lookup_fd_ = -1;
  out_.clear();
  out_pos_ = 0;
}

}  // namespace tess
