// From a drawn canvas to GIF bytes: colour reduction to a palette of its
// own per picture (median cut refined by a few k-means rounds) and the GIF89a
// encoding through giflib.
//
// GIF has one transparent index and no partial transparency, so pixels that
// are partly covered are first composited over the picture's matte colour
// (the colour it will mostly be shown on) and pixels less than half covered
// become the transparent index when the picture keeps transparency.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "canvas.h"

namespace picgen {

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> index;                   // one palette index per pixel
  std::vector<std::array<uint8_t, 3>> palette;  // at most 256 entries
  int transparent = -1;                         // palette index shown as transparent, or -1
};

// transparency = false: every pixel is composited over the matte.
IndexedImage Quantize(const Canvas& c, Rgba matte, bool transparency);

// The picture as a complete GIF file; empty if giflib fails.
std::vector<uint8_t> EncodeGif(const IndexedImage& image);

// The indexed picture back as a canvas (transparent index left clear).
Canvas Expanded(const IndexedImage& image);

}  // namespace picgen
