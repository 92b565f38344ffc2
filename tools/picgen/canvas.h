// Drawing surface of the picture generator: an RGBA image with
// anti-aliased shapes.
//
// Coordinates are floating-point pixels; pixel (i, j) covers the square
// [i, i+1) x [j, j+1) and is sampled at its centre. Every shape is given as
// a signed distance (negative inside) and covers a pixel by
// clamp(0.5 - distance, 0, 1), which gives one pixel of smooth edge at any
// size. Colours are straight (not premultiplied) RGBA in 0..1; the canvas
// stores premultiplied values so that compositing "over" is exact. Pixels
// outside the canvas are clipped silently.
#pragma once

#include <functional>
#include <span>
#include <vector>

namespace picgen {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB with the given opacity.
Rgba Hex(unsigned rgb, float alpha = 1.0f);
// Linear interpolation, t = 0 gives a, t = 1 gives b.
Rgba Mix(Rgba a, Rgba b, float t);
Rgba Lighter(Rgba c, float t);  // towards white
Rgba Darker(Rgba c, float t);   // towards black
Rgba WithAlpha(Rgba c, float alpha);

struct Point {
  float x = 0, y = 0;
};

// Colour as a function of the position: solid fills and gradients.
using Paint = std::function<Rgba(float x, float y)>;
Paint Solid(Rgba c);
// From c0 at p0 to c1 at p1, constant across the line, clamped beyond.
Paint Linear(Point p0, Point p1, Rgba c0, Rgba c1);
// c0 at the centre to c1 at radius r and beyond.
Paint Radial(Point centre, float r, Rgba c0, Rgba c1);

struct Canvas {
  Canvas() = default;
  Canvas(int w, int h);

  int width = 0;
  int height = 0;
  std::vector<Rgba> px;  // premultiplied, row by row

  // Composites colour c over pixel (x, y) with the given coverage.
  void Blend(int x, int y, Rgba c, float coverage);
  // The straight colour of pixel (x, y); transparent outside.
  Rgba At(int x, int y) const;
};

// Signed distance of a shape; negative inside.
using Sdf = std::function<float(float x, float y)>;

// Fills the shape within the pixel box [x0, x1) x [y0, y1).
void FillSdf(Canvas& c, float x0, float y0, float x1, float y1, const Sdf& shape,
             const Paint& paint);

void FillRect(Canvas& c, float x, float y, float w, float h, const Paint& paint);
void FillRoundRect(Canvas& c, float x, float y, float w, float h, float radius,
                   const Paint& paint);
// Outline of width `line`, centred on the rectangle's edge.
void StrokeRoundRect(Canvas& c, float x, float y, float w, float h, float radius,
                     float line, const Paint& paint);
void FillCircle(Canvas& c, float cx, float cy, float r, const Paint& paint);
void StrokeCircle(Canvas& c, float cx, float cy, float r, float line, const Paint& paint);
void FillEllipse(Canvas& c, float cx, float cy, float rx, float ry, const Paint& paint);
// Ellipse turned by `angle` radians about its centre.
void FillRotatedEllipse(Canvas& c, float cx, float cy, float rx, float ry, float angle,
                        const Paint& paint);
// Polygon filled by the even-odd rule.
void FillPolygon(Canvas& c, std::span<const Point> points, const Paint& paint);
// Line of the given width with round ends.
void StrokeLine(Canvas& c, Point a, Point b, float width, const Paint& paint);
// Open polyline with round joins and ends.
void StrokePolyline(Canvas& c, std::span<const Point> points, float width, const Paint& paint);

// Composites src over dst with src's top-left corner at (x, y).
void Draw(Canvas& dst, const Canvas& src, int x, int y, float opacity = 1.0f);
// The canvas turned clockwise by quarter_turns * 90 degrees.
Canvas Rotated(const Canvas& src, int quarter_turns);
// The canvas resampled to w x h by area averaging (pixels are enlarged as
// blocks when w, h are larger).
Canvas Resized(const Canvas& src, int w, int h);

// Signed distance helpers for shapes built by hand.
float RoundRectDistance(float px, float py, float x, float y, float w, float h, float radius);
float SegmentDistance(Point p, Point a, Point b);
// Signed distance to a polygon (even-odd inside).
float PolygonDistance(Point p, std::span<const Point> points);
// Signed distance estimate to an ellipse turned by `angle` radians.
float EllipseDistance(Point p, float cx, float cy, float rx, float ry, float angle = 0);

}  // namespace picgen
