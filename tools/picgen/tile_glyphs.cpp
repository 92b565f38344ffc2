// Tiles written with characters: the character suit (numeral over 万), the
// four winds, the red and green dragons, and the white dragon's blue frame.
#include <algorithm>
#include <string>

#include "style.h"
#include "text.h"
#include "tile_faces.h"

namespace picgen {
namespace {

const char* const kNumerals[9] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
const char* const kHonours[6] = {"东", "南", "西", "北", "中", "发"};

// Strokes are thickened a little so the characters stay solid when small.
constexpr float kWeight = 0.035f;

void DrawGlyph(Canvas& c, const std::string& text, float x, float y, float w, float h, Rgba ink,
               bool stretch = false) {
  const Mask m = FitText(text, static_cast<int>(w), static_cast<int>(h), kWeight, stretch);
  DrawMaskCentred(c, m, x + w / 2, y + h / 2, Solid(ink));
}

}  // namespace

void DrawCharacters(Canvas& c, int rank, float x, float y, float w, float h) {
  if (rank < 1 || rank > 9) return;
  // The numeral takes the upper part; 一 is flat by nature and stays so.
  // On the small faces the numeral gets a larger share, or 六 七 八 九 blur.
  const float share = h < 30 ? 0.5f : 0.4f;
  const float numeral_h = h * share;
  const Mask numeral = FitText(kNumerals[rank - 1], static_cast<int>(w * 0.86f),
                               static_cast<int>(numeral_h), kWeight);
  DrawMaskCentred(c, numeral, x + w / 2, y + numeral_h / 2 + h * 0.02f, Solid(style::kInkNavy));
  DrawGlyph(c, "万", x + w * 0.04f, y + h * (share + 0.05f), w * 0.92f, h * (0.95f - share), style::kInkRed, true);
}

void DrawHonour(Canvas& c, int rank, float x, float y, float w, float h) {
  if (rank >= 1 && rank <= 4) {
    DrawGlyph(c, kHonours[rank - 1], x + w * 0.03f, y + h * 0.06f, w * 0.94f, h * 0.88f, style::kInkNavy);
  } else if (rank == 5) {
    DrawGlyph(c, kHonours[4], x + w * 0.02f, y + h * 0.04f, w * 0.96f, h * 0.92f, style::kInkRed);
  } else if (rank == 6) {
    DrawGlyph(c, kHonours[5], x + w * 0.02f, y + h * 0.04f, w * 0.96f, h * 0.92f, style::kInkGreen);
  } else if (rank == 7) {
    // The white dragon: an empty double frame in blue.
    const float line = std::max(1.2f, std::min(w, h) * 0.07f);
    const float fx = x + w * 0.1f, fy = y + h * 0.08f, fw = w * 0.8f, fh = h * 0.84f;
    StrokeRoundRect(c, fx, fy, fw, fh, line, line, Solid(style::kInkBlue));
    const float in = line * 2.2f;
    StrokeRoundRect(c, fx + in, fy + in, fw - 2 * in, fh - 2 * in, line * 0.5f, line * 0.6f,
                    Solid(style::kInkBlue));
  }
}

}  // namespace picgen
