#include "core/proxy_tunnel.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/clock.h"
#include "support/dante.h"
#include "support/loopback.h"
#include "support/scripted_server.h"

namespace tess {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Every wait of a test is bounded by this (milliseconds).
constexpr int kWaitMs = 5000;

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

std::string Hex(const Bytes& b) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s;
  for (uint8_t x : b) {
    s += kDigits[x >> 4];
    s += kDigits[x & 15];
  }
  return s;
}

// 272 bytes that all follow from `seed`: a shifted, cut or mixed copy never
// equals the original.
Bytes PatternPacket(uint8_t seed) {
  Bytes p(test::kPacketSize);
  for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint8_t>(seed + i * 7 + i / 256);
  return p;
}

const Bytes kGreeting = {0x05, 0x02, 0x00, 0x02};
// ServerHost 192.168.1.20, ServerPort 6000.
const Bytes kConnectRequest = {0x05, 0x01, 0x00, 0x01, 0xC0, 0xA8, 0x01, 0x14, 0x17, 0x70};
const Bytes kAuthMessage = Cat({{0x01, 4}, Text("user"), {6}, Text("secret")});
const Bytes kConnectOk = {0x05, 0x00, 0x00, 0x01, 10, 0, 0, 1, 0x1F, 0x90};

// The proxy's end of one connection, driven by a test script on the
// scripted proxy's thread. Every read is bounded.
class ProxySide {
 public:
  ProxySide(int fd, bool bytewise) : fd_(fd), bytewise_(bytewise) {}

