// One hand at the practice table played with the mouse: the practice
// server, three real tessaly clients in automatic mode (child processes)
// and one client in the test's process, drawn by the renderer under the
// offscreen driver, whose player only moves and clicks the mouse at the
// display elements. The player raises a tile and lowers it
// again, pungs the dealer's discard with the pung button, discards by
// clicking a tile, wins on the drawn tile with the win button, turns a
// wall tile of the reveal and continues from the settlement. Real time;
// every wait is bounded.
//
// The wall makes the hand certain whoever plays the other seats: the
// dealer holds all three numbered suits with a single tile of dots, which
// the automatic player lets go first (the suit it gives up); the player's
// seat holds a pair of it, three runs, one honour to discard and half of
// the pair its fourth draw completes. No other seat holds a pair, so no
// claim changes the order of the draws.
//
// Screenshots of the offer, the pung, the reveal and the settlement go to
// $TESS_SHOT_DIR when set (else the test's output folder).
#include <stdlib.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "core/client.h"
#include "e2e/practice_bot.h"
#include "practice/wall_setup.h"
#include "support/child_process.h"
#include "support/client_harness.h"
#include "support/fake_lobby.h"
#include "support/mouse.h"
#include "support/temp_dir.h"
#include "support/trace_packets.h"
#include "ui/renderer.h"

namespace tess::test {
namespace {

using namespace std::chrono_literals;
using practice::Tile;
using Steady = std::chrono::steady_clock;

constexpr int kStepMs = 60000;   // the longest wait for one step of the hand
constexpr int kPung = 1, kWin = 3;  // Operation buttons
constexpr Tile kDealerDots = 0x85, kHonour = 0x13, kPairTile = 0x47;

std::string Wall() {
  practice::test::WallPlan plan;
  plan.hands = {std::vector<Tile>{0x21, 0x24, 0x27, 0x29, 0x41, 0x44, 0x48, 0x11, 0x12, 0x14, 0x15, 0x16, 0x17},
                std::vector<Tile>{kDealerDots, kDealerDots, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x41, 0x42, 0x43, kPairTile,
                                  kHonour},
                std::vector<Tile>{0x22, 0x25, 0x28, 0x42, 0x45, 0x49, 0x82, 0x86, 0x11, 0x12, 0x14, 0x16, 0x17},
                std::vector<Tile>{0x23, 0x26, 0x29, 0x43, 0x46, 0x83, 0x84, 0x87, 0x11, 0x12, 0x15, 0x16, 0x17}};
  plan.dealer_extra = kDealerDots;
  plan.draws = {0x81, 0x82, 0x83, kPairTile};  // seats 2, 3, 0, then the player's
  plan.back = {0x88};                          // the nine of dots is wild: nobody holds it
  return practice::test::WallLine(practice::test::ArrangeWall(plan, 0)) + "\n";
}

std::string ShotDir(const std::string& fallback) {
  const char* dir = getenv("TESS_SHOT_DIR");
  return dir && *dir ? dir : fallback;
}

class PracticeHandE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_FALSE(out_dir.empty());
    ASSERT_FALSE(bot_runtime.empty());
    std::ofstream(out_dir + "/walls.txt") << Wall();
    // The bots' lobbies, the usual one among them, on a channel of their
    // own: every client holds the usual window title until its command
    // line gives it its own, and the player's never does.
    chmod(bot_runtime.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", bot_runtime.c_str(), 1);
    for (const char* title : {"Orvane", "PracticeLobby0", "PracticeLobby2", "PracticeLobby3"})
      lobbies.push_back(std::make_unique<FakeLobby>(title));
    setenv("XDG_RUNTIME_DIR", h.runtime_dir.c_str(), 1);
    shots = ShotDir(out_dir);
    std::filesystem::create_directories(shots);
  }
  void TearDown() override {
    for (ChildProcess& b : bots) b.Stop();
    server.Stop();
    lobbies.clear();
    std::filesystem::remove_all(bot_runtime);
    if (!HasFailure()) std::filesystem::remove_all(out_dir);
    else std::printf("practice hand e2e: output kept in %s\n", out_dir.c_str());
  }

  Client& c() { return *h.client; }
  SeatState& own() { return c().game.custom[0]; }
  Element& Slot(int slot) { return c().MainForm.At("MJ_Image", slot); }
  Element& Button(int i) { return c().MainForm.At("Operation", i); }
  std::string BotTrace(int seat) const { return out_dir + "/trace" + std::to_string(seat) + ".jsonl"; }

