// The practice server and four real tessaly clients in automatic mode,
// headless, each with its own program directory and lobby titles: five
// hands are played to their end with no client leaving, every client gets
// every hand's results, writes every settlement to its history file and
// continues, and every client's trace shows the discards, in the server's
// order. Real time; every wait is bounded.
//
// The wall file arranges five short hands: the dealer wins with its dealt
// tiles; then, four times, the seat after the dealer wins on the dealer's
// first discard. The clients answer within their one-second turn, before
// the server would play a silent seat itself.
#include <stdlib.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/practice_bot.h"
#include "practice/wall_setup.h"
#include "support/child_process.h"
#include "support/fake_lobby.h"
#include "support/loopback.h"
#include "support/temp_dir.h"
#include "support/trace_packets.h"

namespace tess::test {
namespace {

using namespace std::chrono_literals;
using practice::Tile;

constexpr int kPlayMs = 240000;

std::vector<std::vector<uint8_t>> Received(const std::string& trace, int type) { return TracedPackets(trace, "recv", type); }
std::vector<std::vector<uint8_t>> Sent(const std::string& trace, int type) { return TracedPackets(trace, "send", type); }

std::string Walls() {
  practice::test::WallPlan one;
  one.hands = {std::vector<Tile>{0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x41, 0x41, 0x41, 0x15},
               std::vector<Tile>{0x11, 0x12, 0x13, 0x14, 0x16, 0x17, 0x28, 0x48, 0x88, 0x23, 0x43, 0x83, 0x14},
               std::vector<Tile>{0x22, 0x26, 0x29, 0x42, 0x46, 0x49, 0x82, 0x86, 0x85, 0x17, 0x13, 0x24, 0x45},
               std::vector<Tile>{0x11, 0x12, 0x13, 0x16, 0x27, 0x47, 0x87, 0x21, 0x44, 0x84, 0x25, 0x45, 0x85}};
  one.dealer_extra = 0x15;
  one.back = {0x88};
  // Hands 2 and 3: the dealer holds nothing to declare; the seat after it
  // holds three melds, a pair and two wild tiles, and so wins on whatever
  // the dealer lets go, whoever plays the seats.
  const std::vector<Tile> apart = {0x21, 0x24, 0x27, 0x41, 0x44, 0x47, 0x81, 0x84, 0x87, 0x11, 0x12, 0x13, 0x16};
  const std::vector<Tile> takes_anything = {0x21, 0x22, 0x23, 0x45, 0x46, 0x47, 0x85, 0x86, 0x87, 0x29, 0x29, 0x89, 0x89};
  const std::vector<Tile> filler_a = {0x11, 0x12, 0x13, 0x14, 0x17, 0x28, 0x48, 0x88, 0x23, 0x43, 0x83, 0x14, 0x22};
  const std::vector<Tile> filler_b = {0x42, 0x49, 0x82, 0x26, 0x22, 0x26, 0x46, 0x86, 0x17, 0x12, 0x13, 0x24, 0x44};
  practice::test::WallPlan two;
  two.hands = {apart, takes_anything, filler_a, filler_b};
  two.dealer_extra = 0x15;
  two.back = {0x88};  // the nine of dots is wild
  // Hands 3 to 5 likewise, the deal passing on to the seat that won.
  std::string walls = practice::test::WallLine(practice::test::ArrangeWall(one, 0)) + "\n" +
                      practice::test::WallLine(practice::test::ArrangeWall(two, 0)) + "\n";
  for (int dealer = 1; dealer <= 3; ++dealer) {
    practice::test::WallPlan next;
    next.hands[dealer] = apart;
    next.hands[(dealer + 1) % 4] = takes_anything;
    next.hands[(dealer + 2) % 4] = filler_a;
    next.hands[(dealer + 3) % 4] = filler_b;
    next.dealer_extra = 0x15;
    next.back = {0x88};
    walls += practice::test::WallLine(practice::test::ArrangeWall(next, dealer)) + "\n";
  }
  return walls;
}

class PracticeE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(runtime_dir.empty());
    ASSERT_FALSE(out_dir.empty());
    chmod(runtime_dir.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", runtime_dir.c_str(), 1);
    std::ofstream(out_dir + "/walls.txt") << Walls();
  }
  void TearDown() override {
    for (ChildProcess& c : clients) c.Stop();
    server.Stop();
    std::filesystem::remove_all(runtime_dir);
    if (!HasFailure()) std::filesystem::remove_all(out_dir);
    else std::printf("practice e2e: output kept in %s\n", out_dir.c_str());
  }

  std::string Trace(int n) const { return out_dir + "/trace" + std::to_string(n) + ".jsonl"; }

  // Reads the server's output for `ms` and says whether `line` has come.
  bool ServerSaid(const std::string& line, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      const auto& lines = server.Lines();
      if (std::find(lines.begin(), lines.end(), line) != lines.end()) return true;
      server.WaitForLine("\x01", 200);  // never comes: keeps every line in Lines()
    } while (std::chrono::steady_clock::now() < end);
    return false;
  }

  std::vector<std::string> ServerLines(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& l : server.Lines())
      if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
  }

  std::string runtime_dir = MakeTempDir("practice-e2e-run");
  std::string out_dir = MakeTempDir("practice-e2e-out");
  ChildProcess server;
  ChildProcess clients[4];
};

