#include "platform/socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "support/loopback.h"

namespace tess {
namespace {

using test::AcceptWithin;
using test::ListenLoopback;
using test::ReadWithin;
using test::WriteAll;

// Upper bound for every wait on the real clock.
constexpr int kWaitMs = 5000;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<uint8_t> RandomBytes(size_t n) {
  std::mt19937 gen(12345);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(gen());
  return v;
}

bool Settled(const TcpSocket& s) {
  return s.State() != TcpSocket::kResolving && s.State() != TcpSocket::kConnecting;
}

// A client socket on the real clock and a loopback listener playing the
// server; `peer_` is the server's end once accepted.
class SocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    listener_ = ListenLoopback(port_);
    ASSERT_GE(listener_, 0);
    sock_.OnDataArrival = [this](size_t waiting) {
      ++arrivals_;
      waiting_ = waiting;
    };
    sock_.OnClose = [this] { ++closes_; };
  }

  void TearDown() override {
    if (peer_ >= 0) close(peer_);
    close(listener_);
  }

  bool WaitFor(const std::function<bool()>& done) { return loop_.WaitUntil(done, kWaitMs); }

  void ConnectPeer(const std::string& host = "127.0.0.1") {
    sock_.RemoteHost = host;
    sock_.RemotePort = port_;
    sock_.Connect();
    ASSERT_TRUE(WaitFor([&] { return sock_.State() == TcpSocket::kConnected; }));
    if (peer_ >= 0) close(peer_);
    peer_ = AcceptWithin(listener_, kWaitMs);
    ASSERT_GE(peer_, 0);
  }

  // A port nothing listens on.
  static uint16_t ClosedPort() {
    uint16_t port = 0;
    close(ListenLoopback(port));
    return port;
  }

  RealClock clock_;
  EventLoop loop_{clock_};
  TcpSocket sock_{loop_};
  uint16_t port_ = 0;
  int listener_ = -1;
  int peer_ = -1;
  int arrivals_ = 0;
  size_t waiting_ = 0;
  int closes_ = 0;
};

class SocketConnectTest : public SocketTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SocketConnectTest, ConnectsClosesAndReconnects) {
  ASSERT_NO_FATAL_FAILURE(ConnectPeer(GetParam()));

  sock_.Close();
  EXPECT_EQ(sock_.State(), TcpSocket::kClosed);
  uint8_t byte;
  EXPECT_EQ(ReadWithin(peer_, &byte, 1, kWaitMs), 0) << "the server sees the end of the stream";

  ASSERT_NO_FATAL_FAILURE(ConnectPeer(GetParam()));
  loop_.WaitProcessing(20);
  EXPECT_EQ(closes_, 0) << "closing our own end raises no OnClose";
}

INSTANTIATE_TEST_SUITE_P(AddressOrName, SocketConnectTest,
                         ::testing::Values("127.0.0.1", "localhost"));

TEST_F(SocketTest, WritesArrivingBeforeGetDataComeOutTogether) {
  ASSERT_NO_FATAL_FAILURE(ConnectPeer());
  for (const char* piece : {"abc", "def", "ghi"}) ASSERT_TRUE(WriteAll(peer_, Bytes(piece)));

  ASSERT_TRUE(WaitFor([&] { return waiting_ == 9; }));
  EXPECT_EQ(sock_.GetData(), Bytes("abcdefghi"));
  EXPECT_TRUE(sock_.GetData().empty());
}

TEST_F(SocketTest, APacketArrivingInPiecesIsDeliveredAsItComes) {
  ASSERT_NO_FATAL_FAILURE(ConnectPeer());
  std::vector<uint8_t> received;
  sock_.OnDataArrival = [&](size_t) {
    auto chunk = sock_.GetData();
    received.insert(received.end(), chunk.begin(), chunk.end());
  };
  const std::vector<uint8_t> packet = RandomBytes(272);
  size_t sent = 0;
  for (size_t piece : {100, 100, 72}) {
    ASSERT_TRUE(WriteAll(peer_, {packet.begin() + sent, packet.begin() + sent + piece}));
    sent += piece;
    ASSERT_TRUE(WaitFor([&] { return received.size() == sent; })) << "after " << sent << " bytes";
  }
  EXPECT_EQ(received, packet);
}

