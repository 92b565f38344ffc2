#include "frame.h"

#include <cmath>

#include "style.h"
#include "text.h"

namespace picgen {
namespace {

constexpr float kPanelTop = 652;  // where the wooden bar begins (reference pixels)

// A dark recess with a thin gold rim, in reference pixels.
void Recess(Canvas& c, float s, float x, float y, float w, float h, float radius) {
  FillRoundRect(c, x * s, y * s, w * s, h * s, radius * s, Solid(Hex(0x1A0D05)));
  FillRoundRect(c, (x + 1) * s, (y + 2) * s, (w - 2) * s, (h - 3) * s, radius * s,
                Linear({0, y * s}, {0, (y + h) * s}, Hex(0x120903), Hex(0x2A170B)));
  StrokeRoundRect(c, x * s + 0.5f, y * s + 0.5f, w * s - 1, h * s - 1, radius * s, 1, Solid(WithAlpha(Hex(0xC69036), 0.75f)));
}

void Cloth(Canvas& c, float s) {
  const float w = 1024 * s, top = kPanelTop * s;
  FillRect(c, 0, 0, w, top, Radial({512 * s, 330 * s}, 680 * s, Hex(0x2C8A56), style::kFeltDark));
  // A faint rosette under the middle of the table, where the discards show.
  const float cx = 512 * s, cy = 330 * s;
  StrokeCircle(c, cx, cy, 70 * s, 1.5f, Solid(WithAlpha(Hex(0xBFE8C8), 0.09f)));
  StrokeCircle(c, cx, cy, 62 * s, 1.0f, Solid(WithAlpha(Hex(0xBFE8C8), 0.07f)));
  for (int k = 0; k < 8; ++k) {
    const float a = k * 3.14159265f / 4;
    FillRotatedEllipse(c, cx + std::cos(a) * 38 * s, cy + std::sin(a) * 38 * s, 18 * s, 7 * s, a,
                       Solid(WithAlpha(Hex(0xBFE8C8), 0.05f)));
  }
  // A thin border line around the playing area.
  StrokeRoundRect(c, 6 * s, 6 * s, w - 12 * s, top - 12 * s, 14 * s, 1.0f, Solid(WithAlpha(Hex(0xD9C27A), 0.35f)));
  // The bar casts a shadow onto the cloth.
  FillRect(c, 0, top - 12 * s, w, 12 * s, Linear({0, top - 12 * s}, {0, top}, WithAlpha(Hex(0x000000), 0), WithAlpha(Hex(0x000000), 0.35f)));
}

void WoodenBar(Canvas& c, float s) {
  const float w = 1024 * s, top = kPanelTop * s, h = 768 * s - top;
  FillRect(c, 0, top, w, h, Linear({0, top}, {0, top + h}, Hex(0x5E361C), style::kPanelDark));
  // Grain: long, slightly wavy lines.
  for (int k = 0; k < 14; ++k) {
    const float base = kPanelTop + 8 + k * 8.3f;
    FillSdf(c, 0, (base - 4) * s, w, (base + 4) * s,
            [=](float x, float y) { return std::fabs(y - (base + 1.6f * std::sin(x / (47.0f + k * 9) + k)) * s) - 0.5f; },
            Solid(WithAlpha(Hex(0x1A0C04), 0.18f)));
  }
  FillRect(c, 0, top, w, 2 * s, Solid(Hex(0xC69036)));
  FillRect(c, 0, top + 2 * s, w, 1, Solid(Hex(0x7A4A16)));
  Recess(c, s, 5, 661, 95, 100, 7);      // own avatar
  Recess(c, s, 172, 693, 132, 70, 5);    // name, coins and level
  Recess(c, s, 307, 692, 291, 33, 4);    // the two ticker lines
  Recess(c, s, 313, 726, 254, 24, 4);    // the chat line
  Recess(c, s, 641, 694, 284, 72, 6);    // the button bar
  Recess(c, s, 932, 676, 90, 88, 6);     // the banner
}

Paint Vertical(float y0, float y1, Rgba a, Rgba b) { return Linear({0, y0}, {0, y1}, a, b); }

}  // namespace

Canvas DrawTableBackground(float scale) {
  Canvas c(static_cast<int>(std::lround(1024 * scale)), static_cast<int>(std::lround(768 * scale)));
  Cloth(c, scale);
  WoodenBar(c, scale);
  return c;
}

Canvas DrawSkin() {
  const int w = 46, h = 220, bar = 20, edge = 8;
  Canvas c(w, h);
  // Painted as the frame of a window of the skin's own size, so each piece
  // is uniform along the direction it is stretched in.
  FillRect(c, 0, 0, w, h, Solid(Hex(0x1E0804)));
  FillRect(c, 0, 0, w, bar, Vertical(0, bar, Hex(0x9A3A1E), Hex(0x4A1208)));
  FillRect(c, 0, 0, w, 1, Solid(Hex(0xD06A40)));
  FillRect(c, 0, bar - 1.0f, w, 1, Solid(Hex(0xC69036)));
  // Side edges: dark outside, lighter in the middle, a gold line and a dark
  // line next to the table.
  const Paint side_l = Linear({0, 0}, {static_cast<float>(edge), 0}, Hex(0x2A0A04), Hex(0x6A1E10));
  const Paint side_r = Linear({static_cast<float>(w), 0}, {static_cast<float>(w - edge), 0}, Hex(0x2A0A04), Hex(0x6A1E10));
  FillRect(c, 0, bar, edge, h - bar, side_l);
  FillRect(c, w - edge, bar, edge, h - bar, side_r);
  FillRect(c, 0, h - edge, w, edge, Vertical(h, h - edge, Hex(0x2A0A04), Hex(0x6A1E10)));
  // Re-paint the side edges over the bottom edge's corners so the gold
  // lines meet in an L.
  FillRect(c, 0, h - edge, edge, edge, side_l);
  FillRect(c, w - edge, h - edge, edge, edge, side_r);
  FillRect(c, edge - 2.0f, bar, 1, h - bar - edge + 2.0f, Solid(Hex(0xC69036)));
  FillRect(c, w - edge + 1.0f, bar, 1, h - bar - edge + 2.0f, Solid(Hex(0xC69036)));
  FillRect(c, edge - 2.0f, h - edge + 1.0f, w - 2 * edge + 4.0f, 1, Solid(Hex(0xC69036)));
  FillRect(c, edge - 1.0f, bar, 1, h - bar - edge + 1.0f, Solid(Hex(0x1E0804)));
  FillRect(c, w - edge, bar, 1, h - bar - edge + 1.0f, Solid(Hex(0x1E0804)));
  FillRect(c, edge - 1.0f, h - edge, w - 2 * edge + 2.0f, 1, Solid(Hex(0x1E0804)));
  return c;
}

namespace {

Canvas ChromeButton(ChromeLook look, Rgba base) {
  Canvas c(16, 16);
  Rgba top = Lighter(base, 0.25f), bottom = Darker(base, 0.25f);
  if (look == ChromeLook::kHover) top = Lighter(base, 0.5f), bottom = base;
  if (look == ChromeLook::kPressed) top = Darker(base, 0.35f), bottom = Darker(base, 0.1f);
  FillRoundRect(c, 0, 0, 16, 16, 3.5f, Solid(Hex(0x1E0804)));
  FillRoundRect(c, 1, 1, 14, 14, 3, Vertical(1, 15, top, bottom));
  if (look != ChromeLook::kPressed) {
    FillRoundRect(c, 2, 1.5f, 12, 6, 2.5f, Vertical(1.5f, 7.5f, WithAlpha(style::kWhite, 0.35f), WithAlpha(style::kWhite, 0.05f)));
  }
  return c;
}

}  // namespace

Canvas DrawCloseButton(ChromeLook look) {
  Canvas c = ChromeButton(look, Hex(0xB8321E));
  const float d = look == ChromeLook::kPressed ? 0.7f : 0;
  StrokeLine(c, {4.8f + d, 4.8f + d}, {11.2f + d, 11.2f + d}, 2.0f, Solid(style::kWhite));
  StrokeLine(c, {11.2f + d, 4.8f + d}, {4.8f + d, 11.2f + d}, 2.0f, Solid(style::kWhite));
  return c;
}

Canvas DrawMinimiseButton(ChromeLook look) {
  Canvas c = ChromeButton(look, Hex(0x9A7428));
  const float d = look == ChromeLook::kPressed ? 0.7f : 0;
  StrokeLine(c, {4.5f + d, 10.5f + d}, {11.5f + d, 10.5f + d}, 2.2f, Solid(style::kWhite));
  return c;
}

Canvas DrawIcon() {
  Canvas c(32, 32);
  FillRoundRect(c, 5, 1, 22, 30, 4, Solid(style::kBack));
  FillRoundRect(c, 5, 4, 22, 27, 4, Linear({5, 4}, {27, 31}, style::kIvory, style::kIvoryShade));
  StrokeRoundRect(c, 5.5f, 1.5f, 21, 29, 4, 1, Solid(style::kTileLine));
  DrawMaskCentred(c, FitText("中", 17, 21, 0.05f), 16, 17.5f, Solid(style::kInkRed));
  return c;
}

}  // namespace picgen
