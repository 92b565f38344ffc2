// Picture decoding and software painting.
//
// DecodePicture turns the bytes of a GIF or PNG image held in memory into a
// Picture (32-bit ARGB; a GIF's transparent colour becomes alpha 0). It
// reads nothing from disk and writes no temporary file.
//
// PaintPicture draws a part of one picture, scaled, onto another: the
// painted window frame and the background copy of the reduced layout are
// made this way. PaintOnto does the same onto a canvas held by reference (a
// form's `canvas`, a picture box's `picture`): it stores a new Picture
// instead of changing the old one, because a Picture that has been handed
// out is never changed in place (the renderer caches textures by Picture).
#pragma once

#include <cstddef>

#include "ui/elements.h"

namespace tess {

// The picture in `bytes` (GIF or PNG) with its `id` set to `id`; nullptr
// when the bytes are not a picture SDL_image can read.
PictureRef DecodePicture(const void* bytes, size_t size, int id);

enum class Sampling { kNearest, kBilinear };

// A rectangle in pixels; fractional values are allowed.
struct PaintRect {
  double x = 0, y = 0, width = 0, height = 0;
};

// Paints the part `from` of `src` into the part `to` of `dest`, scaled to
// fill it, blending `src` over `dest` by its alpha. Pixels outside `dest`
// or sampled from outside `src` are skipped; an empty rectangle paints
// nothing. `dest` and `src` must be different pictures.
void PaintPicture(Picture& dest, const PaintRect& to, const Picture& src, const PaintRect& from,
                  Sampling sampling);

// Paints onto `canvas` as PaintPicture does, storing a new composed
// picture (id -1) of `width` x `height` pixels: the old canvas copied at its top left (cut to
// the new size), or transparent when there was none. A null `src` paints
// nothing and leaves `canvas` as it is.
void PaintOnto(PictureRef& canvas, int width, int height, const PaintRect& to, const PictureRef& src,
               const PaintRect& from, Sampling sampling);

}  // namespace tess
