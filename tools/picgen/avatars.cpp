#include "avatars.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "style.h"

namespace picgen {
namespace {

constexpr int kW = 85, kH = 90;
constexpr float kCx = 42.5f, kCy = 41;  // centre of the face
constexpr float kHeadRx = 16.5f, kHeadRy = 19.5f;

enum class Hair { kShort, kSidePart, kSpiky, kBald, kCurly, kCrew, kLong, kBob, kPonytail, kTwinTails, kBun, kPixie, kWavy };
enum class Top { kShirt, kVNeck, kSuit, kRound, kQipao, kHoodie };
enum Extra : unsigned {
  kNone = 0,
  kGlasses = 1 << 0,
  kSunglasses = 1 << 1,
  kBeard = 1 << 2,
  kMoustache = 1 << 3,
  kCap = 1 << 4,
  kHat = 1 << 5,
  kBeret = 1 << 6,
  kEarrings = 1 << 7,
  kBow = 1 << 8,
  kFlower = 1 << 9,
  kHeadband = 1 << 10,
  kHairpin = 1 << 11,
  kTie = 1 << 12,
  kWrinkles = 1 << 13,
};

struct Person {
  bool woman;
  unsigned background;
  unsigned skin;
  Hair hair;
  unsigned hair_colour;
  Top top;
  unsigned clothes;
  unsigned extras;
  unsigned accent;  // colour of hats, ribbons, ties, flowers
};

// Ten men, then ten women.
const Person kPeople[kAvatarCount] = {
    {false, 0x3F7CC4, 0xF3C9A0, Hair::kShort, 0x1E1A18, Top::kShirt, 0x24477E, kNone, 0},
    {false, 0x5E9E57, 0xEFC39B, Hair::kSidePart, 0x6B4223, Top::kVNeck, 0x2F6B3A, kGlasses, 0},
    {false, 0xD9823A, 0xD9A27A, Hair::kBald, 0x2A211C, Top::kRound, 0xE0A030, kBeard, 0},
    {false, 0xC23B3B, 0xF5CFA8, Hair::kSpiky, 0xE8A21E, Top::kRound, 0xB8231E, kNone, 0},
    {false, 0x8A6E4B, 0xEDC09A, Hair::kCrew, 0xB8B8B8, Top::kSuit, 0x5A4632, kMoustache | kWrinkles | kTie, 0x8E1B1B},
    {false, 0xE2B93B, 0xF0C49C, Hair::kShort, 0x231C17, Top::kShirt, 0xF4F4F4, kCap, 0xC8241B},
    {false, 0x7A52A8, 0xF1C7A2, Hair::kSpiky, 0x2B211B, Top::kVNeck, 0x4A2F74, kHeadband | kBeard, 0xF2F2F2},
    {false, 0x2A9C9A, 0xA8734F, Hair::kCurly, 0x1A1512, Top::kShirt, 0x1E6F6D, kNone, 0},
    {false, 0x4A5568, 0xEEC29C, Hair::kShort, 0x3A2A1E, Top::kSuit, 0x222833, kHat | kTie, 0x1E2A44},
    {false, 0x6C8EAD, 0xE9BD96, Hair::kCrew, 0x141414, Top::kHoodie, 0x2B2E33, kSunglasses, 0},
    {true, 0xE07A9A, 0xF7D3B5, Hair::kLong, 0x1C1714, Top::kRound, 0xC8243A, kEarrings, 0xF2C54B},
    {true, 0x5B8FD6, 0xF5CDAA, Hair::kBob, 0x6E4126, Top::kShirt, 0x2C5FA8, kGlasses, 0},
    {true, 0x63B35C, 0xF2C8A3, Hair::kPonytail, 0x3A2417, Top::kHoodie, 0x2F8A3E, kHairpin, 0xF2C54B},
    {true, 0xF0C948, 0xF8D6B8, Hair::kTwinTails, 0x2A1E18, Top::kRound, 0xEF7F2A, kBow, 0xE0245A},
    {true, 0x8E5BB5, 0xF4CFAE, Hair::kBun, 0x171210, Top::kQipao, 0x8C1C2E, kHairpin | kEarrings, 0xF2C54B},
    {true, 0xE88A3C, 0xF2C6A0, Hair::kCurly, 0x9C3F1C, Top::kVNeck, 0x7A3E9A, kEarrings, 0x3DB5C0},
    {true, 0x35A7A0, 0xF6D0AE, Hair::kPixie, 0xD04A78, Top::kRound, 0x1F4E79, kNone, 0},
    {true, 0x9C7A55, 0xEEC6A2, Hair::kBun, 0xC7C7C7, Top::kShirt, 0x6B4C35, kGlasses | kWrinkles, 0},
    {true, 0x7FB6E3, 0xF9DCC2, Hair::kWavy, 0xE3B65A, Top::kVNeck, 0xE7E2F5, kFlower, 0xE8456B},
    {true, 0xB7323C, 0xF3CCA8, Hair::kBob, 0x14100E, Top::kRound, 0x2A2A2A, kBeret | kEarrings, 0xD8283A},
};

// Fills where a signed distance is negative, over the whole picture.
void Fill(Canvas& c, const Sdf& shape, Rgba colour) { FillSdf(c, 0, 0, kW, kH, shape, Solid(colour)); }

float Ellipse(Point p, float cx, float cy, float rx, float ry, float angle = 0) {
  return EllipseDistance(p, cx, cy, rx, ry, angle);
}

// Hair on the crown, down to a hairline:
// y = base + curve * dx^2 + tilt * dx, scalloped into locks by `locks` pixels.
Sdf Crown(float base, float curve, float tilt, float grow = 3.0f, float locks = 1.6f) {
  return [=](float x, float y) {
    const float dx = x - kCx;
    const float scallop = locks * (0.5f - 0.5f * std::cos(dx * 2 * 3.14159265f / 5.5f));
    const float hairline = y - (base + curve * dx * dx + tilt * dx + scallop);
    return std::max(Ellipse({x, y}, kCx, kCy - 2, kHeadRx + grow, kHeadRy + grow * 0.6f), hairline);
  };
}

// Fills the crown and combs a few lighter strands into it.
void FillCrown(Canvas& c, const Sdf& crown, Rgba hair, float sweep) {
  Fill(c, crown, hair);
  const Rgba strand = Lighter(hair, hair.r + hair.g + hair.b > 1.5f ? 0.35f : 0.22f);
  const float top = kCy - kHeadRy;
  for (float o : {-8.0f, -2.0f, 5.0f, 11.0f}) {
    const Point a{kCx + o * 0.6f, top - 1}, b{kCx + o + sweep, top + 10};
    Fill(c, [=](float x, float y) { return std::max(crown(x, y) + 1.0f, SegmentDistance({x, y}, a, b) - 0.45f); },
         strand);
  }
}

void DrawBackHair(Canvas& c, const Person& p) {
  const Rgba hair = Hex(p.hair_colour);
  switch (p.hair) {
    case Hair::kLong:
      Fill(c, [](float x, float y) { return RoundRectDistance(x, y, kCx - 22, kCy - 20, 44, 62, 16); }, hair);
      break;
    case Hair::kWavy:
      for (int k = 0; k < 7; ++k) {
        const float y = kCy - 10 + k * 8.0f;
        FillCircle(c, kCx - 19 - (k % 2) * 2.0f, y, 8, Solid(hair));
        FillCircle(c, kCx + 19 + (k % 2) * 2.0f, y, 8, Solid(hair));
      }
      FillEllipse(c, kCx, kCy - 4, 24, 24, Solid(hair));
      break;
    case Hair::kBob:
      Fill(c, [](float x, float y) { return std::max(Ellipse({x, y}, kCx, kCy, 22.5f, 25), y - (kCy + 19)); }, hair);
      break;
    case Hair::kPonytail:
      FillRotatedEllipse(c, kCx + 20, kCy + 6, 6.5f, 17, -0.35f, Solid(hair));
      break;
    case Hair::kTwinTails:
      FillRotatedEllipse(c, kCx - 23, kCy + 12, 7, 17, 0.2f, Solid(hair));
      FillRotatedEllipse(c, kCx + 23, kCy + 12, 7, 17, -0.2f, Solid(hair));
      break;
    case Hair::kBun:
      FillCircle(c, kCx, kCy - 24, 9.5f, Solid(hair));
      break;
    case Hair::kCurly:
      if (p.woman) {
        for (int k = 0; k < 6; ++k) {
          FillCircle(c, kCx - 21, kCy - 8 + k * 7.0f, 7, Solid(hair));
          FillCircle(c, kCx + 21, kCy - 8 + k * 7.0f, 7, Solid(hair));
        }
      }
      break;
    default:
      break;
  }
}

void DrawFrontHair(Canvas& c, const Person& p) {
  const Rgba hair = Hex(p.hair_colour);
  const float top = kCy - kHeadRy;
  switch (p.hair) {
    case Hair::kShort:
      FillCrown(c, Crown(top + 9, 0.03f, 0), hair, 1);
      break;
    case Hair::kSidePart:
      FillCrown(c, Crown(top + 10, 0.025f, 0.22f, 3.5f, 1.0f), hair, 5);
      break;
    case Hair::kCrew:
      FillCrown(c, Crown(top + 7, 0.035f, 0, 1.6f, 0.8f), hair, 0);
      break;
    case Hair::kSpiky: {
      FillCrown(c, Crown(top + 9, 0.03f, 0), hair, 0);
      for (int k = 0; k < 6; ++k) {
        const float x = kCx - 15 + k * 6.0f;
        const Point spike[3] = {{x - 4, top + 6}, {x + 1 + (k - 2.5f) * 0.8f, top - 8 + std::abs(k - 2.5f) * 1.5f}, {x + 5, top + 6}};
        FillPolygon(c, spike, Solid(hair));
      }
      break;
    }
    case Hair::kBald:
      FillEllipse(c, kCx - 16, kCy - 3, 3.5f, 6, Solid(hair));
      FillEllipse(c, kCx + 16, kCy - 3, 3.5f, 6, Solid(hair));
      FillEllipse(c, kCx - 5, top + 4, 5, 2.2f, Solid(WithAlpha(style::kWhite, 0.35f)));
      break;
    case Hair::kCurly:
      for (int k = 0; k < 9; ++k) {
        const float a = 3.14159265f * (0.05f + 0.9f * k / 8.0f);
        const float x = kCx - std::cos(a) * 16, y = kCy - 6 - std::sin(a) * 17;
        FillCircle(c, x, y, 6.5f, Solid(hair));
        StrokeCircle(c, x - 1, y - 1, 3, 0.8f, Solid(Lighter(hair, 0.2f)));
      }
      break;
    case Hair::kLong:
    case Hair::kWavy:
    case Hair::kBob:
    case Hair::kTwinTails:
      // A fringe across the forehead.
      FillCrown(c, Crown(top + 12, 0.012f, 0, 3.0f, 2.2f), hair, 0);
      break;
    case Hair::kPonytail:
    case Hair::kBun:
      // Combed back: no fringe.
      FillCrown(c, Crown(top + 8, 0.03f, 0, 2.5f, 0), hair, 2);
      break;
    case Hair::kPixie:
      FillCrown(c, Crown(top + 11, 0.02f, -0.35f, 3.0f, 2.0f), hair, -6);
      break;
  }
}

void DrawBody(Canvas& c, const Person& p) {
  const Rgba skin = Hex(p.skin);
  const Rgba cloth = Hex(p.clothes);
  // Neck and shoulders.
  FillRoundRect(c, kCx - 6.5f, kCy + 10, 13, 18, 4, Solid(Darker(skin, 0.12f)));
  const float chest = kCy + 27;
  Fill(c, [=](float x, float y) { return Ellipse({x, y}, kCx, chest + 30, 38, 32); },
       cloth);
  FillEllipse(c, kCx, chest + 30, 38, 32, Radial({kCx - 12, chest}, 45, WithAlpha(style::kWhite, 0.18f), WithAlpha(style::kWhite, 0)));
  switch (p.top) {
    case Top::kShirt: {
      const Point left[3] = {{kCx - 9, chest - 2}, {kCx, chest + 7}, {kCx - 12, chest + 8}};
      const Point right[3] = {{kCx + 9, chest - 2}, {kCx, chest + 7}, {kCx + 12, chest + 8}};
      FillPolygon(c, left, Solid(style::kWhite));
      FillPolygon(c, right, Solid(style::kWhite));
      for (int k = 0; k < 3; ++k) FillCircle(c, kCx, chest + 10 + k * 6.0f, 1.2f, Solid(Darker(cloth, 0.4f)));
      break;
    }
    case Top::kVNeck: {
      const Point v[3] = {{kCx - 8, chest - 2}, {kCx + 8, chest - 2}, {kCx, chest + 9}};
      FillPolygon(c, v, Solid(Darker(skin, 0.12f)));
      break;
    }
    case Top::kSuit: {
      const Point shirt[3] = {{kCx - 9, chest - 2}, {kCx + 9, chest - 2}, {kCx, chest + 22}};
      FillPolygon(c, shirt, Solid(style::kWhite));
      const Point lapel_l[4] = {{kCx - 9, chest - 2}, {kCx - 1, chest + 22}, {kCx - 8, chest + 22}, {kCx - 16, chest + 4}};
      const Point lapel_r[4] = {{kCx + 9, chest - 2}, {kCx + 1, chest + 22}, {kCx + 8, chest + 22}, {kCx + 16, chest + 4}};
      FillPolygon(c, lapel_l, Solid(Darker(cloth, 0.25f)));
      FillPolygon(c, lapel_r, Solid(Darker(cloth, 0.25f)));
      break;
    }
    case Top::kRound:
      FillEllipse(c, kCx, chest - 1, 10, 5, Solid(Darker(skin, 0.12f)));
      Fill(c, [=](float x, float y) {
        return std::max(std::fabs(Ellipse({x, y}, kCx, chest - 1, 10.5f, 5.5f)) - 0.9f, chest - 1 - y);
      }, Darker(cloth, 0.3f));
      break;
    case Top::kQipao: {
      FillRoundRect(c, kCx - 8, chest - 6, 16, 9, 3, Solid(cloth));
      StrokeRoundRect(c, kCx - 8, chest - 6, 16, 9, 3, 1.2f, Solid(style::kGold));
      const Point knot[2] = {{kCx + 2, chest + 5}, {kCx + 12, chest + 10}};
      StrokeLine(c, knot[0], knot[1], 1.6f, Solid(style::kGold));
      FillCircle(c, kCx + 2, chest + 5, 1.8f, Solid(style::kGold));
      break;
    }
    case Top::kHoodie:
      // The hood lies in folds around the neck.
      Fill(c, [=](float x, float y) {
        return std::max(std::fabs(Ellipse({x, y}, kCx, chest - 2, 15, 8)) - 2.8f, chest - 3 - y);
      }, Darker(cloth, 0.3f));
      StrokeLine(c, {kCx - 4, chest + 6}, {kCx - 5, chest + 18}, 1.2f, Solid(style::kWhite));
      StrokeLine(c, {kCx + 4, chest + 6}, {kCx + 5, chest + 18}, 1.2f, Solid(style::kWhite));
      break;
  }
  if (p.extras & kTie) {
    const Point knot[4] = {{kCx - 2.5f, chest - 1}, {kCx + 2.5f, chest - 1}, {kCx + 1.8f, chest + 3}, {kCx - 1.8f, chest + 3}};
    const Point blade[4] = {{kCx - 1.8f, chest + 3}, {kCx + 1.8f, chest + 3}, {kCx + 3.5f, chest + 17}, {kCx - 3.5f, chest + 17}};
    FillPolygon(c, knot, Solid(Hex(p.accent)));
    FillPolygon(c, blade, Solid(Hex(p.accent)));
  }
}

void DrawFace(Canvas& c, const Person& p) {
  const Rgba skin = Hex(p.skin);
  const Rgba shade = Darker(skin, 0.18f);
  // Ears, head.
  FillEllipse(c, kCx - kHeadRx + 0.5f, kCy + 2, 3.6f, 5.5f, Solid(shade));
  FillEllipse(c, kCx + kHeadRx - 0.5f, kCy + 2, 3.6f, 5.5f, Solid(shade));
  FillEllipse(c, kCx, kCy, kHeadRx, kHeadRy, Radial({kCx - 5, kCy - 6}, 26, Lighter(skin, 0.12f), Darker(skin, 0.06f)));
  if (p.extras & kEarrings) {
    FillCircle(c, kCx - kHeadRx + 0.5f, kCy + 9, 2, Solid(Hex(p.accent ? p.accent : 0xF2C54B)));
    FillCircle(c, kCx + kHeadRx - 0.5f, kCy + 9, 2, Solid(Hex(p.accent ? p.accent : 0xF2C54B)));
  }
  const Rgba brow = Darker(Hex(p.hair_colour), 0.2f);
  const Rgba iris = Hex(0x2A1A10);
  const float ey = kCy + 1;
  for (int side : {-1, 1}) {
    const float ex = kCx + side * 6.8f;
    if (!(p.extras & kSunglasses)) {
      FillEllipse(c, ex, ey, 3.4f, p.woman ? 2.9f : 2.4f, Solid(style::kWhite));
      FillCircle(c, ex + 0.3f, ey + 0.2f, p.woman ? 2.1f : 1.8f, Solid(iris));
      FillCircle(c, ex + 1.0f, ey - 0.6f, 0.6f, Solid(style::kWhite));
      if (p.woman) StrokeLine(c, {ex + side * 2.8f, ey - 1.6f}, {ex + side * 4.6f, ey - 3.0f}, 1.0f, Solid(iris));
    }
    const Point arch[3] = {{ex - side * 3.2f, ey - 4.9f}, {ex + side * 0.6f, ey - 6.0f}, {ex + side * 3.6f, ey - 4.6f}};
    StrokePolyline(c, arch, p.woman ? 1.1f : 1.9f, Solid(brow));
    if (p.woman || (p.extras & kWrinkles) == 0) {
      FillEllipse(c, kCx + side * 10.5f, kCy + 8.5f, 3.2f, 1.9f, Solid(WithAlpha(Hex(0xF07A7A), p.woman ? 0.35f : 0.12f)));
    }
  }
  if (p.extras & kWrinkles) {
    StrokeLine(c, {kCx - 5, kCy - 10}, {kCx + 5, kCy - 10}, 0.8f, Solid(WithAlpha(shade, 0.9f)));
    StrokeLine(c, {kCx - 12, kCy + 3}, {kCx - 10.5f, kCy + 5}, 0.8f, Solid(shade));
    StrokeLine(c, {kCx + 12, kCy + 3}, {kCx + 10.5f, kCy + 5}, 0.8f, Solid(shade));
  }
  // Nose.
  const Point nose[3] = {{kCx - 0.5f, kCy + 4}, {kCx + 1.6f, kCy + 8.5f}, {kCx - 1.2f, kCy + 9}};
  StrokePolyline(c, nose, 1.0f, Solid(Darker(skin, 0.3f)));
  // Mouth: lips for women, a smile for men.
  if (p.woman) {
    const Point lips[6] = {{kCx - 4.6f, kCy + 12}, {kCx, kCy + 12.8f}, {kCx + 4.6f, kCy + 12},
                           {kCx + 2.8f, kCy + 14.3f}, {kCx, kCy + 15.2f}, {kCx - 2.8f, kCy + 14.3f}};
    FillPolygon(c, lips, Solid(Hex(0xD0344A)));
    const Point parting[3] = {{kCx - 4.2f, kCy + 12.3f}, {kCx, kCy + 13.6f}, {kCx + 4.2f, kCy + 12.3f}};
    StrokePolyline(c, parting, 0.7f, Solid(Hex(0x8E1A2A)));
  } else {
    const Point smile[3] = {{kCx - 4.8f, kCy + 12}, {kCx, kCy + 14.8f}, {kCx + 4.8f, kCy + 12}};
    StrokePolyline(c, smile, 1.4f, Solid(Hex(0x8A3B2A)));
  }
  if (p.extras & kBeard) {
    Fill(c, [](float x, float y) {
      return std::max(Ellipse({x, y}, kCx, kCy + 3, kHeadRx + 0.8f, kHeadRy + 1.2f), -(y - (kCy + 7)));
    }, Hex(p.hair_colour));
    FillEllipse(c, kCx, kCy + 13.5f, 5.5f, 2.6f, Solid(Darker(skin, 0.05f)));
    const Point smile[3] = {{kCx - 4, kCy + 13}, {kCx, kCy + 15}, {kCx + 4, kCy + 13}};
    StrokePolyline(c, smile, 1.3f, Solid(Hex(0x8A3B2A)));
  }
  if (p.extras & kMoustache) {
    FillRotatedEllipse(c, kCx - 3.2f, kCy + 11, 3.8f, 1.6f, -0.25f, Solid(Hex(p.hair_colour)));
    FillRotatedEllipse(c, kCx + 3.2f, kCy + 11, 3.8f, 1.6f, 0.25f, Solid(Hex(p.hair_colour)));
  }
  if (p.extras & kGlasses) {
    for (int side : {-1, 1}) StrokeCircle(c, kCx + side * 6.8f, ey, 4.6f, 1.2f, Solid(Hex(0x2A2A2A)));
    StrokeLine(c, {kCx - 2.2f, ey - 0.5f}, {kCx + 2.2f, ey - 0.5f}, 1.1f, Solid(Hex(0x2A2A2A)));
  }
  if (p.extras & kSunglasses) {
    for (int side : {-1, 1}) FillRoundRect(c, kCx + side * 6.8f - 5, ey - 3.2f, 10, 6.5f, 2.5f, Solid(Hex(0x15181C)));
    StrokeLine(c, {kCx - 2, ey - 1}, {kCx + 2, ey - 1}, 1.4f, Solid(Hex(0x15181C)));
    FillEllipse(c, kCx - 8.5f, ey - 1.2f, 1.8f, 0.9f, Solid(WithAlpha(style::kWhite, 0.6f)));
    FillEllipse(c, kCx + 5.1f, ey - 1.2f, 1.8f, 0.9f, Solid(WithAlpha(style::kWhite, 0.6f)));
  }
}

void DrawHeadwear(Canvas& c, const Person& p) {
  const Rgba accent = Hex(p.accent);
  const float top = kCy - kHeadRy;
  if (p.extras & kCap) {
    Fill(c, [=](float x, float y) { return std::max(Ellipse({x, y}, kCx, top + 9, 19, 14), y - (top + 8)); }, accent);
    FillRotatedEllipse(c, kCx - 9, top + 8.5f, 14, 3, -0.08f, Solid(Darker(accent, 0.25f)));
    FillCircle(c, kCx, top - 4.5f, 1.8f, Solid(Darker(accent, 0.3f)));
  }
  if (p.extras & kHat) {
    FillEllipse(c, kCx, top + 6, 27, 5, Solid(Darker(accent, 0.2f)));
    FillRoundRect(c, kCx - 16, top - 10, 32, 17, 6, Solid(accent));
    FillRect(c, kCx - 16, top + 1, 32, 4, Solid(Hex(0x8E1B1B)));
  }
  if (p.extras & kBeret) {
    FillRotatedEllipse(c, kCx + 3, top + 1, 20, 8, -0.15f, Solid(accent));
    FillCircle(c, kCx + 5, top - 7, 1.8f, Solid(Darker(accent, 0.3f)));
  }
  if (p.extras & kHeadband) {
    Fill(c, [=](float x, float y) {
      return std::max(std::fabs(y - (top + 7 + 0.02f * (x - kCx) * (x - kCx))) - 1.8f,
                      Ellipse({x, y}, kCx, kCy - 2, kHeadRx + 2.6f, kHeadRy + 1.6f));
    }, accent);
  }
  if (p.extras & kBow) {
    for (int side : {-1, 1}) {
      const float bx = kCx + side * 20, by = kCy - 8;
      const Point wing_l[3] = {{bx, by}, {bx - 6, by - 4}, {bx - 6, by + 4}};
      const Point wing_r[3] = {{bx, by}, {bx + 6, by - 4}, {bx + 6, by + 4}};
      FillPolygon(c, wing_l, Solid(accent));
      FillPolygon(c, wing_r, Solid(accent));
      FillCircle(c, bx, by, 1.8f, Solid(Darker(accent, 0.3f)));
    }
  }
  if (p.extras & kFlower) {
    const float fx = kCx + 13, fy = top + 6;
    for (int k = 0; k < 5; ++k) {
      const float a = k * 2 * 3.14159265f / 5;
      FillCircle(c, fx + std::cos(a) * 3.4f, fy + std::sin(a) * 3.4f, 2.6f, Solid(accent));
    }
    FillCircle(c, fx, fy, 2, Solid(style::kGold));
  }
  if (p.extras & kHairpin) {
    const float hx = p.hair == Hair::kBun ? kCx + 6 : kCx - 11, hy = p.hair == Hair::kBun ? kCy - 26 : top + 7;
    StrokeLine(c, {hx - 7, hy + 3}, {hx + 7, hy - 3}, 1.4f, Solid(accent));
    FillCircle(c, hx + 7, hy - 3, 2.2f, Solid(style::kInkRed));
  }
}

// Keeps only what lies inside the rounded frame.
void ClipToFrame(Canvas& c, float radius) {
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      const float cover = std::clamp(0.5f - RoundRectDistance(x + 0.5f, y + 0.5f, 0, 0, kW, kH, radius), 0.0f, 1.0f);
      Rgba& px = c.px[static_cast<size_t>(y) * c.width + x];
      px = {px.r * cover, px.g * cover, px.b * cover, px.a * cover};
    }
  }
}

}  // namespace

