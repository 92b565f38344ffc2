#include "core/packet.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/gbk.h"
#include "platform/socket.h"
#include "platform/trace.h"
#include "support/scripted_server.h"
#include "table/game_state.h"

namespace tess {
namespace {

MessageRecord Message(int16_t type, std::array<int16_t, 4> value = {}, uint8_t seat = 1) {
  MessageRecord m;
  m.MsgType = type;
  m.Seat = seat;
  m.value = value;
  return m;
}

Packet Incoming(uint8_t type, uint8_t seat, std::string_view body = {}) {
  Packet p{};
  p[kOffType] = type;
  p[kOffSeat] = seat;
  std::copy(body.begin(), body.end(), p.begin() + kOffBody);
  return p;
}

std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class PacketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The process id keeps two runs of the suite side by side apart.
    trace_path_ = ::testing::TempDir() + "packet_test_" + std::to_string(getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".trace";
    std::remove(trace_path_.c_str());
    trace_ = std::make_unique<Trace>(clock_, trace_path_);
    gs_.custom[0].Seat = 2;  // local SeatIndex 1
  }

  // Every trace line whose event is `ev`.
  std::vector<std::string> TraceLines(std::string_view ev) const {
    std::ifstream in(trace_path_);
    std::vector<std::string> lines;
    std::string needle = "\"ev\":\"" + std::string(ev) + "\"";
    for (std::string line; std::getline(in, line);) {
      if (line.find(needle) != std::string::npos) lines.push_back(line);
    }
    return lines;
  }

  static std::string Hex(const Packet& p) {
    static const char kHex[] = "0123456789abcdef";
    std::string s;
    for (uint8_t b : p) {
      s += kHex[b >> 4];
      s += kHex[b & 15];
    }
    return s;
  }

  ArrivalResult Arrive(std::span<const uint8_t> bytes) { return Winsock1_DataArrival(q_, tick_, bytes); }
  ArrivalResult Arrive(const Packet& p) { return Arrive(std::span<const uint8_t>(p)); }
  DecodeResult Decode() { return DecodeNextPacket(q_, gs_, *trace_); }
  QueueResult Queue(const MessageRecord& m) { return QueuePacket(q_, tick_, *trace_, m); }

  // The type byte and value(0) of every packet queued, taken in order.
  std::vector<std::pair<int, int>> DrainSendRing() {
    std::vector<std::pair<int, int>> out;
    while (std::optional<Packet> p = TakeSendPacket(q_, tick_, true)) out.emplace_back((*p)[kOffType], (*p)[9]);
    return out;
  }