  // Up to `n` bytes: fewer when the client closes or the wait runs out.
  Bytes Read(size_t n) {
    Bytes got(n);
    size_t have = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (have < n) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          end - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      const ssize_t r = test::ReadWithin(fd_, got.data() + have, n - have, static_cast<int>(left.count()));
      if (r <= 0) break;
      have += static_cast<size_t>(r);
    }
    got.resize(have);
    return got;
  }

  // Everything that arrives within `ms`.
  Bytes ReadFor(int ms) {
    Bytes got;
    uint8_t buf[4096];
    ssize_t r;
    while ((r = test::ReadWithin(fd_, buf, sizeof buf, ms)) > 0) got.insert(got.end(), buf, buf + r);
    return got;
  }

  // Whole, or one byte per segment with a pause between bytes. A client
  // that has hung up makes the rest fail quietly.
  void Send(const Bytes& bytes) {
    if (!bytewise_) {
      test::WriteAll(fd_, bytes);
      return;
    }
    for (uint8_t b : bytes) {
      if (!test::WriteAll(fd_, {b})) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  // True when the client closes the connection within the wait; what it
  // sent meanwhile goes to `rest`.
  bool WaitClosed(Bytes& rest) {
    uint8_t buf[4096];
    for (;;) {
      errno = 0;
      const ssize_t r = test::ReadWithin(fd_, buf, sizeof buf, kWaitMs);
      if (r > 0) {
        rest.insert(rest.end(), buf, buf + r);
        continue;
      }
      return r == 0 || errno == ECONNRESET;
    }
  }

 private:
  int fd_;
  bool bytewise_;
};

// A SOCKS5 proxy played by a script: accepts one connection on a free
// loopback port and runs `script` on it on its own thread.
class ScriptedProxy {
 public:
  ScriptedProxy(bool bytewise, std::function<void(ProxySide&)> script) {
    listen_fd_ = test::ListenLoopback(port_);
    thread_ = std::thread([this, bytewise, script = std::move(script)] {
      const int fd = test::AcceptWithin(listen_fd_, kWaitMs);
      if (fd < 0) return;
      const int one = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      ProxySide side(fd, bytewise);
      script(side);
      close(fd);
    });
  }
  ~ScriptedProxy() {
    Join();
    if (listen_fd_ >= 0) close(listen_fd_);
  }
  uint16_t Port() const { return port_; }
  // Waits for the script to end; afterwards its results may be read.
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  uint16_t port_ = 0;
  int listen_fd_ = -1;
  std::thread thread_;
};

// The client's side of the tunnel: the socket, the data-arrival routing of
// the client (RecvRing while TunnelReady, the tunnel otherwise) and a log
// of every callback.
class TunnelTest : public testing::Test {
 protected:
  TunnelTest() {
    sock.OnDataArrival = [this](size_t) { Arrive(sock.GetData()); };
    // StartProxy's wait for the proxy has no limit of its own.
    watchdog.SetInterval(4 * kWaitMs);
    watchdog.OnTimer = [this] { loop.Quit(); };
    watchdog.SetEnabled(true);
  }
  ~TunnelTest() override { fs::remove_all(dir); }

  static fs::path MakeDir() {
    std::string tmpl = testing::TempDir() + "proxy_tunnel_test.XXXXXX";
    return mkdtemp(tmpl.data()) ? fs::path(tmpl) : fs::path();
  }

  void Arrive(const Bytes& chunk) {
    for (size_t at = 0; at < chunk.size();) {
      const size_t n = split_bytes ? 1 : chunk.size() - at;
      const std::span<const uint8_t> part(chunk.data() + at, n);
      at += n;
      if (tunnel.TunnelReady) {
        recv_ring.insert(recv_ring.end(), part.begin(), part.end());
        continue;
      }
      const Bytes rest = ProxyDataArrival(tunnel, link, part);
      recv_ring.insert(recv_ring.end(), rest.begin(), rest.end());
    }
  }

  bool RunUntil(const std::function<bool()>& done) { return loop.WaitUntil(done, kWaitMs); }
  bool Logged(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
  size_t CountStartingWith(const std::string& prefix) const {
    return std::count_if(events.begin(), events.end(),
                         [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
  }

  // The hex of every "proxy_send" line of the trace, in order.
  std::vector<std::string> ProxySends() const {
    std::vector<std::string> sends;
    std::ifstream in(dir / "trace.jsonl");
    const std::string mark = "\"ev\":\"proxy_send\",\"hex\":\"";
    for (std::string line; std::getline(in, line);) {
      const size_t at = line.find(mark);
      if (at == std::string::npos) continue;
      const size_t from = at + mark.size();
      sends.push_back(line.substr(from, line.find('"', from) - from));
    }
    return sends;
  }

  void UseProxy(uint16_t port) {
    tunnel.ProxyKind = kProxyKindSocks5;
    tunnel.ProxyHost = "127.0.0.1";
    tunnel.ProxyPort = port;
    tunnel.ProxyUser = "user";
    tunnel.ProxyPassword = "secret";
  }

  RealClock clock;
  EventLoop loop{clock};
  TcpSocket sock{loop};
  fs::path dir = MakeDir();
  Trace trace{clock, (dir / "trace.jsonl").string()};
  Timer watchdog{loop, "watchdog"};
  ProxyTunnel tunnel;
  bool split_bytes = false;  // hand each received byte to the tunnel on its own
  Bytes recv_ring;
  std::vector<std::string> events;
  const Bytes login = PatternPacket(18);
  ProxyLink link{
      .loop = loop,
      .Winsock1 = sock,
      .trace = trace,
      .SetSysmsg = [this](int line, std::string_view text) {
        events.push_back("sysmsg" + std::to_string(line) + " " + std::string(text));
      },
      .ShowMessageBox = [this](std::string_view text) { events.push_back("msgbox " + std::string(text)); },
      .PostToLobby = [this](uint32_t msg) { events.push_back("lobby " + std::to_string(msg)); },
      .SetLoginPending = [this] { events.push_back("login_pending"); },
      .SwitchLinkWatchOn = [this] { events.push_back("link_watch"); },
      .SendLoginPacket =
          [this] {
            events.push_back("login");
            sock.SendData(login);
          },
      .EnableTick = [this] { events.push_back("tick"); },
      .FaultExit = [this](std::string_view why) { events.push_back("fault " + std::string(why)); },
  };
};

// ---------------------------------------------------------------------------
// The handshake against scripted proxies, each answer whole or one byte at a
// time.

// "<case>_Whole" or "<case>_Bytewise" for a (case, bytewise) parameter.
struct CaseName {
  template <typename Param>
  std::string operator()(const testing::TestParamInfo<Param>& info) const {
    return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_Bytewise" : "_Whole");
  }
};

struct SuccessCase {
  const char* name;
  uint8_t method;  // the proxy's choice: 0 none, 2 user name and password
  Bytes connect_answer;
};

void PrintTo(const SuccessCase& c, std::ostream* os) { *os << c.name; }

class TunnelSuccessTest : public TunnelTest,
                          public testing::WithParamInterface<std::tuple<SuccessCase, bool>> {};

TEST_P(TunnelSuccessTest, SendsEachMessageByteExactAndThenCarriesTheGame) {
  const auto& [c, bytewise] = GetParam();
  split_bytes = bytewise;
  const Bytes server_packet = PatternPacket(99);
  Bytes greeting, auth, connect, first_through;
  ScriptedProxy proxy(bytewise, [&](ProxySide& p) {
    greeting = p.Read(4);
    p.Send({0x05, c.method});
    if (c.method == 2) {
      auth = p.Read(kAuthMessage.size());
      p.Send({0x01, 0x00});
    }
    connect = p.Read(kConnectRequest.size());
    // The game server's first packet follows the answer at once.
    p.Send(Cat({c.connect_answer, server_packet}));
    first_through = p.Read(test::kPacketSize);
  });
  UseProxy(proxy.Port());

  StartProxy(tunnel, link, "192.168.1.20", 6000);
  EXPECT_TRUE(RunUntil([&] { return recv_ring.size() >= server_packet.size(); }));
  proxy.Join();

  EXPECT_EQ(greeting, kGreeting);
  EXPECT_EQ(auth, c.method == 2 ? kAuthMessage : Bytes{});
  EXPECT_EQ(connect, kConnectRequest);
  EXPECT_EQ(first_through, login);
  EXPECT_EQ(recv_ring, server_packet);  // nothing of the CONNECT answer
  EXPECT_TRUE(tunnel.TunnelReady);
  EXPECT_EQ(events, (std::vector<std::string>{"login_pending", "link_watch", "lobby 771",
                                              "sysmsg0 连接代理服务器成功！", "login", "tick"}));
  std::vector<std::string> sent{Hex(kGreeting)};
  if (c.method == 2) sent.push_back(Hex(kAuthMessage));
  sent.push_back(Hex(kConnectRequest));
  EXPECT_EQ(ProxySends(), sent);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TunnelSuccessTest,
    testing::Combine(
        testing::Values(SuccessCase{"NoAuthentication", 0, kConnectOk},
                        SuccessCase{"UserAndPassword", 2, kConnectOk},
                        SuccessCase{"BoundToAName", 0,
                                    Cat({{0x05, 0x00, 0x00, 0x03, 9}, Text("proxy.lan"), {0x1F, 0x90}})},
                        SuccessCase{"BoundToIpv6", 0, Cat({{0x05, 0x00, 0x00, 0x04}, Bytes(16, 0xAB), {0, 80}})}),
        testing::Bool()),
    CaseName());

struct FailureCase {
  const char* name;
  Bytes greeting_answer;
  std::optional<Bytes> auth_answer;     // sent after reading the authentication
  std::optional<Bytes> connect_answer;  // sent after reading the CONNECT request
  std::string_view text;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class TunnelFailureTest : public TunnelTest,
                          public testing::WithParamInterface<std::tuple<FailureCase, bool>> {};

TEST_P(TunnelFailureTest, ShowsItsTextOnceAndClosesTheSocket) {
  const auto& [c, bytewise] = GetParam();
  split_bytes = bytewise;
  Bytes greeting, auth, connect, after;
  bool closed = false;
  ScriptedProxy proxy(bytewise, [&](ProxySide& p) {
    greeting = p.Read(4);
    p.Send(c.greeting_answer);
    if (c.auth_answer) {
      auth = p.Read(kAuthMessage.size());
      p.Send(*c.auth_answer);
    }
    if (c.connect_answer) {
      connect = p.Read(kConnectRequest.size());
      p.Send(*c.connect_answer);
    }
    closed = p.WaitClosed(after);
  });
  UseProxy(proxy.Port());

  StartProxy(tunnel, link, "192.168.1.20", 6000);
  EXPECT_TRUE(RunUntil([&] { return CountStartingWith("msgbox") > 0; }));
  loop.WaitProcessing(50);  // later bytes, if any, must not be judged again
  proxy.Join();

  EXPECT_EQ(greeting, kGreeting);
  EXPECT_EQ(auth, c.auth_answer ? kAuthMessage : Bytes{});
  EXPECT_EQ(connect, c.connect_answer ? kConnectRequest : Bytes{});
  EXPECT_TRUE(closed);
  EXPECT_EQ(after, Bytes{});
  EXPECT_EQ(CountStartingWith("msgbox"), 1u);
  EXPECT_TRUE(Logged("msgbox " + std::string(c.text)));
  EXPECT_FALSE(Logged("login"));
  EXPECT_FALSE(Logged("lobby 771"));
  EXPECT_FALSE(tunnel.TunnelReady);
  EXPECT_EQ(sock.State(), TcpSocket::kClosed);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TunnelFailureTest,
    testing::Combine(
        testing::Values(
            FailureCase{"NoAcceptableMethod", {0x05, 0xFF}, {}, {}, kProxyRequestFailed},
            FailureCase{"OtherVersion", {0x04, 0x00}, {}, {}, kProxyRequestFailed},
            FailureCase{"HttpGarbage", Text("HTTP/1.1 400 Bad Request\r\n\r\n"), {}, {}, kProxyRequestFailed},
            FailureCase{"CredentialsRejected", {0x05, 0x02}, Bytes{0x01, 0x01}, {}, kProxyAuthFailed},
            FailureCase{"AuthAnswerOtherVersion", {0x05, 0x02}, Bytes{0x05, 0x00}, {}, kProxyAuthFailed},
            FailureCase{"ConnectionRefused", {0x05, 0x00}, {}, Bytes{0x05, 0x05, 0x00, 0x01, 0, 0, 0, 0, 0, 0},
                        kProxyConnectFailed},
            FailureCase{"ConnectAnswerOtherVersion", {0x05, 0x00}, {}, Bytes{0x04, 0x00, 0x00, 0x01, 1, 2, 3, 4, 0, 1},
                        kProxyConnectFailed},
            FailureCase{"UnknownAddressType", {0x05, 0x00}, {}, Bytes{0x05, 0x00, 0x00, 0x07, 1, 2, 3, 4, 0, 1},
                        kProxyConnectFailed}),
        testing::Bool()),
    CaseName());

// ProxyBuffer keeps at most 1023 unread bytes; the 1024th ends the program.
TEST_F(TunnelTest, ProxyBufferOverflowsOnTheThousandTwentyFourthUnreadByte) {
  for (const size_t size : {1023u, 1024u}) {
    SCOPED_TRACE(size);
    events.clear();
    ScriptedProxy proxy(false, [&](ProxySide& p) {
      p.Read(4);
      p.Send(Bytes(size, 'X'));
      Bytes after;
      p.WaitClosed(after);
    });
    UseProxy(proxy.Port());
    StartProxy(tunnel, link, "192.168.1.20", 6000);
    EXPECT_TRUE(RunUntil([&] { return CountStartingWith("msgbox") + CountStartingWith("fault") > 0; }));
    if (size == 1023) {
      EXPECT_TRUE(Logged("msgbox " + std::string(kProxyRequestFailed)));
      EXPECT_FALSE(Logged("fault proxy buffer overflow"));
    } else {
      EXPECT_TRUE(Logged("fault proxy buffer overflow"));
      EXPECT_EQ(CountStartingWith("msgbox"), 0u);
      sock.Close();  // the real fault exit ends the program here
    }
    proxy.Join();
  }
}

TEST_F(TunnelTest, CredentialsAreCutToWhatTheirOneByteLengthsCount) {
  Bytes auth, extra;
  ScriptedProxy proxy(false, [&](ProxySide& p) {
    p.Read(4);
    p.Send({0x05, 0x02});
    auth = p.Read(1 + 1 + 255 + 1 + 255);
    extra = p.ReadFor(100);
  });
  UseProxy(proxy.Port());
  tunnel.ProxyUser = std::string(300, 'u');
  tunnel.ProxyPassword = std::string(255, 'p');

  StartProxy(tunnel, link, "192.168.1.20", 6000);
  EXPECT_TRUE(RunUntil([&] { return tunnel.ProxyStep == 4; }));
  proxy.Join();

  EXPECT_EQ(auth, Cat({{0x01, 255}, Bytes(255, 'u'), {255}, Bytes(255, 'p')}));
  EXPECT_EQ(extra, Bytes{});
}

// ---------------------------------------------------------------------------
// The game server's address.

TEST(ParseDottedIpv4, TakesFourDecimalPartsOnly) {
  using Parts = std::array<uint8_t, 4>;
  EXPECT_EQ(ParseDottedIpv4("192.168.1.20"), (Parts{192, 168, 1, 20}));
  EXPECT_EQ(ParseDottedIpv4("0.0.0.0"), (Parts{0, 0, 0, 0}));
  EXPECT_EQ(ParseDottedIpv4("255.255.255.255"), (Parts{255, 255, 255, 255}));
  EXPECT_EQ(ParseDottedIpv4("010.001.02.3"), (Parts{10, 1, 2, 3}));  // decimal, not octal
  for (const char* bad : {"", "game.example", "localhost", "256.1.1.1", "1.2.3", "1.2.3.4.5", "1..3.4",
                          "1.2.3.", ".1.2.3", " 1.2.3.4", "1.2.3.4 ", "1.2.3.4a", "1234.1.1.1", "-1.2.3.4",
                          "1.2.+3.4", "0x7f.0.0.1", "::1"}) {
    EXPECT_EQ(ParseDottedIpv4(bad), std::nullopt) << bad;
  }
}

TEST_F(TunnelTest, AServerNameIsRefusedWithoutContactingTheProxy) {
  uint16_t port = 0;
  const int listener = test::ListenLoopback(port);
  ASSERT_GE(listener, 0);
  UseProxy(port);

  StartProxy(tunnel, link, "game.example", 6000);
  loop.WaitProcessing(100);

  EXPECT_EQ(test::AcceptWithin(listener, 100), -1);
  close(listener);
  EXPECT_EQ(sock.State(), TcpSocket::kClosed);
  EXPECT_EQ(events, (std::vector<std::string>{"sysmsg1 ", "sysmsg0 " + std::string(kProxyHostNotIpv4),
                                              "link_watch", "tick"}));
  EXPECT_EQ(ProxySends(), std::vector<std::string>{});
}

// The lobby's connect (or a reconnect) arriving while an earlier StartProxy
// still waits for its proxy: only the newer handshake runs.
TEST_F(TunnelTest, ANewerStartProxySupersedesOneStillWaiting) {
  uint16_t dead_port = 0;
  close(test::ListenLoopback(dead_port));  // nothing listens there now
  Bytes greeting, extra;
  ScriptedProxy proxy(false, [&](ProxySide& p) {
    greeting = p.Read(4);
    extra = p.ReadFor(300);
  });
  Timer lobby_connect(loop, "lobby_connect");
  lobby_connect.SetInterval(50);
  lobby_connect.OnTimer = [&] {
    lobby_connect.SetEnabled(false);
    UseProxy(proxy.Port());
    StartProxy(tunnel, link, "192.168.1.20", 6000);
  };
  lobby_connect.SetEnabled(true);
  UseProxy(dead_port);

  StartProxy(tunnel, link, "192.168.1.20", 6000);  // returns once superseded
  loop.WaitProcessing(400);
  proxy.Join();

  EXPECT_EQ(greeting, kGreeting);
  EXPECT_EQ(extra, Bytes{});
  EXPECT_EQ(ProxySends(), std::vector<std::string>{Hex(kGreeting)});
  EXPECT_EQ(events, (std::vector<std::string>{"login_pending", "link_watch"}));
  EXPECT_EQ(tunnel.ProxyStep, 2);
}

// ---------------------------------------------------------------------------
// A real SOCKS5 server: Dante, on loopback, relaying to a scripted game
// server.

class DanteTest : public TunnelTest {
 protected:
  void SetUp() override {
    if (!test::DanteInstalled()) GTEST_SKIP() << test::kDanted << " is missing (Debian package dante-server)";
    ASSERT_NE(game.Port(), 0);
    // The game server's thread cannot wake the loop: look at it often.
    wake.SetInterval(5);
    wake.OnTimer = [] {};
    wake.SetEnabled(true);
  }

  void Start(const std::string& method) {
    std::string error;
    ASSERT_TRUE(dante.Start(dir, method, error)) << error;
    UseProxy(dante.Port());
  }

  // The tunnel comes up, the login goes through first, then 272-byte
  // packets both ways arrive whole and in order.
  void ExpectPacketsCarriedBothWays() {
    StartProxy(tunnel, link, "127.0.0.1", game.Port());
    ASSERT_TRUE(RunUntil([&] { return game.ReceivedCount() >= 1; }));
    EXPECT_TRUE(tunnel.TunnelReady);
    EXPECT_TRUE(Logged("sysmsg0 连接代理服务器成功！"));
    ASSERT_EQ(game.Received().size(), 1u);
    const auto first = test::Encode(game.Received()[0]);
    EXPECT_EQ(Bytes(first.begin(), first.end()), login);

    Bytes from_server;
    for (uint8_t k = 0; k < 3; ++k) {
      test::ServerPacket p;
      p.type = 20 + k;
      p.seat = 1 << k;
      p.value = {static_cast<int16_t>(-1 - k), 300, 0, k};
      p.Text(16, "packet " + std::to_string(k));
      p.tag = {0xAB, k};
      ASSERT_TRUE(game.Send(p));
      const auto bytes = test::Encode(p);
      from_server.insert(from_server.end(), bytes.begin(), bytes.end());
    }
    const std::vector<Bytes> to_server{PatternPacket(1), PatternPacket(2), PatternPacket(3)};
    for (const Bytes& p : to_server) sock.SendData(p);

    EXPECT_TRUE(RunUntil([&] { return recv_ring.size() >= from_server.size() && game.ReceivedCount() >= 4; }));
    EXPECT_EQ(recv_ring, from_server);
    const auto received = game.Received();
    ASSERT_EQ(received.size(), 4u);
    for (size_t i = 0; i < to_server.size(); ++i) {
      const auto bytes = test::Encode(received[i + 1]);
      EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), to_server[i]) << "packet " << i;
    }
    EXPECT_EQ(CountStartingWith("msgbox"), 0u);
  }

  test::ScriptedServer game;
  test::Dante dante;
  Timer wake{loop, "wake"};
};

// Dante's user-name method checks the system's users: a throwaway one is
// made for the test, which only root can do.
class DanteUserTest : public DanteTest {
 protected:
  static constexpr const char* kPassword = "pw-4711";
  void SetUp() override {
    DanteTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    if (geteuid() != 0)
      GTEST_SKIP() << "Dante checks user names against the system's users; creating one needs root";
    ASSERT_TRUE(user.Create(kPassword));
    ASSERT_NO_FATAL_FAILURE(Start("username"));
    tunnel.ProxyUser = user.Name();
    tunnel.ProxyPassword = kPassword;
  }
  test::ThrowawayUser user;
};

TEST_F(DanteTest, CarriesPacketsBothWaysWithoutAuthentication) {
  ASSERT_NO_FATAL_FAILURE(Start("none"));
  ExpectPacketsCarriedBothWays();
  EXPECT_EQ(ProxySends().size(), 2u);  // greeting, CONNECT
}

TEST_F(DanteUserTest, CarriesPacketsBothWaysWithUserAndPassword) {
  ExpectPacketsCarriedBothWays();
  EXPECT_EQ(ProxySends().size(), 3u);  // greeting, authentication, CONNECT
}

TEST_F(DanteUserTest, AWrongPasswordGivesTheAuthenticationFailure) {
  tunnel.ProxyPassword = "wrong";
  StartProxy(tunnel, link, "127.0.0.1", game.Port());
  EXPECT_TRUE(RunUntil([&] { return CountStartingWith("msgbox") > 0; }));
  EXPECT_EQ(events.back(), "msgbox " + std::string(kProxyAuthFailed));
  EXPECT_EQ(sock.State(), TcpSocket::kClosed);
  EXPECT_EQ(game.Connections(), 0);
}

TEST_F(DanteTest, AGameServerThatRefusesGivesTheConnectFailure) {
  ASSERT_NO_FATAL_FAILURE(Start("none"));
  game.Refuse();
  StartProxy(tunnel, link, "127.0.0.1", game.Port());
  EXPECT_TRUE(RunUntil([&] { return CountStartingWith("msgbox") > 0; }));
  EXPECT_EQ(events.back(), "msgbox " + std::string(kProxyConnectFailed));
  EXPECT_EQ(sock.State(), TcpSocket::kClosed);
  EXPECT_FALSE(tunnel.TunnelReady);
}

}  // namespace
}  // namespace tess
