#include "text.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace picgen {
namespace {

TTF_Font* g_font = nullptr;

// Coverage of a rendered surface (ARGB8888 from the blended renderer).
Mask SurfaceMask(SDL_Surface* s) {
  Mask m;
  if (s == nullptr) return m;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(s);
  if (argb == nullptr) return m;
  m.width = argb->w;
  m.height = argb->h;
  m.a.resize(static_cast<size_t>(m.width) * m.height);
  for (int y = 0; y < m.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                        static_cast<size_t>(y) * argb->pitch);
    for (int x = 0; x < m.width; ++x) {
      m.a[static_cast<size_t>(y) * m.width + x] = ((row[x] >> 24) & 0xFF) / 255.0f;
    }
  }
  SDL_FreeSurface(argb);
  return m;
}

Mask Render(const std::string& utf8, int pixel_size, int outline) {
  TTF_SetFontSize(g_font, pixel_size);
  // Small text keeps to the pixel grid; large text keeps its true shapes.
  TTF_SetFontHinting(g_font, pixel_size < 24 ? TTF_HINTING_NORMAL : TTF_HINTING_LIGHT);
  TTF_SetFontOutline(g_font, outline);
  return SurfaceMask(TTF_RenderUTF8_Blended(g_font, utf8.c_str(), SDL_Color{255, 255, 255, 255}));
}

Mask CroppedToInk(const Mask& m) {
  int x0 = m.width, y0 = m.height, x1 = -1, y1 = -1;
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      if (m.a[static_cast<size_t>(y) * m.width + x] > 0.02f) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
    }
  }
  Mask out;
  if (x1 < 0) return out;
  out.width = x1 - x0 + 1;
  out.height = y1 - y0 + 1;
  out.a.resize(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      out.a[static_cast<size_t>(y) * out.width + x] =
          m.a[static_cast<size_t>(y + y0) * m.width + x + x0];
    }
  }
  return out;
}

}  // namespace

bool OpenFont(const std::string& path) {
  if (TTF_WasInit() == 0 && TTF_Init() != 0) {
    std::fprintf(stderr, "picgen: TTF_Init failed: %s\n", TTF_GetError());
    return false;
  }
  g_font = TTF_OpenFont(path.c_str(), 32);
  if (g_font == nullptr) {
    std::fprintf(stderr, "picgen: cannot open font %s: %s\n", path.c_str(), TTF_GetError());
    return false;
  }
  return true;
}

void CloseFont() {
  if (g_font != nullptr) TTF_CloseFont(g_font);
  g_font = nullptr;
  TTF_Quit();
}

Mask RenderText(const std::string& utf8, int pixel_size, int weight) {
  Mask plain = Render(utf8, pixel_size, 0);
  if (weight > 0) {
    // The stroked glyphs are `weight` pixels larger on every side; their
    // union with the plain glyphs is a solid, heavier letter.
    Mask thick = Render(utf8, pixel_size, weight);
    for (int y = 0; y < plain.height; ++y) {
      for (int x = 0; x < plain.width; ++x) {
        const int tx = x + weight, ty = y + weight;
        if (tx >= thick.width || ty >= thick.height) continue;
        float& t = thick.a[static_cast<size_t>(ty) * thick.width + tx];
        t = std::max(t, plain.a[static_cast<size_t>(y) * plain.width + x]);
      }
    }
    plain = std::move(thick);
  }
  return CroppedToInk(plain);
}

Mask FitText(const std::string& utf8, int w, int h, float weight_ratio, bool stretch) {
  const int size = std::max(64, 4 * h);
  const Mask big = RenderText(utf8, size, static_cast<int>(std::lround(weight_ratio * size)));
  if (big.width == 0) return big;
  if (stretch) return ResizedMask(big, w, h);
  const float scale = std::min(static_cast<float>(w) / big.width, static_cast<float>(h) / big.height);
  return ResizedMask(big, std::max(1, static_cast<int>(std::lround(big.width * scale))),
                     std::max(1, static_cast<int>(std::lround(big.height * scale))));
}

Mask ResizedMask(const Mask& m, int w, int h) {
  Canvas c(m.width, m.height);
  for (size_t i = 0; i < m.a.size(); ++i) c.px[i] = {m.a[i], m.a[i], m.a[i], m.a[i]};
  const Canvas r = Resized(c, w, h);
  Mask out{w, h, std::vector<float>(static_cast<size_t>(w) * h)};
  for (size_t i = 0; i < out.a.size(); ++i) out.a[i] = r.px[i].a;
  return out;
}

Mask Dilated(const Mask& m, float radius) {
  const int pad = static_cast<int>(std::ceil(radius));
  Mask out{m.width + 2 * pad, m.height + 2 * pad, {}};
  out.a.assign(static_cast<size_t>(out.width) * out.height, 0.0f);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      float best = 0;
      for (int dy = -pad - 1; dy <= pad + 1; ++dy) {
        for (int dx = -pad - 1; dx <= pad + 1; ++dx) {
          const int sx = x - pad + dx, sy = y - pad + dy;
          if (sx < 0 || sy < 0 || sx >= m.width || sy >= m.height) continue;
          const float reach = std::clamp(radius + 0.5f - std::hypot(static_cast<float>(dx), static_cast<float>(dy)), 0.0f, 1.0f);
          best = std::max(best, m.a[static_cast<size_t>(sy) * m.width + sx] * reach);
        }
      }
      out.a[static_cast<size_t>(y) * out.width + x] = best;
    }
  }
  return out;
}

void DrawMask(Canvas& c, const Mask& m, float x, float y, const Paint& paint) {
  const int ix = static_cast<int>(std::lround(x)), iy = static_cast<int>(std::lround(y));
  for (int my = 0; my < m.height; ++my) {
    for (int mx = 0; mx < m.width; ++mx) {
      const float cover = m.a[static_cast<size_t>(my) * m.width + mx];
      if (cover <= 0) continue;
      c.Blend(ix + mx, iy + my, paint(ix + mx + 0.5f, iy + my + 0.5f), cover);
    }
  }
}

void DrawMaskCentred(Canvas& c, const Mask& m, float cx, float cy, const Paint& paint) {
  DrawMask(c, m, cx - m.width / 2.0f, cy - m.height / 2.0f, paint);
}

void DrawCaption(Canvas& c, const std::string& utf8, int pixel_size, float cx, float cy,
                 const Paint& fill, Rgba shadow) {
  const Mask text = RenderText(utf8, pixel_size);
  DrawMaskCentred(c, text, cx + 1, cy + 1, Solid(shadow));
  DrawMaskCentred(c, text, cx, cy, fill);
}

}  // namespace picgen