  VirtualClock clock_;
  std::string trace_path_;
  std::unique_ptr<Trace> trace_;
  PacketQueues q_;
  GameState gs_;
  TickState tick_;
};

// --- Encoding and decoding the header --------------------------------------

TEST_F(PacketTest, EncodesTypeSeatParametersAndTagAndNothingElse) {
  MessageRecord m = Message(7, {300, -2, -1, 1}, 8);
  Packet p = EncodeMessage(m, {0xAB, 0xCD});
  Packet expected{};
  expected[3] = 7;
  expected[6] = 8;
  const uint8_t values[] = {0x01, 0x2C, 0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01};
  std::copy(std::begin(values), std::end(values), expected.begin() + 8);
  expected[260] = 0xAB;
  expected[261] = 0xCD;
  EXPECT_EQ(p, expected);
}

TEST_F(PacketTest, ParametersAreSignedOnlyForTypes15And17) {
  struct Case {
    uint8_t type;
    int16_t expected;
  };
  for (Case c : {Case{15, -2}, Case{17, -2}, Case{2, 254}, Case{19, 254}, Case{16, 254}}) {
    Packet p = EncodeMessage(Message(c.type, {0, -2, 0, 0}), {});
    ASSERT_EQ(p[10], 0xFF);
    ASSERT_EQ(p[11], 0xFE);
    EXPECT_EQ(DecodeMessage(p).value[1], c.expected) << "type " << int(c.type);
  }
  // 300 = 01 2C: only the low byte counts outside 15 and 17.
  Packet p = EncodeMessage(Message(4, {300, 0, 0, 0}), {});
  EXPECT_EQ(DecodeMessage(p).value[0], 0x2C);
}

TEST_F(PacketTest, ReceivedTypeIsByte3AloneAndSeatItsLowNibble) {
  Packet p = Incoming(5, 0xF4);
  p[kOffTypeHigh] = 0x01;
  p[kOffAuxA] = 9;
  p[kOffAuxB] = 11;
  MessageRecord m = DecodeMessage(p);
  EXPECT_EQ(m.MsgType, 5);
  EXPECT_EQ(m.Seat, 4);
  EXPECT_EQ(m.AuxA, 9);
  EXPECT_EQ(m.AuxB, 11);
}

TEST_F(PacketTest, LeavePacketCarriesOnlyTypeAndSeat) {
  Packet expected{};
  expected[3] = 16;
  expected[6] = 4;
  EXPECT_EQ(BuildLeavePacket(4), expected);
}

// --- Connection tag --------------------------------------------------------

TEST_F(PacketTest, EveryTypeButTheReconnectAnswerReplacesTheTag) {
  Packet first = Incoming(4, 1);
  first[260] = 0x12;
  first[261] = 0x34;
  RefreshConnectionTag(q_, first);
  EXPECT_EQ(q_.ConnectionTag, (TagBytes{0x12, 0x34}));

  Packet reconnect = Incoming(kTypeReconnectReply, 1);
  reconnect[260] = 0x99;
  reconnect[261] = 0x98;
  RefreshConnectionTag(q_, reconnect);
  EXPECT_EQ(q_.ConnectionTag, (TagBytes{0x12, 0x34}));

  ASSERT_EQ(Queue(Message(kTypeKeepAlive)), QueueResult::kQueued);
  Packet sent = *TakeSendPacket(q_, tick_, true);
  EXPECT_EQ(sent[260], 0x12);
  EXPECT_EQ(sent[261], 0x34);
}

// --- Chat body -------------------------------------------------------------

TEST_F(PacketTest, ChatOf101CharactersIsSentAsItsFirst100) {
  q_.OutgoingChat = Repeat("abcdefghij", 10) + "Z";
  ASSERT_EQ(Queue(Message(kTypeChat)), QueueResult::kQueued);
  EXPECT_TRUE(q_.OutgoingChat.empty());
  Packet p = *TakeSendPacket(q_, tick_, true);
  EXPECT_EQ(ReadByteText(p, 16, 260), Repeat("abcdefghij", 10));
}

TEST_F(PacketTest, HundredDoubleByteCharactersFillOffsets16To215) {
  q_.OutgoingChat = Repeat("中", 101);
  ASSERT_EQ(Queue(Message(kTypeChat, {0, 0, 97, 3})), QueueResult::kQueued);
  Packet p = *TakeSendPacket(q_, tick_, true);
  for (size_t i = 16; i < 216; i += 2) {
    ASSERT_EQ(p[i], 0xD6) << i;
    ASSERT_EQ(p[i + 1], 0xD0) << i;
  }
  for (size_t i = 216; i < 260; ++i) EXPECT_EQ(p[i], 0) << i;
  for (size_t i = 262; i < 272; ++i) EXPECT_EQ(p[i], 0) << i;
  EXPECT_EQ(p[13], 97);
  EXPECT_EQ(p[15], 3);
}

TEST_F(PacketTest, ChatCharactersGbkCannotHoldAreSentAsQuestionMarks) {
  q_.OutgoingChat = "a\xF0\x9F\x98\x80\xE4\xB8\xAD";  // "a", an emoji, "中"
  ASSERT_EQ(Queue(Message(kTypeChat)), QueueResult::kQueued);
  Packet p = *TakeSendPacket(q_, tick_, true);
  const uint8_t expected[] = {'a', '?', 0xD6, 0xD0, 0};
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), p.begin() + 16));
}

TEST_F(PacketTest, EmptyChatQueuesNothingAndLeavesTheSendTaskOff) {
  EXPECT_EQ(Queue(Message(kTypeChat)), QueueResult::kEmptyChat);
  EXPECT_EQ(SendPendingBytes(q_), 0);
  EXPECT_FALSE(tick_.TaskEnabled[kTaskSend]);
}

