// The contact sheet: every picture on one PNG, enlarged, on a grid with its
// identifier under it, for judging the set by eye.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace picgen {

struct SheetEntry {
  std::string caption;   // printed under the picture
  bool row_start = false;  // begins a new row (a new kind of picture)
  Canvas picture;
};

// Each picture up to 400 pixels wide is enlarged `zoom` times, larger ones
// are shown as they are; all over a checkerboard, so transparent pixels show.
// Returns false when the PNG cannot be written.
bool WriteContactSheet(const std::string& path, const std::vector<SheetEntry>& entries, int zoom);

}  // namespace picgen
