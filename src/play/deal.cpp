#include "play/deal.h"

#include "core/client.h"
#include "play/discards.h"
#include "play/tile_slots.h"
#include "table/dispatcher.h"
#include "table/pictures.h"

namespace tess {
namespace {

constexpr int kFaceDown = 7;  // picture of a standing back
constexpr int kSettlePauseMs = 400;
constexpr int kFaceDownMs = 1000;
constexpr int kTileWords = 12;

// Hand tile sizes per ViewSeat, reference pixels.
constexpr double kHandW[kSeatCount] = {48, 35, 36, 35};
constexpr double kHandH[kSeatCount] = {78, 66, 50, 66};


void Move(Element& e, double left, double top, double w, double h) {
  e.left = left;
  e.top = top;
  e.width = w;
  e.height = h;
}

}  // namespace

void PlaceBack(Client& c, int v, int i, Element& e, bool apart) {
  const SeatState& s = c.game.custom[v];
  const double sx = c.game.ScaleX, sy = c.game.ScaleY;
  const double w = c.play.TileW[v], h = c.play.TileH[v];
  double left = 0, top = 0;
  if (v == 1) {
    left = s.HandX - 5 * sx * i;
    top = s.HandY + (w / 2) * i + (apart ? 10 * sy : 0);
  } else if (v == 2) {
    left = s.HandX - w * i - (apart ? 10 * sx : 0);
    top = s.HandY;
  } else {
    left = s.HandX - 5 * sx * (i + 1);
    top = s.HandY - (w / 2) * (i + 1) - (apart ? 10 * sy : 0);
  }
  Move(e, left, top, w, h);
  if (v == 1) c.MainForm.BringToFront(e);
  if (v == 3) c.MainForm.SendToBack(e);
}

void ShowWildTileBox(Client& c, int code) {
  Element& box = c.MainForm.At("KB_Image");
  c.MainForm.At("Korbi").visible = true;
  box.visible = false;
  if (auto picture = PictureIndex(4, code & 0xFF)) ShowResourcePicture(c, box, c.pictures.TilePictures[*picture]);
  box.visible = true;
}

namespace {

// The front rule before a normal draw takes WallFront.
void FrontRuleBefore(GameState& g) {
  if (g.WallBack == g.WallFront) g.WallBack = static_cast<int16_t>(NextBack(g.WallBack));
}

// The front rule after the take.
void FrontRuleAfter(GameState& g) {
  g.WallFront = static_cast<int16_t>((g.WallFront + 1) % kTileSlots);
  if (g.WallBack == g.WallFront + 1 && g.WallBack % 2 == 1) g.WallFront = g.WallBack;
}

void BackRuleAfter(GameState& g) {
  g.WallBack = static_cast<int16_t>(NextBack(g.WallBack));
  if (g.WallBack == g.WallFront - 1) g.WallBack = g.WallFront;
}

void StepPastBack(GameState& g) {
  if (g.WallFront == g.WallBack) g.WallFront = static_cast<int16_t>((g.WallFront + 1) % kTileSlots);
}

// Entry p of seat v takes `slot` as a concealed tile. Only the local
// player's codes are stored: the others' stay as they were until revealed.
HandEntry& Take(Client& c, int v, int p, int slot) {
  HandEntry& e = c.game.custom[v].mj[p];
  e.kind = 1;
  e.slot = static_cast<int16_t>(slot);
  return e;
}

void AddToOwnHand(Client& c, int n, const std::array<int16_t, 4>& tiles) {
  GameState& g = c.game;
  SeatState& s = g.custom[0];
  const double w = c.play.TileW[0], h = c.play.TileH[0];
  int p = s.HandStart + s.HandCount;
  s.HandCount = static_cast<int16_t>(s.HandCount + n);
  if (n == 4) {
    for (int k = 0; k < 4; ++k, ++p) {
      const int code = tiles[k] & 0xFF;
      Take(c, 0, p, g.WallFront).code = static_cast<int16_t>(code);
      ShowTilePicture(c, g.WallFront, PictureIndex(4, code).value_or(kFaceDown));
      Move(TileAt(c, g.WallFront), s.HandX + w * p, s.HandY, w, h);
      g.WallFront = static_cast<int16_t>((g.WallFront + 1) % kTileSlots);
    }
    return;
  }
  if (g.WildTile >= 1) {
    for (int i = s.HandStart; i < p; ++i) {
      Element& e = TileAt(c, s.mj[i].slot);
      e.left = s.HandX + w * i;
      e.top = s.HandY;
    }
    if (!c.play.DrawFromFront) SortAndRedrawHand(c, 0, s.HandCount - 1);
  }
  const int code = tiles[3] & 0xFF;
  const int face = PictureIndex(4, code).value_or(kFaceDown);
  if (c.play.DrawFromFront) {
    FrontRuleBefore(g);
    Take(c, 0, p, g.WallFront).code = static_cast<int16_t>(code);
    ShowTilePicture(c, g.WallFront, face);
    Move(TileAt(c, g.WallFront), s.HandX + w * p + (g.WildTile >= 1 ? w / 2 : 0), s.HandY, w, h);
    FrontRuleAfter(g);
  } else {
    StepPastBack(g);
    Take(c, 0, p, g.WallBack).code = static_cast<int16_t>(code);
    ShowTilePicture(c, g.WallBack, face);
    Move(TileAt(c, g.WallBack), s.HandX + w * p + w / 2, s.HandY, w, h);
    BackRuleAfter(g);
  }
  if (g.WildTile < 0 && (s.HandCount == 14 || (s.HandCount == 13 && !s.IsDealer))) {
    for (int i = s.HandStart; i < s.HandStart + s.HandCount; ++i) ShowTilePicture(c, s.mj[i].slot, kFaceDown);
    c.loop.WaitProcessing(kFaceDownMs);
    SortAndRedrawHand(c, 0, s.HandCount);
  }
}

void AddToOtherHand(Client& c, int v, int n) {
  GameState& g = c.game;
  SeatState& s = g.custom[v];
  int p = s.HandStart + s.HandCount;
  s.HandCount = static_cast<int16_t>(s.HandCount + n);
  const int back = 36 * v + kFaceDown;
  if (n == 4 || c.play.DrawFromFront) {
    for (int k = 0; k < n; ++k, ++p) {
      FrontRuleBefore(g);
      Take(c, v, p, g.WallFront);
      ShowTilePicture(c, g.WallFront, back);
      const bool apart = n == 1 && (g.WildTile >= 1 || s.HandCount == 14);
      PlaceBack(c, v, p, TileAt(c, g.WallFront), apart);
      FrontRuleAfter(g);
    }
    return;
  }
  StepPastBack(g);
  Take(c, v, p, g.WallBack);
  ShowTilePicture(c, g.WallBack, back);
  PlaceBack(c, v, p, TileAt(c, g.WallBack), /*apart=*/true);
  BackRuleAfter(g);
}

}  // namespace

int NextBack(int t) { return t % 2 == 0 ? t + 1 : (t + 133) % kTileSlots; }

void AddTilesToHand(Client& c, int seat, int n, std::array<int16_t, 4> tiles) {
  GameState& g = c.game;
  PlayState& play = c.play;
  // 1. The discard in the centre goes to its pile.
  if (!play.DiscardTaken && !play.DiscardLaid && g.LastDiscardSlot >= 0 && g.LastDiscard >= 1) {
    if (n == 1) c.loop.WaitProcessing(kSettlePauseMs);
    const bool own = g.LastDiscarder == 0;
    if (tiles[1] != 1 && (!own || seat == g.custom[3].Seat)) LayDiscardOnPile(c);
  }
  play.DiscardTaken = false;

  // 2. Sizes.
  for (int v = 0; v < kSeatCount; ++v) {
    play.TileW[v] = RoundPixels(kHandW[v] * g.ScaleX);
    play.TileH[v] = RoundPixels(kHandH[v] * g.ScaleY);
  }
  const int v = ViewSeatOf(g, seat).value_or(0);
  const SeatState& s = g.custom[v];
  if (s.HandStart + s.HandCount + n > kHandEntries || s.HandStart < 0 || s.HandCount < 0)
    throw HandlerFault("seat " + std::to_string(v) + " cannot hold " + std::to_string(n) + " more tiles");
  if (v == 0)
    AddToOwnHand(c, n, tiles);
  else
    AddToOtherHand(c, v, n);
  play.DrawFromFront = true;
}

void SortAndRedrawHand(Client& c, int v, int n) {
  SeatState& s = c.game.custom[v & 3];
  const int start = s.HandStart;
  n = std::max(0, std::min(n, kHandEntries - start));
  std::array<int16_t, kHandEntries> before{};
  for (int i = start; i < start + n; ++i) before[i] = s.mj[i].code;
  auto suit = [](int code) { return (code >> 4) & 0x0F; };
  for (int i = start; i < start + n - 1; ++i)
    for (int j = i + 1; j < start + n; ++j) {
      const int a = s.mj[i].code, b = s.mj[j].code;
      if (suit(a) < suit(b) || (suit(a) == suit(b) && (a & 0x0F) > (b & 0x0F))) std::swap(s.mj[i].code, s.mj[j].code);
    }
  const int group = v == 0 ? 4 : v;
  for (int i = start; i < start + n; ++i) {
    if (v == 0 && c.game.WildTile > 0 && s.mj[i].code == before[i]) continue;
    if (auto picture = PictureIndex(group, s.mj[i].code)) ShowTilePicture(c, s.mj[i].slot, *picture);
  }
}

void OnDeal(Client& c) {
  GameState& g = c.game;
  const int v = ViewSeatOf(g, g.info.Seat).value_or(0);
  if (v == 0) ShowWildTileBox(c, g.info.value[3]);
  std::array<int16_t, kTileWords> words{};
  for (int j = 0; j < kTileWords; ++j)
    words[j] = static_cast<int16_t>(g.LastPacket[kOffBody + 2 * j] << 8 | g.LastPacket[kOffBody + 2 * j + 1]);
  const int per_seat = g.info.value[1];
  if (per_seat > kTileWords) throw HandlerFault("a deal of " + std::to_string(per_seat) + " tiles per seat");
  const int own = SeatIndexOf(g.custom[0].Seat).value_or(0);
  for (int r = 0; r < per_seat / 4; ++r) {
    const std::array<int16_t, 4> tiles = {words[4 * r], words[4 * r + 1], words[4 * r + 2], words[4 * r + 3]};
    for (int i = 0; i < 4; ++i) {
      PlayEffect(c, kEffectDeal);
      SetSoundVolume(c, kMaxSoundVolume);
      AddTilesToHand(c, MaskOf((own + i) % 4), 4, tiles);
    }
  }
}

void OnDraw(Client& c) {
  SwitchTaskOff(c, kTaskContinueCountdown);
  AddTilesToHand(c, c.game.info.Seat, 1, c.game.info.value);
}

}  // namespace tess
