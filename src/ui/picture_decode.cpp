#include "ui/picture_decode.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace tess {

PictureRef DecodePicture(const void* bytes, size_t size, int id) {
  if (!bytes || size == 0 || size > INT_MAX) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes, static_cast<int>(size));
  if (!rw) return nullptr;
  SDL_Surface* loaded = IMG_Load_RW(rw, 1);
  if (!loaded) return nullptr;
  // Converting to a format with alpha turns a colour key into alpha 0.
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (!argb) return nullptr;
  auto pic = std::make_shared<Picture>();
  pic->id = id;
  pic->width = argb->w;
  pic->height = argb->h;
  pic->argb.resize(static_cast<size_t>(argb->w) * argb->h);
  SDL_LockSurface(argb);
  for (int y = 0; y < argb->h; ++y)
    std::memcpy(&pic->argb[static_cast<size_t>(y) * argb->w],
                static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch,
                static_cast<size_t>(argb->w) * 4);
  SDL_UnlockSurface(argb);
  SDL_FreeSurface(argb);
  return pic;
}

namespace {

struct Premultiplied {
  double a = 0, r = 0, g = 0, b = 0;
};

Premultiplied Premultiply(uint32_t p) {
  double a = (p >> 24) / 255.0;
  return {a, ((p >> 16) & 0xFF) * a, ((p >> 8) & 0xFF) * a, (p & 0xFF) * a};
}

uint8_t Channel(double v) { return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// `s` (premultiplied) over the straight-alpha pixel `d`.
uint32_t Over(const Premultiplied& s, uint32_t d) {
  Premultiplied dp = Premultiply(d);
  double k = 1 - s.a;
  double a = s.a + dp.a * k;
  if (a <= 0) return 0;
  double r = (s.r + dp.r * k) / a, g = (s.g + dp.g * k) / a, b = (s.b + dp.b * k) / a;
  return uint32_t{Channel(a * 255)} << 24 | uint32_t{Channel(r)} << 16 | uint32_t{Channel(g)} << 8 |
         Channel(b);
}

// The source sample at (u, v), a point inside the source window
// [x0, x1) x [y0, y1) of whole pixels.
Premultiplied Sample(const Picture& src, double u, double v, int x0, int y0, int x1, int y1,
                     Sampling sampling) {
  auto at = [&](int x, int y) {
    x = std::clamp(x, x0, x1 - 1);
    y = std::clamp(y, y0, y1 - 1);
    return Premultiply(src.argb[static_cast<size_t>(y) * src.width + x]);
  };
  if (sampling == Sampling::kNearest) return at(static_cast<int>(std::floor(u)), static_cast<int>(std::floor(v)));
  double fu = u - 0.5, fv = v - 0.5;
  int ix = static_cast<int>(std::floor(fu)), iy = static_cast<int>(std::floor(fv));
  double tx = fu - ix, ty = fv - iy;
  Premultiplied p00 = at(ix, iy), p10 = at(ix + 1, iy), p01 = at(ix, iy + 1), p11 = at(ix + 1, iy + 1);
  auto mix = [&](double c00, double c10, double c01, double c11) {
    return (c00 * (1 - tx) + c10 * tx) * (1 - ty) + (c01 * (1 - tx) + c11 * tx) * ty;
  };
  return {mix(p00.a, p10.a, p01.a, p11.a), mix(p00.r, p10.r, p01.r, p11.r), mix(p00.g, p10.g, p01.g, p11.g),
          mix(p00.b, p10.b, p01.b, p11.b)};
}

}  // namespace

void PaintPicture(Picture& dest, const PaintRect& to, const Picture& src, const PaintRect& from,
                  Sampling sampling) {
  if (to.width <= 0 || to.height <= 0 || from.width <= 0 || from.height <= 0) return;
  // Whole source pixels the window covers, cut to the picture.
  int sx0 = std::max(0, static_cast<int>(std::floor(from.x)));
  int sy0 = std::max(0, static_cast<int>(std::floor(from.y)));
  int sx1 = std::min(src.width, static_cast<int>(std::ceil(from.x + from.width)));
  int sy1 = std::min(src.height, static_cast<int>(std::ceil(from.y + from.height)));
  if (sx0 >= sx1 || sy0 >= sy1) return;
  int dx0 = std::max(0, static_cast<int>(std::lround(to.x)));
  int dy0 = std::max(0, static_cast<int>(std::lround(to.y)));
  int dx1 = std::min(dest.width, static_cast<int>(std::lround(to.x + to.width)));
  int dy1 = std::min(dest.height, static_cast<int>(std::lround(to.y + to.height)));
  const double kx = from.width / to.width, ky = from.height / to.height;
  for (int y = dy0; y < dy1; ++y) {
    double v = from.y + (y + 0.5 - to.y) * ky;
    if (v < sy0 || v >= sy1) continue;
    for (int x = dx0; x < dx1; ++x) {
      double u = from.x + (x + 0.5 - to.x) * kx;
      if (u < sx0 || u >= sx1) continue;
      uint32_t& d = dest.argb[static_cast<size_t>(y) * dest.width + x];
      d = Over(Sample(src, u, v, sx0, sy0, sx1, sy1, sampling), d);
    }
  }
}

void PaintOnto(PictureRef& canvas, int width, int height, const PaintRect& to, const PictureRef& src,
               const PaintRect& from, Sampling sampling) {
  if (!src) return;
  auto next = std::make_shared<Picture>();
  next->width = std::max(0, width);
  next->height = std::max(0, height);
  next->argb.assign(static_cast<size_t>(next->width) * next->height, 0);
  if (canvas) {
    int w = std::min(next->width, canvas->width), h = std::min(next->height, canvas->height);
    for (int y = 0; y < h; ++y)
      std::copy_n(&canvas->argb[static_cast<size_t>(y) * canvas->width], w,
                  &next->argb[static_cast<size_t>(y) * next->width]);
  }
  PaintPicture(*next, to, *src, from, sampling);  // `src` may be the old canvas: it stays as it was
  canvas = std::move(next);
}

}  // namespace tess
