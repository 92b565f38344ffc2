// The TCP socket element: one client connection driven by the event loop.
//
// Connect returns at once; the connection is made in the background (host
// names are resolved too, without blocking the loop for long). State is
// polled: 7 connected, 0 closed, other values while connecting or after an
// error. A refused, unresolvable or lost connection shows only in State
// (and a lost one raises OnClose). Nothing here throws.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/event_loop.h"

namespace tess {

class TcpSocket {
 public:
  enum StateValue : int {
    kClosed = 0,
    kResolving = 5,   // looking up RemoteHost
    kConnecting = 6,
    kConnected = 7,
    kClosing = 8,     // the peer has closed; Close() not yet called
    kError = 9,
  };

  explicit TcpSocket(EventLoop& loop);
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;

  std::string RemoteHost;
  int RemotePort = 0;

  // Starts connecting to RemoteHost:RemotePort (a name or a dotted address),
  // closing any earlier connection first. Returns at once.
  void Connect();
  // Closes the connection; State becomes 0. Unsent bytes are dropped.
  void Close();
  int State() const { return state_; }

  // Queues `bytes` to go out whole and in order; what the kernel does not
  // take now goes out as the socket drains. Ignored unless connected.
  void SendData(const std::vector<uint8_t>& bytes);
  // Everything received and not yet taken, in order; empties the buffer.
  std::vector<uint8_t> GetData();
  // Bytes queued by SendData that the kernel has not taken yet.
  size_t PendingSendBytes() const { return out_.size() - out_pos_; }

  // Raised after bytes arrive (argument: how many are waiting in GetData).
  std::function<void(size_t)> OnDataArrival;
  // Raised once when the peer closes the connection or it fails after
  // being connected.
  std::function<void()> OnClose;

 private:
  void OnReady(int events);
  void StartConnect(uint32_t ipv4_be);
  void Fail(bool raise_close);
  void UpdateWatch();
  void Drain();

  EventLoop& loop_;
  int fd_ = -1;
  int watch_ = 0;
  int state_ = kClosed;
  std::vector<uint8_t> in_;
  std::vector<uint8_t> out_;
  size_t out_pos_ = 0;
};

}  // namespace tess
