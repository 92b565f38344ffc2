#include "buttons.h"

#include <algorithm>

#include "style.h"
#include "text.h"

namespace picgen {
namespace {

// Three-stop vertical gradient from y0 to y1, the middle stop at `mid`.
Paint Vertical3(float y0, float y1, Rgba top, Rgba middle, Rgba bottom, float mid = 0.5f) {
  return [=](float, float y) {
    const float t = std::clamp((y - y0) / std::max(y1 - y0, 1e-3f), 0.0f, 1.0f);
    return t < mid ? Mix(top, middle, t / mid) : Mix(middle, bottom, (t - mid) / (1 - mid));
  };
}

// The glossy upper half every button shares.
void Gloss(Canvas& c, float x, float y, float w, float h, float radius, float strength) {
  FillRoundRect(c, x + 1.5f, y + 1.5f, w - 3, h * 0.45f, radius * 0.8f,
                Linear({0, y}, {0, y + h * 0.45f}, WithAlpha(style::kWhite, strength), WithAlpha(style::kWhite, 0.02f)));
}

int CaptionSize(int h) { return std::clamp(h / 2, 11, 16); }

}  // namespace

Canvas DrawBarButton(int w, int h, const std::string& caption, BarLook look) {
  Canvas c(w, h);
  Rgba top = Hex(0xA8421F), bottom = Hex(0x5A170A), border = Hex(0xC69036);
  Rgba text = style::kCream, outline = Hex(0x3A0F05);
  if (look == BarLook::kHighlighted) {
    top = Hex(0xE6622F), bottom = Hex(0x9A2C10), border = Hex(0xFFE07A);
    text = Hex(0xFFE680), outline = Hex(0x5A1000);
  } else if (look == BarLook::kGreyed) {
    top = Hex(0x8F8A85), bottom = Hex(0x5D5955), border = Hex(0xA9A39C);
    text = Hex(0xD2CDC6), outline = Hex(0x4A4642);
  }
  const float radius = h * 0.22f;
  FillRoundRect(c, 0, 0, w, h, radius, Solid(Hex(0x1E0E06)));
  FillRoundRect(c, 1, 1, w - 2.0f, h - 2.0f, radius, Linear({0, 0}, {0, h * 1.0f}, top, bottom));
  Gloss(c, 1, 1, w - 2.0f, h - 2.0f, radius, look == BarLook::kGreyed ? 0.12f : 0.3f);
  StrokeRoundRect(c, 1.5f, 1.5f, w - 3.0f, h - 3.0f, radius, look == BarLook::kHighlighted ? 1.5f : 1.0f, Solid(border));
  const int size = CaptionSize(h);
  if (look == BarLook::kHighlighted) {
    const Mask m = RenderText(caption, size);
    DrawMaskCentred(c, Dilated(m, 2.5f), w / 2.0f, h / 2.0f, Solid(WithAlpha(Hex(0xFFD040), 0.3f)));
  }
  DrawCaption(c, caption, size, w / 2.0f, h / 2.0f, Solid(text), outline);
  return c;
}

Canvas DrawDialogButton(int w, int h, const std::string& caption, DialogTone tone, bool highlighted) {
  Canvas c(w, h);
  Rgba top = Hex(0x5A9EE0), bottom = Hex(0x1C4A86);
  if (tone == DialogTone::kRed) top = Hex(0xE0644A), bottom = Hex(0x8A2214);
  if (tone == DialogTone::kGreen) top = Hex(0x58BE73), bottom = Hex(0x1B6630);
  if (highlighted) {
    top = Lighter(top, 0.25f);
    bottom = Lighter(bottom, 0.2f);
  }
  const float radius = h * 0.3f;
  FillRoundRect(c, 0, 0, w, h, radius, Solid(Darker(bottom, 0.5f)));
  FillRoundRect(c, 1, 1, w - 2.0f, h - 2.0f, radius, Linear({0, 0}, {0, h * 1.0f}, top, bottom));
  Gloss(c, 1, 1, w - 2.0f, h - 2.0f, radius, 0.35f);
  if (highlighted) StrokeRoundRect(c, 1.5f, 1.5f, w - 3.0f, h - 3.0f, radius, 1.5f, Solid(style::kGold));
  DrawCaption(c, caption, CaptionSize(h), w / 2.0f, h / 2.0f + 0.5f, Solid(style::kWhite),
              Darker(bottom, 0.5f));
  return c;
}

Canvas DrawTallButton(const std::string& glyph, TallLook look) {
  const int w = 50, h = 71;
  Canvas c(w, h);
  Paint body;
  Rgba border, medal, medal_ring, ink, ink_outline;
  switch (look) {
    case TallLook::kPlain:
      body = Vertical3(0, h, Hex(0xB2AEA5), Hex(0x8F8A81), Hex(0x6A655D));
      border = Hex(0x4C4841), medal = Hex(0x857F75), medal_ring = Hex(0xC3BEB4);
      ink = Hex(0xE4E0D6), ink_outline = Hex(0x4A463F);
      break;
    case TallLook::kLit:
      body = Vertical3(0, h, Hex(0xFFEFA6), Hex(0xF2BE3E), Hex(0xC4860F));
      border = Hex(0x7A4A06), medal = Hex(0xC8241B), medal_ring = Hex(0xFFF1B5);
      ink = Hex(0xFFF3C4), ink_outline = Hex(0x5A0A06);
      break;
    case TallLook::kRed:
      body = Vertical3(0, h, Hex(0xF0664A), Hex(0xC22E1C), Hex(0x7E140B));
      border = Hex(0x4A0804), medal = Hex(0xFFD35A), medal_ring = Hex(0xFFF1B5);
      ink = Hex(0xA3140F), ink_outline = Hex(0xFFF3C4);
      break;
    case TallLook::kGold:
      body = Vertical3(0, h, Hex(0xFFF6C0), Hex(0xE0A21C), Hex(0xFFE07A), 0.55f);
      border = Hex(0x835208), medal = Hex(0xFFF8DC), medal_ring = Hex(0xB77A0E);
      ink = Hex(0xC8161E), ink_outline = Hex(0xFFF8DC);
      break;
    case TallLook::kSilver:
      body = Vertical3(0, h, Hex(0xF4F6F8), Hex(0x9EA5AF), Hex(0xDCE0E5), 0.55f);
      border = Hex(0x5E656F), medal = Hex(0xC5CBD2), medal_ring = Hex(0xF4F6F8);
      ink = Hex(0x6B7380), ink_outline = Hex(0xF4F6F8);
      break;
  }
  const float radius = 9;
  FillRoundRect(c, 0, 0, w, h, radius, Solid(border));
  FillRoundRect(c, 1.5f, 1.5f, w - 3.0f, h - 3.0f, radius - 1, body);
  Gloss(c, 1.5f, 1.5f, w - 3.0f, h - 3.0f, radius - 1, 0.35f);
  const float cx = w / 2.0f, cy = 31;
  FillCircle(c, cx, cy + 1, 19.5f, Solid(WithAlpha(Darker(border, 0.3f), 0.45f)));
  FillCircle(c, cx, cy, 19, Solid(medal_ring));
  FillCircle(c, cx, cy, 16.5f, Radial({cx - 5, cy - 6}, 22, Lighter(medal, 0.2f), Darker(medal, 0.12f)));
  const Mask m = FitText(glyph, 25, 25, 0.03f);
  DrawMaskCentred(c, Dilated(m, 1.3f), cx, cy, Solid(ink_outline));
  DrawMaskCentred(c, m, cx, cy, Solid(ink));
  // A small ornament under the medallion.
  const float oy = 58;
  StrokeLine(c, {cx - 12, oy}, {cx + 12, oy}, 1.5f, Solid(WithAlpha(border, 0.8f)));
  FillCircle(c, cx, oy, 3, Solid(medal_ring));
  FillCircle(c, cx, oy, 1.6f, Solid(medal));
  return c;
}

}  // namespace picgen
