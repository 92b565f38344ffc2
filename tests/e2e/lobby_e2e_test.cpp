// The lobby's messages between two real programs: the client binary and the
// lobby stand-in (tessaly-lobby), each a child process in a private runtime
// folder, with the game server scripted in the test. Real time; every wait
// is bounded.
//
// A hand in progress needs the new-hand message, whose handler is not part
// of the client yet, so the answers during a hand are covered in-process
// (tests/core/lobby_link_test.cpp), and so is the hide key, which the
// offscreen video driver cannot be typed at.
#include <stdlib.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/child_process.h"
#include "support/scripted_server.h"
#include "support/temp_dir.h"
#include "ui/mini_json.h"

namespace tess::test {
namespace {

using namespace std::chrono_literals;

constexpr int kWaitMs = 10000;

size_t CountType(const std::vector<ServerPacket>& packets, int type) {
  size_t n = 0;
  for (const ServerPacket& p : packets) n += p.type == type && p.value[3] == 0;
  return n;
}

class LobbyE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(runtime_dir.empty());
    ASSERT_FALSE(home_dir.empty());
    chmod(runtime_dir.c_str(), 0700);
    ASSERT_NE(server.Port(), 0);
  }
  void TearDown() override {
    client.Stop();
    lobby.Stop();
    std::filesystem::remove_all(runtime_dir);
    std::filesystem::remove_all(home_dir);
  }

  std::vector<std::pair<std::string, std::string>> Env() const {
    return {{"XDG_RUNTIME_DIR", runtime_dir},
            {"SDL_VIDEODRIVER", "offscreen"},
            {"SDL_AUDIODRIVER", "dummy"},
            {"TESSALY_MESSAGEBOX", "auto"},
            {"TESSALY_TRACE", home_dir + "/trace.jsonl"},
            {"TESSALY_HOME", home_dir}};
  }

  // The lobby says `command`, then shows `line` within the wait.
  bool LobbySays(const std::string& command, const std::string& line) {
    return lobby.WriteLine(command) && lobby.WaitForLine(line, kWaitMs);
  }

  // The lobby messages in the client's trace: "in N" and "out N" (posts).
  // The window commands are left out: the window system may add restores
  // and minimises of its own.
  std::vector<std::string> TracedLobbyMessages() const {
    std::ifstream in(home_dir + "/trace.jsonl");
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
      auto json = JsonReader::Parse(line);
      if (!json) continue;
      const std::string ev = (*json)["ev"].text;
      const auto msg = static_cast<uint32_t>((*json)["msg"].number);
      if (ev == "lobby_in" && msg != 0x112) out.push_back("in " + std::to_string(msg));
      if (ev == "lobby_out" && msg != 0x112) out.push_back("out " + std::to_string(msg));
    }
    return out;
  }

  std::string runtime_dir = MakeTempDir("lobby-e2e-run");
  std::string home_dir = MakeTempDir("lobby-e2e-home");
  ScriptedServer server;
  ChildProcess lobby;
  ChildProcess client;
};

TEST_F(LobbyE2eTest, LeaveRequestsQueriesAndConnectsBetweenTheTwoPrograms) {
  ASSERT_TRUE(lobby.Start(ChildOptions{{TESSALY_LOBBY_BINARY, "--title", "Orvane", "--client", "Tessaly"},
                                       Env(), true, true, false}));
  ASSERT_TRUE(lobby.WaitForLine("ready", kWaitMs));
  const std::string line = "alice$key$127.0.0.1$" + std::to_string(server.Port()) + "$一号桌$0$$0$$$0$$$";
  ASSERT_TRUE(client.Start(ChildOptions{{TESSALY_BINARY, line}, Env(), false, false, false}));

  // Start-up restores the lobby, the shown window minimises it, the login
  // task posts 22 just before the login goes out.
  ASSERT_TRUE(lobby.WaitForLine("recv 274 61728", kWaitMs));
  ASSERT_TRUE(lobby.WaitForLine("recv 274 61472", kWaitMs));
  ASSERT_TRUE(lobby.WaitForLine("recv 22", kWaitMs));
  ASSERT_TRUE(server.WaitForPackets(1, std::chrono::milliseconds(kWaitMs)));
  EXPECT_EQ(server.Received()[0].type, 18);

  // During the login a leave request is refused.
  EXPECT_TRUE(LobbySays("771", "recv 1126"));

  // The first accepted login is announced with 771.
  ServerPacket accepted;
  accepted.type = 18;
  accepted.value = {0, 8, 0, 1};
  ASSERT_TRUE(server.Send(accepted));
  EXPECT_TRUE(lobby.WaitForLine("recv 771", kWaitMs));

  // Outside a hand a leave request leaves: the leave packet, then 1024.
  EXPECT_TRUE(LobbySays("771", "recv 1024"));
  EXPECT_EQ(CountType(server.Received(), 16), 1u);

  // The next table: connect again and log in again.
  EXPECT_TRUE(LobbySays("22", "recv 22"));
  ASSERT_TRUE(server.WaitForConnections(2, std::chrono::milliseconds(kWaitMs)));
  ASSERT_TRUE(server.WaitForPackets(3, std::chrono::milliseconds(kWaitMs)));
  EXPECT_EQ(server.Received()[2].type, 18);
  ASSERT_TRUE(server.Send(accepted));
  EXPECT_TRUE(lobby.WaitForLine("recv 771", kWaitMs));  // still no hand since start-up

  // No hand is being played.
  EXPECT_TRUE(LobbySays("1125", "recv 1024"));

  // Leaving at once: the leave packet, no answer.
  ASSERT_TRUE(lobby.WriteLine("1024"));
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
  while (CountType(server.Received(), 16) < 2 && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(10ms);
  EXPECT_EQ(CountType(server.Received(), 16), 2u);
  std::this_thread::sleep_for(300ms);  // room for an answer that must not come

  // Between tables the process stays.
  EXPECT_FALSE(client.WaitExit(0));
  const std::vector<std::string> expected = {"out 22", "in 771", "out 1126", "out 771", "in 771",  "out 1024",
                                             "in 22",  "out 22", "out 771",  "in 1125", "out 1024", "in 1024"};
  EXPECT_EQ(TracedLobbyMessages(), expected);
}

}  // namespace
}  // namespace tess::test
