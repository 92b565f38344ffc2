// The list of every picture the client embeds, with identifier, size and the
// drawing that makes it.
//
// Type "GIF" holds the table's picture catalogue, identifiers 101-120,
// 123-137, 141-155, 161-176, 183-398 and 401-430 (312 pictures). Type
// "FORM" holds the pictures of the main window's own form (backgrounds,
// frame skin, title-bar buttons, icon, and the frames, plates, marks and
// buttons designed into the table) under the identifiers listed in
// ui/resources.h. Every drawing returns a canvas of exactly its size.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

namespace picgen {

struct PictureSpec {
  std::string type;
  int id = 0;
  int width = 0;
  int height = 0;
  std::string label;  // what the picture shows, for the contact sheet
  Rgba matte;         // the colour the picture is mostly shown on
  bool transparency = false;
  std::function<Canvas()> draw;
};

// Sorted by identifier (the form pictures' identifiers follow the
// catalogue's).
std::vector<PictureSpec> Catalogue();

}  // namespace picgen
