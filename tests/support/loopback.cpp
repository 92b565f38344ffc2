#include "support/loopback.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tess::test {
namespace {

// Waits for `fd` to become readable; false on timeout or error.
bool ReadableWithin(int fd, int timeout_ms) {
  pollfd p{fd, POLLIN, 0};
  int n;
  do {
    n = poll(&p, 1, timeout_ms);
  } while (n < 0 && errno == EINTR);
  return n > 0;
}

}  // namespace

int ListenLoopback(uint16_t& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof sa;
  if (bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0 || listen(fd, 8) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(sa.sin_port);
  return fd;
}

int AcceptWithin(int listen_fd, int timeout_ms) {
  if (!ReadableWithin(listen_fd, timeout_ms)) return -1;
  return accept4(listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
}

ssize_t ReadWithin(int fd, void* buffer, size_t max, int timeout_ms) {
  if (!ReadableWithin(fd, timeout_ms)) return -1;
  ssize_t n;
  do {
    n = recv(fd, buffer, max, 0);
  } while (n < 0 && errno == EINTR);
  return n;
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace tess::test
