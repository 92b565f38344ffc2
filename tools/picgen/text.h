// Text for the pictures: glyphs rendered by SDL_ttf from one CJK font into
// coverage masks that are painted onto a canvas like any other shape.
//
// OpenFont must succeed before any other call; the font stays open for the
// run. Masks are cropped to their ink (the pixels a glyph really covers), so
// placing a mask centres what the eye sees rather than the font's line box.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace picgen {

// Coverage 0..1 per pixel, row by row.
struct Mask {
  int width = 0;
  int height = 0;
  std::vector<float> a;
};

// Opens the font file (a collection's first face). Returns false with a
// message on stderr when the file cannot be read.
bool OpenFont(const std::string& path);
void CloseFont();

// UTF-8 text at the given pixel size. `weight` thickens the strokes by that
// many pixels at the rendered size (0 = the font's own weight).
Mask RenderText(const std::string& utf8, int pixel_size, int weight = 0);
// Text rendered large and scaled to fit a w x h box, keeping its shape
// unless `stretch` is set. Best for big single characters.
Mask FitText(const std::string& utf8, int w, int h, float weight_ratio = 0.0f,
             bool stretch = false);

Mask ResizedMask(const Mask& m, int w, int h);
// The mask grown by `radius` pixels on every side (for outlines and halos).
Mask Dilated(const Mask& m, float radius);

// Paints the mask with its top-left corner at (x, y).
void DrawMask(Canvas& c, const Mask& m, float x, float y, const Paint& paint);
// Paints the mask centred on (cx, cy).
void DrawMaskCentred(Canvas& c, const Mask& m, float cx, float cy, const Paint& paint);

// Centred text with a one-pixel shadow below and to the right: the
// caption of buttons and ribbons, readable down to 11 pixels.
void DrawCaption(Canvas& c, const std::string& utf8, int pixel_size, float cx, float cy,
                 const Paint& fill, Rgba shadow);

}  // namespace picgen
