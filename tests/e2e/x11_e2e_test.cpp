// The hide key in a real X window: a private Xvfb, the lobby stand-in and
// the client binary as child processes in a private runtime folder, the
// game server scripted in the test. Keys are typed with xdotool through
// XTEST, as a keyboard would type them, at the window that has the input
// focus. Skips when Xvfb or xdotool is not installed. Real time; every wait
// is bounded.
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/url_opener.h"
#include "support/child_process.h"
#include "support/scripted_server.h"
#include "support/table_script.h"
#include "support/temp_dir.h"
#include "support/trace_packets.h"
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
    xvfb_path = FindOnPath("Xvfb");
    xdotool_path = FindOnPath("xdotool");
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
            {"TESSALY_SCENE", home_dir + "/scene.json"},
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

  // The client's scene after SIGUSR1, once `done` holds for it (or the
  // last one read when the wait ends).
  JsonValue SceneWhen(const std::function<bool(const JsonValue&)>& done) const {
    const std::string path = home_dir + "/scene.json";
    const auto end = Clock::now() + std::chrono::milliseconds(kWaitMs);
    JsonValue last;
    do {
      std::filesystem::remove(path);
      kill(client.Pid(), SIGUSR1);
      for (int i = 0; i < 40 && !std::filesystem::exists(path); ++i) std::this_thread::sleep_for(25ms);
      std::this_thread::sleep_for(25ms);  // the writer finishes the file
      std::ifstream in(path);
      std::stringstream text;
      text << in.rdbuf();
      if (auto json = JsonReader::Parse(text.str())) {
        last = *json;
        if (done(last)) return last;
      }
    } while (Clock::now() < end);
    return last;
  }

  // Starts the lobby stand-in and the client for alice and accepts her
  // login: start-up restores the lobby, the shown window minimises it; then
  // the login goes out and is accepted.
  void StartLoggedIn() {
    ASSERT_TRUE(lobby.Start(ChildOptions{{TESSALY_LOBBY_BINARY, "--title", "Orvane", "--client", "Tessaly"},
                                         ProgramEnv(), true, true, false}));
    ASSERT_TRUE(lobby.WaitForLine("ready", kWaitMs));
    const std::string line = "alice$key$127.0.0.1$" + std::to_string(server.Port()) + "$一号桌$0$$0$$$0$$$";
    ASSERT_TRUE(client.Start(ChildOptions{{TESSALY_BINARY, line}, ProgramEnv(), false, false, false}));
    ASSERT_TRUE(lobby.WaitForLine("recv 274 61728", kWaitMs));
    ASSERT_TRUE(lobby.WaitForLine(kMinimizeLine, kWaitMs));
    ASSERT_TRUE(server.WaitForPackets(1, std::chrono::milliseconds(kWaitMs)));
    ASSERT_EQ(server.Received()[0].type, 18);
    ServerPacket accepted;
    accepted.type = 18;
    accepted.value = {0, 8, 0, 1};
    ASSERT_TRUE(server.Send(accepted));
    ASSERT_TRUE(lobby.WaitForLine("recv 771", kWaitMs));
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
  StartLoggedIn();
  if (HasFatalFailure()) return;
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

// One element of a scene by name and index.
const JsonValue* FindElement(const JsonValue& scene, const std::string& name, int index) {
  for (const JsonValue& e : scene["elements"].items)
    if (e["name"].text == name && !e["index"].IsNull() && e["index"].number == index) return &e;
  return nullptr;
}

// The local hand row (Top 564 or raised to 554) of a scene, left to right.
std::vector<const JsonValue*> HandRow(const JsonValue& scene) {
  std::vector<const JsonValue*> row;
  for (const JsonValue& e : scene["elements"].items)
    if (e["name"].text == "MJ_Image" && e["shown"].boolean && (e["top"].number == 564 || e["top"].number == 554))
      row.push_back(&e);
  std::sort(row.begin(), row.end(), [](const JsonValue* a, const JsonValue* b) { return (*a)["left"].number < (*b)["left"].number; });
  return row;
}

// The table set for alice at seat 1 and a hand dealt by `dealer`: her own
// profile first, then the names (so the start button stays latched), the
// new hand and her twelve tiles `tiles` in three passes.
std::vector<ServerPacket> SeatAndDeal(uint8_t dealer, const std::array<uint16_t, 12>& tiles) {
  ProfileFields own;
  own.account = "alice";
  own.nick = "alice";
  const char* names[] = {"alice", "bob", "carol", "dave"};
  std::vector<ServerPacket> script = {ProfileMsg(15, own)};
  for (int i = 0; i < 4; ++i) script.push_back(SeatNameMsg(static_cast<uint8_t>(1 << i), names[i]));
  script.push_back(HandStartMsg(dealer, {1, 1, 1, 1}));
  for (int batch = 0; batch < 3; ++batch) {
    std::array<uint16_t, 12> words{};
    for (int k = 0; k < 4; ++k) words[k] = tiles[4 * batch + k];
    script.push_back(DealMsg(1, 4, words));
  }
  return script;
}

// The pointer over a hand tile raises it; a click discards it, after the
// pass for the offer still open. Pointer and clicks through XTEST at the
// window point the scene dump gives (the element's place plus its
// container's).
TEST_F(X11E2eTest, APlayerHoversAndDiscardsATileWithTheRealMouse) {
  StartLoggedIn();
  if (HasFatalFailure()) return;
  std::vector<ServerPacket> script =
      SeatAndDeal(1, {0x81, 0x81, 0x81, 0x81, 0x42, 0x42, 0x42, 0x42, 0x23, 0x27, 0x11, 0x13});
  for (const ServerPacket& p : {DrawMsg(1, 0x16), DrawMsg(2, 0), DrawMsg(4, 0), DrawMsg(8, 0), DrawMsg(1, 0x29),
                                WildTileMsg(0x25, 0x24), OfferMsg(1, 1 | 32)})
    script.push_back(p);
  for (const ServerPacket& p : script) ASSERT_TRUE(server.Send(p));

  JsonValue scene = SceneWhen([](const JsonValue& s) {
    const JsonValue* pass = FindElement(s, "Operation", 4);
    return pass && (*pass)["shown"].boolean && HandRow(s).size() == 14;
  });
  auto row = HandRow(scene);
  ASSERT_EQ(row.size(), 14u) << "the offer did not show";
  // Sorted: 81 81 81 81 42 42 42 42 23 27 29 11 13 16; the sixth is 0x42.
  const int slot = static_cast<int>((*row[5])["index"].number);
  double table_left = 0, table_top = 0;
  for (const JsonValue& e : scene["elements"].items)
    if (e["name"].text == "Pic1") table_left = e["left"].number, table_top = e["top"].number;
  const int x = static_cast<int>(table_left + (*row[5])["left"].number + (*row[5])["width"].number / 2);
  const int y = static_cast<int>(table_top + (*row[5])["top"].number + (*row[5])["height"].number / 2);

  const std::string window = ClientWindow();
  ASSERT_FALSE(window.empty());
  ASSERT_EQ(Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)}).status, 0);
  scene = SceneWhen([&](const JsonValue& s) {
    const JsonValue* e = FindElement(s, "MJ_Image", slot);
    return e && (*e)["top"].number == 554;
  });
  ASSERT_NE(FindElement(scene, "MJ_Image", slot), nullptr);
  EXPECT_EQ((*FindElement(scene, "MJ_Image", slot))["top"].number, 554) << "the tile did not rise under the pointer";

  const size_t before = server.ReceivedCount();
  ASSERT_EQ(Xdotool({"click", "1"}).status, 0);
  ASSERT_TRUE(server.WaitForPackets(before + 2, std::chrono::milliseconds(kWaitMs)));
  const auto got = server.Received();
  EXPECT_EQ(got[before].type, 7);
  EXPECT_EQ(got[before].value, (std::array<int16_t, 4>{1, 0, 0, 0}));
  EXPECT_EQ(got[before + 1].type, 2);
  EXPECT_EQ(got[before + 1].value, (std::array<int16_t, 4>{0, 0, 0, 0x4042}));
  scene = SceneWhen([&](const JsonValue& s) { return HandRow(s).size() == 13; });
  EXPECT_EQ(HandRow(scene).size(), 13u);
}


}  // namespace
}  // namespace tess::test

