// A screenshot of a table restored by a snapshot, for looking at, not a
// test of the suite: the hand in progress of the snapshot tests laid out
// for alice, written as snapshot.png into the folder given (default ".").
// Runs under the offscreen video driver unless SDL_VIDEODRIVER says else.
//
//   snapshot_screenshot /tmp/shots
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "core/client.h"
#include "spectator/snapshot_hand.h"
#include "support/table_script.h"
#include "ui/renderer.h"

using namespace tess;
using namespace tess::test;

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const std::string path = std::string(argc > 1 ? argv[1] : ".") + "/snapshot.png";
  TableScript t;
  SdlRenderer renderer(t.c().desktop, t.h.loop);
  if (!t.SeatAt(kOwn) || !t.Deliver(HandStartMsg(kOwn, {1, 1, 1, 1})) || !t.Deliver(WildTileMsg(kWild, kIndicator)) ||
      !t.DeliverAll(HandInProgress())) {
    std::fprintf(stderr, "snapshot_screenshot: the snapshot did not arrive\n");
    return 1;
  }
  t.h.RunFor(300);
  if (!renderer.SaveScreenshot(path)) {
    std::fprintf(stderr, "snapshot_screenshot: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}
