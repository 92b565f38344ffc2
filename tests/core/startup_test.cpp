#include <gtest/gtest.h>

#include "support/client_harness.h"

namespace tess::test {
namespace {

TEST(Startup, LogsInAndSendsKeepAlivesEveryFiveSeconds) {
  ClientHarness h;
  ASSERT_TRUE(h.LogIn(8)) << h.ended.value_or("");
  EXPECT_EQ(h.client->MainForm.At("Sysmsg", 0).caption, "连接服务器成功！");
  const size_t before = h.server.ReceivedCount();
  ASSERT_TRUE(h.RunUntilReceived(before + 2, 11000));
  auto got = h.server.Received();
  EXPECT_EQ(got[before].type, 24);
  EXPECT_EQ(got[before + 1].type, 24);
}

}  // namespace
}  // namespace tess::test