// --- Send ring -------------------------------------------------------------

TEST_F(PacketTest, QueuedPacketWaitsForTheSocketThenGoesOutOnce) {
  tick_.TaskCounter[kTaskSend] = 5;
  ASSERT_EQ(Queue(Message(2, {1, 2, 3, 4})), QueueResult::kQueued);
  EXPECT_TRUE(tick_.TaskEnabled[kTaskSend]);
  EXPECT_EQ(tick_.TaskCounter[kTaskSend], 0);

  EXPECT_FALSE(TakeSendPacket(q_, tick_, false));
  EXPECT_TRUE(tick_.TaskEnabled[kTaskSend]);
  EXPECT_EQ(SendPendingBytes(q_), 272);

  std::optional<Packet> p = TakeSendPacket(q_, tick_, true);
  ASSERT_TRUE(p);
  EXPECT_EQ(*p, EncodeMessage(Message(2, {1, 2, 3, 4}), {}));
  EXPECT_TRUE(tick_.TaskEnabled[kTaskSend]);  // cleared by the next run, which finds the ring empty

  EXPECT_FALSE(TakeSendPacket(q_, tick_, true));
  EXPECT_FALSE(tick_.TaskEnabled[kTaskSend]);
}

TEST_F(PacketTest, SendRingKeepsOrderAcrossItsEnd) {
  int next_in = 0;
  int next_out = 0;
  for (int round = 0; round < 5; ++round) {
    for (int i = 0; i < 100; ++i) ASSERT_EQ(Queue(Message(2, {int16_t(next_in++ % 256), 0, 0, 0})), QueueResult::kQueued);
    for (auto [type, v0] : DrainSendRing()) {
      ASSERT_EQ(type, 2);
      ASSERT_EQ(v0, next_out++ % 256);
    }
  }
  EXPECT_EQ(next_out, 500);
  EXPECT_EQ(q_.SendWritePos, 500 * 272 % kRingSize);
}

TEST_F(PacketTest, FullSendRingRefusesAPacketWhenNoKeepAliveCanGo) {
  for (int i = 0; i < kSendRingCapacity; ++i) ASSERT_EQ(Queue(Message(2, {int16_t(i), 0, 0, 0})), QueueResult::kQueued);
  EXPECT_EQ(Queue(Message(7, {1, 0, 0, 0})), QueueResult::kRefused);
  EXPECT_EQ(SendPendingBytes(q_), kSendRingCapacity * 272);

  std::vector<std::string> refused = TraceLines("send_refused");
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_NE(refused[0].find(Hex(EncodeMessage(Message(7, {1, 0, 0, 0}), {}))), std::string::npos);

  auto sent = DrainSendRing();
  ASSERT_EQ(sent.size(), size_t(kSendRingCapacity));
  EXPECT_EQ(sent.front(), std::make_pair(2, 0));
  EXPECT_EQ(sent.back(), std::make_pair(2, kSendRingCapacity - 1));
}

TEST_F(PacketTest, FullSendRingDropsTheOldestKeepAliveForAnyOtherPacket) {
  ASSERT_EQ(Queue(Message(2, {0, 0, 0, 0})), QueueResult::kQueued);
  ASSERT_EQ(Queue(Message(kTypeKeepAlive, {1, 0, 0, 0})), QueueResult::kQueued);
  ASSERT_EQ(Queue(Message(kTypeKeepAlive, {2, 0, 0, 0})), QueueResult::kQueued);
  for (int i = 3; i < kSendRingCapacity; ++i) ASSERT_EQ(Queue(Message(2, {int16_t(i), 0, 0, 0})), QueueResult::kQueued);

  EXPECT_EQ(Queue(Message(kTypeKeepAlive, {200, 0, 0, 0})), QueueResult::kRefused);
  EXPECT_EQ(Queue(Message(7, {201, 0, 0, 0})), QueueResult::kQueued);
  EXPECT_EQ(SendPendingBytes(q_), kSendRingCapacity * 272);

  std::vector<std::string> dropped = TraceLines("send_dropped");
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_NE(dropped[0].find(Hex(EncodeMessage(Message(kTypeKeepAlive, {1, 0, 0, 0}), {}))), std::string::npos);
  EXPECT_EQ(TraceLines("send_refused").size(), 1u);

  auto sent = DrainSendRing();
  ASSERT_EQ(sent.size(), size_t(kSendRingCapacity));
  EXPECT_EQ(sent[0], std::make_pair(2, 0));
  EXPECT_EQ(sent[1], std::make_pair(int(kTypeKeepAlive), 2));
  EXPECT_EQ(sent[2], std::make_pair(2, 3));
  EXPECT_EQ(sent.back(), std::make_pair(7, 201));
}

