#include "support/scripted_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/socket.h"

namespace tess::test {
namespace {

using namespace std::chrono_literals;

constexpr int kWaitMs = 5000;

std::vector<uint8_t> ToVector(const PacketBytes& b) { return {b.begin(), b.end()}; }

PacketBytes Pattern(uint8_t seed) {
  PacketBytes b;
  for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(seed + 7 * i);
  return b;
}

TEST(ServerPacketTest, EncodesEachFieldAtItsOffset) {
  const ServerPacket p = ServerPacket{.type = 0x0113,
                                      .aux_a = 0x21,
                                      .seat = 0x04,
                                      .aux_b = 0x22,
                                      .value = {-1, 300, -2, 7},
                                      .tag = {0x12, 0x34}}
                             .Text(16, "alice")
                             .Text(258, "xyz");  // "z" would pass byte 259
  PacketBytes want{};
  want[2] = 0x01;
  want[3] = 0x13;
  want[5] = 0x21;
  want[6] = 0x04;
  want[7] = 0x22;
  const uint8_t values[] = {0xFF, 0xFF, 0x01, 0x2C, 0xFF, 0xFE, 0x00, 0x07};
  std::copy(std::begin(values), std::end(values), want.begin() + 8);
  std::copy_n("alice", 5, want.begin() + 16);
  want[258] = 'x';
  want[259] = 'y';
  want[260] = 0x12;
  want[261] = 0x34;

  EXPECT_EQ(Encode(p), want);
  EXPECT_EQ(Decode(want), p);
  EXPECT_EQ(p.TextAt(16, 16), "alice");
  EXPECT_EQ(p.TextAt(16, 3), "ali");
}

TEST(ServerPacketTest, DecodeKeepsEveryByte) {
  const PacketBytes raw = Pattern(1);
  EXPECT_EQ(Encode(Decode(raw)), raw);
}

// A TcpSocket on the real clock talking to the server.
class ScriptedServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(server_.Port(), 0);
    sock_.OnDataArrival = [this](size_t) {
      auto chunk = sock_.GetData();
      got_.insert(got_.end(), chunk.begin(), chunk.end());
    };
    sock_.OnClose = [this] { ++closes_; };
  }

  bool WaitFor(const std::function<bool()>& done) { return loop_.WaitUntil(done, kWaitMs); }

  void Connect(int connection) {
    sock_.RemoteHost = "127.0.0.1";
    sock_.RemotePort = server_.Port();
    sock_.Connect();
    ASSERT_TRUE(WaitFor([&] { return sock_.State() == TcpSocket::kConnected; }));
    ASSERT_TRUE(server_.WaitForConnections(connection, 2s));
    ASSERT_TRUE(server_.ClientConnected());
  }

  ScriptedServer server_;
  RealClock clock_;
  EventLoop loop_{clock_};
  TcpSocket sock_{loop_};
  std::vector<uint8_t> got_;
  int closes_ = 0;
};

TEST_F(ScriptedServerTest, BothWaysByteExact) {
  ASSERT_NO_FATAL_FAILURE(Connect(1));

  const ServerPacket out = ServerPacket{.type = 3, .seat = 2, .value = {1, 0, 0, 200}}.Text(16, "east");
  ASSERT_TRUE(server_.Send(out));
  ASSERT_TRUE(server_.SendRaw({0xAA, 0xBB, 0xCC}));
  std::vector<uint8_t> want = ToVector(Encode(out));
  want.insert(want.end(), {0xAA, 0xBB, 0xCC});
  ASSERT_TRUE(WaitFor([&] { return got_.size() >= want.size(); }));
  EXPECT_EQ(got_, want);

  // A login-like packet, then two arbitrary ones; the third is split across
  // writes and followed by a stray partial packet.
  PacketBytes login{};
  login[3] = 18;
  login[6] = 0x04;
  login[10] = 0xFF;
  login[11] = 0xFE;
  std::copy_n("player1", 7, login.begin() + 16);
  std::copy_n("key", 3, login.begin() + 32);
  login[260] = 0x56;
  login[261] = 0x78;
  const PacketBytes second = Pattern(3);
  const PacketBytes third = Pattern(200);
  std::vector<uint8_t> first_write = ToVector(login);
  first_write.insert(first_write.end(), second.begin(), second.end());
  first_write.insert(first_write.end(), third.begin(), third.begin() + 100);
  std::vector<uint8_t> second_write(third.begin() + 100, third.end());
  second_write.insert(second_write.end(), 50, 0x11);
  sock_.SendData(first_write);
  sock_.SendData(second_write);
  ASSERT_EQ(sock_.PendingSendBytes(), 0u);

  ASSERT_TRUE(server_.WaitForPackets(3, 2s));
  const std::vector<ServerPacket> in = server_.Received();
  ASSERT_EQ(in.size(), 3u);
  EXPECT_EQ(in[0].type, 18);
  EXPECT_EQ(in[0].seat, 0x04);
  EXPECT_EQ(in[0].value[1], -2);
  EXPECT_EQ(in[0].TextAt(16, 16), "player1");
  EXPECT_EQ(in[0].TextAt(32, 16), "key");
  EXPECT_EQ(in[0].tag, (std::array<uint8_t, 2>{0x56, 0x78}));
  EXPECT_EQ(Encode(in[0]), login);
  EXPECT_EQ(Encode(in[1]), second);
  EXPECT_EQ(Encode(in[2]), third);
}

TEST_F(ScriptedServerTest, ReconnectionIsANewConnection) {
  ASSERT_NO_FATAL_FAILURE(Connect(1));
  sock_.SendData(std::vector<uint8_t>(100, 0x33));  // never completed
  server_.CloseClient();
  ASSERT_TRUE(WaitFor([&] { return closes_ == 1; }));
  EXPECT_NE(sock_.State(), TcpSocket::kConnected);
  EXPECT_FALSE(server_.ClientConnected());
  EXPECT_FALSE(server_.Send(ServerPacket{.type = 1}));

  ASSERT_NO_FATAL_FAILURE(Connect(2));
  const PacketBytes packet = Pattern(9);
  sock_.SendData(ToVector(packet));
  ASSERT_TRUE(server_.WaitForPackets(1, 2s));
  ASSERT_EQ(server_.ReceivedCount(), 1u) << "the partial packet of the first connection is dropped";
  EXPECT_EQ(Encode(server_.Received()[0]), packet);

  ASSERT_TRUE(server_.Send(ServerPacket{.type = 29}));
  ASSERT_TRUE(WaitFor([&] { return got_.size() == kPacketSize; }));
  EXPECT_EQ(got_[3], 29);
}

TEST_F(ScriptedServerTest, RefusesUntilListeningAgain) {
  server_.Refuse();
  sock_.RemoteHost = "127.0.0.1";
  sock_.RemotePort = server_.Port();
  sock_.Connect();
  EXPECT_TRUE(WaitFor([&] { return sock_.State() != TcpSocket::kConnecting; }));
  EXPECT_NE(sock_.State(), TcpSocket::kConnected);
  EXPECT_EQ(server_.Connections(), 0);

  ASSERT_TRUE(server_.Listen());
  ASSERT_NO_FATAL_FAILURE(Connect(1));
}

}  // namespace
}  // namespace tess::test
