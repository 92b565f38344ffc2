#include "platform/lobby_channel.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace tess {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kQuit = 0x7000;        // test-only: ends a peer's loop
constexpr uint32_t kNewHand = 1109;       // what a peer posts while answering a send
constexpr uint32_t kHandQuery = 1125;

// How a peer window in the child process behaves.
enum class Peer {
  kEcho,    // posts every message back (lParam = messages seen so far);
            // answers kWmSysCommand with wParam + 1, posting kNewHand first
  kSilent,  // binds, then never reads
  kSlow,    // like kEcho, but answers kWmSysCommand only after 2.5 s
};

// Runs window `title` in a child process; its posts go to `reply_to`.
pid_t ForkPeer(const std::string& title, const std::string& reply_to, Peer kind) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  {
    RealClock clock;
    EventLoop loop(clock);
    LobbyChannel ch(loop, title);
    if (kind == Peer::kSilent)
      for (;;) pause();
    uint32_t seen = 0;
    ch.OnMessage = [&](const WindowMessage& m) -> uint32_t {
      ++seen;
      if (m.msg == kQuit) {
        loop.Quit();
        return 0;
      }
      if (m.msg != kWmSysCommand) {
        ch.Post(reply_to, WindowMessage{m.msg, m.wparam, seen});
        return 0;
      }
      if (kind == Peer::kSlow) usleep(2500 * 1000);
      ch.Post(reply_to, WindowMessage{kNewHand, m.wparam, seen});
      return m.wparam + 1;
    };
    loop.Run();
  }
  _exit(0);  // never return into the test runner
}

Bytes Encode(uint32_t msg, uint32_t wparam, uint32_t lparam) {
  Bytes b;
  for (uint32_t v : {msg, wparam, lparam})
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return b;
}

sockaddr_un Address(const std::string& path) {
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
  return a;
}

// A plain datagram socket, bound at `path` unless it is empty.
int RawSocket(const std::string& path = "") {
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (!path.empty()) {
    const sockaddr_un a = Address(path);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) ADD_FAILURE() << "bind " << path;
  }
  return fd;
}

void RawSend(int fd, const std::string& path, const Bytes& b) {
  const sockaddr_un a = Address(path);
  ASSERT_EQ(sendto(fd, b.data(), b.size(), 0, reinterpret_cast<const sockaddr*>(&a), sizeof a),
            static_cast<ssize_t>(b.size()));
}