TEST_F(PacketTest, EmptyRingsDropsEverything) {
  Queue(Message(2));
  Arrive(Incoming(4, 1));
  EmptyRings(q_);
  EXPECT_EQ(SendPendingBytes(q_), 0);
  EXPECT_FALSE(RecvPacketPending(q_));
  EXPECT_EQ(q_.SendWritePos, 0);
  EXPECT_EQ(q_.RecvWritePos, 0);
}

// --- Receive ring ----------------------------------------------------------

TEST_F(PacketTest, OddLengthChunksAreReassembledIntoWholePackets) {
  Packet a = Incoming(4, 1);
  a[9] = 0xA1;
  Packet b = Incoming(4, 2);
  b[9] = 0xB2;
  std::vector<uint8_t> stream(a.begin(), a.end());
  stream.insert(stream.end(), b.begin(), b.end());

  std::vector<size_t> chunk_sizes = {1, 135, 137, 1, 270};  // 544 in all
  size_t at = 0;
  std::vector<uint8_t> decoded;
  for (size_t n : chunk_sizes) {
    tick_.TaskEnabled[kTaskReceive] = false;
    ASSERT_EQ(Arrive(std::span<const uint8_t>(stream).subspan(at, n)), ArrivalResult::kStored);
    at += n;
    EXPECT_TRUE(tick_.TaskEnabled[kTaskReceive]);
    EXPECT_EQ(RecvPacketPending(q_), at - decoded.size() * 272 >= 272);
    while (Decode().status == DecodeStatus::kDecoded) decoded.push_back(uint8_t(gs_.info.value[0]));
  }
  EXPECT_EQ(decoded, (std::vector<uint8_t>{0xA1, 0xB2}));
  EXPECT_EQ(gs_.LastPacket, b);
}

TEST_F(PacketTest, ReceiveRingKeepsOrderAcrossItsEnd) {
  std::vector<uint8_t> stream;
  for (int i = 0; i < 300; ++i) {
    Packet p = Incoming(4, 1);
    p[9] = uint8_t(i);
    stream.insert(stream.end(), p.begin(), p.end());
  }
  int next = 0;
  for (size_t at = 0; at < stream.size(); at += 999) {
    size_t n = std::min<size_t>(999, stream.size() - at);
    ASSERT_EQ(Arrive(std::span<const uint8_t>(stream).subspan(at, n)), ArrivalResult::kStored);
    while (Decode().status == DecodeStatus::kDecoded) ASSERT_EQ(gs_.info.value[0], next++ % 256);
  }
  EXPECT_EQ(next, 300);
  EXPECT_EQ(q_.RecvReadPos, 300 * 272 % kRingSize);
}

TEST_F(PacketTest, HundredTwentyEightUndecodedPacketsOverflowOnTheLastByte) {
  std::vector<uint8_t> ring_full(size_t(kRingSize), 0x04);
  EXPECT_EQ(Arrive(std::span<const uint8_t>(ring_full).first(kRingSize - 1)), ArrivalResult::kStored);
  EXPECT_EQ(RecvPendingBytes(q_), kRingSize - 1);
  EXPECT_EQ(Arrive(std::span<const uint8_t>(ring_full).first(1)), ArrivalResult::kOverflow);

  PacketQueues fresh;
  EXPECT_EQ(Winsock1_DataArrival(fresh, tick_, ring_full), ArrivalResult::kOverflow);
}