namespace tess::test {
namespace {

// The window point at the centre of scene element `e` of the main form:
// its place plus the places of the containers it lies in.
std::pair<int, int> CentreOf(const JsonValue& scene, const JsonValue& e) {
  double x = e["left"].number + e["width"].number / 2, y = e["top"].number + e["height"].number / 2;
  for (const JsonValue* in = &e; !(*in)["container"].IsNull();) {
    const JsonValue* outer = nullptr;
    for (const JsonValue& c : scene["elements"].items)
      if (c["form"].text == (*in)["form"].text && c["name"].text == (*in)["container"].text &&
          c["index"].number == (*in)["container_index"].number && c["index"].IsNull() == (*in)["container_index"].IsNull())
        outer = &c;
    if (!outer) break;
    x += (*outer)["left"].number, y += (*outer)["top"].number;
    in = outer;
  }
  return {static_cast<int>(x), static_cast<int>(y)};
}

// The pointer moves over the hand and off it again, and one click on the
// lit pung button claims the discard; after the confirmation one click on
// a tile discards it. Each packet goes out once, as the trace records it.
TEST_F(X11E2eTest, TheRealMouseRaisesAndLowersATileAndAnswersWithOneClickEach) {
  StartLoggedIn();
  if (HasFatalFailure()) return;
  // bob deals, lets 0x42 go and alice may pung it.
  std::vector<ServerPacket> script =
      SeatAndDeal(2, {0x81, 0x81, 0x42, 0x42, 0x44, 0x23, 0x24, 0x26, 0x11, 0x12, 0x13, 0x17});
  for (const ServerPacket& p : {DrawMsg(1, 0x14), DrawMsg(2, 0), DrawMsg(4, 0), DrawMsg(8, 0), DrawMsg(2, 0),
                                WildTileMsg(0x25, 0x24), DiscardMsg(2, 0x42), OfferMsg(1, 1 | 8)})
    script.push_back(p);
  for (const ServerPacket& p : script) ASSERT_TRUE(server.Send(p));

  JsonValue scene = SceneWhen([](const JsonValue& s) {
    const JsonValue* pung = FindElement(s, "Operation", 1);
    return pung && (*pung)["shown"].boolean && (*pung)["enabled"].boolean && HandRow(s).size() == 13;
  });
  auto row = HandRow(scene);
  ASSERT_EQ(row.size(), 13u) << "the offer did not show";
  const std::string window = ClientWindow();
  ASSERT_FALSE(window.empty());
  auto move_to = [&](std::pair<int, int> at) {
    return Xdotool({"mousemove", "--window", window, std::to_string(at.first), std::to_string(at.second)}).status == 0;
  };
  auto top_of = [&](int slot) {
    return [slot](const JsonValue& s) {
      const JsonValue* e = FindElement(s, "MJ_Image", slot);
      return e ? (*e)["top"].number : -1.0;
    };
  };

  // Over a tile it rises; on the bare table above the hand it comes down.
  const int slot = static_cast<int>((*row[4])["index"].number);
  ASSERT_TRUE(move_to(CentreOf(scene, *row[4])));
  scene = SceneWhen([&](const JsonValue& s) { return top_of(slot)(s) == 554; });
  EXPECT_EQ(top_of(slot)(scene), 554) << "the tile did not rise under the pointer";
  // A bare spot of the table area, far above the hand.
  const JsonValue* table = nullptr;
  for (const JsonValue& e : scene["elements"].items)
    if (e["name"].text == "Pic1") table = &e;
  ASSERT_NE(table, nullptr);
  ASSERT_TRUE(move_to({static_cast<int>((*table)["left"].number) + 300, static_cast<int>((*table)["top"].number) + 420}));
  scene = SceneWhen([&](const JsonValue& s) { return top_of(slot)(s) == 564; });
  EXPECT_EQ(top_of(slot)(scene), 564) << "the tile stayed up when the pointer left it";

  // One click on the pung button claims the discard.
  const std::string trace = home_dir + "/trace.jsonl";
  size_t before = server.ReceivedCount();
  ASSERT_TRUE(move_to(CentreOf(scene, *FindElement(scene, "Operation", 1))));
  ASSERT_EQ(Xdotool({"click", "1"}).status, 0);
  ASSERT_TRUE(server.WaitForPackets(before + 1, std::chrono::milliseconds(kWaitMs))) << "the pung button sent nothing";
  auto got = server.Received();
  EXPECT_EQ(got[before].type, 7);
  EXPECT_EQ(got[before].value, (std::array<int16_t, 4>{8, 0x2042, 0x2042, 0x2042}));
  const auto pungs = TracedPackets(trace, "send", 7);
  ASSERT_EQ(pungs.size(), 1u);
  EXPECT_EQ(pungs[0][8] << 8 | pungs[0][9], 8);  // words go high byte first

  // Confirmed; the turn offer; one click on the east wind discards it.
  ASSERT_TRUE(server.Send(ClaimMsg(1, 8, {0x42, 0x42, 0x42})));
  ASSERT_TRUE(server.Send(OfferMsg(1, 1)));
  scene = SceneWhen([](const JsonValue& s) {
    const JsonValue* pass = FindElement(s, "Operation", 4);
    return pass && (*pass)["shown"].boolean && HandRow(s).size() == 11;
  });
  row = HandRow(scene);
  ASSERT_EQ(row.size(), 11u) << "the pung was not laid out";
  // Sorted: 81 81 44 23 24 26 11 12 13 14 17; the seventh is east.
  const int east = static_cast<int>((*row[6])["index"].number);
  before = server.ReceivedCount();
  ASSERT_TRUE(move_to(CentreOf(scene, *row[6])));
  ASSERT_EQ(Xdotool({"click", "1"}).status, 0);
  ASSERT_TRUE(server.WaitForPackets(before + 2, std::chrono::milliseconds(kWaitMs))) << "the click did not discard";
  got = server.Received();
  EXPECT_EQ(got[before].value, (std::array<int16_t, 4>{1, 0, 0, 0}));
  EXPECT_EQ(got[before + 1].type, 2);
  EXPECT_EQ(got[before + 1].value, (std::array<int16_t, 4>{0, 0, 0, 0x4011}));
  const auto discards = TracedPackets(trace, "send", 2);
  ASSERT_EQ(discards.size(), 1u);
  EXPECT_EQ(discards[0][14] << 8 | discards[0][15], 0x4011);
  scene = SceneWhen([&](const JsonValue& s) {
    const JsonValue* e = FindElement(s, "MJ_Image", east);
    return e && (*e)["height"].number == 50;
  });
  EXPECT_EQ(HandRow(scene).size(), 10u);
  EXPECT_EQ(server.ReceivedCount(), before + 2);
  EXPECT_FALSE(client.WaitExit(0));
}

// One form of a scene by name.
const JsonValue* FindForm(const JsonValue& scene, const std::string& name) {
  for (const JsonValue& f : scene["forms"].items)
    if (f["form"].text == name) return &f;
  return nullptr;
}

// The bar and its windows with the real mouse: the pointer on the result
// button lights it and shows its tooltip, its click opens the result board,
// which a drag moves; the pointer on a player's portrait shows the profile
// card.
TEST_F(X11E2eTest, TheBarLightsOpensTheResultBoardAndThePortraitShowsTheCard) {
  StartLoggedIn();
  if (HasFatalFailure()) return;
  const char* names[] = {"alice", "bob", "carol", "dave"};
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(server.Send(SeatNameMsg(static_cast<uint8_t>(1 << i), names[i])));
  for (int i = 0; i < 4; ++i) {
    ProfileFields f;
    f.account = names[i];
    f.nick = std::string(names[i]) + "昵称";
    f.gender = i == 1 ? 0 : 1;
    f.wins = 10 + i;
    ASSERT_TRUE(server.Send(ProfileMsg(i == 0 ? 15 : static_cast<uint8_t>(1 << i), f)));
  }
  JsonValue scene = SceneWhen([](const JsonValue& s) {
    const JsonValue* nid = FindElement(s, "Nid", 3);
    return nid && !(*nid)["caption"].text.empty();
  });
  const std::string window = ClientWindow();
  ASSERT_FALSE(window.empty());
  auto move = [&](std::pair<int, int> p) {
    return Xdotool({"mousemove", "--window", window, std::to_string(p.first), std::to_string(p.second)}).status;
  };

  // Hover: the highlighted picture, then the tooltip once the pointer rests.
  const JsonValue* button = FindElement(scene, "AnNiu", 5);
  ASSERT_NE(button, nullptr);
  const double normal = (*button)["picture"].number;
  ASSERT_EQ(move(CentreOf(scene, *button)), 0);
  scene = SceneWhen([](const JsonValue& s) { return s["tooltip"]["text"].text == "可以查看当前牌局详细结果"; });
  EXPECT_EQ(scene["tooltip"]["text"].text, "可以查看当前牌局详细结果");
  EXPECT_EQ((*FindElement(scene, "AnNiu", 5))["picture"].number, normal + 1) << "the highlighted picture follows";

  // Click: the result board; a drag by its caption moves it by the pointer's way.
  ASSERT_EQ(Xdotool({"click", "1"}).status, 0);
  scene = SceneWhen([](const JsonValue& s) {
    const JsonValue* f = FindForm(s, "Score");
    return f && (*f)["visible"].boolean;
  });
  const JsonValue* score = FindForm(scene, "Score");
  const JsonValue* main = FindForm(scene, "MainForm");
  ASSERT_TRUE(score && main && (*score)["visible"].boolean) << "the result board did not open";
  const double left = (*score)["left"].number, top = (*score)["top"].number;
  const double main_left = (*main)["left"].number, main_top = (*main)["top"].number;
  const int grab_x = static_cast<int>(left - main_left + 30);
  const int grab_y = static_cast<int>(top - main_top + 12);
  ASSERT_EQ(move({grab_x, grab_y}), 0);
  ASSERT_EQ(Xdotool({"mousedown", "1"}).status, 0);
  for (int step = 1; step <= 4; ++step) ASSERT_EQ(move({grab_x + 25 * step, grab_y + 10 * step}), 0);
  ASSERT_EQ(Xdotool({"mouseup", "1"}).status, 0);
  scene = SceneWhen([&](const JsonValue& s) {
    const JsonValue* f = FindForm(s, "Score");
    return f && (*f)["left"].number == left + 100;
  });
  ASSERT_NE(FindForm(scene, "Score"), nullptr);
  EXPECT_EQ((*FindForm(scene, "Score"))["left"].number, left + 100);
  EXPECT_EQ((*FindForm(scene, "Score"))["top"].number, top + 40);

  // Closed by its Image1; then the pointer on bob's portrait (ViewSeat 3).
  const JsonValue* close = nullptr;
  for (const JsonValue& e : scene["elements"].items)
    if (e["form"].text == "Score" && e["name"].text == "Image1") close = &e;
  ASSERT_NE(close, nullptr);
  const JsonValue& moved = *FindForm(scene, "Score");
  ASSERT_EQ(move({static_cast<int>(moved["left"].number - main_left + (*close)["left"].number + 10),
                  static_cast<int>(moved["top"].number - main_top + (*close)["top"].number + 8)}),
            0);
  ASSERT_EQ(Xdotool({"click", "1"}).status, 0);
  scene = SceneWhen([](const JsonValue& s) { return !(*FindForm(s, "Score"))["visible"].boolean; });
  EXPECT_FALSE((*FindForm(scene, "Score"))["visible"].boolean) << "Image1 did not close it";

  ASSERT_EQ(move(CentreOf(scene, *FindElement(scene, "Tou", 3))), 0);
  scene = SceneWhen([](const JsonValue& s) {
    const JsonValue* f = FindForm(s, "Information");
    return f && (*f)["visible"].boolean;
  });
  ASSERT_NE(FindForm(scene, "Information"), nullptr);
  EXPECT_TRUE((*FindForm(scene, "Information"))["visible"].boolean);
  const char* values[] = {"bob昵称", "女", "", "0", "0", "0", "0", "11", "0"};
  for (const JsonValue& e : scene["elements"].items) {
    if (e["form"].text != "Information" || e["name"].text != "Inf") continue;
    EXPECT_EQ(e["caption"].text, values[static_cast<int>(e["index"].number)]);
  }
  EXPECT_FALSE(client.WaitExit(0));
}

}  // namespace
}  // namespace tess::test