  // Runs the client with its virtual clock kept in step with the wall
  // clock (never ahead of it), one tick at most between two looks, until
  // `done` or `timeout_ms` of real time.
  bool Play(const std::function<bool()>& done, int timeout_ms = kStepMs) {
    const auto start = Steady::now();
    const int64_t virtual_start = h.loop.NowMs();
    while (!done()) {
      if (h.ended) return done();
      const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
      if (real > timeout_ms) return false;
      const int64_t behind = virtual_start + real - h.loop.NowMs();
      if (behind > 0) h.RunFor(std::min<int64_t>(behind, kTickMs));
      else std::this_thread::sleep_for(5ms);
    }
    return true;
  }

  // The client's packets of `type` written to its socket so far.
  std::vector<std::vector<uint8_t>> Sent(int type) { return TracedPackets(h.TracePath(), "send", type); }
  // Plays until the client has written `n` packets of `type`; their last.
  std::vector<uint8_t> SentLast(int type, size_t n) {
    Play([&] { return Sent(type).size() >= n; }, 5000);
    const auto sent = Sent(type);
    return sent.size() >= n ? sent.back() : std::vector<uint8_t>{};
  }
  // The word at `at`, high byte first as the wire has it.
  static int Word(const std::vector<uint8_t>& p, size_t at) { return p.size() > at + 1 ? p[at] << 8 | p[at + 1] : -1; }

  bool Offered(int button) { return c().play.OfferedActions[button] == 2 && Button(button).visible && Button(button).enabled; }

  // A bot for `seat` in automatic mode; it has the seat once its login
  // has gone out.
  void StartBot(int seat, const std::string& port) {
    const std::string home = out_dir + "/seat" + std::to_string(seat);
    std::filesystem::create_directories(home);
    ASSERT_TRUE(bots[seat].Start(PracticeBot(TESSALY_BINARY, port, seat, bot_runtime, home, BotTrace(seat))));
    auto logged_in = [&] { return !TracedPackets(BotTrace(seat), "send", 18).empty(); };
    ASSERT_TRUE(Play(logged_in, 10000)) << "bot " << seat << " did not log in";
  }

  // The first line of the server's output that starts with `prefix`,
  // reading it for at most `ms`; empty when none came.
  std::string ServerLine(const std::string& prefix, int ms) {
    const auto end = Steady::now() + std::chrono::milliseconds(ms);
    for (;;) {
      for (const std::string& l : server.Lines())
        if (l.rfind(prefix, 0) == 0) return l;
      if (Steady::now() >= end) return "";
      server.WaitForLine("\x01", 200);  // never comes: keeps every line in Lines()
    }
  }

  void Shot(SdlRenderer& renderer, const std::string& name) {
    const std::string path = shots + "/" + name;
    ASSERT_TRUE(renderer.SaveScreenshot(path)) << path;
    EXPECT_GT(std::filesystem::file_size(path), 1000u) << path;
  }

