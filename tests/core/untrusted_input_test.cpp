// Every received packet is untrusted. A logged-in client is sent each
// handled message type with seats that are not one seat and bodies of
// nonsense: each message either runs or ends the program, and never reaches
// past an array (the sanitizer build, with the library's own bound checks
// on, is what catches that).
#include <gtest/gtest.h>

#include <string>

#include "core/client.h"
#include "support/client_harness.h"

namespace tess::test {
namespace {

TEST(UntrustedInput, HandledTypesWithSeatsThatAreNotOneSeatStayInBounds) {
  struct Case {
    uint8_t type;
    int16_t value3;  // selects the form of types 16, 18 and 29
  };
  for (Case cs : {Case{3, 0}, Case{8, 0}, Case{16, 0}, Case{16, 1}, Case{16, 2}, Case{16, 255}, Case{18, 1},
                  Case{18, 2}, Case{19, 1}, Case{21, 0}, Case{22, 0}, Case{29, 1}, Case{29, 0}}) {
    for (uint8_t seat : {0, 15, 0xFF, 6}) {
      SCOPED_TRACE(testing::Message() << "type " << int(cs.type) << " seat " << int(seat) << " value3 " << cs.value3);
      ClientHarness h;
      ASSERT_TRUE(h.LogIn()) << h.ended.value_or("");
      for (int v = 1; v < kSeatCount; ++v) h.client->game.players[v].Nick = "p" + std::to_string(v);
      ServerPacket m;
      m.type = cs.type;
      m.seat = seat;
      m.value = {-1, -1, static_cast<int16_t>(0x7FFF), cs.value3};
      m.body.fill(0xB0);  // lead bytes throughout, no zero anywhere
      ASSERT_TRUE(h.server.Send(m));
      h.RunFor(2500);  // past the 2 s pauses of types 16 and 22
      if (!h.ended) {
        EXPECT_EQ(RecvPendingBytes(h.client->packets), 0);
      }
    }
  }
}

}  // namespace
}  // namespace tess::test