TEST_F(PacketTest, OverflowCountsFromTheReadPosition) {
  // After one packet has been taken out, 128 more still overflow, 127 do not.
  Arrive(Incoming(4, 1));
  ASSERT_EQ(Decode().status, DecodeStatus::kDecoded);
  std::vector<uint8_t> packets(size_t(kRingSize) - 272, 0x04);
  EXPECT_EQ(Arrive(packets), ArrivalResult::kStored);
  std::vector<uint8_t> one_more(272, 0x04);
  EXPECT_EQ(Arrive(one_more), ArrivalResult::kOverflow);
}

TEST_F(PacketTest, DecodeWithoutAWholePacketChangesNothing) {
  Packet before = gs_.LastPacket;
  std::vector<uint8_t> part(271, 0x07);
  Arrive(part);
  EXPECT_EQ(Decode().status, DecodeStatus::kNoPacket);
  EXPECT_EQ(q_.RecvReadPos, 0);
  EXPECT_EQ(gs_.LastPacket, before);
  EXPECT_TRUE(TraceLines("recv").empty());
}

TEST_F(PacketTest, EveryDecodedPacketIsTracedAsRecv) {
  Packet p = Incoming(9, 4);
  p[100] = 0x5A;
  Arrive(p);
  Decode();
  std::vector<std::string> recv = TraceLines("recv");
  ASSERT_EQ(recv.size(), 1u);
  EXPECT_NE(recv[0].find(Hex(p)), std::string::npos);
}

// --- Bodies decoded on the way out of the ring ------------------------------

TEST_F(PacketTest, SeatNamesAreTakenUpToTheFirstZeroAndAppended) {
  struct Case {
    std::string body;
    uint8_t seat;
    int index;
    std::string expected;
  };
  std::string sixteen = "abcdefghijklmnop";
  std::string zero_at_20 = std::string("abcd") + '\0' + "fghij";
  for (const Case& c : {Case{sixteen + "XYZ", 8, 3, sixteen}, Case{zero_at_20, 1, 0, "abcd"}}) {
    Arrive(Incoming(kTypeSeatName, c.seat, c.body));
    EXPECT_EQ(Decode().status, DecodeStatus::kDecoded);
    EXPECT_EQ(gs_.SeatNames[c.index], c.expected);
  }
  Arrive(Incoming(kTypeSeatName, 8, "q"));
  Decode();
  EXPECT_EQ(gs_.SeatNames[3], sixteen + "q");
}

TEST_F(PacketTest, SeatNameOfAMaskThatIsNotOneSeatGoesToItsHighestBit) {
  // Byte 6 is cut to four bits first: 0x1F reads as 15.
  struct Case {
    uint8_t seat;
    int index;
  };
  for (Case c : {Case{0, 0}, Case{3, 1}, Case{6, 2}, Case{15, 3}, Case{0x1F, 3}, Case{0xF0, 0}}) {
    for (std::string& name : gs_.SeatNames) name.clear();
    Arrive(Incoming(kTypeSeatName, c.seat, "ghost"));
    ASSERT_EQ(Decode().status, DecodeStatus::kDecoded) << int(c.seat);
    EXPECT_EQ(gs_.SeatNames[c.index], "ghost") << int(c.seat);
    EXPECT_EQ(q_.RecvReadPos % 272, 0);
  }
}

TEST_F(PacketTest, ChatLineEndsAtTheFirstZeroAndNamesTheSendersViewSeat) {
  // Local seat mask 2. Sender mask 4 sits one SeatIndex higher: ViewSeat 3.
  Arrive(Incoming(kTypeChat, 4, "Tom\xcb\xb5\xb5\xc0: hi"));  // "说道" in GBK
  DecodeResult r = Decode();
  ASSERT_EQ(r.status, DecodeStatus::kDecoded);
  ASSERT_TRUE(r.chat);
  EXPECT_EQ(r.chat->text, "Tom说道: hi");
  EXPECT_EQ(r.chat->sender_view, 3);
  EXPECT_EQ(gs_.info.Seat, 3);
}

