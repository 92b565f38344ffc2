// The wire format shared by client and game server: every message in either
// direction is one fixed block of 272 bytes, sent back to back with no
// framing, so the stream is cut into packets purely by counting bytes.
// Numbers are big-endian. This header names the byte offsets, the message
// types, and the message record (`info`) a packet carries; encoding and the
// queues are in core/packet.h.
//
//   0-1   zero            | 8-15    value(0..3), 2 bytes each
//   2-3   type (hi, lo)   | 16-259  type-specific body
//   4     zero            | 260-261 ConnectionTag
//   5,6,7 AuxA, Seat, AuxB| 262-271 zero
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tess {

inline constexpr size_t kPacketSize = 272;
using Packet = std::array<uint8_t, kPacketSize>;

// The two tag bytes every ordinary outgoing packet echoes back.
using TagBytes = std::array<uint8_t, 2>;

inline constexpr size_t kOffTypeHigh = 2;
inline constexpr size_t kOffType = 3;  // received type is read from here alone
inline constexpr size_t kOffAuxA = 5;
inline constexpr size_t kOffSeat = 6;
inline constexpr size_t kOffAuxB = 7;
inline constexpr size_t kOffValues = 8;  // value(i): high byte at 8 + 2i, low at 9 + 2i
inline constexpr size_t kOffBody = 16;
inline constexpr size_t kOffTag = 260;  // and 261

inline constexpr size_t kNameEnd = 32;          // type 3 and 21 names, type 18 account: 16..31
inline constexpr size_t kChatBytes = 200;       // type 19 text: 16..215
inline constexpr size_t kChatEnd = kOffBody + kChatBytes;
inline constexpr size_t kChatMaxChars = 100;    // an outgoing line is cut to this many characters

// Message types. Server to client unless noted.
enum MessageType : int16_t {
  kTypeDeal = 1,
  kTypeDiscard = 2,  // also sent
  kTypeSeatName = 3,
  kTypeHandStart = 4,
  kTypeDraw = 5,
  kTypeActionOffer = 6,
  kTypeClaimResult = 7,  // also sent: the answer to an offer
  kTypeNoEffect = 8,
  kTypeHandResult = 9,
  kTypeWildTile = 14,
  kTypeHandReveal = 15,  // signed parameters
  kTypePlayerQuit = 16,  // sent: continue (value(3) = 1) and leave
  kTypeSettlement = 17,  // signed parameters
  kTypeLogin = 18,       // sent: login; received: its answer
  kTypeChat = 19,        // both ways
  kTypeSeatInfo = 20,
  kTypePlayerLeft = 21,
  kTypeOtherExit = 22,
  kTypePlayerReady = 23,
  kTypeKeepAlive = 24,       // sent
  kTypeReconnect = 28,       // sent
  kTypeReconnectReply = 29,  // leaves ConnectionTag alone
  kTypeSnapshot = 40,
  kTypeRoundStart = 41,
};

// The message record: what an outgoing packet is built from and what a
// received packet is decoded into (`info`). Seat is a SeatMask as it comes
// off the wire; some handlers overwrite it with a ViewSeat.
struct MessageRecord {
  int16_t MsgType = 0;
  uint8_t AuxA = 0;
  uint8_t Seat = 0;
  uint8_t AuxB = 0;
  std::array<int16_t, 4> value{};
};

}  // namespace tess
