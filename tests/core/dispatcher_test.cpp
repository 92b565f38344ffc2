// The dispatcher in a logged-in client: messages come from the scripted
// server through the receive ring and the tick, as in play.
#include "table/dispatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/client.h"
#include "play/claims.h"
#include "platform/lobby_channel.h"
#include "support/client_harness.h"
#include "support/table_script.h"
#include "ui/scene_dump.h"

namespace tess::test {
namespace {

class DispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(h.LogIn()) << h.ended.value_or("");
    // No keep-alive may slip into what a test counts as output.
    c().TimerKeepAlive.SetEnabled(false);
    // Nor the 771 the accepted login posted to the lobby, which may still be on its way.
    ASSERT_TRUE(h.RunUntil([&] {
      const auto n = h.lobby->Numbers();
      return std::find(n.begin(), n.end(), 771u) != n.end();
    }, 2000));
  }
  Client& c() { return *h.client; }

  // Sends `p` and runs the client until it has taken the packet out of the
  // receive ring (and so dispatched it). False once the program has ended.
  bool Deliver(const ServerPacket& p) {
    const int32_t read_before = c().packets.RecvReadPos;
    if (!h.server.Send(p)) return false;
    h.RunUntil([&] { return h.ended || c().packets.RecvReadPos != read_before; }, 2000);
    return !h.ended;
  }

  ClientHarness h;
};

TEST_F(DispatcherTest, EveryTypeButTheReconnectAnswerRefreshesTheTagThatOutgoingPacketsCarry) {
  ServerPacket ordinary;
  ordinary.type = kTypeNoEffect;
  ordinary.tag = {0x12, 0x34};
  ASSERT_TRUE(Deliver(ordinary));
  EXPECT_EQ(c().packets.ConnectionTag, (TagBytes{0x12, 0x34}));

  ServerPacket resumed;  // a reconnect answer "resumed" with a tag of its own
  resumed.type = kTypeReconnectReply;
  resumed.value[3] = 1;
  resumed.tag = {0x56, 0x78};
  ASSERT_TRUE(Deliver(resumed));
  EXPECT_TRUE(c().conn.Reconnected);  // it was handled
  EXPECT_EQ(c().packets.ConnectionTag, (TagBytes{0x12, 0x34}));

  for (uint16_t type : {10, 24, 42, 200}) {
    ServerPacket unknown;
    unknown.type = type;
    unknown.tag = {static_cast<uint8_t>(type), 0x01};
    ASSERT_TRUE(Deliver(unknown));
    EXPECT_EQ(c().packets.ConnectionTag, (TagBytes{static_cast<uint8_t>(type), 0x01})) << type;
  }

  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(h.Do([](Client& cl) { TimerKeepAlive_Timer(cl); }));
  ASSERT_TRUE(h.RunUntilReceived(before + 1, 1000));
  EXPECT_EQ(h.server.Received()[before].tag, (std::array<uint8_t, 2>{200, 0x01}));
}

TEST_F(DispatcherTest, TypesWithoutAHandlerChangeNothingAndProduceNoOutput) {
  for (uint16_t type : {10, 24, 42}) {
    ServerPacket p;
    p.type = type;
    p.seat = 4;
    p.value = {1, 2, 3, 4};
    p.Text(16, "nothing to see");
    const std::string scene = SceneJson(c().desktop);
    const std::string trace = h.TraceText();
    const size_t lobby_messages = h.lobby->Received().size();
    const size_t sent = h.server.ReceivedCount();
    const GameState before = c().game;

    ASSERT_TRUE(Deliver(p)) << type;
    ASSERT_TRUE(h.RunFor(500));
    EXPECT_EQ(SceneJson(c().desktop), scene) << type;
    const std::string added = h.TraceText().substr(trace.size());
    EXPECT_EQ(std::count(added.begin(), added.end(), '\n'), 1) << added;  // the "recv" line alone
    EXPECT_NE(added.find("\"recv\""), std::string::npos) << added;
    EXPECT_EQ(h.lobby->Received().size(), lobby_messages) << type;
    EXPECT_EQ(h.server.ReceivedCount(), sent) << type;
    EXPECT_EQ(c().game.HandInProgress, before.HandInProgress);
    EXPECT_EQ(c().game.TableCleared, before.TableCleared);
    EXPECT_EQ(c().game.juNum, before.juNum);
    EXPECT_EQ(c().game.custom[0].Name, before.custom[0].Name);
    EXPECT_EQ(c().game.SeatNames, before.SeatNames);
    EXPECT_FALSE(c().desktop.FindForm("frmOtherExit"));
  }
}

// Every handled type has a handler, the same seated and watching except
// for types 1, 2, 5 and 7, which have a spectator twin; other types none.
TEST(Catalogue, HandledTypesHaveHandlersAndFourHaveSpectatorTwins) {
  const std::vector<int> handled = {1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 29, 40, 41};
  for (int type = -1; type <= 260; ++type) {
    SCOPED_TRACE(type);
    const bool is_handled = std::find(handled.begin(), handled.end(), type) != handled.end();
    const bool twin = type == 1 || type == 2 || type == 5 || type == 7;
    EXPECT_EQ(HandlerFor(type, false) != nullptr, is_handled);
    EXPECT_EQ(HandlerFor(type, true) != nullptr, is_handled);
    if (is_handled) {
      EXPECT_EQ(HandlerFor(type, false) != HandlerFor(type, true), twin);
    }
  }
}

// A pung for a seat that holds no tiles fails its bound check inside the
// seated handler and inside the spectator twin alike.
TEST_F(DispatcherTest, AFaultInsideAHandlerRestoresTheLobbyAndEndsTheClient) {
  for (bool spectator : {false, true}) {
    SCOPED_TRACE(spectator ? "watching" : "seated");
    TableScript fresh;
    ASSERT_TRUE(fresh.SeatAt(0x01));
    fresh.c().game.IsSpectator = spectator;
    const auto restores_before = fresh.h.lobby->Received().size();
    EXPECT_FALSE(fresh.Deliver(ClaimMsg(0x04, kPung, {0x21, 0x21, 0x21})));
    ASSERT_TRUE(fresh.h.ended);
    EXPECT_NE(fresh.h.ended->find("type 7"), std::string::npos) << *fresh.h.ended;
    const auto got = fresh.h.lobby->Received();
    ASSERT_GT(got.size(), restores_before);
    EXPECT_EQ(got.back().msg, kWmSysCommand);
    EXPECT_EQ(got.back().wparam, kScRestore);
    EXPECT_NE(fresh.h.TraceText().find("\"exit\""), std::string::npos);
  }
}

TEST_F(DispatcherTest, TheProgramsOwnEndInsideAHandlerIsNotTakenForAFault) {
  ServerPacket left;  // type 21 naming the local player
  left.type = kTypePlayerLeft;
  left.Text(16, "alice");
  EXPECT_FALSE(Deliver(left));
  ASSERT_TRUE(h.ended);
  EXPECT_EQ(h.ended->find("fault"), std::string::npos) << *h.ended;
}

}  // namespace
}  // namespace tess::test
