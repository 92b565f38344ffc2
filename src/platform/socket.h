// The TCP socket element: one client connection driven by the event loop.
//
// Connect returns at once; the connection (IPv4) is made in the background.
// A host name is looked up on a worker thread, so the loop never waits; a
// lookup still running when the socket is closed, reconnected or destroyed
// is abandoned and its answer ignored. State is
// polled: 7 connected, 0 closed, other values while connecting or after an
// error. A refused, unresolvable or lost connection shows only in State
// (and a lost one raises OnClose). Nothing here throws.
//
// The events are raised only from the event loop's dispatch, never from
// inside a call on the socket. A handler may call any operation (Close and
// Connect included) but must not destroy the socket. The socket watches its
// descriptor for writability only while connecting or while output waits.
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
  // Closes the connection (or abandons the attempt); State becomes 0.
  // Unsent bytes and received bytes not yet taken are dropped.
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
  void StartLookup(const std::string& host);
  void OnLookupDone();
  void StartConnect(uint32_t ipv4_be);
  void OnReady(int events);
  void FinishConnect();
  void ReadAvailable();
  void Drain();
  void UpdateWatch();
  // Closes the descriptors and forgets queued output; State is left as is.
  void Release();

  EventLoop& loop_;
  int fd_ = -1;
  int watch_ = 0;
  int lookup_fd_ = -1;  // our end of the pair the lookup thread answers on
  int lookup_watch_ = 0;
  int port_ = 0;        // RemotePort as it was at Connect
  int state_ = kClosed;
  uint64_t generation_ = 0;  // bumped by Close, so handlers can tell
  std::vector<uint8_t> in_;
  std::vector<uint8_t> out_;
  size_t out_pos_ = 0;
};

}  // namespace tess
