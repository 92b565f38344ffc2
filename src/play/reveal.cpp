#include "play/reveal.h"

#include <string>

#include "core/client.h"
#include "play/deal.h"
#include "play/tile_slots.h"
#include "table/dispatcher.h"

namespace tess {
namespace {

constexpr int kCollected = 14;  // OpenHandCodes(v, 0..13)
constexpr int kPeekByte = 16;

// Reveal sizes per ViewSeat, reference pixels.
constexpr double kRevealW[kSeatCount] = {48, 45, 36, 45};
constexpr double kRevealH[kSeatCount] = {60, 35, 39, 35};

void SetRevealSizes(Client& c) {
  for (int v = 0; v < kSeatCount; ++v) {
    c.play.TileW[v] = RoundPixels(kRevealW[v] * c.game.ScaleX);
    c.play.TileH[v] = RoundPixels(kRevealH[v] * c.game.ScaleY);
  }
}

int WallSlot(int slot) { return ((slot % kTileSlots) + kTileSlots) % kTileSlots; }

// Seat v's tiles into OpenHandCodes and its concealed codes.
void Collect(Client& c, int v, const std::array<int16_t, 4>& tiles) {
  SeatState& s = c.game.custom[v];
  auto& open = c.play.OpenHandCodes[v];
  int w = 0;
  while (w < kCollected && open[w] != 0) ++w;
  for (int i = 0; i < 4 && s.HandCount > 0; ++i, ++w) {
    const int e = s.HandStart + w;
    if (e < 0 || e >= kHandEntries || w >= kHandEntries)
      throw HandlerFault("revealed tile " + std::to_string(w) + " of seat " + std::to_string(v) + " beyond its hand");
    const int16_t t = static_cast<int16_t>(tiles[3 - i] & 0xFF);
    open[w] = t;
    s.mj[e].code = t;
    --s.HandCount;
  }
}

// The discard the seat in ViewSeat v won on, behind its last tile.
void AddWinningDiscard(Client& c, int v, int last) {
  GameState& g = c.game;
  Element* d = FindTile(c, g.LastDiscardSlot);
  Element* l = FindTile(c, g.custom[v].mj[last].slot);
  if (!d || !l) return;
  const double sx = g.ScaleX, sy = g.ScaleY;
  const int w = c.play.TileW[v], h = c.play.TileH[v];
  ShowFace(c, g.LastDiscardSlot, v, g.LastDiscard);
  d->width = w;
  d->height = h;
  if (v == 1) {
    d->left = l->left - 5 * sx;
    d->top = l->top + h - 13 * sy;
    c.MainForm.BringToFront(*d);
  } else if (v == 2) {
    d->left = g.custom[2].HandX - (last + 1) * w - 5 * sx;
    d->top = g.custom[2].HandY;
  } else {
    d->left = l->left - 5 * sx;
    d->top = l->top - h + 13 * sy;
    c.MainForm.SendToBack(*d);
  }
}

void LayOutHands(Client& c) {
  GameState& g = c.game;
  SeatState& own = g.custom[0];
  if (!g.IsSpectator) {
    for (int i = own.HandStart; i < own.HandStart + own.HandCount && i < kHandEntries; ++i)
      ShowFace(c, own.mj[i].slot, 0, own.mj[i].code);
  } else {
    SortAndRedrawHand(c, 0, own.HandCount);
    for (int i = own.HandStart; i < own.HandStart + own.HandCount && i < kHandEntries; ++i)
      if (Element* e = FindTile(c, own.mj[i].slot)) {
        e->width = RoundPixels(48 * g.ScaleX);
        e->height = RoundPixels(60 * g.ScaleY);
      }
  }
  for (int v = 1; v < kSeatCount; ++v) {
    SeatState& s = g.custom[v];
    const int h = s.HandStart;
    int n = 0;
    while (n < kCollected && c.play.OpenHandCodes[v][n] != 0 && h + n < kHandEntries) ++n;
    SetRevealSizes(c);
    const bool drawn = (n - 2) % 3 == 0;
    if (drawn) {
      ShowFace(c, s.mj[h + n - 1].slot, v, s.mj[h + n - 1].code);
      SortAndRedrawHand(c, v, n - 1);
    } else {
      SortAndRedrawHand(c, v, n);
    }
    for (int i = h; i < h + n; ++i)
      if (Element* e = FindTile(c, s.mj[i].slot)) {
        e->width = c.play.TileW[v];
        e->height = c.play.TileH[v];
      }
    if (v == c.play.WinnerView && !drawn && n > 0) AddWinningDiscard(c, v, h + n - 1);
  }
}

}  // namespace

void OnHandReveal(Client& c) {
  GameState& g = c.game;
  PlayState& p = c.play;
  g.info.Seat &= 0x0F;
  RevealHand(c, g.info.Seat, g.info.value);
  if (p.PeekCount != 0) return;
  for (int k = 0; k < kPeekTiles; ++k) {
    p.PeekCodes[k] = g.LastPacket[kPeekByte + k];
    if (p.PeekCodes[k] != 0) ++p.PeekCount;
  }
  p.PeekSlots[0] = static_cast<int16_t>(WallSlot(g.WallBack));
  p.PeekSlots[1] = static_cast<int16_t>(NextBack(p.PeekSlots[0]));
  for (int k = 2; k < p.PeekCount; ++k) p.PeekSlots[k] = static_cast<int16_t>(WallSlot(g.WallFront + k - 2));
}

void RevealHand(Client& c, int seat, const std::array<int16_t, 4>& tiles) {
  const int v = ViewSeatOf(c.game, seat).value_or(0);
  SetRevealSizes(c);
  if (v != 0) Collect(c, v, tiles);
  for (int k = 1; k < kSeatCount; ++k)
    if (c.game.custom[k].HandCount != 0) return;
  LayOutHands(c);
}

void WallTileClick(Client& c, int index) {
  GameState& g = c.game;
  PlayState& p = c.play;
  int k = 0;
  while (k < p.PeekCount && k < kPeekTiles && p.PeekSlots[k] != index) ++k;
  if (k >= p.PeekCount || k >= kPeekTiles) return;
  Element* tile = FindTile(c, index);
  if (!tile) return;
  // What lay on the clicked tile comes down. Wall side 2 lies behind the
  // others there.
  const auto move = [&](int from, int to, bool back_on_side_2) {
    Element* e = FindTile(c, from);
    Element* target = FindTile(c, to);
    if (!e || !target) return;
    MoveOnto(*e, *target);
    if (back_on_side_2 && to / 34 == 2) c.MainForm.SendToBack(*e);
  };
  const int indicator = p.IndicatorSlot;  // -1: no indicator on the wall
  const int back = WallSlot(g.WallBack);
  const auto move_indicator = [&](int to, bool back_on_side_2) {
    if (indicator >= 0) move(indicator, to, back_on_side_2);
  };
  const bool odd = index % 2 == 1;
  if (odd && k >= 2) {
    if (index != g.WallFront && p.PeekSlots[k - 1] >= 0) move(WallSlot(index - 1), index, true);
  } else if (k < 2 && back % 2 == 1 && odd) {
    move_indicator(back, true);
  } else if (k < 2 && odd) {
    if (p.PeekSlots[0] >= 0) {
      move_indicator(back, false);
      move(back, WallSlot(back + 1), true);
    } else {
      move_indicator(index, true);
    }
  } else if (k < 2 && back % 2 == 0) {
    move_indicator(back, false);
  }
  ShowFace(c, index, 0, p.PeekCodes[k]);
  const double sx = g.ScaleX, sy = g.ScaleY;
  tile->left = (400 + 45 * k) * sx;
  tile->top = 340 * sy;
  tile->width = 45 * sx;
  tile->height = 60 * sy;
  p.PeekSlots[k] = -1;
}

}  // namespace tess
