// The practice server's connections: a TCP listener (on loopback unless told
// otherwise) and the clients it accepts, polled together on one thread.
// Bytes are cut into 272-byte packets per connection; what is sent is
// queued and written as fast as the peer reads. A peer that stops reading
// until 1 MiB waits for it is closed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/packet_format.h"

namespace tess::practice {

class Network {
 public:
  Network() = default;
  ~Network();
  Network(const Network&) = delete;
  Network& operator=(const Network&) = delete;

  // Listens on `host`:`port` (0: any free port). False with a reason in
  // `error` when that fails.
  bool Listen(const std::string& host, uint16_t port, std::string* error);
  uint16_t Port() const { return port_; }

  // Waits at most `timeout_ms` for something to happen, then accepts new
  // connections, reads and writes. Every whole packet goes to `on_packet`;
  // every connection that ended (closed by its peer, broken, or mid-packet)
  // goes to `on_closed` once.
  void Poll(int timeout_ms, const std::function<void(int conn, const Packet&)>& on_packet,
            const std::function<void(int conn)>& on_closed);
  void Send(int conn, const Packet& p);
  // Writes what can still be written at once, then closes.
  void Close(int conn);

 private:
  struct Peer {
    int id = 0;
    int fd = -1;
    std::vector<uint8_t> in;
    std::vector<uint8_t> out;
    bool closed = false;
  };
  Peer* Find(int conn);
  void Flush(Peer& p);

  int listen_fd_ = -1;
  uint16_t port_ = 0;
  int next_id_ = 1;
  std::vector<Peer> peers_;
};

}  // namespace tess::practice