// The clients answer within their one-second turn, well before the server
// would play a silent seat.
TEST_F(PracticeE2eTest, FourAutomaticClientsPlayFiveHandsToTheEnd) {
  ASSERT_TRUE(server.Start(ChildOptions{{TESSALY_PRACTICE_SERVER, "--port", "0", "--hands", "5", "--seed", "3",
                                         "--wall-file", out_dir + "/walls.txt", "--turn-seconds", "1",
                                         "--answer-ms", "4000", "--pace-ms",
                                         "450", "--dice-ms", "2500", "--deal-ms", "1500", "--ready-ms", "8000",
                                         "--events"},
                                        {}, false, true, false}));
  server.WaitForLine("\x01", 3000);
  ASSERT_FALSE(server.Lines().empty());
  std::istringstream first(server.Lines()[0]);
  std::string word, port;
  first >> word >> port;
  ASSERT_EQ(word, "listening");

  // Every client restores the usual lobby at start-up, then talks to its own.
  FakeLobby usual;
  std::vector<std::unique_ptr<FakeLobby>> lobbies;
  for (int n = 0; n < 4; ++n) lobbies.push_back(std::make_unique<FakeLobby>("PracticeLobby" + std::to_string(n)));
  ASSERT_TRUE(usual.Bound());
  for (int n = 0; n < 4; ++n) {
    const std::string home = out_dir + "/table/seat" + std::to_string(n);
    std::filesystem::create_directories(home);
    ASSERT_TRUE(clients[n].Start(PracticeBot(TESSALY_BINARY, port, n, runtime_dir, home, Trace(n))));
    // The next client starts once this one has taken its own window title
    // (it posts 22 to its lobby just before the login).
    const auto end = std::chrono::steady_clock::now() + 10s;
    auto posted = [&] {
      std::ifstream in(Trace(n));
      std::stringstream s;
      s << in.rdbuf();
      return s.str().find("\"msg\":22,") != std::string::npos;
    };
    while (!posted() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(posted()) << "client " << n;
  }

  ASSERT_TRUE(ServerSaid("event settled 5", kPlayMs));
  const std::vector<std::string> hands = ServerLines("hand ");
  ASSERT_EQ(hands.size(), 5u);
  EXPECT_EQ(hands[0].rfind("hand 1 seed 4 dealer 0 winner 0 self-drawn", 0), 0u) << hands[0];
  EXPECT_EQ(hands[1].rfind("hand 2 seed 5 dealer 0 winner 1 on-discard", 0), 0u) << hands[1];
  EXPECT_EQ(hands[2].rfind("hand 3 seed 6 dealer 1 winner 2 on-discard", 0), 0u) << hands[2];
  EXPECT_EQ(hands[3].rfind("hand 4 seed 7 dealer 2 winner 3 on-discard", 0), 0u) << hands[3];
  EXPECT_EQ(hands[4].rfind("hand 5 seed 8 dealer 3 winner 0 on-discard", 0), 0u) << hands[4];
  for (int n = 0; n < 4; ++n) EXPECT_FALSE(clients[n].WaitExit(0)) << "client " << n << " ended";

  // The clients take one packet per tick: give them time to catch up.
  const auto end = std::chrono::steady_clock::now() + 60s;
  auto caught_up = [&] {
    for (int n = 0; n < 4; ++n)
      if (Received(Trace(n), 17).size() < 5 || Sent(Trace(n), 16).size() < 5) return false;
    return true;
  };
  while (!caught_up() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(250ms);

  // The server's discards, as "seat tile", in its order.
  std::vector<std::string> discards;
  for (const std::string& l : ServerLines("event discard ")) {
    std::istringstream s(l.substr(14));
    int hand = 0, seat = 0, tile = 0;
    s >> hand >> seat >> tile;
    discards.push_back(std::to_string(seat) + " " + std::to_string(tile));
  }
  EXPECT_EQ(discards.size(), 4u);  // the dealers' first discards in hands 2 to 5
  size_t sent_discards = 0;
  for (int n = 0; n < 4; ++n) sent_discards += Sent(Trace(n), 2).size();
  EXPECT_EQ(sent_discards, 4u);  // each made by the dealer's own client
  for (int n = 0; n < 4; ++n) {
    SCOPED_TRACE("client " + std::to_string(n));
    EXPECT_FALSE(clients[n].WaitExit(0));
    EXPECT_EQ(Received(Trace(n), 9).size(), 20u);  // four results in each of five hands
    EXPECT_EQ(Received(Trace(n), 17).size(), 5u);
    EXPECT_EQ(Received(Trace(n), 4).size(), 5u);
    std::vector<std::string> seen;
    for (const auto& p : Received(Trace(n), 2)) seen.push_back(std::to_string(__builtin_ctz(p[6])) + " " + std::to_string(p[15]));
    EXPECT_EQ(seen, discards);
    // The client played its own seat: its discards and continues went out.
    EXPECT_EQ(Sent(Trace(n), 16).size(), 5u);
    // Each client's deal is its own seat's.
    // Every settlement went into the client's history file.
    std::ifstream history(out_dir + "/table/seat" + std::to_string(n) + "/info.kb");
    std::stringstream kept;
    kept << history.rdbuf();
    for (int hand = 1; hand <= 5; ++hand)
      EXPECT_NE(kept.str().find("[juNum:" + std::to_string(hand) + "]"), std::string::npos) << hand;
    const auto deals = Received(Trace(n), 1);
    ASSERT_EQ(deals.size(), 5u);
    for (const auto& deal : deals) EXPECT_EQ(deal[6], 1 << n);
  }
}

}  // namespace
}  // namespace tess::test
