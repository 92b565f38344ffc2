#include "bubbles.h"

#include <algorithm>

#include "style.h"
#include "text.h"

namespace picgen {
namespace {

// Gold at the top of the letters, deep orange at their foot.
Paint LetterPaint(float top, float bottom) {
  return Linear({0, top}, {0, bottom}, Hex(0xFFE35A), Hex(0xF07A12));
}

void DrawBoldText(Canvas& c, const std::string& text, float cx, float cy, int w, int h) {
  const Mask m = FitText(text, w, h, 0.04f);
  const float top = cy - m.height / 2.0f, bottom = cy + m.height / 2.0f;
  DrawMaskCentred(c, Dilated(m, 3.0f), cx, cy + 1, Solid(Hex(0x5A0A06)));
  DrawMaskCentred(c, Dilated(m, 1.6f), cx, cy, Solid(style::kLacquer));
  DrawMaskCentred(c, m, cx, cy, LetterPaint(top, bottom));
}

}  // namespace

Canvas DrawClaimCaption(const std::string& text, int w, int h) {
  Canvas c(w, h);
  DrawBoldText(c, text, w / 2.0f, h / 2.0f, w - 8, h - 8);
  return c;
}

Canvas DrawSpeechBubble(const std::string& text, int seat) {
  const int w = 131, h = 102;
  Canvas c(w, h);
  // Body and tail per seat: the tail's base lies inside the body.
  float bx = 68, by = 50;
  Point tail[3] = {{44, 66}, {60, 74}, {4, 94}};  // left seat: down to the left
  if (seat == 2) {
    bx = 70, by = 58;
    tail[0] = {34, 44}, tail[1] = {50, 34}, tail[2] = {6, 4};
  } else if (seat == 3) {
    bx = 62, by = 50;
    tail[0] = {86, 66}, tail[1] = {70, 74}, tail[2] = {127, 94};
  }
  const float rx = 56, ry = 36;
  const Sdf shape = [=](float x, float y) {
    return std::min(EllipseDistance({x, y}, bx, by, rx, ry), PolygonDistance({x, y}, tail));
  };
  // Shadow, outline, body, then a light sheen on the upper left.
  FillSdf(c, 0, 0, w, h, [&](float x, float y) { return shape(x - 2, y - 2) - 1.5f; }, Solid(WithAlpha(Hex(0x0A2A18), 0.6f)));
  FillSdf(c, 0, 0, w, h, [&](float x, float y) { return shape(x, y) - 1.8f; }, Solid(Hex(0x3A2A1A)));
  FillSdf(c, 0, 0, w, h, shape, Radial({bx - 18, by - 16}, 70, style::kWhite, Hex(0xF2EAD6)));
  DrawBoldText(c, text, bx, by, static_cast<int>(rx * 1.45f), static_cast<int>(ry * 1.3f));
  return c;
}

}  // namespace picgen
