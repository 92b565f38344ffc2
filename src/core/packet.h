// Packets and their two queues. Every ordinary outgoing message is encoded
// into a 272-byte packet (core/packet_format.h) and appended to SendRing by
// QueuePacket; the tick sends one per run (SendNextPacket). The socket's
// data-arrival event only appends the received bytes to RecvRing
// (Winsock1_DataArrival); the tick takes one whole packet at a time out of it
// with DecodeNextPacket, which fills info and LastPacket and decodes the
// bodies of types 3 and 19. The login and leave packets bypass SendRing
// (SendPacketDirect).
//
// Rings: 34816 bytes, exactly 128 packets, read and write positions
// advancing modulo 34816; pending = (write - read) mod 34816. Packets are
// always taken whole at multiples of 272, so a packet never straddles the
// end of a ring.
//
// SendRing bound: it holds at most 127 packets (a 128th would make write
// meet read and look empty). When it is full, QueuePacket first makes room
// by dropping the oldest queued keep-alive (type 24, which carries nothing
// but liveness); a new keep-alive, or any packet when no keep-alive is
// queued, is refused. Both the dropped and the refused packet are written to
// the trace ("send_dropped", "send_refused" with their bytes), so no packet
// disappears unrecorded. The ring fills only while the socket stays down.
//
// RecvRing overflow: when the write position meets the read position,
// Winsock1_DataArrival returns kOverflow at once; the caller restores the
// lobby window and ends the program.
//
// Decoding never reads outside the packet and always leaves RecvReadPos
// exactly 272 bytes further, also when it fails, so the next decode starts
// at the next packet boundary.
//
// Trace: every packet written to the socket is logged as "send", every
// packet taken from RecvRing as "recv".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/packet_format.h"
#include "core/tick.h"

namespace tess {

class TcpSocket;
class Trace;
struct GameState;

inline constexpr int32_t kRingSize = 34816;
inline constexpr int kSendRingCapacity = 127;  // packets

// The message box shown when a received packet cannot be decoded.
inline constexpr std::string_view kRecvErrorText = "接受数据错误，请重新入座！";

struct PacketQueues {
  std::array<uint8_t, kRingSize> SendRing{};
  int32_t SendReadPos = 0;
  int32_t SendWritePos = 0;
  std::array<uint8_t, kRingSize> RecvRing{};
  int32_t RecvReadPos = 0;
  int32_t RecvWritePos = 0;
  TagBytes ConnectionTag{};  // 0 0 at start; never reset
  std::string OutgoingChat;  // UTF-8; carried by the next type-19 packet
};

int32_t SendPendingBytes(const PacketQueues& q);
int32_t RecvPendingBytes(const PacketQueues& q);
// At least one whole packet waits in RecvRing.
bool RecvPacketPending(const PacketQueues& q);
// All four ring positions to 0: whatever is unsent or unread is dropped.
void EmptyRings(PacketQueues& q);

// The packet for `m`: type in bytes 2-3, AuxA/Seat/AuxB in 5-7, each
// value(i) as 16-bit two's complement at 8 + 2i (high) and 9 + 2i, `tag` in
// 260-261, every other byte 0.
Packet EncodeMessage(const MessageRecord& m, const TagBytes& tag);
// The record of a received packet: MsgType from byte 3 alone, Seat = byte 6
// AND 0x0F. Parameters are signed 16-bit for types 15 and 17 and only their
// low byte (0-255) for every other type.
MessageRecord DecodeMessage(const Packet& p);

// Text of bytes [begin, end) of `p` up to the first zero byte, one character
// per byte; a byte of 0x80 or more (no character on its own) gives U+FFFD.
std::string ReadByteText(const Packet& p, size_t begin, size_t end);
// GBK text of bytes [begin, end) of `p` as UTF-8, up to the first zero
// character: a byte below 0x80 is one character, a byte of 0x80 or more and
// the byte after it are one (so a zero trail byte does not end the text).
std::string ReadGbkText(const Packet& p, size_t begin, size_t end);

// Dispatch's first step: unless `last` is type 29 (byte 3), its bytes
// 260-261 become the connection tag.
void RefreshConnectionTag(PacketQueues& q, const Packet& last);

// Type 16 with only byte 6 = `seat`: leave the table. Sent directly.
Packet BuildLeavePacket(uint8_t seat);

enum class QueueResult {
  kQueued,
  kEmptyChat,  // type 19 with no OutgoingChat: nothing queued
  kRefused,    // SendRing full (see the bound above)
};

// Encodes `m` with the current ConnectionTag and appends it to SendRing. For
// type 19 the body is OutgoingChat cut to its first 100 characters, in GBK
// ("?" for what GBK cannot hold), from offset 16; OutgoingChat is emptied.
// Then switches the send task on. Callers fill Seat with custom[0].Seat and
// AuxA = AuxB = 0.
QueueResult QueuePacket(PacketQueues& q, TickState& tick, Trace& trace, const MessageRecord& m);

// The send step without the socket: fewer than 272 bytes pending -> send
// task off, nothing. Not `connected` -> nothing (the packet stays queued and
// the task stays on). Otherwise the packet at SendReadPos, taken out.
std::optional<Packet> TakeSendPacket(PacketQueues& q, TickState& tick, bool connected);
// The tick's send task: TakeSendPacket with the socket's state, then
// SendPacketDirect.
void SendNextPacket(PacketQueues& q, TickState& tick, TcpSocket& sock, Trace& trace);
// Logs `p` as "send" and hands it to the socket whole.
void SendPacketDirect(TcpSocket& sock, Trace& trace, const Packet& p);

enum class ArrivalResult { kStored, kOverflow };

// The socket's data-arrival event once the tunnel stands (during a proxy
// handshake the bytes go to the proxy instead): appends `bytes` (what
// Winsock1.GetData returned) to RecvRing in order and switches the receive
// task on. kOverflow as soon as the write position meets the read position;
// the caller then ends the program.
ArrivalResult Winsock1_DataArrival(PacketQueues& q, TickState& tick, std::span<const uint8_t> bytes);

enum class DecodeStatus {
  kNoPacket,  // fewer than 272 bytes pending; nothing changed
  kDecoded,
  kFailed,  // info and LastPacket are filled, the body could not be stored:
            // the caller shows kRecvErrorText and does not dispatch
};

// A received chat line: the text up to its first zero character, and the
// sender's ViewSeat (ViewSeatOf the packet's Seat, which is always four-bit;
// nullopt only when the local seat mask is out of range).
struct ChatLine {
  std::string text;
  std::optional<int> sender_view;
};

struct DecodeResult {
  DecodeStatus status = DecodeStatus::kNoPacket;
  std::optional<ChatLine> chat;  // type 19 only: the line to show
};

// Takes the packet at RecvReadPos (logged as "recv") into gs.LastPacket and
// gs.info. Type 3: the name in bytes 16-31 is appended to
// gs.SeatNames[SeatIndexOf(Seat)] (Seat 0 or several bits: its highest bit).
// Type 19: the text of bytes 16-215 is returned in `chat` and info.Seat
// becomes the sender's ViewSeat.
DecodeResult DecodeNextPacket(PacketQueues& q, GameState& gs, Trace& trace);

}  // namespace tess
