#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace picgen {

Rgba Hex(unsigned rgb, float alpha) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f,
          alpha};
}

Rgba Mix(Rgba a, Rgba b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Rgba Lighter(Rgba c, float t) { return Mix(c, {1, 1, 1, c.a}, t); }
Rgba Darker(Rgba c, float t) { return Mix(c, {0, 0, 0, c.a}, t); }
Rgba WithAlpha(Rgba c, float alpha) { return {c.r, c.g, c.b, alpha}; }

Paint Solid(Rgba c) {
  return [c](float, float) { return c; };
}

Paint Linear(Point p0, Point p1, Rgba c0, Rgba c1) {
  const float dx = p1.x - p0.x, dy = p1.y - p0.y;
  const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
  return [=](float x, float y) {
    const float t = std::clamp(((x - p0.x) * dx + (y - p0.y) * dy) / len2, 0.0f, 1.0f);
    return Mix(c0, c1, t);
  };
}

Paint Radial(Point centre, float r, Rgba c0, Rgba c1) {
  return [=](float x, float y) {
    const float d = std::hypot(x - centre.x, y - centre.y);
    return Mix(c0, c1, std::clamp(d / std::max(r, 1e-3f), 0.0f, 1.0f));
  };
}

Canvas::Canvas(int w, int h) : width(w), height(h), px(static_cast<size_t>(w) * h) {}

void Canvas::Blend(int x, int y, Rgba c, float coverage) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
  if (a <= 0) return;
  Rgba& d = px[static_cast<size_t>(y) * width + x];
  d.r = c.r * a + d.r * (1 - a);
  d.g = c.g * a + d.g * (1 - a);
  d.b = c.b * a + d.b * (1 - a);
  d.a = a + d.a * (1 - a);
}

Rgba Canvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {};
  const Rgba& p = px[static_cast<size_t>(y) * width + x];
  if (p.a <= 0) return {};
  return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void FillSdf(Canvas& c, float x0, float y0, float x1, float y1, const Sdf& shape,
             const Paint& paint) {
  const int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
  const int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
  const int ix1 = std::min(c.width, static_cast<int>(std::ceil(x1)) + 1);
  const int iy1 = std::min(c.height, static_cast<int>(std::ceil(y1)) + 1);
  for (int y = iy0; y < iy1; ++y) {
    for (int x = ix0; x < ix1; ++x) {
      const float fx = x + 0.5f, fy = y + 0.5f;
      const float cover = std::clamp(0.5f - shape(fx, fy), 0.0f, 1.0f);
      if (cover > 0) c.Blend(x, y, paint(fx, fy), cover);
    }
  }
}

