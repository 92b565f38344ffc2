#include "emblems.h"

#include <cmath>
#include <string>
#include <vector>

#include "style.h"
#include "text.h"

namespace picgen {
namespace {

constexpr float kPi = 3.14159265f;

// A five-pointed star centred on (cx, cy).
void FillStar(Canvas& c, float cx, float cy, float r, Rgba colour) {
  std::vector<Point> pts;
  for (int k = 0; k < 10; ++k) {
    const float a = -kPi / 2 + k * kPi / 5;
    const float rr = k % 2 == 0 ? r : r * 0.45f;
    pts.push_back({cx + std::cos(a) * rr, cy + std::sin(a) * rr});
  }
  FillPolygon(c, pts, Solid(colour));
}

// A shield outline: flat top with rounded shoulders, pointed foot.
std::vector<Point> Shield(float cx, float top, float w, float h) {
  std::vector<Point> pts;
  const float half = w / 2;
  pts.push_back({cx - half, top});
  pts.push_back({cx + half, top});
  for (int k = 0; k <= 12; ++k) {
    const float t = k / 12.0f;
    // Right flank curving down to the foot.
    pts.push_back({cx + half * std::cos(t * kPi / 2), top + h * 0.45f + h * 0.55f * std::sin(t * kPi / 2)});
  }
  for (int k = 12; k >= 0; --k) {
    const float t = k / 12.0f;
    pts.push_back({cx - half * std::cos(t * kPi / 2), top + h * 0.45f + h * 0.55f * std::sin(t * kPi / 2)});
  }
  return pts;
}

void Ribbon(Canvas& c, float cx, float cy, float w, float h, Rgba colour, const std::string& text) {
  const Point tail_l[3] = {{cx - w / 2 - 6, cy - h / 2 + 3}, {cx - w / 2 + 2, cy}, {cx - w / 2 - 6, cy + h / 2 + 3}};
  const Point tail_r[3] = {{cx + w / 2 + 6, cy - h / 2 + 3}, {cx + w / 2 - 2, cy}, {cx + w / 2 + 6, cy + h / 2 + 3}};
  FillPolygon(c, tail_l, Solid(Darker(colour, 0.3f)));
  FillPolygon(c, tail_r, Solid(Darker(colour, 0.3f)));
  FillRoundRect(c, cx - w / 2, cy - h / 2, w, h, 2, Linear({0, cy - h / 2}, {0, cy + h / 2}, Lighter(colour, 0.2f), Darker(colour, 0.15f)));
  DrawCaption(c, text, static_cast<int>(h - 3), cx, cy, Solid(style::kCream), Darker(colour, 0.5f));
}

}  // namespace

Canvas DrawEmblem() {
  Canvas c(82, 80);
  const float cx = 41, cy = 37;
  FillCircle(c, cx, cy, 35, Linear({0, 2}, {0, 72}, Hex(0xFFE9A0), style::kGoldDark));
  FillCircle(c, cx, cy, 31, Radial({cx - 8, cy - 10}, 40, Hex(0xD8362A), style::kLacquerDark));
  StrokeCircle(c, cx, cy, 27.5f, 1.0f, Solid(WithAlpha(style::kGold, 0.8f)));
  for (int k = 0; k < 8; ++k) {
    const float a = k * kPi / 4 + kPi / 8;
    FillCircle(c, cx + std::cos(a) * 29.5f, cy + std::sin(a) * 29.5f, 1.2f, Solid(style::kGold));
  }
  // A tile standing in the middle, slightly turned.
  Canvas tile(26, 34);
  FillRoundRect(tile, 0, 0, 26, 34, 4, Solid(style::kBack));
  FillRoundRect(tile, 0, 3, 26, 31, 4, Linear({0, 0}, {26, 34}, style::kIvory, style::kIvoryShade));
  StrokeRoundRect(tile, 0.5f, 0.5f, 25, 33, 4, 1, Solid(style::kTileLine));
  DrawMaskCentred(tile, FitText("中", 19, 24, 0.04f), 13, 19, Solid(style::kInkRed));
  Draw(c, tile, static_cast<int>(cx - 13), static_cast<int>(cy - 19));
  FillStar(c, cx - 19, cy - 12, 4, style::kGold);
  FillStar(c, cx + 19, cy - 12, 4, style::kGold);
  Ribbon(c, cx, 68, 58, 15, Hex(0x1C6B3E), "游戏中心");
  return c;
}

Canvas DrawLevelBadge(bool promoted) {
  Canvas c(82, 80);
  const Rgba face = promoted ? Hex(0xF2B92F) : Hex(0x8B95A3);
  const Rgba edge = promoted ? Hex(0x8A5A06) : Hex(0x3F4752);
  const std::vector<Point> outer = Shield(41, 4, 64, 72);
  const std::vector<Point> inner = Shield(41, 8, 56, 64);
  FillPolygon(c, outer, Solid(edge));
  FillPolygon(c, inner, Radial({34, 22}, 60, Lighter(face, 0.35f), Darker(face, 0.15f)));
  // The arrow.
  const float cx = 41, cy = 36;
  const float dir = promoted ? -1.0f : 1.0f;
  const Point arrow[7] = {{cx, cy + dir * 18}, {cx + 14, cy + dir * 3}, {cx + 6, cy + dir * 3}, {cx + 6, cy - dir * 14},
                          {cx - 6, cy - dir * 14}, {cx - 6, cy + dir * 3}, {cx - 14, cy + dir * 3}};
  const Rgba arrow_colour = promoted ? Hex(0xC8241B) : Hex(0x2A3A55);
  FillPolygon(c, arrow, Solid(arrow_colour));
  if (promoted) {
    FillStar(c, 20, 16, 5, style::kCream);
    FillStar(c, 62, 16, 5, style::kCream);
  }
  Ribbon(c, 41, 64, 42, 15, promoted ? style::kLacquer : Hex(0x4A5566), promoted ? "升级" : "降级");
  return c;
}

Canvas DrawCompass(int local_seat) {
  Canvas c(77, 77);
  const float cx = 38.5f, cy = 38.5f;
  // Wind of seat index k; the seats go round the table anticlockwise.
  static const char* const kWind[4] = {"北", "西", "南", "东"};
  const int seat = ((local_seat % 4) + 4) % 4;
  FillCircle(c, cx, cy, 38, Linear({0, 0}, {0, 77}, Hex(0xFFE9A0), style::kGoldDark));
  FillCircle(c, cx, cy, 35.5f, Radial({cx - 8, cy - 8}, 45, Hex(0x6B3A1E), Hex(0x2E170A)));
  FillCircle(c, cx, cy, 24, Radial({cx - 6, cy - 6}, 30, Hex(0xFFF7DF), Hex(0xE6D3A4)));
  StrokeCircle(c, cx, cy, 24, 1.2f, Solid(style::kGoldDark));
  // Screen directions, clockwise from the bottom: bottom, left, top, right.
  const float angle[4] = {kPi / 2, kPi, -kPi / 2, 0};
  const int at[4] = {seat, (seat + 3) % 4, (seat + 2) % 4, (seat + 1) % 4};
  // The rose: four long points, four short ones between them.
  for (int k = 0; k < 4; ++k) {
    const float a = angle[k] + kPi / 4;
    const Point tip{cx + std::cos(a) * 15, cy + std::sin(a) * 15};
    const Point side_l{cx + std::cos(a + kPi / 2) * 4, cy + std::sin(a + kPi / 2) * 4};
    const Point side_r{cx + std::cos(a - kPi / 2) * 4, cy + std::sin(a - kPi / 2) * 4};
    const Point point[3] = {tip, side_l, side_r};
    FillPolygon(c, point, Solid(Hex(0xB58A3A)));
  }
  for (int k = 0; k < 4; ++k) {
    const float a = angle[k];
    const Point tip{cx + std::cos(a) * 22, cy + std::sin(a) * 22};
    const Point side_l{cx + std::cos(a + kPi / 2) * 5.5f, cy + std::sin(a + kPi / 2) * 5.5f};
    const Point side_r{cx + std::cos(a - kPi / 2) * 5.5f, cy + std::sin(a - kPi / 2) * 5.5f};
    const bool north = at[k] == 0;
    const Rgba dark = north ? Hex(0xA3140F) : Hex(0x1F3050);
    const Rgba light = north ? Hex(0xE5483A) : Hex(0x4F6C9E);
    const Point half_l[3] = {tip, side_l, {cx, cy}};
    const Point half_r[3] = {tip, side_r, {cx, cy}};
    FillPolygon(c, half_l, Solid(light));
    FillPolygon(c, half_r, Solid(dark));
  }
  FillCircle(c, cx, cy, 3, Solid(style::kGold));
  FillCircle(c, cx, cy, 1.3f, Solid(style::kGoldDark));
  // The winds on the ring; the local player's own wind in red.
  for (int k = 0; k < 4; ++k) {
    const float a = angle[k];
    const float lx = cx + std::cos(a) * 30, ly = cy + std::sin(a) * 30;
    const Rgba ink = k == 0 ? Hex(0xFF5A3C) : style::kCream;
    const Mask m = FitText(kWind[at[k]], 11, 11, 0.05f);
    DrawMaskCentred(c, m, lx, ly, Solid(ink));
  }
  return c;
}

}  // namespace picgen
