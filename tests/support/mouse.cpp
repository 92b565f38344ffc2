#include "support/mouse.h"

#include <utility>

#include "core/client.h"

namespace tess::test {
namespace {

// Screen point of point (x, y) of `e`.
std::pair<double, double> OnScreen(Client& c, const Element& e, double x, double y) {
  return {c.MainForm.left + e.FormLeft() + x, c.MainForm.top + e.FormTop() + y};
}

// A point of `e` where it is not covered (its centre when none is found):
// where a user clicks an element that others partly overlap.
std::pair<double, double> VisiblePoint(Client& c, const Element& e) {
  for (double fy = 0.5; fy < 1; fy += 0.1)
    for (double fx : {0.5, 0.3, 0.7, 0.15, 0.85})
      for (double y : {e.height * fy, e.height * (1 - fy)})
        if (c.MainForm.HitTest(e.FormLeft() + e.width * fx, e.FormTop() + y) == &e) return {e.width * fx, y};
  return {e.width / 2, e.height / 2};
}

void ClickAt(ClientHarness& h, double x, double y, int button) {
  h.Do([&](Client& cl) {
    cl.desktop.MouseMove(x, y, 0, 0);
    cl.desktop.MouseDown(x, y, button, 0, h.loop.NowMs());
    cl.desktop.MouseUp(x, y, button, 0);
  });
}

void MoveTo(ClientHarness& h, double x, double y) {
  h.Do([&](Client& cl) { cl.desktop.MouseMove(x, y, 0, 0); });
}

}  // namespace

void ClickElement(ClientHarness& h, const Element& e, int button) {
  const auto [px, py] = VisiblePoint(*h.client, e);
  const auto [x, y] = OnScreen(*h.client, e, px, py);
  ClickAt(h, x, y, button);
}

void HoverElement(ClientHarness& h, const Element& e) {
  const auto [x, y] = OnScreen(*h.client, e, e.width / 2, e.height / 2);
  MoveTo(h, x, y);
}

void MoveOverTable(ClientHarness& h, double x, double y) {
  const auto [sx, sy] = OnScreen(*h.client, h.client->MainForm.At("Pic1"), x, y);
  MoveTo(h, sx, sy);
}

void ClickTable(ClientHarness& h, double x, double y, int button) {
  const auto [sx, sy] = OnScreen(*h.client, h.client->MainForm.At("Pic1"), x, y);
  ClickAt(h, sx, sy, button);
}

}  // namespace tess::test