float RoundRectDistance(float px, float py, float x, float y, float w, float h, float radius) {
  radius = std::min({radius, w / 2, h / 2});
  const float cx = x + w / 2, cy = y + h / 2;
  const float qx = std::fabs(px - cx) - (w / 2 - radius);
  const float qy = std::fabs(py - cy) - (h / 2 - radius);
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SegmentDistance(Point p, Point a, Point b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0f, 1.0f);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

float PolygonDistance(Point p, std::span<const Point> pts) {
  float best = 1e9f;
  bool inside = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const Point& a = pts[i];
    const Point& b = pts[j];
    best = std::min(best, SegmentDistance(p, a, b));
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside ? -best : best;
}

void FillRect(Canvas& c, float x, float y, float w, float h, const Paint& paint) {
  FillRoundRect(c, x, y, w, h, 0, paint);
}

void FillRoundRect(Canvas& c, float x, float y, float w, float h, float radius,
                   const Paint& paint) {
  FillSdf(
      c, x, y, x + w, y + h,
      [=](float px, float py) { return RoundRectDistance(px, py, x, y, w, h, radius); }, paint);
}

void StrokeRoundRect(Canvas& c, float x, float y, float w, float h, float radius, float line,
                     const Paint& paint) {
  FillSdf(
      c, x - line, y - line, x + w + line, y + h + line,
      [=](float px, float py) {
        return std::fabs(RoundRectDistance(px, py, x, y, w, h, radius)) - line / 2;
      },
      paint);
}

void FillCircle(Canvas& c, float cx, float cy, float r, const Paint& paint) {
  FillSdf(
      c, cx - r, cy - r, cx + r, cy + r,
      [=](float px, float py) { return std::hypot(px - cx, py - cy) - r; }, paint);
}

void StrokeCircle(Canvas& c, float cx, float cy, float r, float line, const Paint& paint) {
  FillSdf(
      c, cx - r - line, cy - r - line, cx + r + line, cy + r + line,
      [=](float px, float py) { return std::fabs(std::hypot(px - cx, py - cy) - r) - line / 2; },
      paint);
}

float EllipseDistance(Point p, float cx, float cy, float rx, float ry, float angle) {
  // The implicit function divided by its gradient.
  const float cs = std::cos(angle), sn = std::sin(angle);
  const float dx = p.x - cx, dy = p.y - cy;
  const float u = (dx * cs + dy * sn) / rx, v = (-dx * sn + dy * cs) / ry;
  const float k = std::sqrt(u * u + v * v);
  if (k < 1e-6f) return -std::min(rx, ry);
  const float gx = u / rx, gy = v / ry;
  return (k - 1) * k / std::max(std::sqrt(gx * gx + gy * gy), 1e-6f);
}

void FillRotatedEllipse(Canvas& c, float cx, float cy, float rx, float ry, float angle,
                        const Paint& paint) {
  const float reach = std::max(rx, ry);
  FillSdf(
      c, cx - reach, cy - reach, cx + reach, cy + reach,
      [=](float px, float py) { return EllipseDistance({px, py}, cx, cy, rx, ry, angle); }, paint);
}

void FillEllipse(Canvas& c, float cx, float cy, float rx, float ry, const Paint& paint) {
  FillRotatedEllipse(c, cx, cy, rx, ry, 0, paint);
}

void FillPolygon(Canvas& c, std::span<const Point> points, const Paint& paint) {
  if (points.size() < 3) return;
  float x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
  for (const Point& p : points) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  std::vector<Point> pts(points.begin(), points.end());
  FillSdf(
      c, x0, y0, x1, y1, [pts](float px, float py) { return PolygonDistance({px, py}, pts); }, paint);
}

void StrokeLine(Canvas& c, Point a, Point b, float width, const Paint& paint) {
  const Point pts[2] = {a, b};
  StrokePolyline(c, pts, width, paint);
}

void StrokePolyline(Canvas& c, std::span<const Point> points, float width, const Paint& paint) {
  if (points.empty()) return;
  float x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
  for (const Point& p : points) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  std::vector<Point> pts(points.begin(), points.end());
  const float half = width / 2;
  FillSdf(
      c, x0 - half, y0 - half, x1 + half, y1 + half,
      [pts, half](float px, float py) {
        float best = 1e9f;
        for (size_t i = 0; i + 1 < pts.size(); ++i) {
          best = std::min(best, SegmentDistance({px, py}, pts[i], pts[i + 1]));
        }
        if (pts.size() == 1) best = std::hypot(px - pts[0].x, py - pts[0].y);
        return best - half;
      },
      paint);
}

void Draw(Canvas& dst, const Canvas& src, int x, int y, float opacity) {
  for (int sy = 0; sy < src.height; ++sy) {
    for (int sx = 0; sx < src.width; ++sx) {
      const Rgba s = src.At(sx, sy);
      if (s.a > 0) dst.Blend(x + sx, y + sy, s, opacity);
    }
  }
}

Canvas Rotated(const Canvas& src, int quarter_turns) {
  const int q = ((quarter_turns % 4) + 4) % 4;
  const bool swap = q % 2 == 1;
  Canvas out(swap ? src.height : src.width, swap ? src.width : src.height);
  for (int y = 0; y < src.height; ++y) {
    for (int x = 0; x < src.width; ++x) {
      int nx = x, ny = y;
      if (q == 1) {
        nx = src.height - 1 - y;
        ny = x;
      } else if (q == 2) {
        nx = src.width - 1 - x;
        ny = src.height - 1 - y;
      } else if (q == 3) {
        nx = y;
        ny = src.width - 1 - x;
      }
      out.px[static_cast<size_t>(ny) * out.width + nx] = src.px[static_cast<size_t>(y) * src.width + x];
    }
  }
  return out;
}

Canvas Resized(const Canvas& src, int w, int h) {
  Canvas out(w, h);
  if (src.width == 0 || src.height == 0) return out;
  const float sx = static_cast<float>(src.width) / w;
  const float sy = static_cast<float>(src.height) / h;
  for (int y = 0; y < h; ++y) {
    const float fy0 = y * sy, fy1 = (y + 1) * sy;
    for (int x = 0; x < w; ++x) {
      const float fx0 = x * sx, fx1 = (x + 1) * sx;
      Rgba acc;
      float total = 0;
      for (int yy = static_cast<int>(fy0); yy < std::min(src.height, static_cast<int>(std::ceil(fy1))); ++yy) {
        const float wy = std::min(fy1, yy + 1.0f) - std::max(fy0, static_cast<float>(yy));
        for (int xx = static_cast<int>(fx0); xx < std::min(src.width, static_cast<int>(std::ceil(fx1))); ++xx) {
          const float wx = std::min(fx1, xx + 1.0f) - std::max(fx0, static_cast<float>(xx));
          const float wgt = wx * wy;
          if (wgt <= 0) continue;
          const Rgba& p = src.px[static_cast<size_t>(yy) * src.width + xx];
          acc.r += p.r * wgt;
          acc.g += p.g * wgt;
          acc.b += p.b * wgt;
          acc.a += p.a * wgt;
          total += wgt;
        }
      }
      if (total > 0) {
        out.px[static_cast<size_t>(y) * w + x] = {acc.r / total, acc.g / total, acc.b / total,
                                                  acc.a / total};
      }
    }
  }
  return out;
}

}  // namespace picgen