// Waits up to 3 s for a datagram; empty if none came.
Bytes RawReceive(int fd) {
  timeval tv{3, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  uint8_t buf[64];
  const ssize_t n = recv(fd, buf, sizeof buf, 0);
  return n < 0 ? Bytes{} : Bytes(buf, buf + n);
}

int64_t ElapsedMs(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
      .count();
}

struct LobbyChannelTest : ::testing::Test {
  void SetUp() override {
    char tmpl[] = "/tmp/lobby-channel-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    runtime_dir = tmpl;
    const char* old = getenv("XDG_RUNTIME_DIR");
    if (old != nullptr) old_runtime_dir = old;
    setenv("XDG_RUNTIME_DIR", tmpl, 1);
    self = std::make_unique<LobbyChannel>(loop, "table");
    ASSERT_TRUE(self->Bound());
    self->OnMessage = [this](const WindowMessage& m) -> uint32_t {
      got.push_back(m);
      return 0;
    };
  }

  void TearDown() override {
    for (pid_t pid : peers) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    self.reset();
    std::filesystem::remove_all(runtime_dir);
    if (old_runtime_dir.empty())
      unsetenv("XDG_RUNTIME_DIR");
    else
      setenv("XDG_RUNTIME_DIR", old_runtime_dir.c_str(), 1);
  }

  // Starts a peer window and waits until it is there.
  pid_t StartPeer(const std::string& title, Peer kind = Peer::kEcho) {
    const pid_t pid = ForkPeer(title, "table", kind);
    peers.push_back(pid);
    for (int i = 0; i < 500 && !self->WindowExists(title); ++i) usleep(10 * 1000);
    EXPECT_TRUE(self->WindowExists(title)) << title;
    return pid;
  }

  // Processes events until a message numbered `msg` has arrived (3 s at most).
  const WindowMessage* WaitFor(uint32_t msg) {
    const auto find = [&]() -> const WindowMessage* {
      for (const auto& m : got)
        if (m.msg == msg) return &m;
      return nullptr;
    };
    loop.WaitUntil([&] { return find() != nullptr; }, 3000);
    return find();
  }

  std::string runtime_dir;
  std::string old_runtime_dir;
  RealClock clock;
  EventLoop loop{clock};
  std::unique_ptr<LobbyChannel> self;
  std::vector<WindowMessage> got;
  std::vector<pid_t> peers;
};

TEST_F(LobbyChannelTest, SocketPathsFollowTheRuntimeDirectory) {
  EXPECT_EQ(LobbyChannelDir(), runtime_dir + "/tessaly");
  EXPECT_EQ(WindowSocketPath("Orvane"), runtime_dir + "/tessaly/win-4f7276616e65");
  EXPECT_EQ(WindowSocketPath("麻"), runtime_dir + "/tessaly/win-e9babb");
  struct stat st{};
  ASSERT_EQ(stat(LobbyChannelDir().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(LobbyChannelDir(), "/tmp/tessaly-" + std::to_string(getuid()));
}

TEST_F(LobbyChannelTest, PostCarriesLittleEndianWordsBothWays) {
  StartPeer("Orvane");
  ASSERT_TRUE(self->Post("Orvane", WindowMessage{771, 0x01020304, 0}));
  const WindowMessage* echo = WaitFor(771);
  ASSERT_NE(echo, nullptr);
  EXPECT_EQ(echo->wparam, 0x01020304u);
  EXPECT_EQ(echo->lparam, 1u);  // the first message the peer saw

  // The bytes on the wire, as a lobby written in another language sees them.
  const int raw = RawSocket(WindowSocketPath("raw"));
  ASSERT_TRUE(self->Post("raw", WindowMessage{1024, 0xA0B0C0D0, 7}));
  EXPECT_EQ(RawReceive(raw), Encode(1024, 0xA0B0C0D0, 7));
  close(raw);
}

TEST_F(LobbyChannelTest, SendWaitsForTheAnswerAndKeepsWhatArrivesMeanwhile) {
  StartPeer("Orvane");
  uint32_t result = 0;
  ASSERT_TRUE(self->Send("Orvane", WindowMessage{kWmSysCommand, kScRestore, 0}, &result));
  EXPECT_EQ(result, kScRestore + 1);
  // The peer posted kNewHand before answering: held back during the send,
  // delivered on the next pass, before what arrived after the send.
  EXPECT_TRUE(got.empty());
  ASSERT_TRUE(self->Post("table", WindowMessage{kHandQuery, 0, 0}));
  loop.DoEvents();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].msg, kNewHand);
  EXPECT_EQ(got[0].wparam, kScRestore);
  EXPECT_EQ(got[1].msg, kHandQuery);
}

TEST_F(LobbyChannelTest, SyncCommandIsAnsweredToTheSendersSocket) {
  StartPeer("Orvane");
  const int raw = RawSocket(WindowSocketPath("raw"));
  RawSend(raw, WindowSocketPath("Orvane"), Encode(kWmSysCommand, kScMinimize, 0));
  EXPECT_EQ(RawReceive(raw), Encode(kWmSysCommand, kScMinimize, kScMinimize + 1));
  close(raw);
}

TEST_F(LobbyChannelTest, SendToMissingOrStaleWindowFailsAtOnce) {
  const pid_t pid = StartPeer("Orvane");
  kill(pid, SIGKILL);  // leaves its socket file behind
  waitpid(pid, nullptr, 0);
  ASSERT_TRUE(std::filesystem::exists(WindowSocketPath("Orvane")));
  for (const char* title : {"Orvane", "nobody"}) {
    const auto start = std::chrono::steady_clock::now();
    uint32_t result = 0;
    EXPECT_FALSE(self->Send(title, WindowMessage{kWmSysCommand, kScRestore, 0}, &result)) << title;
    EXPECT_LT(ElapsedMs(start), 500) << title;
    EXPECT_FALSE(self->Post(title, WindowMessage{22, 0, 0})) << title;
    EXPECT_FALSE(self->WindowExists(title)) << title;
  }
}

TEST_F(LobbyChannelTest, SendToWindowThatNeverAnswersFailsAfterTwoSeconds) {
  StartPeer("Orvane", Peer::kSilent);
  const auto start = std::chrono::steady_clock::now();
  uint32_t result = 0;
  EXPECT_FALSE(self->Send("Orvane", WindowMessage{kWmSysCommand, kScMinimize, 0}, &result));
  EXPECT_GE(ElapsedMs(start), 1950);
  EXPECT_LT(ElapsedMs(start), 2500);
}

TEST_F(LobbyChannelTest, LateAnswerIsNeitherDeliveredNorAnswered) {
  StartPeer("Orvane", Peer::kSlow);
  uint32_t result = 0;
  EXPECT_FALSE(self->Send("Orvane", WindowMessage{kWmSysCommand, kScRestore, 0}, &result));
  ASSERT_NE(WaitFor(kNewHand), nullptr);  // posted just before the late answer
  loop.WaitProcessing(200);
  ASSERT_TRUE(self->Post("Orvane", WindowMessage{kHandQuery, 0, 0}));
  const WindowMessage* echo = WaitFor(kHandQuery);
  ASSERT_NE(echo, nullptr);
  EXPECT_EQ(echo->lparam, 2u);  // the command and this post: nothing came back
  for (const auto& m : got) EXPECT_NE(m.msg, kWmSysCommand);
}

TEST_F(LobbyChannelTest, MalformedDatagramsAreDroppedWithoutEffect) {
  StartPeer("Orvane");
  const Bytes connect = Encode(22, 0, 0);
  Bytes long_one = connect;
  long_one.push_back(0);
  struct Case {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"empty", {}},
      {"short", Bytes(connect.begin(), connect.end() - 1)},
      {"long", long_one},
      {"command from an unanswerable sender", Encode(kWmSysCommand, kScRestore, 0)},
  };
  const int unnamed = RawSocket();
  uint32_t seen = 0;
  for (const auto& c : cases) {
    RawSend(unnamed, WindowSocketPath("Orvane"), c.bytes);
    // A probe after it: the peer's count shows whether it took the datagram.
    got.clear();
    ASSERT_TRUE(self->Post("Orvane", WindowMessage{kHandQuery, 0, 0}));
    const WindowMessage* echo = WaitFor(kHandQuery);
    ASSERT_NE(echo, nullptr) << c.name;
    EXPECT_EQ(echo->lparam, ++seen) << c.name;
  }
  close(unnamed);
  loop.WaitProcessing(50);
  for (const auto& m : got) EXPECT_EQ(m.msg, kHandQuery);  // nothing else came back
}

