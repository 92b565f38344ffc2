#include "gif_encode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace picgen {
namespace {

// Channel weights of the colour distance: the eye is most sensitive to green.
constexpr int kWeight[3] = {3, 4, 2};

struct ColourCount {
  std::array<uint8_t, 3> rgb;
  uint32_t count;
};

uint32_t Key(const std::array<uint8_t, 3>& c) { return (c[0] << 16) | (c[1] << 8) | c[2]; }

int Distance(const std::array<uint8_t, 3>& a, const std::array<float, 3>& b) {
  float d = 0;
  for (int k = 0; k < 3; ++k) d += kWeight[k] * (a[k] - b[k]) * (a[k] - b[k]);
  return static_cast<int>(d);
}

// A box of the median cut: a run of `colours` [begin, end).
struct CutBox {
  size_t begin, end;
  double error;  // weighted squared spread around the mean
  int axis;      // channel of the largest spread
};

CutBox Measure(std::vector<ColourCount>& colours, size_t begin, size_t end) {
  double n = 0, sum[3] = {0, 0, 0}, sq[3] = {0, 0, 0};
  for (size_t i = begin; i < end; ++i) {
    for (int k = 0; k < 3; ++k) {
      sum[k] += static_cast<double>(colours[i].rgb[k]) * colours[i].count;
      sq[k] += static_cast<double>(colours[i].rgb[k]) * colours[i].rgb[k] * colours[i].count;
    }
    n += colours[i].count;
  }
  CutBox box{begin, end, 0, 0};
  double best = -1;
  for (int k = 0; k < 3; ++k) {
    const double spread = kWeight[k] * (sq[k] - sum[k] * sum[k] / n);
    box.error += spread;
    if (spread > best) {
      best = spread;
      box.axis = k;
    }
  }
  if (end - begin < 2) box.error = -1;  // cannot be split
  return box;
}

std::vector<std::array<float, 3>> MedianCut(std::vector<ColourCount>& colours, size_t wanted) {
  std::vector<CutBox> boxes{Measure(colours, 0, colours.size())};
  while (boxes.size() < wanted) {
    auto it = std::max_element(boxes.begin(), boxes.end(),
                               [](const CutBox& a, const CutBox& b) { return a.error < b.error; });
    if (it->error <= 0) break;
    const CutBox box = *it;
    const int axis = box.axis;
    std::sort(colours.begin() + box.begin, colours.begin() + box.end,
              [axis](const ColourCount& a, const ColourCount& b) { return a.rgb[axis] < b.rgb[axis]; });
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
    uint64_t run = 0;
    size_t cut = box.begin + 1;
    for (size_t i = box.begin; i + 1 < box.end; ++i) {
      run += colours[i].count;
      cut = i + 1;
      if (run * 2 >= total) break;
    }
    *it = Measure(colours, box.begin, cut);
    boxes.push_back(Measure(colours, cut, box.end));
  }
  std::vector<std::array<float, 3>> palette;
  for (const CutBox& box : boxes) {
    double n = 0, sum[3] = {0, 0, 0};
    for (size_t i = box.begin; i < box.end; ++i) {
      for (int k = 0; k < 3; ++k) sum[k] += static_cast<double>(colours[i].rgb[k]) * colours[i].count;
      n += colours[i].count;
    }
    palette.push_back({static_cast<float>(sum[0] / n), static_cast<float>(sum[1] / n),
                       static_cast<float>(sum[2] / n)});
  }
  return palette;
}

size_t Nearest(const std::array<uint8_t, 3>& c, const std::vector<std::array<float, 3>>& palette) {
  size_t best = 0;
  int best_d = Distance(c, palette[0]);
  for (size_t i = 1; i < palette.size(); ++i) {
    const int d = Distance(c, palette[i]);
    if (d < best_d) {
      best_d = d;
      best = i;
    }
  }
  return best;
}

// Moves every palette entry to the mean of the colours nearest to it.
void Refine(const std::vector<ColourCount>& colours, std::vector<std::array<float, 3>>& palette,
            int rounds) {
  for (int r = 0; r < rounds; ++r) {
    std::vector<std::array<double, 4>> acc(palette.size(), {0, 0, 0, 0});
    for (const ColourCount& c : colours) {
      auto& a = acc[Nearest(c.rgb, palette)];
      for (int k = 0; k < 3; ++k) a[k] += static_cast<double>(c.rgb[k]) * c.count;
      a[3] += c.count;
    }
    for (size_t i = 0; i < palette.size(); ++i) {
      if (acc[i][3] <= 0) continue;
      for (int k = 0; k < 3; ++k) palette[i][k] = static_cast<float>(acc[i][k] / acc[i][3]);
    }
  }
}

uint8_t ToByte(float v) { return static_cast<uint8_t>(std::clamp(std::lround(v * 255.0f), 0L, 255L)); }

int WriteToVector(GifFileType* gif, const GifByteType* bytes, int n) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + n);
  return n;
}

}  // namespace

