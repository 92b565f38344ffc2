// The real program, started as the lobby starts it: a child process with a
// 13-field command line, no display and no sound card, talking to the
// scripted server and to a fake lobby window in a private runtime folder.
// It runs on real time, so it waits for one keep-alive only.
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/fake_lobby.h"
#include "support/scripted_server.h"
#include "support/temp_dir.h"

namespace tess::test {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> TraceLines(const std::string& path, const std::string& ev) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  const std::string needle = "\"ev\":\"" + ev + "\"";
  for (std::string line; std::getline(in, line);)
    if (line.find(needle) != std::string::npos) lines.push_back(line);
  return lines;
}

bool AnyContains(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& l : lines)
    if (l.find(text) != std::string::npos) return true;
  return false;
}

class RealClient : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(runtime_dir.empty());
    ASSERT_FALSE(home_dir.empty());
    chmod(runtime_dir.c_str(), 0700);
    // The fake lobby binds its window in this process's runtime folder.
    setenv("XDG_RUNTIME_DIR", runtime_dir.c_str(), 1);
    lobby = std::make_unique<FakeLobby>("Orvane");
    ASSERT_TRUE(lobby->Bound());
    ASSERT_NE(server.Port(), 0);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(runtime_dir, ignored);
    std::filesystem::remove_all(home_dir, ignored);
  }

  ChildOptions Program(const std::string& command_line) const {
    ChildOptions o;
    o.argv = {TESSALY_BINARY, command_line};
    o.env = {{"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}, {"TESSALY_MESSAGEBOX", "auto"},
             {"TESSALY_TRACE", trace_path},    {"TESSALY_HOME", home_dir},   {"XDG_RUNTIME_DIR", runtime_dir}};
    return o;
  }

  std::string runtime_dir = MakeTempDir("e2e-run");
  std::string home_dir = MakeTempDir("e2e-home");
  std::string trace_path = home_dir + "/trace.jsonl";
  std::unique_ptr<FakeLobby> lobby;
  ScriptedServer server;
};

TEST_F(RealClient, LogsInKeepsTheLinkAliveAndEndsWhenTheLobbyAndLinkAreGone) {
  const std::string line = "alice$k3y-77$127.0.0.1$" + std::to_string(server.Port()) +
                           "$一号房间$0$proxy.example$1080$pu$pw$0$Other$Cap$";
  ChildProcess child;
  ASSERT_TRUE(child.Start(Program(line)));

  // The login, byte for byte.
  ASSERT_TRUE(server.WaitForPackets(1, 10s)) << "no login";
  PacketBytes login{};
  login[3] = 18;
  std::memcpy(login.data() + 16, "alice", 5);
  std::memcpy(login.data() + 32, "k3y-77", 6);
  EXPECT_EQ(Encode(server.Received()[0]), login);

  // Accepted; the keep-alive echoes the tag of the answer.
  ServerPacket answer;
  answer.type = 18;
  answer.value = {0, 8, 0, 1};
  answer.tag = {0x5A, 0xA5};
  ASSERT_TRUE(server.Send(answer));
  const auto answered = std::chrono::steady_clock::now();
  ASSERT_TRUE(server.WaitForPackets(2, 8s)) << "no keep-alive";
  const auto waited = std::chrono::steady_clock::now() - answered;
  EXPECT_GT(waited, 4500ms);
  ServerPacket keep_alive = server.Received()[1];
  EXPECT_EQ(keep_alive.type, 24);
  EXPECT_EQ(keep_alive.seat, 0);
  EXPECT_EQ(keep_alive.value, (std::array<int16_t, 4>{}));
  EXPECT_EQ(keep_alive.tag, (std::array<uint8_t, 2>{0x5A, 0xA5}));

  // The lobby goes away, then the link: the link watch ends the program.
  lobby->Close();
  server.CloseClient();
  EXPECT_EQ(child.WaitExit(5000), 0) << "the client did not end by itself";

  std::vector<std::string> sent = TraceLines(trace_path, "send");
  ASSERT_GE(sent.size(), 2u);
  EXPECT_NE(sent[0].find("\"hex\":\"00000012"), std::string::npos) << "the login goes first: " << sent[0];
  EXPECT_EQ(TraceLines(trace_path, "recv").size(), 1u);
  std::vector<std::string> status_lines = TraceLines(trace_path, "status");
  EXPECT_TRUE(AnyContains(status_lines, "正在连接服务器..."));
  EXPECT_TRUE(AnyContains(status_lines, "连接服务器成功！"));
  std::vector<std::string> exits = TraceLines(trace_path, "exit");
  ASSERT_EQ(exits.size(), 1u);
  EXPECT_NE(exits[0].find("lobby"), std::string::npos) << exits[0];
  // The lobby heard the connect notice and the first accepted login.
  std::vector<uint32_t> numbers = lobby->Numbers();
  EXPECT_NE(std::find(numbers.begin(), numbers.end(), 22u), numbers.end());
  EXPECT_NE(std::find(numbers.begin(), numbers.end(), 771u), numbers.end());
}

// Told to stop, the program ends through its own exit path: the trace's
// last line says why.
TEST_F(RealClient, ATerminationSignalEndsItWithAnExitLine) {
  const std::string line = "alice$k3y-77$127.0.0.1$" + std::to_string(server.Port()) + "$Room$0$$0$$$0$$$";
  ChildProcess child;
  ASSERT_TRUE(child.Start(Program(line)));
  ASSERT_TRUE(server.WaitForPackets(1, 10s)) << "no login";
  ASSERT_EQ(kill(child.Pid(), SIGTERM), 0);
  EXPECT_EQ(child.WaitExit(5000), 0);
  std::ifstream in(trace_path);
  std::string last;
  for (std::string l; std::getline(in, l);) last = l;
  EXPECT_NE(last.find("\"ev\":\"exit\""), std::string::npos) << last;
  EXPECT_NE(last.find("signal"), std::string::npos) << last;
}

}  // namespace
}  // namespace tess::test
