// Bamboo (条): jointed sticks in the classic arrangements; the one of
// bamboo is a bird.
#include <algorithm>
#include <cmath>
#include <vector>

#include "style.h"
#include "tile_faces.h"

namespace picgen {
namespace {

struct Stick {
  float u0, v0, u1, v1;  // end points in fractions of the box
  Rgba ink;
};

// A stick from a to b: dark body, a light streak and three joints.
void DrawStick(Canvas& c, Point a, Point b, float width, Rgba ink) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len = std::max(std::hypot(dx, dy), 1e-3f);
  const float nx = -dy / len, ny = dx / len;  // unit normal
  const float inset = std::min(width * 0.35f, len * 0.2f);
  const Point a2{a.x + dx / len * inset, a.y + dy / len * inset};
  const Point b2{b.x - dx / len * inset, b.y - dy / len * inset};
  StrokeLine(c, a2, b2, width, Solid(Darker(ink, 0.2f)));
  StrokeLine(c, {a2.x - nx * width * 0.12f, a2.y - ny * width * 0.12f},
             {b2.x - nx * width * 0.12f, b2.y - ny * width * 0.12f}, width * 0.38f,
             Solid(Lighter(ink, 0.45f)));
  for (float t : {0.0f, 0.5f, 1.0f}) {
    const Point p{a2.x + (b2.x - a2.x) * t, a2.y + (b2.y - a2.y) * t};
    const float half = width * 0.66f;
    StrokeLine(c, {p.x - nx * half, p.y - ny * half}, {p.x + nx * half, p.y + ny * half},
               std::max(width * 0.34f, 1.0f), Solid(Darker(ink, 0.45f)));
  }
}

// The one of bamboo: a bird on a twig, facing left, in a square of side s.
void DrawBird(Canvas& c, float x, float y, float s) {
  auto P = [&](float u, float v) { return Point{x + u * s, y + v * s}; };
  const Rgba green = style::kInkGreen, blue = style::kInkBlue, red = style::kInkRed;
  // Twig.
  StrokeLine(c, P(0.12f, 0.9f), P(0.9f, 0.84f), s * 0.035f, Solid(Hex(0x7A4A1E)));
  // Tail feathers fanning out behind.
  const float tail[4][3] = {{0.88f, 0.62f, 0.6f}, {0.92f, 0.76f, 0.25f}, {0.86f, 0.9f, -0.1f}, {0.74f, 0.97f, -0.5f}};
  for (int k = 0; k < 4; ++k) {
    const Point base = P(0.56f, 0.62f);
    const Point tip = P(tail[k][0], tail[k][1]);
    const Point mid{(base.x + tip.x) / 2, (base.y + tip.y) / 2};
    const float ang = std::atan2(tip.y - base.y, tip.x - base.x);
    const float len = std::hypot(tip.x - base.x, tip.y - base.y);
    FillRotatedEllipse(c, mid.x, mid.y, len / 2, s * 0.06f, ang, Solid(k % 2 ? blue : green));
    FillCircle(c, tip.x - std::cos(ang) * s * 0.06f, tip.y - std::sin(ang) * s * 0.06f, s * 0.035f, Solid(red));
  }
  // Legs.
  StrokeLine(c, P(0.42f, 0.7f), P(0.4f, 0.88f), s * 0.03f, Solid(red));
  StrokeLine(c, P(0.5f, 0.7f), P(0.52f, 0.87f), s * 0.03f, Solid(red));
  // Body, wing, breast.
  const Point body = P(0.46f, 0.58f);
  FillRotatedEllipse(c, body.x, body.y, s * 0.24f, s * 0.16f, -0.35f, Solid(green));
  const Point wing = P(0.52f, 0.54f);
  FillRotatedEllipse(c, wing.x, wing.y, s * 0.16f, s * 0.08f, -0.45f, Solid(blue));
  const Point breast = P(0.31f, 0.6f);
  FillEllipse(c, breast.x, breast.y, s * 0.1f, s * 0.11f, Solid(red));
  // Neck and head with a crest.
  StrokeLine(c, P(0.3f, 0.36f), P(0.36f, 0.52f), s * 0.11f, Solid(green));
  for (int k = 0; k < 3; ++k) {
    StrokeLine(c, P(0.28f, 0.28f), P(0.26f + k * 0.06f, 0.12f + k * 0.02f), s * 0.03f, Solid(red));
  }
  const Point head = P(0.28f, 0.32f);
  FillCircle(c, head.x, head.y, s * 0.1f, Solid(green));
  const Point beak[3] = {P(0.2f, 0.28f), P(0.07f, 0.35f), P(0.2f, 0.37f)};
  FillPolygon(c, beak, Solid(Hex(0xE39B1B)));
  const Point eye = P(0.26f, 0.3f);
  FillCircle(c, eye.x, eye.y, s * 0.04f, Solid(style::kIvory));
  FillCircle(c, eye.x - s * 0.008f, eye.y, s * 0.02f, Solid(style::kInkBlack));
}

}  // namespace

