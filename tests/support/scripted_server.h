// A scripted game server for tests: it listens on 127.0.0.1, accepts the
// client's connections one after another, sends whatever the test tells it
// and records every 272-byte packet the client sends.
//
// ServerPacket holds one packet as named fields, one per byte run of the
// layout; Encode and Decode are exact inverses, so a received packet keeps
// even the bytes the protocol leaves zero.
//
// ScriptedServer runs one background thread that accepts and reads; sending
// happens on the caller's thread. All members are thread-safe. The waits
// block the calling thread: use them only when the client has nothing left
// to do on its event loop, and otherwise poll ReceivedCount() from the
// loop's own wait.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tess::test {

inline constexpr size_t kPacketSize = 272;
inline constexpr size_t kBodyOffset = 16;
inline constexpr size_t kBodySize = 244;  // bytes 16-259

using PacketBytes = std::array<uint8_t, kPacketSize>;

struct ServerPacket {
  std::array<uint8_t, 2> head{};          // bytes 0-1, zero in use
  uint16_t type = 0;                      // bytes 2-3, high byte first
  uint8_t byte4 = 0;                      // byte 4, zero in use
  uint8_t aux_a = 0;                      // byte 5
  uint8_t seat = 0;                       // byte 6, all eight bits
  uint8_t aux_b = 0;                      // byte 7
  std::array<int16_t, 4> value{};         // value[i]: bytes 8+2i (high), 9+2i (low)
  std::array<uint8_t, kBodySize> body{};  // body[k] is byte 16+k
  std::array<uint8_t, 2> tag{};           // bytes 260-261, the connection tag
  std::array<uint8_t, 10> tail{};         // bytes 262-271, zero in use

  // Copies `bytes` into the body from packet offset `at` on (16 is the first
  // body byte); whatever would fall outside bytes 16-259 is left out.
  ServerPacket& Bytes(size_t at, std::span<const uint8_t> bytes);
  // The same for the bytes of `text` (no terminator is written).
  ServerPacket& Text(size_t at, std::string_view text);
  // The body bytes from packet offset `at` up to the first zero, at most
  // `max_len` of them.
  std::string TextAt(size_t at, size_t max_len) const;

  bool operator==(const ServerPacket&) const = default;
};

PacketBytes Encode(const ServerPacket& packet);
ServerPacket Decode(std::span<const uint8_t, kPacketSize> bytes);

class ScriptedServer {
 public:
  // Listens on a free port at once; Port() is 0 if that failed.
  ScriptedServer();
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  uint16_t Port() const { return port_; }

  // Write to the current connection, the one accepted last. False when
  // there is none or it is gone (or the client stopped reading for 2 s).
  bool Send(const ServerPacket& packet);
  bool SendRaw(const std::vector<uint8_t>& bytes);

  // Connections accepted so far; each reconnection counts anew.
  int Connections() const;
  bool ClientConnected() const;
  bool WaitForConnections(int n, std::chrono::milliseconds timeout);

  // Every whole packet received, over all connections, in order. Bytes short
  // of a whole packet when a connection ends are dropped; the next
  // connection starts a fresh packet.
  std::vector<ServerPacket> Received() const;
  size_t ReceivedCount() const;
  bool WaitForPackets(size_t n, std::chrono::milliseconds timeout);

  // Closes the current connection; the client sees the end of the stream.
  void CloseClient();
  // Closes the listener: connects are refused until Listen.
  void Refuse();
  // Listens again on the same port. False if the port cannot be had.
  bool Listen();
  // Closes everything and ends the thread; the destructor does it too.
  void Stop();

 private:
  enum Request : unsigned { kCloseClient = 1, kRefuse = 2, kStop = 4 };

  void Run();
  // Has the thread carry out `request` and waits until it has.
  void Ask(Request request);
  void Wake();
  void DropClient();  // with mu_ held, on the thread
  void TakePackets(const uint8_t* bytes, size_t n);

  uint16_t port_ = 0;
  int wake_[2] = {-1, -1};

  mutable std::mutex mu_;
  std::condition_variable changed_;
  int listen_fd_ = -1;
  int client_fd_ = -1;
  unsigned requests_ = 0;
  int connections_ = 0;
  std::vector<uint8_t> partial_;
  std::vector<ServerPacket> received_;

  std::thread thread_;
};

}  // namespace tess::test
