// A client harness started on a screen of a given size: the size is set on
// the desktop before start-up, as the display would report it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "support/client_harness.h"

namespace tess::test {

// Starts a client with the harness's player line on a width x height
// screen; a start that ends the program fails the test.
inline std::unique_ptr<ClientHarness> StartedOn(int width, int height) {
  auto harness = std::make_unique<ClientHarness>();
  harness->client->desktop.screen_width = width;
  harness->client->desktop.screen_height = height;
  EXPECT_TRUE(harness->Start(harness->PlayerLine())) << harness->ended.value_or("");
  return harness;
}

}  // namespace tess::test