TEST_F(SocketTest, LargeSendToASlowReaderArrivesWholeAndInOrder) {
  ASSERT_NO_FATAL_FAILURE(ConnectPeer());
  const std::vector<uint8_t> data = RandomBytes(6 << 20);
  std::vector<uint8_t> got;
  std::thread reader([&] {
    uint8_t buf[16 * 1024];
    while (got.size() < data.size()) {
      ssize_t n = ReadWithin(peer_, buf, sizeof buf, kWaitMs);
      if (n <= 0) break;
      got.insert(got.end(), buf, buf + n);
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
  });

  const size_t third = data.size() / 3;
  for (size_t at = 0; at < data.size(); at += third)
    sock_.SendData({data.begin() + at, data.begin() + std::min(at + third, data.size())});
  EXPECT_GT(sock_.PendingSendBytes(), 0u) << "the kernel cannot take 6 MB at once";

  EXPECT_TRUE(loop_.WaitUntil([&] { return sock_.PendingSendBytes() == 0; }, 30000));
  reader.join();  // the kernel holds the rest; the reader stops at the end or on a stall
  EXPECT_EQ(got.size(), data.size());
  EXPECT_TRUE(got == data);
  EXPECT_EQ(sock_.State(), TcpSocket::kConnected);
}

struct PeerEnding {
  const char* name;
  bool reset;  // abort with RST instead of an orderly close
};

class SocketPeerCloseTest : public SocketTest, public ::testing::WithParamInterface<PeerEnding> {};

TEST_P(SocketPeerCloseTest, DataFirstThenOneOnClose) {
  ASSERT_NO_FATAL_FAILURE(ConnectPeer());
  std::vector<std::string> events;
  sock_.OnDataArrival = [&](size_t) {
    auto bytes = sock_.GetData();
    events.push_back("data:" + std::string(bytes.begin(), bytes.end()));
  };
  sock_.OnClose = [&] {
    events.push_back("close");
    sock_.Close();  // what the client's handler does
  };

  ASSERT_TRUE(WriteAll(peer_, Bytes("bye")));
  if (GetParam().reset) {
    linger abort{1, 0};
    setsockopt(peer_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  }
  close(peer_);
  peer_ = -1;

  ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "close"; }));
  loop_.WaitProcessing(50);
  EXPECT_EQ(events, (std::vector<std::string>{"data:bye", "close"}));
  EXPECT_EQ(sock_.State(), TcpSocket::kClosed);
}

