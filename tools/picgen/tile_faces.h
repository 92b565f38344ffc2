// The engravings of the 34 tile kinds, drawn upright into a box of any size
// and shape (the tile bodies and orientations are in tiles.h).
//
// Each function fills the box (x, y, w, h) on an otherwise untouched canvas:
// the patterns are laid out in fractions of the box so the same drawing
// serves the squat lying faces and the tall standing ones. Ranks are 1..9
// for the suits and 1..7 (east, south, west, north, red, green, white) for
// the honours; other ranks draw nothing.
#pragma once

#include "canvas.h"

namespace picgen {

void DrawDots(Canvas& c, int rank, float x, float y, float w, float h);
void DrawBamboo(Canvas& c, int rank, float x, float y, float w, float h);
void DrawCharacters(Canvas& c, int rank, float x, float y, float w, float h);
void DrawHonour(Canvas& c, int rank, float x, float y, float w, float h);

}  // namespace picgen