  ClientHarness h;  // the player's client, on a lobby channel of its own
  std::string out_dir = MakeTempDir("practice-hand-e2e");
  std::string bot_runtime = MakeTempDir("practice-hand-run");
  std::string shots;
  ChildProcess server;
  ChildProcess bots[4];  // seats 0, 2 and 3
  std::vector<std::unique_ptr<FakeLobby>> lobbies;
};

TEST_F(PracticeHandE2eTest, APlayerPungsDiscardsAndWinsAHandWithTheMouse) {
  ASSERT_TRUE(server.Start(ChildOptions{{TESSALY_PRACTICE_SERVER, "--port", "0", "--hands", "1", "--seed", "5",
                                         "--wall-file", out_dir + "/walls.txt", "--turn-seconds", "2", "--timeout-limit",
                                         "0", "--answer-ms", "8000", "--pace-ms", "300", "--dice-ms", "800",
                                         "--deal-ms", "800", "--ready-ms", "4000", "--events"},
                                        {}, false, true, false}));
  for (int i = 0; i < 30 && server.Lines().empty(); ++i) server.WaitForLine("\x01", 100);
  ASSERT_FALSE(server.Lines().empty());
  std::istringstream first(server.Lines()[0]);
  std::string word, port;
  first >> word >> port;
  ASSERT_EQ(word, "listening");

  // Seats go by the order of the logins: the dealer's bot, the player, two bots.
  ASSERT_NO_FATAL_FAILURE(StartBot(0, port));
  ASSERT_TRUE(h.Start("player$practice$127.0.0.1$" + port + "$练习桌$0$$0$$$0$$$"));
  ASSERT_TRUE(Play([&] { return c().tick.TurnTimerAllowed; }, 10000)) << "the player's login was not accepted";
  SdlRenderer renderer(c().desktop, h.loop);
  ASSERT_NO_FATAL_FAILURE(StartBot(2, port));
  ASSERT_NO_FATAL_FAILURE(StartBot(3, port));

  // The table is set: the seat names have latched the start button (the
  // first hand starts on its own), so tiles rise under the pointer from the
  // deal on.
  ASSERT_TRUE(Play([&] { return !c().game.players[0].Account.empty() && c().game.custom[0].Seat != 0; }))
      << "the table was not set";
  ASSERT_TRUE(c().buttons.ButtonLatched[2]);
  ASSERT_TRUE(Play([&] { return own().HandCount == 13 && c().game.WildTile != 0; })) << "no deal";

  // The dealer lets its dots go: the pung button lights beside pass.
  ASSERT_TRUE(Play([&] { return Offered(kPung); })) << "no pung offered";
  EXPECT_EQ(c().game.LastDiscard & 0xFF, kDealerDots);
  EXPECT_TRUE(Offered(4));
  EXPECT_FALSE(Offered(kWin));
  Element& hovered = Slot(own().mj[own().HandStart + 5].slot);
  HoverElement(h, hovered);
  EXPECT_EQ(hovered.top, own().HandY - 10);
  MoveOverTable(h, 300, 420);
  EXPECT_EQ(hovered.top, own().HandY);
  HoverElement(h, hovered);
  Shot(renderer, "offer.png");
  ClickElement(h, Button(kPung));
  const std::vector<uint8_t> pung = SentLast(7, 1);
  EXPECT_EQ(Word(pung, 8), 8);
  EXPECT_EQ(Word(pung, 10) & 0xFF, kDealerDots);

  // Confirmed: the three dots lie below the row; the player discards next.
  ASSERT_TRUE(Play([&] { return own().HandStart == 7 && c().play.DiscardAllowed; })) << "the pung was not confirmed";
  EXPECT_EQ(own().HandCount, 11);
  for (int e = 1; e <= 3; ++e) {
    EXPECT_EQ(own().mj[e].code & 0xFF, kDealerDots) << e;
    EXPECT_EQ(Slot(own().mj[e].slot).top, own().HandY + 18) << e;
  }
  int honour = -1;
  for (int i = own().HandStart; i < own().HandStart + own().HandCount; ++i)
    if ((own().mj[i].code & 0xFF) == kHonour) honour = own().mj[i].slot;
  ASSERT_GE(honour, 0);
  HoverElement(h, Slot(honour));
  EXPECT_EQ(Slot(honour).top, own().HandY - 10);
  Shot(renderer, "pung.png");
  ClickElement(h, Slot(honour));
  const std::vector<uint8_t> discard = SentLast(2, 1);
  EXPECT_EQ(Word(discard, 14), 0x4000 | kHonour);
  EXPECT_EQ(own().HandCount, 10);

  // Three seats later the fourth draw pairs the lone tile: the win button.
  ASSERT_TRUE(Play([&] { return Offered(kWin); })) << "no win offered";
  EXPECT_EQ(own().HandCount, 11);
  EXPECT_EQ(own().mj[own().HandStart + 10].code & 0xFF, kPairTile);
  ClickElement(h, Button(kWin));
  EXPECT_EQ(Word(SentLast(7, 3), 8), 128);  // after the pung and the pass sent with the discard

  // The reveal: every other hand face up, the named wall tiles to turn.
  const auto revealed = [&] {
    const auto& s = c().game.custom;
    return c().play.WinnerView == 0 && c().play.PeekCount > 0 && s[1].HandCount == 0 && s[2].HandCount == 0 &&
           s[3].HandCount == 0;
  };
  ASSERT_TRUE(Play(revealed)) << "no reveal";
  const int peek = c().play.PeekSlots[0];
  ClickElement(h, Slot(peek));
  EXPECT_EQ(c().play.PeekSlots[0], -1);
  EXPECT_EQ(Slot(peek).left, 400);
  EXPECT_EQ(Slot(peek).top, 340);
  Shot(renderer, "reveal.png");

  // The settlement; continuing sends the continue once.
  ASSERT_TRUE(Play([&] {
    const Form* score = c().desktop.FindForm("Score");
    return score && score->visible;
  })) << "no settlement";
  Shot(renderer, "settlement.png");
  ClickElement(h, c().MainForm.At("AnNiu", 2));
  const std::vector<uint8_t> cont = SentLast(16, 1);
  EXPECT_EQ(Word(cont, 14), 1);

  const std::string hand = ServerLine("hand 1 ", kStepMs);
  EXPECT_NE(hand.find(" dealer 0 winner 1 self-drawn "), std::string::npos) << hand;
  // Every automatic client played its own seat to the end of the hand.
  for (int seat : {0, 2, 3}) {
    EXPECT_FALSE(bots[seat].WaitExit(0)) << "bot " << seat;
    EXPECT_FALSE(TracedPackets(BotTrace(seat), "send", 2).empty()) << "bot " << seat << " never discarded";
  }
}

}  // namespace
}  // namespace tess::test