INSTANTIATE_TEST_SUITE_P(Endings, SocketPeerCloseTest,
                         ::testing::Values(PeerEnding{"Orderly", false}, PeerEnding{"Reset", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SocketTest, ReconnectingFromTheDataHandlerGetsNoStaleOnClose) {
  ASSERT_NO_FATAL_FAILURE(ConnectPeer());
  bool reconnected = false;
  sock_.OnDataArrival = [&](size_t) {
    sock_.Connect();
    reconnected = true;
  };
  ASSERT_TRUE(WriteAll(peer_, Bytes("bye")));
  close(peer_);  // "bye" and the end arrive together

  ASSERT_TRUE(WaitFor([&] { return reconnected && sock_.State() == TcpSocket::kConnected; }));
  peer_ = AcceptWithin(listener_, kWaitMs);
  ASSERT_GE(peer_, 0);
  loop_.WaitProcessing(50);
  EXPECT_EQ(sock_.State(), TcpSocket::kConnected);
  EXPECT_EQ(closes_, 0) << "the lost connection was given up before its end was reported";
}

TEST_F(SocketTest, PeerClosingMidSendEndsTheConnectionQuietly) {
  ASSERT_NO_FATAL_FAILURE(ConnectPeer());
  sock_.SendData(std::vector<uint8_t>(4 << 20, 0x5A));
  ASSERT_GT(sock_.PendingSendBytes(), 0u);
  uint8_t buf[1000];
  ASSERT_GT(ReadWithin(peer_, buf, sizeof buf, kWaitMs), 0);
  close(peer_);  // with unread data: the client is reset
  peer_ = -1;
  // Before the loop has noticed, the next sends meet the broken pipe.
  sock_.SendData(Bytes("late"));
  sock_.SendData(Bytes("later"));

  EXPECT_TRUE(WaitFor([&] { return sock_.State() != TcpSocket::kConnected; }));
  loop_.WaitProcessing(50);
  EXPECT_NE(sock_.State(), TcpSocket::kConnected);
  EXPECT_EQ(sock_.PendingSendBytes(), 0u);
  EXPECT_EQ(closes_, 1);
}

struct Unreachable {
  const char* name;
  const char* host;
  bool closed_port;  // else our live listener's port
};

class SocketUnreachableTest : public SocketTest, public ::testing::WithParamInterface<Unreachable> {};

TEST_P(SocketUnreachableTest, NeverConnects) {
  sock_.RemoteHost = GetParam().host;
  sock_.RemotePort = GetParam().closed_port ? ClosedPort() : port_;
  sock_.Connect();
  EXPECT_TRUE(WaitFor([&] { return Settled(sock_); }));
  loop_.WaitProcessing(20);
  EXPECT_NE(sock_.State(), TcpSocket::kConnected);
  EXPECT_LT(AcceptWithin(listener_, 0), 0) << "nothing reached the listener";

  sock_.SendData(Bytes("ignored"));
  EXPECT_EQ(sock_.PendingSendBytes(), 0u);
  EXPECT_EQ(closes_, 0) << "OnClose is only for a connection that was up";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SocketUnreachableTest,
    ::testing::Values(Unreachable{"Refused", "127.0.0.1", true},
                      Unreachable{"RefusedAfterLookup", "localhost", true},
                      Unreachable{"UnknownHost", "no-such-host.invalid", false},
                      Unreachable{"EmptyHost", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SocketTest, PortOutOfRangeFailsAtOnce) {
  for (int port : {0, -1, 65536}) {
    sock_.RemoteHost = "127.0.0.1";
    sock_.RemotePort = port;
    sock_.Connect();
    EXPECT_EQ(sock_.State(), TcpSocket::kError) << port;
  }
}

TEST_F(SocketTest, AbandonedLookupsAreHarmless) {
  {
    TcpSocket doomed(loop_);
    doomed.RemoteHost = "localhost";
    doomed.RemotePort = port_;
    doomed.Connect();
  }  // destroyed while looking up
  loop_.WaitProcessing(100);  // its lookup answers into nothing
  sock_.RemoteHost = "localhost";
  sock_.RemotePort = port_;
  sock_.Connect();
  ASSERT_EQ(sock_.State(), TcpSocket::kResolving);
  ASSERT_NO_FATAL_FAILURE(ConnectPeer("127.0.0.1"));  // replaces the lookup

  loop_.WaitProcessing(200);  // the abandoned lookups answer meanwhile
  EXPECT_EQ(sock_.State(), TcpSocket::kConnected);
  EXPECT_LT(AcceptWithin(listener_, 0), 0) << "no abandoned lookup went on to connect";
}

// Under a virtual clock the loop moves time only when no descriptor is
// ready: an idle connection must not keep it busy.
TEST(SocketVirtualClockTest, IdleConnectionLetsTimeRun) {
  VirtualClock clock;
  EventLoop loop(clock);
  TcpSocket sock(loop);
  uint16_t port = 0;
  int listener = ListenLoopback(port);
  ASSERT_GE(listener, 0);
  sock.RemoteHost = "127.0.0.1";
  sock.RemotePort = port;
  sock.Connect();
  EXPECT_TRUE(loop.WaitUntil([&] { return sock.State() == TcpSocket::kConnected; }, 1000));
  int peer = AcceptWithin(listener, kWaitMs);
  EXPECT_GE(peer, 0);
  sock.SendData(Bytes("hello"));
  EXPECT_EQ(sock.PendingSendBytes(), 0u);

  int passes = 0;
  const int64_t start = clock.NowMs();
  loop.WaitUntil([&] { return ++passes > 50; }, 10000);
  EXPECT_EQ(clock.NowMs(), start + 10000);
  EXPECT_EQ(sock.State(), TcpSocket::kConnected);
  close(peer);
  close(listener);
}

}  // namespace
}  // namespace tess