Canvas DrawAvatar(int n) {
  const Person& p = kPeople[std::clamp(n, 0, kAvatarCount - 1)];
  Canvas c(kW, kH);
  const Rgba bg = Hex(p.background);
  FillRect(c, 0, 0, kW, kH, Radial({kCx, 30}, 70, Lighter(bg, 0.35f), Darker(bg, 0.2f)));
  // Soft rays behind the head.
  for (int k = 0; k < 12; ++k) {
    const float a = k * 3.14159265f / 6;
    const Point ray[3] = {{kCx, kCy}, {kCx + std::cos(a) * 90, kCy + std::sin(a) * 90},
                          {kCx + std::cos(a + 0.2f) * 90, kCy + std::sin(a + 0.2f) * 90}};
    FillPolygon(c, ray, Solid(WithAlpha(style::kWhite, 0.07f)));
  }
  DrawBackHair(c, p);
  DrawBody(c, p);
  DrawFace(c, p);
  DrawFrontHair(c, p);
  DrawHeadwear(c, p);
  StrokeRoundRect(c, 1, 1, kW - 2.0f, kH - 2.0f, 8, 2, Solid(Hex(0xE8C873)));
  StrokeRoundRect(c, 0.25f, 0.25f, kW - 0.5f, kH - 0.5f, 8.5f, 0.8f, Solid(Hex(0x5A3A10)));
  ClipToFrame(c, 8.5f);
  return c;
}

}  // namespace picgen
