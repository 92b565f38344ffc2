#include "sheet.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>

#include "text.h"

namespace picgen {
namespace {

constexpr int kSheetWidth = 1800;  // wider than the largest picture
constexpr int kGap = 10;
constexpr int kCaptionHeight = 18;

struct Cell {
  int x, y, zoom;
};

}  // namespace

bool WriteContactSheet(const std::string& path, const std::vector<SheetEntry>& entries, int zoom) {
  std::vector<Cell> cells;
  int x = kGap, y = kGap, row_h = 0;
  std::vector<Mask> captions;
  for (const SheetEntry& e : entries) {
    captions.push_back(RenderText(e.caption, 13));
    // The table backgrounds are big enough as they are.
    const int z = e.picture.width > 400 ? 1 : zoom;
    const int w = std::max(e.picture.width * z, captions.back().width);
    const int h = e.picture.height * z + kCaptionHeight;
    if ((e.row_start && x > kGap) || x + w + kGap > kSheetWidth) {
      x = kGap;
      y += row_h + kGap;
      row_h = 0;
    }
    cells.push_back({x, y, z});
    x += w + kGap;
    row_h = std::max(row_h, h);
  }
  const int height = y + row_h + kGap;

  Canvas sheet(kSheetWidth, height);
  FillRect(sheet, 0, 0, kSheetWidth, height, Solid(Hex(0x2E3033)));
  for (size_t i = 0; i < entries.size(); ++i) {
    const Canvas& pic = entries[i].picture;
    const Cell& cell = cells[i];
    const int w = pic.width * cell.zoom, h = pic.height * cell.zoom;
    // Checkerboard behind the picture: 8-pixel squares.
    for (int yy = 0; yy < h; ++yy) {
      for (int xx = 0; xx < w; ++xx) {
        const bool dark = ((xx / 8) + (yy / 8)) % 2 == 0;
        sheet.Blend(cell.x + xx, cell.y + yy, dark ? Hex(0x8A8A8A) : Hex(0xB4B4B4), 1);
      }
    }
    Draw(sheet, Resized(pic, w, h), cell.x, cell.y);
    DrawMask(sheet, captions[i], cell.x, cell.y + h + 3, Solid(Hex(0xF0F0F0)));
  }

  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, sheet.width, sheet.height, 32, SDL_PIXELFORMAT_RGBA32);
  if (s == nullptr) return false;
  for (int yy = 0; yy < sheet.height; ++yy) {
    auto* row = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(yy) * s->pitch;
    for (int xx = 0; xx < sheet.width; ++xx) {
      const Rgba p = sheet.At(xx, yy);
      const uint8_t rgba[4] = {static_cast<uint8_t>(std::lround(p.r * 255)), static_cast<uint8_t>(std::lround(p.g * 255)),
                               static_cast<uint8_t>(std::lround(p.b * 255)), 255};
      std::copy_n(rgba, 4, row + 4 * xx);
    }
  }
  const bool ok = IMG_SavePNG(s, path.c_str()) == 0;
  SDL_FreeSurface(s);
  return ok;
}

}  // namespace picgen
