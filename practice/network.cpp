#include "network.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tess::practice {

namespace {

constexpr size_t kMaxQueued = 1 << 20;

void NonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

}  // namespace

Network::~Network() {
  for (Peer& p : peers_)
    if (p.fd >= 0) close(p.fd);
  if (listen_fd_ >= 0) close(listen_fd_);
}

bool Network::Listen(const std::string& host, uint16_t port, std::string* error) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  if (inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1) {
    *error = "not an IPv4 address: " + host;
    return false;
  }
  listen_fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int one = 1;
  setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (listen_fd_ < 0 || bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listen_fd_, 16) != 0) {
    *error = std::string("cannot listen: ") + std::strerror(errno);
    return false;
  }
  socklen_t len = sizeof addr;
  getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  NonBlocking(listen_fd_);
  return true;
}

Network::Peer* Network::Find(int conn) {
  for (Peer& p : peers_)
    if (p.id == conn && !p.closed) return &p;
  return nullptr;
}

void Network::Flush(Peer& p) {
  while (!p.out.empty()) {
    const ssize_t n = send(p.fd, p.out.data(), p.out.size(), MSG_NOSIGNAL);
    if (n <= 0) {
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
      p.closed = true;
      return;
    }
    p.out.erase(p.out.begin(), p.out.begin() + n);
  }
}

void Network::Send(int conn, const Packet& packet) {
  Peer* p = Find(conn);
  if (!p) return;
  p->out.insert(p->out.end(), packet.begin(), packet.end());
  Flush(*p);
  if (p->out.size() > kMaxQueued) p->closed = true;
}

void Network::Close(int conn) {
  Peer* p = Find(conn);
  if (!p) return;
  Flush(*p);
  shutdown(p->fd, SHUT_RDWR);
  p->closed = true;
}

void Network::Poll(int timeout_ms, const std::function<void(int, const Packet&)>& on_packet,
                   const std::function<void(int)>& on_closed) {
  std::vector<pollfd> fds;
  fds.push_back({listen_fd_, POLLIN, 0});
  for (const Peer& p : peers_) fds.push_back({p.fd, static_cast<short>(POLLIN | (p.out.empty() ? 0 : POLLOUT)), 0});
  if (poll(fds.data(), fds.size(), std::max(timeout_ms, 0)) < 0) return;

  for (size_t i = 1; i < fds.size(); ++i) {
    Peer& p = peers_[i - 1];
    if (p.closed) continue;
    if (fds[i].revents & POLLOUT) Flush(p);
    if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    uint8_t buf[4096];
    const ssize_t n = recv(p.fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) {
      p.closed = true;
      continue;
    }
    p.in.insert(p.in.end(), buf, buf + n);
    size_t used = 0;
    for (; p.in.size() - used >= kPacketSize && !p.closed; used += kPacketSize) {
      Packet packet;
      std::copy_n(p.in.begin() + static_cast<std::ptrdiff_t>(used), kPacketSize, packet.begin());
      on_packet(p.id, packet);
    }
    p.in.erase(p.in.begin(), p.in.begin() + static_cast<std::ptrdiff_t>(used));
  }
  // Ended connections leave; a partial packet dies with its connection.
  for (auto it = peers_.begin(); it != peers_.end();) {
    if (!it->closed) {
      ++it;
      continue;
    }
    close(it->fd);
    const int id = it->id;
    it = peers_.erase(it);
    on_closed(id);
  }
  if (fds[0].revents & POLLIN) {
    for (int fd; (fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
      NonBlocking(fd);
      const int one = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      peers_.push_back(Peer{next_id_++, fd, {}, {}, false});
    }
  }
}

}  // namespace tess::practice
