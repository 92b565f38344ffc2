#include "form_extras.h"

#include <algorithm>
#include <cmath>

#include "style.h"
#include "text.h"
#include "tiles.h"

namespace picgen {
namespace {

constexpr float kPi = 3.14159265f;
constexpr int kRedDragon = 4;  // tile picture index

const Rgba kRim = Hex(0xC69036);        // the gold line of the bar
const Rgba kOutline = Hex(0x1E0E06);
const Rgba kWoodTop = Hex(0x6A3D1F);
const Rgba kWoodFoot = Hex(0x3A200F);
const Rgba kSlotTop = Hex(0x120903);
const Rgba kSlotFoot = Hex(0x2A170B);

Paint Vertical(float y0, float y1, Rgba a, Rgba b) { return Linear({0, y0}, {0, y1}, a, b); }

// A raised plate: a one-pixel outline, a body shaded from top to foot, a
// light along the top and a rim inside the edge.
struct PlateLook {
  Rgba outline, top, foot, rim;
  float rim_inset = 2;  // from the outer edge to the middle of the rim
  float rim_width = 1;
  float sheen = 0;      // opacity of the light along the top
};

void Plate(Canvas& c, float x, float y, float w, float h, float radius, const PlateLook& look) {
  FillRoundRect(c, x, y, w, h, radius, Solid(look.outline));
  FillRoundRect(c, x + 1, y + 1, w - 2, h - 2, radius - 0.5f, Vertical(y + 1, y + h - 1, look.top, look.foot));
  if (look.sheen > 0) {
    const float sheen_h = std::min(h * 0.35f, 10.0f);
    FillRoundRect(c, x + 2, y + 2, w - 4, sheen_h, radius - 1,
                  Vertical(y + 2, y + 2 + sheen_h, WithAlpha(style::kWhite, look.sheen), WithAlpha(style::kWhite, 0)));
  }
  const float i = look.rim_inset;
  StrokeRoundRect(c, x + i, y + i, w - 2 * i, h - 2 * i, std::max(radius - i, 1.0f), look.rim_width, Solid(look.rim));
}

const PlateLook kWood{kOutline, kWoodTop, kWoodFoot, kRim, 2, 1, 0.14f};
const PlateLook kLacquerButton{kOutline, Hex(0xA8421F), Hex(0x5A170A), kRim, 1.5f, 1, 0.3f};

// A dark slot sunk into wood, lit along its lower edge.
void Slot(Canvas& c, float x, float y, float w, float h, float radius) {
  FillRoundRect(c, x, y, w, h, radius, Solid(kOutline));
  FillRoundRect(c, x + 1, y + 1.5f, w - 2, h - 2.5f, radius - 0.5f, Vertical(y, y + h, kSlotTop, kSlotFoot));
  StrokeRoundRect(c, x + 0.5f, y + 0.5f, w - 1, h - 1, radius, 1, Solid(WithAlpha(kRim, 0.75f)));
}

// The lacquer caption band with gold edges that heads a frame.
void CaptionBand(Canvas& c, float x, float y, float w, float h, const std::string& text, int size) {
  FillRoundRect(c, x, y, w, h, 3, Solid(style::kGoldDark));
  FillRoundRect(c, x + 1, y + 1, w - 2, h - 2, 2.5f, Vertical(y, y + h, Hex(0xD03A26), style::kLacquerDark));
  StrokeLine(c, {x + 3, y + 2.5f}, {x + w - 3, y + 2.5f}, 1, Solid(WithAlpha(style::kGold, 0.6f)));
  DrawCaption(c, text, size, x + w / 2, y + h / 2 + 0.5f, Vertical(y, y + h, Hex(0xFFF1B0), style::kGold),
              style::kLacquerDark);
}

// Gold studs in the four corners of a frame.
void CornerStuds(Canvas& c, float x, float y, float w, float h, float r) {
  for (const Point p : {Point{x, y}, Point{x + w, y}, Point{x, y + h}, Point{x + w, y + h}}) {
    FillCircle(c, p.x, p.y, r, Radial({p.x - r / 3, p.y - r / 3}, r, style::kCream, style::kGoldDark));
  }
}

void AlarmClock(Canvas& c, float cx, float cy, float r) {
  // Feet and bells first, the body over them.
  StrokeLine(c, {cx - r * 0.55f, cy + r * 0.7f}, {cx - r * 0.85f, cy + r * 1.15f}, 2, Solid(style::kGoldDark));
  StrokeLine(c, {cx + r * 0.55f, cy + r * 0.7f}, {cx + r * 0.85f, cy + r * 1.15f}, 2, Solid(style::kGoldDark));
  for (const float side : {-1.0f, 1.0f}) {
    const float a = -kPi / 2 + side * kPi / 4;
    const float bx = cx + std::cos(a) * r * 0.95f, by = cy + std::sin(a) * r * 0.95f;
    FillRotatedEllipse(c, bx, by, r * 0.42f, r * 0.3f, a + kPi / 2, Radial({bx - 1, by - 2}, r * 0.5f, style::kCream, style::kGoldDark));
  }
  StrokeLine(c, {cx, cy - r}, {cx, cy - r - 2}, 1.5f, Solid(style::kGoldDark));
  FillCircle(c, cx, cy, r + 0.5f, Solid(kOutline));
  FillCircle(c, cx, cy, r, Radial({cx - r / 3, cy - r / 3}, r * 1.4f, Hex(0xE5483A), style::kLacquerDark));
  FillCircle(c, cx, cy, r * 0.74f, Radial({cx - 2, cy - 2}, r, style::kWhite, style::kIvoryShade));
  for (int k = 0; k < 12; ++k) {
    const float a = k * kPi / 6;
    const float inner = k % 3 == 0 ? 0.5f : 0.6f;
    StrokeLine(c, {cx + std::cos(a) * r * inner, cy + std::sin(a) * r * inner},
               {cx + std::cos(a) * r * 0.66f, cy + std::sin(a) * r * 0.66f}, k % 3 == 0 ? 1.2f : 0.6f,
               Solid(style::kInkBlack));
  }
  StrokeLine(c, {cx, cy}, {cx, cy - r * 0.52f}, 1.3f, Solid(style::kInkBlack));
  StrokeLine(c, {cx, cy}, {cx - r * 0.32f, cy - r * 0.2f}, 1.6f, Solid(style::kInkBlack));
  FillCircle(c, cx, cy, 1.4f, Solid(style::kLacquer));
}

}  // namespace

Canvas DrawBannerFrame() {
  const int w = 82, h = 80;
  Canvas c(w, h);
  FillRoundRect(c, 0, 0, w, h, 6, Solid(kOutline));
  FillRoundRect(c, 1, 1, w - 2.0f, h - 2.0f, 5.5f, Linear({0, 1}, {0, h - 1.0f}, Hex(0xFFE9A0), style::kGoldDark));
  FillRoundRect(c, 4, 4, w - 8.0f, h - 8.0f, 3.5f, Solid(Darker(style::kLacquerDark, 0.3f)));
  FillRoundRect(c, 5, 5, w - 10.0f, h - 10.0f, 3, Radial({w / 2.0f, 26}, 52, Hex(0xC92F22), style::kLacquerDark));
  StrokeRoundRect(c, 8, 8, w - 16.0f, h - 16.0f, 2, 1, Solid(WithAlpha(style::kGold, 0.7f)));
  CornerStuds(c, 8, 8, w - 16.0f, h - 16.0f, 2.2f);
  // The red-dragon tile with a soft halo, between two gold stars.
  const float cx = w / 2.0f;
  FillCircle(c, cx, 29, 19, Radial({cx, 29}, 19, WithAlpha(style::kGold, 0.35f), WithAlpha(style::kGold, 0)));
  Draw(c, Resized(DrawTilePicture(0, kRedDragon), 24, 28), static_cast<int>(cx) - 12, 14);
  for (const float side : {-1.0f, 1.0f}) {
    const float sx = cx + side * 22, sy = 27;
    Point star[10];
    for (int k = 0; k < 10; ++k) {
      const float a = -kPi / 2 + k * kPi / 5, rr = k % 2 == 0 ? 4.0f : 1.8f;
      star[k] = {sx + std::cos(a) * rr, sy + std::sin(a) * rr};
    }
    FillPolygon(c, star, Solid(style::kGold));
  }
  // The name on a dark band.
  FillRect(c, 9, 48, w - 18.0f, 17, Vertical(48, 65, WithAlpha(style::kInkBlack, 0.55f), WithAlpha(style::kInkBlack, 0.25f)));
  StrokeLine(c, {12, 48.5f}, {w - 12.0f, 48.5f}, 1, Solid(WithAlpha(style::kGold, 0.6f)));
  StrokeLine(c, {12, 64.5f}, {w - 12.0f, 64.5f}, 1, Solid(WithAlpha(style::kGold, 0.6f)));
  DrawCaption(c, "Tessaly", 15, cx, 56.5f, Vertical(50, 63, Hex(0xFFF1B0), style::kGold), kOutline);
  return c;
}

Canvas DrawLocationStrip() {
  const int w = 394, h = 39;
  Canvas c(w, h);
  // The wood of the bar at this height, so that the strip's ends blend in.
  FillRect(c, 0, 0, w, h, Vertical(-2, 114, Hex(0x5E361C), style::kPanelDark));
  FillRect(c, 0, 0, w, 1, Solid(Hex(0x7A4A16)));
  for (int k = 0; k < 4; ++k) {
    const float base = 6 + k * 9.3f;
    FillSdf(c, 0, base - 3, w, base + 3,
            [=](float x, float y) { return std::fabs(y - base - 1.4f * std::sin(x / (53.0f + k * 11) + k * 1.7f)) - 0.5f; },
            Solid(WithAlpha(Hex(0x1A0C04), 0.18f)));
  }
  // The groove behind the quick-phrase buttons and the location's recess.
  FillRoundRect(c, 4, 2, 67, 35, 4, Solid(WithAlpha(kOutline, 0.45f)));
  StrokeRoundRect(c, 4.5f, 2.5f, 66, 34, 4, 1, Solid(WithAlpha(kRim, 0.45f)));
  Slot(c, 118, 6, 272, 27, 5);
  // A gold edge where the strip meets the bar below, ending in a stud.
  FillRect(c, 3, h - 1.0f, w - 3.0f, 1, Solid(WithAlpha(kOutline, 0.8f)));
  StrokeLine(c, {3, h - 1.5f}, {static_cast<float>(w), h - 1.5f}, 1, Solid(WithAlpha(kRim, 0.85f)));
  FillCircle(c, 3, h - 1.5f, 1.5f, Solid(kRim));
  return c;
}

Canvas DrawClockPlate() {
  const int w = 81, h = 38;
  Canvas c(w, h);
  Plate(c, 0, 0, w, h, 6, kWood);
  AlarmClock(c, 22, 20, 11);
  Slot(c, 45, 4, 32, 30, 4);
  return c;
}

Canvas DrawReadyMark() {
  const int w = 40, h = 30;
  Canvas c(w, h);
  Plate(c, 0, 0, w, h, 6, {Hex(0x0A3A1C), Hex(0x5CCB6E), Hex(0x167A34), WithAlpha(style::kCream, 0.85f), 2.5f});
  const Point check[3] = {{5, 14.5f}, {8.2f, 18.5f}, {13.5f, 10}};
  StrokePolyline(c, check, 4, Solid(Hex(0x0A3A1C)));
  StrokePolyline(c, check, 2.4f, Solid(style::kWhite));
  DrawCaption(c, "准备", 11, 25.5f, h / 2.0f, Solid(style::kWhite), Hex(0x0A3A1C));
  return c;
}

Canvas DrawWildTileBox() {
  const int w = 73, h = 130;
  Canvas c(w, h);
  Plate(c, 0, 0, w, h, 7, kWood);
  CaptionBand(c, 9, 8, w - 18.0f, 22, "宝牌", 15);
  // The slot the 36 x 56 tile lies in, two pixels round it.
  Slot(c, 18, 53, 40, 60, 4);
  FillRect(c, 20, 55, 36, 56, Radial({38, 76}, 40, WithAlpha(style::kFelt, 0.5f), WithAlpha(style::kFeltDark, 0.2f)));
  // Small ornaments between the caption and the slot and at the foot.
  StrokeLine(c, {14, 42}, {59, 42}, 1, Solid(WithAlpha(kRim, 0.7f)));
  for (const float x : {14.0f, 36.5f, 59.0f}) FillCircle(c, x, 42, 2, Solid(kRim));
  StrokeLine(c, {22, 120.5f}, {51, 120.5f}, 1, Solid(WithAlpha(kRim, 0.7f)));
  FillCircle(c, 36.5f, 120.5f, 2, Solid(kRim));
  return c;
}

Canvas DrawDealerMark() {
  const int w = 36, h = 16;
  Canvas c(w, h);
  Plate(c, 0, 0, w, h, 8, {style::kGoldDark, Hex(0xE0503A), style::kLacquerDark, WithAlpha(style::kGold, 0.8f), 2, 0.8f});
  for (const float x : {7.5f, w - 7.5f}) {
    const Point diamond[4] = {{x, h / 2.0f - 3}, {x + 2.5f, h / 2.0f}, {x, h / 2.0f + 3}, {x - 2.5f, h / 2.0f}};
    FillPolygon(c, diamond, Solid(style::kGold));
  }
  DrawCaption(c, "庄", 12, w / 2.0f, h / 2.0f, Solid(Hex(0xFFF1B0)), style::kLacquerDark);
  return c;
}

Canvas DrawChatLabel() {
  const int w = 25, h = 33;
  Canvas c(w, h);
  Plate(c, 0, 0, w, h, 5, kLacquerButton);
  // The balloon with its tail and three dots.
  const Point tail[3] = {{8, 19}, {13, 20}, {6, 25}};
  FillEllipse(c, w / 2.0f, 15.5f, 8.5f, 6.5f, Solid(kOutline));
  FillPolygon(c, tail, Solid(style::kCream));
  FillEllipse(c, w / 2.0f, 15, 8, 6, Vertical(9, 21, style::kWhite, style::kCream));
  for (const float x : {-3.6f, 0.0f, 3.6f}) FillCircle(c, w / 2.0f + x, 15, 1.2f, Solid(style::kLacquer));
  return c;
}

Canvas DrawPhraseButton(const std::string& caption) {
  const int w = 57, h = 13;
  Canvas c(w, h);
  PlateLook look = kLacquerButton;
  look.rim_width = 0.6f;
  look.sheen = 0.12f;
  Plate(c, 0, 0, w, h, 4, look);
  DrawCaption(c, caption, 10, w / 2.0f, h / 2.0f, Solid(style::kCream), Hex(0x3A0F05));
  return c;
}

Canvas DrawNoticeButton(const std::string& caption, bool confirm) {
  const int w = 70, h = 30;
  Canvas c(w, h);
  const Rgba top = confirm ? Hex(0x4FB07A) : kWoodTop;
  const Rgba foot = confirm ? Hex(0x0F5A30) : kWoodFoot;
  Plate(c, 0, 0, w, h, 5, {kOutline, top, foot, kRim, 2.5f, 1, 0.25f});
  CornerStuds(c, 5.5f, 5.5f, w - 11.0f, h - 11.0f, 1.3f);
  DrawCaption(c, caption, 15, w / 2.0f, h / 2.0f + 0.5f, Solid(style::kCream), Darker(foot, 0.5f));
  return c;
}

Canvas DrawChatBubble() {
  const int w = 131, h = 102;
  Canvas c(w, h);
  const Point tail[3] = {{22, 30}, {42, 24}, {5, 3}};
  const Sdf shape = [&tail](float x, float y) {
    return std::min(RoundRectDistance(x, y, 8, 20, 117, 72, 22), PolygonDistance({x, y}, tail));
  };
  FillSdf(c, 0, 0, w, h, [&](float x, float y) { return shape(x - 2, y - 2) - 1.5f; }, Solid(WithAlpha(Hex(0x0A2A18), 0.6f)));
  FillSdf(c, 0, 0, w, h, [&](float x, float y) { return shape(x, y) - 1.8f; }, Solid(Hex(0x3A2A1A)));
  FillSdf(c, 0, 0, w, h, shape, Radial({46, 36}, 90, style::kWhite, Hex(0xF2EAD6)));
  return c;
}

}  // namespace picgen