TEST_F(LobbyChannelTest, WindowExistsFollowsThePeersLife) {
  StartPeer("Orvane");
  EXPECT_TRUE(self->WindowExists("Orvane"));
  EXPECT_TRUE(self->WindowExists("table"));  // our own window
  EXPECT_FALSE(self->WindowExists("nobody"));
  ASSERT_TRUE(self->Post("Orvane", WindowMessage{kQuit, 0, 0}));
  waitpid(peers.back(), nullptr, 0);
  peers.pop_back();
  EXPECT_FALSE(self->WindowExists("Orvane"));
  EXPECT_FALSE(std::filesystem::exists(WindowSocketPath("Orvane")));  // removed on close
}

TEST_F(LobbyChannelTest, BindingRefusesALiveTitleAndReplacesAStaleOne) {
  const pid_t pid = StartPeer("Orvane");
  {
    LobbyChannel twin(loop, "Orvane");
    EXPECT_FALSE(twin.Bound());
  }
  // The failed twin left the live window alone.
  ASSERT_TRUE(self->Post("Orvane", WindowMessage{kHandQuery, 0, 0}));
  ASSERT_NE(WaitFor(kHandQuery), nullptr);

  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  LobbyChannel heir(loop, "Orvane");
  EXPECT_TRUE(heir.Bound());
  EXPECT_TRUE(self->WindowExists("Orvane"));
}

TEST_F(LobbyChannelTest, RetitleMovesTheWindow) {
  self->Retitle("table 2");
  EXPECT_EQ(self->Title(), "table 2");
  EXPECT_FALSE(self->WindowExists("table"));
  EXPECT_TRUE(self->WindowExists("table 2"));
}

}  // namespace
}  // namespace tess