TEST_F(PacketTest, ChatZeroTrailByteBelongsToItsLeadAndDoesNotEndTheText) {
  std::string body = std::string("\xb0") + '\0' + "A";
  Arrive(Incoming(kTypeChat, 1, body));
  DecodeResult r = Decode();
  ASSERT_TRUE(r.chat);
  EXPECT_EQ(r.chat->text, std::string(kGbkUndecodable) + "A");
}

TEST_F(PacketTest, ChatReadsAtMost200BytesAndALeadByteAtTheEndIsUndecodable) {
  std::string body = Repeat("x", 199) + "\xd6\xd0" + "tail";  // lead byte at 215, trail at 216
  Arrive(Incoming(kTypeChat, 1, body));
  DecodeResult r = Decode();
  ASSERT_TRUE(r.chat);
  EXPECT_EQ(r.chat->text, Repeat("x", 199) + std::string(kGbkUndecodable));
}

TEST_F(PacketTest, ChatFromAMaskThatIsNotOneSeatIsFromItsHighestBitsViewSeat) {
  // Local mask 2 (index 1). 0 counts as index 0 (left, 1); 15 as index 3 (top, 2).
  for (auto [seat, view] : {std::pair<uint8_t, int>{0, 1}, {15, 2}, {0xF4, 3}}) {
    Arrive(Incoming(kTypeChat, seat, "notice"));
    DecodeResult r = Decode();
    ASSERT_EQ(r.status, DecodeStatus::kDecoded);
    ASSERT_TRUE(r.chat);
    EXPECT_EQ(r.chat->text, "notice");
    EXPECT_EQ(r.chat->sender_view, view) << int(seat);
    EXPECT_EQ(gs_.info.Seat, view);
  }
  gs_.custom[0].Seat = 0;  // seats not known yet: the local seat counts as index 0
  Arrive(Incoming(kTypeChat, 4, "early"));
  EXPECT_EQ(Decode().chat->sender_view, 2);
  gs_.custom[0].Seat = 0x40;  // no seat at all: the line is from no view seat
  Arrive(Incoming(kTypeChat, 4, "odd"));
  DecodeResult r = Decode();
  EXPECT_FALSE(r.chat->sender_view);
  EXPECT_EQ(gs_.info.Seat, 4);
}

TEST_F(PacketTest, ByteTextGivesOneCharacterPerByte) {
  Packet p = Incoming(21, 1, "ab\xc1" "c");
  EXPECT_EQ(ReadByteText(p, 16, 32), "ab" + std::string(kGbkUndecodable) + "c");
  EXPECT_EQ(ReadByteText(p, 16, 18), "ab");
}

// --- Through a real socket -------------------------------------------------

TEST_F(PacketTest, SendNextPacketWritesOnePacketPerCallOnceConnected) {
  RealClock real_clock;
  EventLoop loop(real_clock);
  TcpSocket sock(loop);
  test::ScriptedServer server;
  ASSERT_NE(server.Port(), 0);

  Queue(Message(2, {1, 0, 0, 0}));
  Queue(Message(2, {2, 0, 0, 0}));
  SendNextPacket(q_, tick_, sock, *trace_);  // not connected: stays queued
  EXPECT_EQ(SendPendingBytes(q_), 2 * 272);
  EXPECT_TRUE(TraceLines("send").empty());

  sock.RemoteHost = "127.0.0.1";
  sock.RemotePort = server.Port();
  sock.Connect();
  ASSERT_TRUE(loop.WaitUntil([&] { return sock.State() == TcpSocket::kConnected; }, 5000));
  SendNextPacket(q_, tick_, sock, *trace_);
  EXPECT_EQ(SendPendingBytes(q_), 272);
  loop.WaitUntil([&] { return server.ReceivedCount() >= 1; }, 5000);

  std::vector<test::ServerPacket> got = server.Received();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].type, 2);
  EXPECT_EQ(got[0].value[0], 1);
  std::vector<std::string> sent = TraceLines("send");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_NE(sent[0].find(Hex(EncodeMessage(Message(2, {1, 0, 0, 0}), {}))), std::string::npos);
}

}  // namespace
}  // namespace tess
