#include "core/packet.h"

#include <algorithm>

#include "platform/gbk.h"
#include "platform/trace.h"
#include "table/game_state.h"

namespace tess {

namespace {

constexpr int32_t kPacketBytes = static_cast<int32_t>(kPacketSize);

int32_t Pending(int32_t read_pos, int32_t write_pos) {
  return ((write_pos - read_pos) % kRingSize + kRingSize) % kRingSize;
}

int32_t Advance(int32_t pos, int32_t by) { return ((pos + by) % kRingSize + kRingSize) % kRingSize; }

// Reads and writes go through the modulo, so a position that is not a
// packet boundary still never leaves the ring.
Packet ReadRingPacket(const std::array<uint8_t, kRingSize>& ring, int32_t pos) {
  Packet p;
  size_t start = static_cast<size_t>(Advance(pos, 0));
  for (size_t i = 0; i < kPacketSize; ++i) p[i] = ring[(start + i) % kRingSize];
  return p;
}

void WriteRingPacket(std::array<uint8_t, kRingSize>& ring, int32_t pos, const Packet& p) {
  size_t start = static_cast<size_t>(Advance(pos, 0));
  for (size_t i = 0; i < kPacketSize; ++i) ring[(start + i) % kRingSize] = p[i];
}

void ArmTask(TickState& tick, int k) {
  tick.TaskEnabled[k] = true;
  tick.TaskCounter[k] = 0;
}

bool HasSignedParameters(int type) { return type == kTypeHandReveal || type == kTypeSettlement; }

// OutgoingChat's first 100 characters in GBK from offset 16. Every character
// takes one or two GBK bytes, so the text fits the 200 bytes up to 215; the
// bound only guards the packet.
void WriteChatBody(Packet& p, std::string_view utf8) {
  std::string gbk = Utf8ToGbk(Utf8Prefix(utf8, kChatMaxChars));
  size_t n = std::min(gbk.size(), kChatBytes);
  std::copy_n(gbk.begin(), n, p.begin() + kOffBody);
}

// Removes the oldest keep-alive from SendRing, moving the later packets up
// one place. Returns it, or nullopt when none is queued.
std::optional<Packet> DropOldestKeepAlive(PacketQueues& q) {
  int32_t pending = Pending(q.SendReadPos, q.SendWritePos) / kPacketBytes;
  for (int32_t i = 0; i < pending; ++i) {
    int32_t pos = Advance(q.SendReadPos, i * kPacketBytes);
    Packet p = ReadRingPacket(q.SendRing, pos);
    if (p[kOffTypeHigh] != 0 || p[kOffType] != kTypeKeepAlive) continue;
    for (int32_t j = i + 1; j < pending; ++j) {
      int32_t from = Advance(q.SendReadPos, j * kPacketBytes);
      WriteRingPacket(q.SendRing, Advance(from, -kPacketBytes), ReadRingPacket(q.SendRing, from));
    }
    q.SendWritePos = Advance(q.SendWritePos, -kPacketBytes);
    return p;
  }
  return std::nullopt;
}

}  // namespace

int32_t SendPendingBytes(const PacketQueues& q) { return Pending(q.SendReadPos, q.SendWritePos); }
int32_t RecvPendingBytes(const PacketQueues& q) { return Pending(q.RecvReadPos, q.RecvWritePos); }
bool RecvPacketPending(const PacketQueues& q) { return RecvPendingBytes(q) >= kPacketBytes; }

void EmptyRings(PacketQueues& q) {
  q.SendReadPos = q.SendWritePos = 0;
  q.RecvReadPos = q.RecvWritePos = 0;
}

Packet EncodeMessage(const MessageRecord& m, const TagBytes& tag) {
  Packet p{};
  auto type = static_cast<uint16_t>(m.MsgType);
  p[kOffTypeHigh] = static_cast<uint8_t>(type >> 8);
  p[kOffType] = static_cast<uint8_t>(type & 0xFF);
  p[kOffAuxA] = m.AuxA;
  p[kOffSeat] = m.Seat;
  p[kOffAuxB] = m.AuxB;
  for (size_t i = 0; i < m.value.size(); ++i) {
    auto v = static_cast<uint16_t>(m.value[i]);
    p[kOffValues + 2 * i] = static_cast<uint8_t>(v >> 8);
    p[kOffValues + 2 * i + 1] = static_cast<uint8_t>(v & 0xFF);
  }
  p[kOffTag] = tag[0];
  p[kOffTag + 1] = tag[1];
  return p;
}

MessageRecord DecodeMessage(const Packet& p) {
  MessageRecord m;
  m.MsgType = p[kOffType];
  m.AuxA = p[kOffAuxA];
  m.Seat = p[kOffSeat] & 0x0F;
  m.AuxB = p[kOffAuxB];
  bool is_signed = HasSignedParameters(m.MsgType);
  for (size_t i = 0; i < m.value.size(); ++i) {
    uint8_t high = p[kOffValues + 2 * i];
    uint8_t low = p[kOffValues + 2 * i + 1];
    m.value[i] = is_signed ? static_cast<int16_t>(static_cast<uint16_t>(high << 8 | low)) : low;
  }
  return m;
}

std::string ReadByteText(const Packet& p, size_t begin, size_t end) {
  std::string text;
  for (size_t i = begin; i < std::min(end, kPacketSize) && p[i] != 0; ++i) {
    if (p[i] < 0x80) {
      text += static_cast<char>(p[i]);
    } else {
      text += kGbkUndecodable;
    }
  }
  return text;
}

std::string ReadGbkText(const Packet& p, size_t begin, size_t end) {
  end = std::min(end, kPacketSize);
  size_t stop = begin;
  while (stop < end && p[stop] != 0) stop += p[stop] < 0x80 ? 1 : 2;
  stop = std::min(stop, end);
  if (stop <= begin) return {};
  return GbkToUtf8(std::string_view(reinterpret_cast<const char*>(p.data() + begin), stop - begin));
}

void RefreshConnectionTag(PacketQueues& q, const Packet& last) {
  if (last[kOffType] == kTypeReconnectReply) return;
  q.ConnectionTag = {last[kOffTag], last[kOffTag + 1]};
}

Packet BuildLeavePacket(uint8_t seat) {
  Packet p{};
  p[kOffType] = kTypePlayerQuit;
  p[kOffSeat] = seat;
  return p;
}

QueueResult QueuePacket(PacketQueues& q, TickState& tick, Trace& trace, const MessageRecord& m) {
  Packet p = EncodeMessage(m, q.ConnectionTag);
  if (m.MsgType == kTypeChat) {
    if (q.OutgoingChat.empty()) return QueueResult::kEmptyChat;
    WriteChatBody(p, q.OutgoingChat);
    q.OutgoingChat.clear();
  }
  if (SendPendingBytes(q) >= kSendRingCapacity * kPacketBytes) {
    std::optional<Packet> dropped;
    if (m.MsgType != kTypeKeepAlive) dropped = DropOldestKeepAlive(q);
    if (!dropped) {
      trace.Bytes("send_refused", p.data(), p.size());
      ArmTask(tick, kTaskSend);
      return QueueResult::kRefused;
    }
    trace.Bytes("send_dropped", dropped->data(), dropped->size());
  }
  WriteRingPacket(q.SendRing, q.SendWritePos, p);
  q.SendWritePos = Advance(q.SendWritePos, kPacketBytes);
  ArmTask(tick, kTaskSend);
  return QueueResult::kQueued;
}

std::optional<Packet> TakeSendPacket(PacketQueues& q, TickState& tick, bool connected) {
  if (SendPendingBytes(q) < kPacketBytes) {
    tick.TaskEnabled[kTaskSend] = false;
    return std::nullopt;
  }
  if (!connected) return std::nullopt;
  Packet p = ReadRingPacket(q.SendRing, q.SendReadPos);
  q.SendReadPos = Advance(q.SendReadPos, kPacketBytes);
  return p;
}

ArrivalResult Winsock1_DataArrival(PacketQueues& q, TickState& tick, std::span<const uint8_t> bytes) {
  int32_t write = Advance(q.RecvWritePos, 0);
  for (uint8_t b : bytes) {
    q.RecvRing[write] = b;
    write = write + 1 < kRingSize ? write + 1 : 0;
    q.RecvWritePos = write;
    if (write == q.RecvReadPos) return ArrivalResult::kOverflow;
  }
  ArmTask(tick, kTaskReceive);
  return ArrivalResult::kStored;
}

DecodeResult DecodeNextPacket(PacketQueues& q, GameState& gs, Trace& trace) {
  DecodeResult result;
  if (!RecvPacketPending(q)) return result;
  gs.LastPacket = ReadRingPacket(q.RecvRing, q.RecvReadPos);
  q.RecvReadPos = Advance(q.RecvReadPos, kPacketBytes);
  trace.Bytes("recv", gs.LastPacket.data(), gs.LastPacket.size());
  gs.info = DecodeMessage(gs.LastPacket);

  result.status = DecodeStatus::kDecoded;
  if (gs.info.MsgType == kTypeSeatName) {
    std::optional<int> index = SeatIndexOf(gs.info.Seat);
    if (!index) {
      result.status = DecodeStatus::kFailed;
      return result;
    }
    gs.SeatNames[*index] += ReadByteText(gs.LastPacket, kOffBody, kNameEnd);
  } else if (gs.info.MsgType == kTypeChat) {
    ChatLine line{ReadGbkText(gs.LastPacket, kOffBody, kChatEnd), ViewSeatOf(gs, gs.info.Seat)};
    if (line.sender_view) gs.info.Seat = static_cast<uint8_t>(*line.sender_view);
    result.chat = std::move(line);
  }
  return result;
}

}  // namespace tess
