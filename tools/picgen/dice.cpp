#include "dice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "style.h"

namespace picgen {
namespace {

struct Vec {
  float x, y, z;
};

Vec Add(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec Scale(Vec a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// A rotation as a 3 x 3 matrix, rows applied to column vectors.
using Matrix = std::array<Vec, 3>;

Vec Apply(const Matrix& m, Vec v) { return {Dot(m[0], v), Dot(m[1], v), Dot(m[2], v)}; }

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix out{};
  for (int i = 0; i < 3; ++i) {
    const Vec col0{b[0].x, b[1].x, b[2].x}, col1{b[0].y, b[1].y, b[2].y}, col2{b[0].z, b[1].z, b[2].z};
    out[i] = {Dot(a[i], col0), Dot(a[i], col1), Dot(a[i], col2)};
  }
  return out;
}

Matrix RotX(float t) { return {{{1, 0, 0}, {0, std::cos(t), -std::sin(t)}, {0, std::sin(t), std::cos(t)}}}; }
Matrix RotY(float t) { return {{{std::cos(t), 0, std::sin(t)}, {0, 1, 0}, {-std::sin(t), 0, std::cos(t)}}}; }
Matrix RotZ(float t) { return {{{std::cos(t), -std::sin(t), 0}, {std::sin(t), std::cos(t), 0}, {0, 0, 1}}}; }

// The faces of a die: outward normal, two axes across the face, the value.
// Opposite faces add up to seven.
struct Face {
  Vec n, u, v;
  int value;
};
const Face kFaces[6] = {
    {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, 1},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}, 6},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}, 2}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}, 5},
    {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}, 3}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}, 4},
};

std::vector<Point> PipPlaces(int value) {
  const float a = 0.5f;
  switch (value) {
    case 1: return {{0, 0}};
    case 2: return {{-a, a}, {a, -a}};
    case 3: return {{-a, a}, {0, 0}, {a, -a}};
    case 4: return {{-a, a}, {a, a}, {-a, -a}, {a, -a}};
    case 5: return {{-a, a}, {a, a}, {0, 0}, {-a, -a}, {a, -a}};
    default: return {{-a, a}, {a, a}, {-a, 0}, {a, 0}, {-a, -a}, {a, -a}};
  }
}

// Draws the cube turned by `m`, scaled and centred to fill w x h.
void DrawCube(Canvas& c, const Matrix& m, float w, float h, float opacity) {
  // Fit: project the eight corners.
  float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
  for (int i = 0; i < 8; ++i) {
    const Vec p = Apply(m, {i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  const float margin = 1.5f;
  const float s = std::min((w - 2 * margin) / (x1 - x0), (h - 2 * margin) / (y1 - y0));
  const float ox = w / 2 - s * (x0 + x1) / 2, oy = h / 2 + s * (y0 + y1) / 2;
  auto screen = [&](Vec p) { return Point{ox + s * p.x, oy - s * p.y}; };

  Vec light{-0.45f, 0.65f, 0.6f};
  light = Scale(light, 1 / std::sqrt(Dot(light, light)));
  for (const Face& f : kFaces) {
    const Vec n = Apply(m, f.n);
    if (n.z <= 0.02f) continue;
    const Vec u = Apply(m, f.u), v = Apply(m, f.v);
    const float lit = 0.62f + 0.38f * std::max(0.0f, Dot(n, light));
    auto corner = [&](float a, float b) { return screen(Add(n, Add(Scale(u, a), Scale(v, b)))); };
    const Point quad[4] = {corner(-1, -1), corner(1, -1), corner(1, 1), corner(-1, 1)};
    const Rgba body = Mix(Hex(0x000000), Hex(0xFBF8F0), lit);
    FillPolygon(c, quad, Solid(WithAlpha(body, opacity)));
    const Point ring[5] = {quad[0], quad[1], quad[2], quad[3], quad[0]};
    StrokePolyline(c, ring, 1.0f, Solid(WithAlpha(Hex(0x6A6258), 0.55f * opacity)));
    const bool red = f.value == 1 || f.value == 4;
    const Rgba ink = Mix(Hex(0x000000), red ? style::kInkRed : Hex(0x1A1F3A), 0.35f + 0.65f * lit);
    const float r = f.value == 1 ? 0.36f : 0.19f;
    for (const Point& pip : PipPlaces(f.value)) {
      std::vector<Point> circle;
      for (int k = 0; k < 20; ++k) {
        const float t = k * 2 * 3.14159265f / 20;
        circle.push_back(corner(pip.x + r * std::cos(t), pip.y + r * std::sin(t)));
      }
      FillPolygon(c, circle, Solid(WithAlpha(ink, opacity)));
    }
  }
}

// The turn that brings `value` to the front.
Matrix FrontFace(int value) {
  switch (value) {
    case 2: return RotX(3.14159265f / 2);
    case 3: return RotY(-3.14159265f / 2);
    case 4: return RotY(3.14159265f / 2);
    case 5: return RotX(-3.14159265f / 2);
    case 6: return RotY(3.14159265f);
    default: return RotX(0);
  }
}

Matrix Tumble(int frame) {
  const float f = static_cast<float>(frame);
  return Multiply(RotZ(0.5f + f * 0.83f), Multiply(RotY(0.4f + f * 1.21f), RotX(0.7f + f * 0.67f)));
}

}  // namespace

Canvas DrawDieFace(int value) {
  Canvas c(50, 56);
  DrawCube(c, Multiply(RotY(-0.2f), Multiply(RotX(0.38f), FrontFace(value))), 50, 56, 1.0f);
  return c;
}

Canvas DrawRollingDie(int frame) {
  Canvas c(50, 50);
  // A faint trail of the previous position suggests the motion.
  DrawCube(c, Tumble(frame - 1), 50, 50, 0.6f);
  DrawCube(c, Tumble(frame), 50, 50, 1.0f);
  return c;
}

}  // namespace picgen
