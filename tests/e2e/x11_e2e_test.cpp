// The hide key in a real X window: a private Xvfb, the lobby stand-in and
// the client binary as child processes in a private runtime folder, the
// game server scripted in the test. Keys are typed with xdotool through
// XTEST, as a keyboard would type them, at the window that has the input
// focus. Skips when Xvfb or xdotool is not installed. Real time; every wait
// is bounded.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "support/child_process.h"
#include "support/scripted_server.h"
#include "support/temp_dir.h"
#include "ui/mini_json.h"

namespace tess::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Env = std::vector<std::pair<std::string, std::string>>;

constexpr int kWaitMs = 10000;
constexpr uint32_t kSysCommand = 0x112;
constexpr uint32_t kLoginAccepted = 771;
const std::string kMinimizeLine = "recv 274 61472";  // the lobby told to minimise (0xF020)

// `name` on the PATH, or empty.
std::string FindProgram(const std::string& name) {
  const char* path = getenv("PATH");
  std::istringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

struct RunResult {
  std::optional<int> status;  // nothing when it did not end in time
  std::vector<std::string> lines;
};

// Runs `argv` with `env` added, to its end or `timeout_ms`, and keeps its
// standard output.
RunResult RunTool(const std::vector<std::string>& argv, const Env& env, int timeout_ms = kWaitMs) {
  ChildProcess child;
  if (!child.Start(ChildOptions{argv, env, false, true, true})) return {};
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  child.WaitForLine("\n", timeout_ms);  // no line equals "\n": reads to the end of the output
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
  RunResult result;
  result.status = child.WaitExit(static_cast<int>(std::max<long>(left, 0)));
  result.lines = child.Lines();
  return result;
}

class X11E2eTest : public testing::Test {
 protected:
  void SetUp() override {
    xvfb_path = FindProgram("Xvfb");
    xdotool_path = FindProgram("xdotool");
    if (xvfb_path.empty() || xdotool_path.empty())
      GTEST_SKIP() << "needs Xvfb and xdotool on the PATH (Debian packages xvfb, xdotool)";
    ASSERT_FALSE(runtime_dir.empty());
    ASSERT_FALSE(home_dir.empty());
    chmod(runtime_dir.c_str(), 0700);
    ASSERT_NE(server.Port(), 0);
    ASSERT_TRUE(StartXvfb());
  }
  void TearDown() override {
    client.Stop();
    lobby.Stop();
    xvfb.Stop();
    std::filesystem::remove_all(runtime_dir);
    std::filesystem::remove_all(home_dir);
  }

  // Xvfb picks a free display itself and writes its number once it takes
  // connections, so test runs side by side never race for one number.
  bool StartXvfb() {
    if (!xvfb.Start(ChildOptions{{xvfb_path, "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                                 {}, false, true, true}))
      return false;
    const auto end = Clock::now() + std::chrono::milliseconds(kWaitMs);
    while (xvfb.Lines().empty() && Clock::now() < end && !xvfb.WaitExit(0)) xvfb.WaitForLine("\n", 50);
    if (xvfb.Lines().empty() || !xvfb.Running()) return false;
    display = ":" + xvfb.Lines().front();
    // The display answers a client of its own.
    return RunTool({xdotool_path, "getdisplaygeometry"}, XEnv()).status == 0;
  }

  Env XEnv() const { return {{"DISPLAY", display}}; }

  Env ProgramEnv() const {
    return {{"DISPLAY", display},
            {"XDG_RUNTIME_DIR", runtime_dir},
            {"SDL_VIDEODRIVER", "x11"},
            {"SDL_AUDIODRIVER", "dummy"},
            {"TESSALY_MESSAGEBOX", "auto"},
            {"TESSALY_TRACE", home_dir + "/trace.jsonl"},
            {"TESSALY_HOME", home_dir}};
  }

  RunResult Xdotool(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {xdotool_path};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(argv, XEnv());
  }

  // The client's window, by its _NET_WM_PID; empty when none shows within
  // the wait.
  std::string ClientWindow() const {
    const auto end = Clock::now() + std::chrono::milliseconds(kWaitMs);
    for (;;) {
      RunResult found = Xdotool({"search", "--pid", std::to_string(client.Pid())});
      if (found.status == 0 && !found.lines.empty()) return found.lines.front();
      if (Clock::now() >= end) return "";
      std::this_thread::sleep_for(50ms);
    }
  }

  // The window commands (wParam) in the client's trace after its first
  // accepted-login post to the lobby.
  std::vector<uint32_t> CommandsAfterLogin() const {
    std::ifstream in(home_dir + "/trace.jsonl");
    std::vector<uint32_t> out;
    bool logged_in = false;
    for (std::string line; std::getline(in, line);) {
      auto json = JsonReader::Parse(line);
      if (!json || (*json)["ev"].text != "lobby_out") continue;
      const auto msg = static_cast<uint32_t>((*json)["msg"].number);
      if (msg == kLoginAccepted) logged_in = true;
      if (logged_in && msg == kSysCommand) out.push_back(static_cast<uint32_t>((*json)["wparam"].number));
    }
    return out;
  }

  std::string xvfb_path, xdotool_path, display;
  std::string runtime_dir = MakeTempDir("x11-e2e-run");
  std::string home_dir = MakeTempDir("x11-e2e-home");
  ScriptedServer server;
  ChildProcess xvfb;
  ChildProcess lobby;
  ChildProcess client;
};

TEST_F(X11E2eTest, HideKeyTwiceKeepsBothWindowsMinimised) {
  ASSERT_TRUE(lobby.Start(ChildOptions{{TESSALY_LOBBY_BINARY, "--title", "Orvane", "--client", "Tessaly"},
                                       ProgramEnv(), true, true, false}));
  ASSERT_TRUE(lobby.WaitForLine("ready", kWaitMs));
  const std::string line = "alice$key$127.0.0.1$" + std::to_string(server.Port()) + "$一号桌$0$$0$$$0$$$";
  ASSERT_TRUE(client.Start(ChildOptions{{TESSALY_BINARY, line}, ProgramEnv(), false, false, false}));

  // Start-up restores the lobby, the shown window minimises it; then the
  // login goes out and is accepted.
  ASSERT_TRUE(lobby.WaitForLine("recv 274 61728", kWaitMs));
  ASSERT_TRUE(lobby.WaitForLine(kMinimizeLine, kWaitMs));
  ASSERT_TRUE(server.WaitForPackets(1, std::chrono::milliseconds(kWaitMs)));
  ASSERT_EQ(server.Received()[0].type, 18);
  ServerPacket accepted;
  accepted.type = 18;
  accepted.value = {0, 8, 0, 1};
  ASSERT_TRUE(server.Send(accepted));
  ASSERT_TRUE(lobby.WaitForLine("recv 771", kWaitMs));
  ASSERT_EQ(CommandsAfterLogin(), std::vector<uint32_t>{});

  // Without a window manager nothing gives the window the focus: the test
  // does, so the keys go to it.
  const std::string window = ClientWindow();
  ASSERT_FALSE(window.empty()) << "the client's window did not show";
  ASSERT_EQ(Xdotool({"windowfocus", "--sync", window}).status, 0);

  // The hide key minimises the lobby (and the main window, which the
  // window system has no manager to act on here).
  ASSERT_EQ(Xdotool({"key", "F1"}).status, 0);
  EXPECT_TRUE(lobby.WaitForLine(kMinimizeLine, kWaitMs)) << "F1 did not reach the client";
  EXPECT_EQ(CommandsAfterLogin(), std::vector<uint32_t>{0xF020});

  // Pressed again while hidden: both stay minimised, the lobby is told once
  // more and nothing restores either window.
  EXPECT_EQ(Xdotool({"getwindowfocus"}).lines, std::vector<std::string>{window});
  ASSERT_EQ(Xdotool({"key", "F1"}).status, 0);
  EXPECT_TRUE(lobby.WaitForLine(kMinimizeLine, kWaitMs)) << "the second F1 did not reach the client";
  lobby.WaitForLine("\n", 300);  // room for a message that must not come
  EXPECT_EQ(lobby.Lines(), std::vector<std::string>{});
  EXPECT_EQ(CommandsAfterLogin(), (std::vector<uint32_t>{0xF020, 0xF020}));
  EXPECT_FALSE(client.WaitExit(0));
}

}  // namespace
}  // namespace tess::test
