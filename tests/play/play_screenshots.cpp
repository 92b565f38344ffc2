// Screenshots of a scripted hand for looking at, not a test of the suite:
// the offer, the table after the local pung, and the reveal, written as
// offer.png, pung.png and reveal.png into the folder given (default ".").
// Runs under the offscreen video driver unless SDL_VIDEODRIVER says else.
//
//   play_screenshots /tmp/shots
#include <stdlib.h>

#include <cstdio>
#include <string>

#include "core/client.h"
#include "support/table_script.h"
#include "ui/renderer.h"

using namespace tess;
using namespace tess::test;

namespace {

constexpr uint8_t kOwn = 1, kRight = 2, kTop = 4, kLeft = 8;

bool Fail(const char* what) {
  std::fprintf(stderr, "play_screenshots: %s\n", what);
  return false;
}

bool Run(const std::string& dir) {
  TableScript t;
  SdlRenderer renderer(t.c().desktop, t.h.loop);
  const auto shot = [&](const char* name) {
    t.h.RunFor(300);
    const std::string path = dir + "/" + name;
    if (!renderer.SaveScreenshot(path)) return Fail(("cannot write " + path).c_str());
    std::printf("%s\n", path.c_str());
    return true;
  };
  if (!t.DealOthersTurn({0x81, 0x81, 0x42, 0x43, 0x44, 0x23, 0x24, 0x26, 0x11, 0x12, 0x13, 0x17}, 0x14) ||
      !t.DeliverAll({DiscardMsg(kRight, 0x81), OfferMsg(kOwn, 1 | 8)}))
    return Fail("the deal did not arrive");
  if (!shot("offer.png")) return false;
  t.c().buttons.ButtonLatched[2] = true;  // the start button was pressed: tiles rise on hover

  t.Click(t.c().MainForm.At("Operation", 1));
  if (!t.Deliver(ClaimMsg(kOwn, 8, {0x81, 0x81, 0x81})) || !t.Deliver(OfferMsg(kOwn, 1))) return Fail("no pung");
  const SeatState& own = t.c().game.custom[0];
  t.Hover(t.c().MainForm.At("MJ_Image", own.mj[own.HandStart + 3].slot));
  if (!shot("pung.png")) return false;

  t.Click(t.c().MainForm.At("MJ_Image", own.mj[own.HandStart + 10].slot));
  if (!t.DeliverAll({DrawMsg(kTop, 0), DiscardMsg(kTop, 0x29), DrawMsg(kLeft, 0),
                     ClaimMsg(kLeft, 32, {0x47, 0x47, 0x47}), DrawMsg(kLeft, 0), DiscardMsg(kLeft, 0x39 - 0x10),
                     ClaimMsg(kTop, 128, {0, 0, 0})}))
    return Fail("the hand did not end");
  const std::array<int16_t, 13> hand = {0x13, 0x29, 0x81, 0x45, 0x21, 0x88, 0x11, 0x42, 0x27, 0x83, 0x15, 0x22, 0x47};
  for (uint8_t seat : {kRight, kLeft, kTop}) {
    const int n = t.c().game.custom[*ViewSeatOf(t.c().game, seat)].HandCount;
    for (int i = 0; i < n; i += 4) {
      std::array<int16_t, 4> v{};
      for (int k = 0; k < 4 && i + k < n; ++k) v[3 - k] = hand[(i + k) % hand.size()];
      if (!t.Deliver(RevealMsg(seat, v, {0x11, 0x25, 0x36 - 0x10, 0x27, 0x28}))) return Fail("no reveal");
    }
  }
  t.Click(t.c().MainForm.At("MJ_Image", t.c().play.PeekSlots[0]));
  return shot("reveal.png");
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return Run(argc > 1 ? argv[1] : ".") ? 0 : 1;
}
