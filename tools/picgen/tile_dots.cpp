// Dots (筒): coins in the classic arrangements and colours.
#include <algorithm>
#include <cmath>
#include <vector>

#include "style.h"
#include "tile_faces.h"

namespace picgen {
namespace {

struct Coin {
  float u, v;  // centre in fractions of the box
  Rgba ink;
};

// One coin: a coloured rim, a light ring and a coloured core; larger coins
// get a notched rim and a bright centre point.
void DrawCoin(Canvas& c, float cx, float cy, float r, Rgba ink) {
  const Rgba paper = style::kIvory;
  FillCircle(c, cx, cy, r, Radial({cx - r * 0.3f, cy - r * 0.3f}, r * 1.3f, Lighter(ink, 0.15f), Darker(ink, 0.2f)));
  FillCircle(c, cx, cy, r * 0.74f, Solid(paper));
  FillCircle(c, cx, cy, r * 0.56f, Solid(ink));
  if (r >= 5) {
    for (int k = 0; k < 8; ++k) {
      const float a = k * 3.14159265f / 4;
      FillCircle(c, cx + std::cos(a) * r * 0.87f, cy + std::sin(a) * r * 0.87f, r * 0.09f, Solid(paper));
    }
    FillCircle(c, cx, cy, r * 0.28f, Solid(paper));
    FillCircle(c, cx, cy, r * 0.14f, Solid(ink));
  } else {
    FillCircle(c, cx, cy, r * 0.22f, Solid(Lighter(ink, 0.6f)));
  }
}

// The single dot: a large rosette.
void DrawRosette(Canvas& c, float cx, float cy, float r) {
  const Rgba paper = style::kIvory;
  FillCircle(c, cx, cy, r, Radial({cx - r * 0.3f, cy - r * 0.3f}, r * 1.4f, Lighter(style::kInkGreen, 0.2f), Darker(style::kInkGreen, 0.2f)));
  FillCircle(c, cx, cy, r * 0.86f, Solid(paper));
  const int petals = 12;
  for (int k = 0; k < petals; ++k) {
    const float a = k * 2 * 3.14159265f / petals;
    FillRotatedEllipse(c, cx + std::cos(a) * r * 0.66f, cy + std::sin(a) * r * 0.66f, r * 0.17f, r * 0.08f, a,
                       Solid(style::kInkBlue));
  }
  FillCircle(c, cx, cy, r * 0.47f, Radial({cx, cy}, r * 0.47f, Lighter(style::kInkRed, 0.1f), Darker(style::kInkRed, 0.15f)));
  FillCircle(c, cx, cy, r * 0.31f, Solid(paper));
  FillCircle(c, cx, cy, r * 0.2f, Solid(style::kInkRed));
  FillCircle(c, cx, cy, r * 0.07f, Solid(paper));
}

}  // namespace

void DrawDots(Canvas& c, int rank, float x, float y, float w, float h) {
  if (rank == 1) {
    DrawRosette(c, x + w / 2, y + h / 2, 0.49f * std::min(w, h));
    return;
  }
  const Rgba b = style::kInkBlue, g = style::kInkGreen, r = style::kInkRed;
  std::vector<Coin> coins;
  float cols = 1, rows = 1;  // the grid that bounds one coin's size
  switch (rank) {
    case 2:
      coins = {{0.5f, 0.25f, g}, {0.5f, 0.75f, b}};
      cols = 1.6f, rows = 2;
      break;
    case 3:
      coins = {{0.2f, 0.17f, b}, {0.5f, 0.5f, r}, {0.8f, 0.83f, g}};
      cols = 2.5f, rows = 3;
      break;
    case 4:
      coins = {{0.26f, 0.25f, b}, {0.74f, 0.25f, g}, {0.26f, 0.75f, g}, {0.74f, 0.75f, b}};
      cols = 2, rows = 2;
      break;
    case 5:
      coins = {{0.2f, 0.18f, b}, {0.8f, 0.18f, g}, {0.5f, 0.5f, r}, {0.2f, 0.82f, g}, {0.8f, 0.82f, b}};
      cols = 2.6f, rows = 2.8f;
      break;
    case 6:
      coins = {{0.26f, 0.16f, g}, {0.74f, 0.16f, g}, {0.26f, 0.56f, r},
               {0.74f, 0.56f, r}, {0.26f, 0.86f, r}, {0.74f, 0.86f, r}};
      cols = 2, rows = 3.3f;
      break;
    case 7:
      coins = {{0.18f, 0.1f, g}, {0.5f, 0.21f, g}, {0.82f, 0.32f, g}, {0.28f, 0.62f, r},
               {0.72f, 0.62f, r}, {0.28f, 0.88f, r}, {0.72f, 0.88f, r}};
      cols = 3, rows = 4.2f;
      break;
    case 8:
      for (int k = 0; k < 4; ++k) {
        const float v = 0.12f + k * 0.253f;
        coins.push_back({0.27f, v, b});
        coins.push_back({0.73f, v, b});
      }
      cols = 2, rows = 4;
      break;
    case 9: {
      const Rgba ink[3] = {b, r, g};
      for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
          coins.push_back({0.17f + col * 0.33f, 0.17f + row * 0.33f, ink[row]});
        }
      }
      cols = 3, rows = 3;
      break;
    }
    default:
      return;
  }
  const float radius = 0.47f * std::min(w / cols, h / rows);
  for (const Coin& coin : coins) {
    // Keep every coin inside the box whatever its shape.
    const float cx = std::clamp(x + coin.u * w, x + radius, x + w - radius);
    const float cy = std::clamp(y + coin.v * h, y + radius, y + h - radius);
    DrawCoin(c, cx, cy, radius, coin.ink);
  }
}

}  // namespace picgen