void DrawBamboo(Canvas& c, int rank, float x, float y, float w, float h) {
  if (rank == 1) {
    // The bird spans about 0.85 of its square.
    const float s = std::min(w / 0.86f, h);
    DrawBird(c, x + (w - s) / 2, y + (h - s) / 2, s);
    return;
  }
  const Rgba g = style::kInkGreen, b = style::kInkBlue, r = style::kInkRed;
  // Rows of sticks: [0.04, 0.46] and [0.54, 0.96] for two rows; thirds for three.
  const float t0 = 0.04f, t1 = 0.46f, m0 = 0.54f, m1 = 0.96f;
  const float r0 = 0.03f, r1 = 0.31f, q0 = 0.36f, q1 = 0.64f, s0 = 0.69f, s1 = 0.97f;
  std::vector<Stick> sticks;
  float width = 0;
  switch (rank) {
    case 2:
      sticks = {{0.5f, t0, 0.5f, t1, g}, {0.5f, m0, 0.5f, m1, b}};
      width = std::min(0.2f * w, 0.13f * h);
      break;
    case 3:
      sticks = {{0.5f, t0, 0.5f, t1, g}, {0.27f, m0, 0.27f, m1, b}, {0.73f, m0, 0.73f, m1, b}};
      width = std::min(0.19f * w, 0.13f * h);
      break;
    case 4:
      sticks = {{0.27f, t0, 0.27f, t1, b}, {0.73f, t0, 0.73f, t1, g},
                {0.27f, m0, 0.27f, m1, g}, {0.73f, m0, 0.73f, m1, b}};
      width = std::min(0.19f * w, 0.13f * h);
      break;
    case 5:
      sticks = {{0.18f, t0, 0.18f, t1, g}, {0.82f, t0, 0.82f, t1, b}, {0.5f, 0.29f, 0.5f, 0.71f, r},
                {0.18f, m0, 0.18f, m1, b}, {0.82f, m0, 0.82f, m1, g}};
      width = std::min(0.16f * w, 0.12f * h);
      break;
    case 6:
      for (float u : {0.18f, 0.5f, 0.82f}) {
        sticks.push_back({u, t0, u, t1, g});
        sticks.push_back({u, m0, u, m1, b});
      }
      width = std::min(0.15f * w, 0.12f * h);
      break;
    case 7:
      sticks.push_back({0.5f, r0, 0.5f, r1, r});
      for (float u : {0.18f, 0.5f, 0.82f}) {
        sticks.push_back({u, q0, u, q1, g});
        sticks.push_back({u, s0, u, s1, b});
      }
      width = std::min(0.15f * w, 0.1f * h);
      break;
    case 8:
      sticks = {{0.13f, t0, 0.13f, t1, g}, {0.87f, t0, 0.87f, t1, g},
                {0.32f, t1, 0.42f, t0 + 0.02f, b}, {0.68f, t1, 0.58f, t0 + 0.02f, b},
                {0.13f, m0, 0.13f, m1, g}, {0.87f, m0, 0.87f, m1, g},
                {0.32f, m0, 0.42f, m1 - 0.02f, b}, {0.68f, m0, 0.58f, m1 - 0.02f, b}};
      width = std::min(0.13f * w, 0.12f * h);
      break;
    case 9: {
      const Rgba ink[3] = {g, r, b};
      for (int col = 0; col < 3; ++col) {
        const float u = 0.18f + col * 0.32f;
        for (auto [a, z] : {std::pair{r0, r1}, std::pair{q0, q1}, std::pair{s0, s1}}) {
          sticks.push_back({u, a, u, z, ink[col]});
        }
      }
      width = std::min(0.15f * w, 0.1f * h);
      break;
    }
    default:
      return;
  }
  width = std::max(width, 1.6f);
  for (const Stick& s : sticks) {
    // Keep the stick's full width inside the box.
    const float half = width / 2;
    auto clampx = [&](float u) { return std::clamp(x + u * w, x + half, x + w - half); };
    DrawStick(c, {clampx(s.u0), y + s.v0 * h}, {clampx(s.u1), y + s.v1 * h}, width, s.ink);
  }
}

}  // namespace picgen
