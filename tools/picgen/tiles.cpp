#include "tiles.h"

#include <algorithm>

#include "style.h"
#include "tile_faces.h"

namespace picgen {
namespace {

constexpr int kStandingBack = 7;
constexpr int kLyingBack = 8;

struct GroupLook {
  PictureSize size;
  int depth;         // thickness shown at the bottom (lying tiles)
  int top;           // top edge shown above the face (standing tiles)
  int inset;         // margin between the face's edge and its engraving
  int quarter_turns; // turn of the engraving, clockwise
  float radius;
};

GroupLook Look(int group) {
  switch (group) {
    case 0: return {{50, 58}, 10, 0, 3, 0, 5};
    case 1: return {{59, 46}, 10, 0, 3, 1, 5};
    case 2: return {{34, 37}, 7, 0, 2, 2, 3.5f};
    case 3: return {{59, 46}, 10, 0, 3, 3, 5};
    default: return {{50, 77}, 0, 9, 3, 0, 5};
  }
}

void DrawEngraving(Canvas& c, int index, float x, float y, float w, float h) {
  if (index < 7) {
    DrawHonour(c, index + 1, x, y, w, h);
  } else if (index >= 9 && index < 18) {
    DrawBamboo(c, index - 8, x, y, w, h);
  } else if (index >= 18 && index < 27) {
    DrawCharacters(c, index - 17, x, y, w, h);
  } else if (index >= 27) {
    DrawDots(c, index - 26, x, y, w, h);
  }
}

Paint FacePaint(float w, float h) {
  return Linear({0, 0}, {w, h}, style::kIvory, style::kIvoryShade);
}

void Outline(Canvas& c, const GroupLook& g) {
  StrokeRoundRect(c, 0.5f, 0.5f, g.size.width - 1.0f, g.size.height - 1.0f, g.radius, 1.0f,
                  Solid(WithAlpha(style::kTileLine, 0.75f)));
}

// A tile lying face up: the face on top, below it the thickness in two
// layers, ivory over green.
void LyingFaceBody(Canvas& c, const GroupLook& g) {
  const float w = g.size.width, h = g.size.height;
  FillRoundRect(c, 0, 0, w, h, g.radius, Linear({0, h - g.depth}, {0, h}, style::kBack, style::kBackDark));
  FillRoundRect(c, 0, 0, w, h - g.depth * 0.5f, g.radius, Solid(style::kIvorySide));
  FillRoundRect(c, 0, 0, w, h - g.depth, g.radius, FacePaint(w, h - g.depth));
  Outline(c, g);
}

// A standing tile seen from the front: its top edge, green behind ivory,
// then the face.
void StandingFaceBody(Canvas& c, const GroupLook& g) {
  const float w = g.size.width, h = g.size.height;
  FillRoundRect(c, 0, 0, w, h, g.radius, Linear({0, 0}, {0, g.top * 1.0f}, Lighter(style::kBack, 0.15f), style::kBack));
  FillRoundRect(c, 0, g.top - 4.0f, w, h - g.top + 4.0f, g.radius, Solid(style::kIvorySide));
  FillRoundRect(c, 0, g.top * 1.0f, w, h - g.top, g.radius, FacePaint(w, h));
  // A faint shade at the foot of the face.
  FillRoundRect(c, 0, h - 5.0f, w, 5.0f, g.radius, Linear({0, h - 5.0f}, {0, h}, WithAlpha(style::kIvorySide, 0), WithAlpha(style::kIvorySide, 0.8f)));
  Outline(c, g);
}

// A tile lying face down: the green back on top, the thickness below with
// the ivory face layer at the bottom.
void LyingBack(Canvas& c, const GroupLook& g) {
  const float w = g.size.width, h = g.size.height;
  FillRoundRect(c, 0, 0, w, h, g.radius, Solid(style::kIvorySide));
  FillRoundRect(c, 0, 0, w, h - g.depth * 0.5f, g.radius, Solid(style::kBackDark));
  const float top_h = h - g.depth;
  FillRoundRect(c, 0, 0, w, top_h, g.radius,
                Radial({w * 0.35f, top_h * 0.3f}, std::max(w, top_h), Lighter(style::kBack, 0.18f), style::kBackDark));
  StrokeRoundRect(c, 2.5f, 2.5f, w - 5, top_h - 5, g.radius * 0.6f, 1.0f, Solid(WithAlpha(style::kWhite, 0.18f)));
  Outline(c, g);
}

// A standing tile seen from behind (the opposite player's hand, the seat
// draw): a thin ivory far edge, the green top and the green back.
void StandingBackFront(Canvas& c, const GroupLook& g) {
  const float w = g.size.width, h = g.size.height;
  const float top = std::max(4.0f, h * 0.12f);
  FillRoundRect(c, 0, 0, w, h, g.radius, Solid(style::kIvory));
  FillRoundRect(c, 0, top * 0.35f, w, h - top * 0.35f, g.radius, Solid(Lighter(style::kBack, 0.2f)));
  FillRoundRect(c, 0, top, w, h - top, g.radius,
                Radial({w * 0.35f, h * 0.35f}, std::max(w, h), Lighter(style::kBack, 0.1f), style::kBackDark));
  StrokeRoundRect(c, 2.5f, top + 2.5f, w - 5, h - top - 5, g.radius * 0.6f, 1.0f, Solid(WithAlpha(style::kWhite, 0.16f)));
  Outline(c, g);
}

// A standing tile of a side player seen edge on: the ivory face layer on the
// owner's side, the green back towards the middle of the table.
void StandingBackSide(Canvas& c, const GroupLook& g, bool face_on_left) {
  const float w = g.size.width, h = g.size.height;
  FillRoundRect(c, 0, 0, w, h, g.radius, Linear({0, 0}, {0, h}, Lighter(style::kBack, 0.1f), style::kBackDark));
  const float ivory_w = w * 0.42f;
  const float ix = face_on_left ? 0 : w - ivory_w;
  FillRoundRect(c, ix, 0, ivory_w, h, g.radius, Linear({0, 0}, {0, h}, style::kIvory, style::kIvorySide));
  // The top surface, lit from above.
  FillRoundRect(c, 0, 0, w, h * 0.2f, g.radius, Solid(WithAlpha(style::kWhite, 0.22f)));
  Outline(c, g);
}

void FaceUp(Canvas& c, const GroupLook& g, int index) {
  const int face_top = g.top;
  const int face_h = g.size.height - g.depth - g.top;
  if (g.top > 0) {
    StandingFaceBody(c, g);
  } else {
    LyingFaceBody(c, g);
  }
  const int ix = g.inset, iy = face_top + g.inset;
  const int iw = g.size.width - 2 * g.inset, ih = face_h - 2 * g.inset;
  const bool sideways = g.quarter_turns % 2 == 1;
  Canvas engraving(sideways ? ih : iw, sideways ? iw : ih);
  DrawEngraving(engraving, index, 0, 0, engraving.width, engraving.height);
  Draw(c, Rotated(engraving, g.quarter_turns), ix, iy);
}

}  // namespace

PictureSize TilePictureSize(int group) { return Look(group).size; }

Canvas DrawTilePicture(int group, int index) {
  const GroupLook g = Look(group);
  Canvas c(g.size.width, g.size.height);
  if (index == kLyingBack) {
    GroupLook lying = g;
    if (lying.depth == 0) lying.depth = 10;  // the hand group shows a lying back too
    LyingBack(c, lying);
  } else if (index == kStandingBack) {
    if (group == 1 || group == 3) {
      StandingBackSide(c, g, group == 1);
    } else {
      StandingBackFront(c, g);
    }
  } else {
    FaceUp(c, g, index);
  }
  return c;
}

}  // namespace picgen