IndexedImage Quantize(const Canvas& c, Rgba matte, bool transparency) {
  IndexedImage out;
  out.width = c.width;
  out.height = c.height;
  const size_t n = static_cast<size_t>(c.width) * c.height;
  std::vector<std::array<uint8_t, 3>> rgb(n);
  std::vector<bool> clear(n, false);
  std::unordered_map<uint32_t, uint32_t> counts;
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      const size_t i = static_cast<size_t>(y) * c.width + x;
      const Rgba p = c.At(x, y);
      if (transparency && p.a < 0.5f) {
        clear[i] = true;
        continue;
      }
      const Rgba m = Mix(matte, p, p.a);
      rgb[i] = {ToByte(m.r), ToByte(m.g), ToByte(m.b)};
      ++counts[Key(rgb[i])];
    }
  }
  const bool any_clear = std::find(clear.begin(), clear.end(), true) != clear.end();
  const size_t room = any_clear ? 255 : 256;

  std::vector<ColourCount> colours;
  colours.reserve(counts.size());
  for (const auto& [key, count] : counts) {
    colours.push_back({{static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8),
                        static_cast<uint8_t>(key)},
                       count});
  }
  // Sorted so that the result does not depend on the hash map's order.
  std::sort(colours.begin(), colours.end(),
            [](const ColourCount& a, const ColourCount& b) { return Key(a.rgb) < Key(b.rgb); });

  std::vector<std::array<float, 3>> palette;
  if (colours.size() <= room) {
    for (const ColourCount& cc : colours) palette.push_back({1.0f * cc.rgb[0], 1.0f * cc.rgb[1], 1.0f * cc.rgb[2]});
  } else {
    std::vector<ColourCount> work = colours;
    palette = MedianCut(work, room);
    Refine(colours, palette, 3);
  }
  if (palette.empty()) palette.push_back({0, 0, 0});

  std::unordered_map<uint32_t, uint8_t> lookup;
  for (const ColourCount& cc : colours) {
    lookup[Key(cc.rgb)] = static_cast<uint8_t>(Nearest(cc.rgb, palette) + (any_clear ? 1 : 0));
  }
  if (any_clear) {
    out.transparent = 0;
    const Rgba m = matte;
    out.palette.push_back({ToByte(m.r), ToByte(m.g), ToByte(m.b)});
  }
  for (const auto& p : palette) {
    out.palette.push_back({static_cast<uint8_t>(std::lround(p[0])), static_cast<uint8_t>(std::lround(p[1])),
                           static_cast<uint8_t>(std::lround(p[2]))});
  }
  out.index.resize(n);
  for (size_t i = 0; i < n; ++i) out.index[i] = clear[i] ? 0 : lookup[Key(rgb[i])];
  return out;
}

std::vector<uint8_t> EncodeGif(const IndexedImage& image) {
  std::vector<uint8_t> bytes;
  int bits = 1;
  while ((1u << bits) < image.palette.size()) ++bits;
  std::vector<GifColorType> colours(1u << bits, GifColorType{0, 0, 0});
  for (size_t i = 0; i < image.palette.size(); ++i) {
    colours[i] = {image.palette[i][0], image.palette[i][1], image.palette[i][2]};
  }
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, WriteToVector, &error);
  if (gif == nullptr) return {};
  ColorMapObject* map = GifMakeMapObject(1 << bits, colours.data());
  bool ok = map != nullptr;
  EGifSetGifVersion(gif, true);
  ok = ok && EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map) == GIF_OK;
  if (ok && image.transparent >= 0) {
    // Graphic control block: transparent flag, no delay, the index.
    const GifByteType control[4] = {0x01, 0, 0, static_cast<GifByteType>(image.transparent)};
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_OK;
  }
  ok = ok && EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(static_cast<size_t>(image.width));
  for (int y = 0; ok && y < image.height; ++y) {
    std::copy_n(image.index.begin() + static_cast<ptrdiff_t>(y) * image.width, image.width, row.begin());
    ok = EGifPutLine(gif, row.data(), image.width) == GIF_OK;
  }
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  GifFreeMapObject(map);
  if (!ok) return {};
  return bytes;
}

Canvas Expanded(const IndexedImage& image) {
  Canvas c(image.width, image.height);
  for (size_t i = 0; i < image.index.size(); ++i) {
    const uint8_t k = image.index[i];
    if (static_cast<int>(k) == image.transparent || k >= image.palette.size()) continue;
    const auto& p = image.palette[k];
    c.px[i] = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, 1.0f};
  }
  return c;
}

}  // namespace picgen
