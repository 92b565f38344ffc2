#include "support/scripted_server.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "support/loopback.h"

namespace tess::test {

ServerPacket& ServerPacket::Bytes(size_t at, std::span<const uint8_t> bytes) {
  for (size_t k = 0; k < bytes.size(); ++k) {
    if (at + k < kBodyOffset) continue;
    const size_t i = at + k - kBodyOffset;
    if (i >= kBodySize) break;
    body[i] = bytes[k];
  }
  return *this;
}

ServerPacket& ServerPacket::Text(size_t at, std::string_view text) {
  return Bytes(at, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

std::string ServerPacket::TextAt(size_t at, size_t max_len) const {
  std::string text;
  if (at < kBodyOffset) return text;
  for (size_t i = at - kBodyOffset; i < kBodySize && text.size() < max_len && body[i] != 0; ++i)
    text.push_back(static_cast<char>(body[i]));
  return text;
}

PacketBytes Encode(const ServerPacket& p) {
  PacketBytes b{};
  std::copy(p.head.begin(), p.head.end(), b.begin());
  b[2] = static_cast<uint8_t>(p.type >> 8);
  b[3] = static_cast<uint8_t>(p.type & 0xFF);
  b[4] = p.byte4;
  b[5] = p.aux_a;
  b[6] = p.seat;
  b[7] = p.aux_b;
  for (size_t i = 0; i < p.value.size(); ++i) {
    const auto v = static_cast<uint16_t>(p.value[i]);
    b[8 + 2 * i] = static_cast<uint8_t>(v >> 8);
    b[9 + 2 * i] = static_cast<uint8_t>(v & 0xFF);
  }
  std::copy(p.body.begin(), p.body.end(), b.begin() + kBodyOffset);
  std::copy(p.tag.begin(), p.tag.end(), b.begin() + 260);
  std::copy(p.tail.begin(), p.tail.end(), b.begin() + 262);
  return b;
}

ServerPacket Decode(std::span<const uint8_t, kPacketSize> b) {
  ServerPacket p;
  std::copy(b.begin(), b.begin() + 2, p.head.begin());
  p.type = static_cast<uint16_t>(b[2] << 8 | b[3]);
  p.byte4 = b[4];
  p.aux_a = b[5];
  p.seat = b[6];
  p.aux_b = b[7];
  for (size_t i = 0; i < p.value.size(); ++i)
    p.value[i] = static_cast<int16_t>(b[8 + 2 * i] << 8 | b[9 + 2 * i]);
  std::copy(b.begin() + kBodyOffset, b.begin() + 260, p.body.begin());
  std::copy(b.begin() + 260, b.begin() + 262, p.tag.begin());
  std::copy(b.begin() + 262, b.end(), p.tail.begin());
  return p;
}

ScriptedServer::ScriptedServer() {
  if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  listen_fd_ = ListenLoopback(port_);
  if (listen_fd_ < 0) port_ = 0;
  thread_ = std::thread(&ScriptedServer::Run, this);
}

ScriptedServer::~ScriptedServer() { Stop(); }

bool ScriptedServer::Send(const ServerPacket& packet) {
  const PacketBytes bytes = Encode(packet);
  return SendRaw({bytes.begin(), bytes.end()});
}

bool ScriptedServer::SendRaw(const std::vector<uint8_t>& bytes) {
  std::lock_guard lock(mu_);
  return client_fd_ >= 0 && WriteAll(client_fd_, bytes);
}

int ScriptedServer::Connections() const {
  std::lock_guard lock(mu_);
  return connections_;
}

bool ScriptedServer::ClientConnected() const {
  std::lock_guard lock(mu_);
  return client_fd_ >= 0;
}

bool ScriptedServer::WaitForConnections(int n, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mu_);
  return changed_.wait_for(lock, timeout, [&] { return connections_ >= n; });
}

std::vector<ServerPacket> ScriptedServer::Received() const {
  std::lock_guard lock(mu_);
  return received_;
}

size_t ScriptedServer::ReceivedCount() const {
  std::lock_guard lock(mu_);
  return received_.size();
}

bool ScriptedServer::WaitForPackets(size_t n, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mu_);
  return changed_.wait_for(lock, timeout, [&] { return received_.size() >= n; });
}

void ScriptedServer::CloseClient() { Ask(kCloseClient); }

void ScriptedServer::Refuse() { Ask(kRefuse); }

bool ScriptedServer::Listen() {
  std::lock_guard lock(mu_);
  if (!thread_.joinable()) return false;
  if (listen_fd_ >= 0) return true;
  uint16_t port = port_;
  listen_fd_ = ListenLoopback(port);
  Wake();
  return listen_fd_ >= 0;
}

void ScriptedServer::Stop() {
  if (!thread_.joinable()) return;
  Ask(kStop);
  thread_.join();
  close(wake_[0]);
  close(wake_[1]);
  wake_[0] = wake_[1] = -1;
}

void ScriptedServer::Ask(Request request) {
  std::unique_lock lock(mu_);
  if (!thread_.joinable()) return;
  requests_ |= request;
  Wake();
  changed_.wait(lock, [&] { return (requests_ & request) == 0; });
}

void ScriptedServer::Wake() {
  const char byte = 1;
  [[maybe_unused]] ssize_t n = write(wake_[1], &byte, 1);  // a full pipe wakes too
}

void ScriptedServer::DropClient() {
  if (client_fd_ >= 0) close(client_fd_);
  client_fd_ = -1;
  partial_.clear();
}

void ScriptedServer::TakePackets(const uint8_t* bytes, size_t n) {
  partial_.insert(partial_.end(), bytes, bytes + n);
  size_t at = 0;
  for (; partial_.size() - at >= kPacketSize; at += kPacketSize)
    received_.push_back(Decode(std::span<const uint8_t, kPacketSize>(partial_.data() + at, kPacketSize)));
  partial_.erase(partial_.begin(), partial_.begin() + static_cast<std::ptrdiff_t>(at));
}

void ScriptedServer::Run() {
  for (;;) {
    int listen_fd;
    int client_fd;
    {
      // Only this thread closes descriptors, so the ones it polls stay valid.
      std::lock_guard lock(mu_);
      if (requests_ & (kCloseClient | kStop)) DropClient();
      if ((requests_ & (kRefuse | kStop)) && listen_fd_ >= 0) {
        close(listen_fd_);
        listen_fd_ = -1;
      }
      const bool stop = requests_ & kStop;
      if (requests_ != 0) {
        requests_ = 0;
        changed_.notify_all();
      }
      if (stop) return;
      listen_fd = listen_fd_;
      client_fd = client_fd_;
    }

    pollfd fds[3] = {{wake_[0], POLLIN, 0}, {client_fd, POLLIN, 0}, {listen_fd, POLLIN, 0}};
    if (poll(fds, 3, -1) < 0) continue;  // negative descriptors are skipped
    if (fds[0].revents) {
      char drain[64];
      while (read(wake_[0], drain, sizeof drain) > 0) {
      }
    }
    if (fds[1].revents) {
      uint8_t buf[4096];
      const ssize_t n = recv(client_fd, buf, sizeof buf, 0);
      const int err = errno;
      std::lock_guard lock(mu_);
      if (n > 0)
        TakePackets(buf, static_cast<size_t>(n));
      else if (n == 0 || err != EINTR)
        DropClient();
      changed_.notify_all();
    }
    if (fds[2].revents) {
      const int fd = AcceptWithin(listen_fd, 0);
      if (fd < 0) continue;
      // A client that stops reading fails Send instead of blocking the test.
      timeval limit{2, 0};
      setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
      std::lock_guard lock(mu_);
      DropClient();
      client_fd_ = fd;
      ++connections_;
      changed_.notify_all();
    }
  }
}

}  // namespace tess::test
