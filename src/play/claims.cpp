#include "play/claims.h"

#include <string>

#include "core/client.h"
#include "play/tile_slots.h"
#include "table/dispatcher.h"
#include "table/pictures.h"

namespace tess {
namespace {

constexpr int kRedDragon = 0x15;
constexpr int kLyingBack = 8;  // picture 36v + 8
constexpr uint32_t kGreen = 0x00FF00, kRed = 0xFF0000;

// Meld sizes per ViewSeat, reference pixels.
constexpr double kMeldW[kSeatCount] = {45, 45, 34, 45};
constexpr double kMeldH[kSeatCount] = {60, 35, 40, 35};

// The claim: the seat and its record as the claim found them.
struct Claim {
  Client& c;
  int kind;
  int v;
  const std::array<int16_t, 3>& tiles;
  SeatState& s;
  int m, h, n;  // MeldCursor, HandStart, HandCount at the start
  double sx, sy;

  HandEntry& mj(int e) const { return s.mj.at(static_cast<size_t>(e)); }
  Element& Picture(int e) const { return TileAt(c, mj(e).slot); }
  int W() const { return c.play.TileW[v]; }
  int H() const { return c.play.TileH[v]; }
};

void SetMeldSizes(Client& c) {
  for (int v = 0; v < kSeatCount; ++v) {
    c.play.TileW[v] = RoundPixels(kMeldW[v] * c.game.ScaleX);
    c.play.TileH[v] = RoundPixels(kMeldH[v] * c.game.ScaleY);
  }
}

// The record must hold what the kind takes: `taken` concealed tiles and,
// with `group`, a new meld group mj(m - 2 .. m) inside the list.
void Require(const Claim& k, int taken, bool group) {
  const bool fits = k.h >= 0 && k.n >= taken && k.h + k.n <= kHandEntries && (!group || (k.m >= 2 && k.m < kHandEntries));
  if (!fits)
    throw HandlerFault("claim " + std::to_string(k.kind) + " for seat " + std::to_string(k.v) + " with " +
                       std::to_string(k.n) + " concealed tiles from entry " + std::to_string(k.h));
}

// mj index i lies in 0..20 and i .. i + count - 1 among the concealed tiles.
void RequireConcealed(const Claim& k, int i, int count) {
  if (i < k.h || i + count > k.h + k.n)
    throw HandlerFault("claimed tiles at entry " + std::to_string(i) + " are not concealed tiles");
}

void Announce(const Claim& k, bool watching) {
  Client& c = k.c;
  Form& f = c.MainForm;
  Element& bubble = f.At("Speak", k.v - 1);
  Element& words = f.At("Words");
  if (k.v == 1) {
    bubble.left = 8 * k.sx;
    bubble.top = 280 * k.sy;
  } else if (k.v == 2) {
    const Element& tou = f.At("Tou", 2);
    bubble.left = tou.left + 0.8 * tou.width;
    bubble.top = tou.top + 0.8 * tou.height;
  } else {
    bubble.left = 936 * k.sx;
    bubble.top = 280 * k.sy;
  }
  words.left = bubble.left + 0.17 * bubble.width;
  words.top = bubble.top + 0.24 * bubble.height;
  bubble.visible = words.visible = true;
  f.BringToFront(bubble);
  f.BringToFront(words);
  PlayEffect(c, kEffectDiscard);
  // The caption entry and voice clip of the kind; a red-dragon or wild
  // added kong has neither, except for a spectator, who is told of the
  // tile set aside.
  int entry = -1, clip = 0;
  switch (k.kind) {
    case kChow: entry = 0, clip = kVoiceChow; break;
    case kPung: entry = 1, clip = kVoicePung; break;
    case kKongFromDiscard: entry = 2, clip = kVoiceKong; break;
    case kConcealedKong: entry = 3, clip = kVoiceKong; break;
    case kAddedKong:
      if (k.tiles[2] == kRedDragon) {
        if (watching) entry = 4, clip = kVoiceRedDragonAside;
      } else if (k.tiles[2] == c.game.WildTile) {
        if (watching) entry = 5, clip = kVoiceWildAside;
      } else {
        entry = 6, clip = kVoiceKong;
      }
      break;
    case kWin: entry = 7, clip = kVoiceWin; break;
  }
  if (entry >= 0) ShowResourcePicture(c, words, c.pictures.ClaimPictures[entry]);
  if (clip) PlayClaimVoice(c, k.v, clip);
  if (c.audio.SoundOn) SetSoundVolume(c, kMaxSoundVolume);
  c.tick.BubbleShown = true;
  c.tick.TaskCounter[kTaskBubbleHide] = 0;
  c.tick.BubbleSeat = static_cast<int16_t>(k.v - 1);
  for (int other = 1; other < kSeatCount; ++other)
    if (other != k.v) f.At("Speak", other - 1).visible = false;
}

// Entry e of another seat's meld group, placed beside its hand.
void PlaceMeldEntry(const Claim& k, Element& p, int e) {
  const int w = k.W(), h = k.H();
  const SeatState& s = k.s;
  p.width = w;
  p.height = h;
  if (k.v == 1) {
    p.left = s.HandX - 5 * k.sx * e;
    p.top = s.HandY + (h - 17 * k.sy) * e;
    k.c.MainForm.BringToFront(p);
  } else if (k.v == 2) {
    p.left = s.HandX - w * e;
    p.top = s.HandY;
  } else {
    p.left = s.HandX - 5 * k.sx * e - 10 * k.sx;
    p.top = s.HandY - (h - 17 * k.sy) * e;
    k.c.MainForm.SendToBack(p);
  }
}

// The local seat's meld entry e, 18 pixels below the hand row.
void PlaceOwnMeldEntry(const Claim& k, Element& p, int e) {
  p.left = k.s.HandX + (e + 1) * (k.c.play.TileW[0] - 2 * k.sx);
  p.top = k.s.HandY + 18 * k.sy;
}

// Chow and pung of another seat.
void PungOther(const Claim& k) {
  Require(k, 2, true);
  SeatState& s = k.s;
  const int c = k.m, h = k.h;
  k.mj(c - 2) = k.mj(h);
  k.mj(c - 1) = k.mj(h + 1);
  k.mj(c).slot = k.c.game.LastDiscardSlot;
  if (k.kind == kPung)
    for (int j = 0; j < 3; ++j) {
      k.mj(c - 2 + j).kind = 3;
      k.mj(c - 2 + j).code = k.tiles[j];
    }
  k.mj(h + k.n) = k.mj(h + 2);
  s.HandCount = static_cast<int16_t>(k.n - 2);
  s.HandStart = static_cast<int16_t>(h + 3);
  for (int j = 2; j >= 0; --j) {
    const int e = c - j;
    ShowFace(k.c, k.mj(e).slot, k.v, k.tiles[2 - j]);
    PlaceMeldEntry(k, k.Picture(e), e);
  }
  s.MeldCursor = static_cast<int16_t>(c + 3);
  // The moved entry stands apart behind the others.
  const int last = s.HandStart + s.HandCount - 1;
  if (s.HandCount < 2) return;
  Element& moved = k.Picture(last);
  const Element& before = k.Picture(last - 1);
  if (k.v == 1) {
    moved.left = before.left - 5 * k.sx;
    moved.top = before.top + 0.65 * k.W();
  } else if (k.v == 2) {
    moved.left = s.HandX - (last + 1.3) * k.W();
  } else {
    moved.left = before.left - 5 * k.sx;
    moved.top = before.top - 0.65 * k.W();
  }
}

void LayOwnPung(const Claim& k) {
  Client& c = k.c;
  const int m = k.m, h = k.h, n = k.n;
  for (int j = 2; j >= 0; --j) {
    const int e = m - j;
    Element& p = k.Picture(e);
    PlaceOwnMeldEntry(k, p, e);
    p.width = c.play.TileW[0];
    p.height = c.play.TileH[0];
    ShowFace(c, k.mj(e).slot, 0, k.tiles[2 - j]);
    c.MainForm.BringToFront(p);
  }
  SetHandTileSize(c);
  const int w = c.play.TileW[0];
  const int t = k.tiles[0] & 0xFF;
  int g = -1;
  for (int i = h; i <= h + n - 2 && g < 0; ++i)
    if (k.mj(i).code == t && k.mj(i + 1).code == t) g = i;
  // The tiles before the pair step over it, then every tile one place on.
  if (g >= 0)
    for (int i = g + 1; i >= h + 2; --i) {
      k.mj(i) = k.mj(i - 2);
      k.Picture(i).left += 2 * w;
    }
  for (int i = h + n; i >= h + 3; --i) {
    k.mj(i) = k.mj(i - 1);
    k.Picture(i).left += w;
  }
}

void Pung(const Claim& k) {
  if (k.v != 0) return PungOther(k);
  if (k.kind != kPung) return;  // the local seat never claims a chow
  Require(k, 2, true);
  LayOwnPung(k);
  k.s.HandCount = static_cast<int16_t>(k.n - 2);
  k.s.HandStart = static_cast<int16_t>(k.h + 3);
  k.s.MeldCursor = static_cast<int16_t>(k.m + 3);
}

// The kong's fourth tile on the middle tile of the local group.
void LayOwnFourth(const Claim& k, int code) {
  Element& fourth = TileAt(k.c, k.c.game.LastDiscardSlot);
  fourth.left = k.Picture(k.m - 1).left;
  fourth.top = k.s.HandY;
  fourth.width = k.c.play.TileW[0];
  fourth.height = k.c.play.TileH[0];
  k.c.MainForm.BringToFront(fourth);
  ShowFace(k.c, k.c.game.LastDiscardSlot, 0, code);
}

void LayOwnKong(const Claim& k, int i) {
  RequireConcealed(k, i, 3);
  Client& c = k.c;
  for (int j = 2; j >= 0; --j) {
    const int e = k.m - j;
    PlaceOwnMeldEntry(k, k.Picture(e), e);
    ShowFace(c, k.mj(e).slot, 0, k.tiles[2]);
  }
  LayOwnFourth(k, k.tiles[2]);
  SetHandTileSize(c);
  for (int j = i + 2; j >= k.h + 3; --j) {
    k.mj(j) = k.mj(j - 3);
    k.Picture(j).left += 3 * c.play.TileW[0];
  }
}

void LayOwnConcealedKong(const Claim& k, int i) {
  RequireConcealed(k, i, 4);
  Client& c = k.c;
  for (int j = 2; j >= 0; --j) {
    const int e = k.m - j;
    Element& p = k.Picture(e);
    PlaceOwnMeldEntry(k, p, e);
    p.width = c.play.TileW[0];
    p.height = c.play.TileH[0];
    ShowTilePicture(c, k.mj(e).slot, kLyingBack);
  }
  c.game.LastDiscardSlot = k.mj(i + 3).slot;
  LayOwnFourth(k, k.tiles[2]);
  SetHandTileSize(c);
  for (int j = i + 3; j >= k.h + 4; --j) k.mj(j) = k.mj(j - 4);
  for (int j = k.h + 3; j <= k.h + k.n - 2; ++j) {
    k.mj(j) = k.mj(j + 1);
    Element& p = k.Picture(j);
    p.left = k.s.HandX + j * c.play.TileW[0];
    p.top = k.s.HandY;
    p.width = c.play.TileW[0];
    p.height = c.play.TileH[0];
  }
}

void Kong(const Claim& k) {
  Client& c = k.c;
  GameState& g = c.game;
  const bool concealed = k.kind == kConcealedKong;
  Require(k, concealed ? 4 : 3, true);
  c.play.DrawFromFront = false;
  c.play.DiscardTaken = true;
  SeatState& s = k.s;
  const int m = k.m, h = k.h;
  if (k.v != 0) {
    k.mj(m - 1) = k.mj(h + 1);
    k.mj(m - 2) = k.mj(h + 2);
    if (concealed) {
      g.LastDiscardSlot = k.mj(h + k.n - 1).slot;
      PlayState& p = c.play;
      if (p.RevealCount < kRevealRows) {
        p.RevealSlots[p.RevealCount] = g.LastDiscardSlot;
        p.RevealCodes[p.RevealCount] = k.tiles[2];
        p.RevealGroups[p.RevealCount] = static_cast<int16_t>(k.v);
        ++p.RevealCount;
      }
    }
    c.MainForm.BringToFront(TileAt(c, g.LastDiscardSlot));
    s.HandCount = static_cast<int16_t>(k.n - 3);
    s.HandStart = static_cast<int16_t>(h + 3);
  }
  for (int e = m - 2; e <= m; ++e) {
    k.Picture(e).width = k.W();
    k.Picture(e).height = k.H();
  }
  if (k.v == 0) {
    if (concealed)
      LayOwnConcealedKong(k, c.play.KongChoices[0]);
    else
      LayOwnKong(k, c.play.KongChoices[0]);
    s.HandCount = static_cast<int16_t>(k.n - (concealed ? 4 : 3));
    s.HandStart = static_cast<int16_t>(h + 3);
    s.MeldCursor = static_cast<int16_t>(m + 3);
    return;
  }
  Element& fourth = TileAt(c, g.LastDiscardSlot);
  fourth.width = k.W();
  fourth.height = k.H();
  for (int j = 2; j >= 0; --j) {
    const int e = m - j;
    PlaceMeldEntry(k, k.Picture(e), e);
    if (concealed)
      ShowTilePicture(c, k.mj(e).slot, 36 * k.v + kLyingBack);
    else
      ShowFace(c, k.mj(e).slot, k.v, k.tiles[2 - j]);
  }
  if (k.v == 2) {
    fourth.left = s.HandX - (m - 1) * k.W();
    fourth.top = s.HandY - 18 * k.sy;
  } else {
    const Element& middle = k.Picture(m - 1);
    fourth.left = middle.left;
    fourth.top = middle.top - 18 * k.sy;
    c.MainForm.BringToFront(fourth);
  }
  ShowFace(c, g.LastDiscardSlot, k.v, k.tiles[2]);
  if (concealed) --s.HandCount;
  s.MeldCursor = static_cast<int16_t>(m + 3);
}

void TakeOutAddedTile(const Claim& k, int i) {
  RequireConcealed(k, i, 1);
  Client& c = k.c;
  c.game.LastDiscardSlot = k.mj(k.m - 2).slot;
  c.game.LastDiscard = k.mj(i).code;
  SetHandTileSize(c);
  for (int j = i; j <= k.h + k.n - 2; ++j) {
    k.mj(j) = k.mj(j + 1);
    k.Picture(j).left -= c.play.TileW[0];
  }
}

void AddedKong(const Claim& k) {
  Client& c = k.c;
  GameState& g = c.game;
  Require(k, 1, true);
  c.play.DrawFromFront = false;
  c.play.DiscardTaken = true;
  SeatState& s = k.s;
  const int m = k.m;
  const int added = k.tiles[2];
  if (k.v != 0) {
    k.mj(m - 2) = k.mj(k.h + k.n - 1);
    k.Picture(m - 2).visible = false;
    g.LastDiscardSlot = k.mj(m - 2).slot;
    g.LastDiscard = static_cast<int16_t>(added);
    --s.HandCount;
  }
  Element& tile = k.Picture(m - 2);
  c.MainForm.BringToFront(tile);
  tile.width = k.W();
  tile.height = k.H();
  if (added == kRedDragon && s.AsideCountA == 0) s.mj[0] = k.mj(m - 2);
  int p = -1;
  for (int e = k.v == 0 ? 1 : 2; e <= m - 5 && p < 0; e += 3)
    if (k.mj(e).code == added && k.mj(e).kind == 3) p = e;
  if (k.v == 0) {
    TakeOutAddedTile(k, c.play.KongChoices[0]);
    --s.HandCount;
    if (p >= 0) {
      tile.left = k.Picture(p + 1).left;
      tile.top = s.HandY;
      ShowFace(c, k.mj(m - 2).slot, 0, added);
    }
    return;
  }
  if (p >= 0) {
    // Above the middle tile of the pung, 17 pixels up.
    const double along = (k.H() - 17 * k.sy) * (p + 1);
    if (k.v == 1) {
      tile.left = s.HandX - 5 * k.sx * (p + 1);
      tile.top = s.HandY + along - 17 * k.sy;
    } else if (k.v == 2) {
      tile.left = s.HandX - k.W() * (p + 1);
      tile.top = s.HandY - 18 * k.sy;
    } else {
      tile.left = k.Picture(p + 1).left;
      tile.top = s.HandY - along - 17 * k.sy;
    }
    ShowFace(c, k.mj(m - 2).slot, k.v, added);
  }
  tile.visible = true;
}

void Win(const Claim& k) {
  Client& c = k.c;
  PlayState& p = c.play;
  if (p.WinnerView >= 0) return;
  if (Form* score = c.desktop.FindForm("Score")) {
    for (int v = 0; v < kSeatCount; ++v)
      if (Element* id = score->Find("ID", v)) id->fore_color = kGreen;
    if (Element* id = score->Find("ID", k.v)) id->fore_color = kRed;
  }
  p.WinnerView = static_cast<int16_t>(k.v);
  // The local player's discard win: the discard joins the hand.
  if (k.v != 0 || HoldsDiscardCount(k.s) || k.n < 1 || k.h + k.n > kHandEntries) return;
  SetHandTileSize(c);
  Element& d = TileAt(c, c.game.LastDiscardSlot);
  d.left = k.Picture(k.h + k.n - 1).left + p.TileW[0];
  d.top = k.s.HandY;
  d.width = p.TileW[0];
  d.height = p.TileH[0];
  ShowFace(c, c.game.LastDiscardSlot, 0, c.game.LastDiscard);
}

// The concealed tiles of the side seats stacked again over the melds.
void Restack(Client& c, int v) {
  const SeatState& s = c.game.custom[v];
  Form& f = c.MainForm;
  for (int i = s.HandStart; i < s.HandStart + s.HandCount && i < kHandEntries; ++i) {
    Element* e = FindTile(c, s.mj[i].slot);
    if (!e) continue;
    if (v == 1) f.BringToFront(*e);
    if (v == 3) f.SendToBack(*e);
  }
  if (v != 1) return;
  for (int k = c.play.PlacedCount[1] - 1; k >= 0; --k)
    if (k < kPlacedWinds) {
      const int placed = c.play.PlacedSlots[k][1];
      if (Element* e = f.Find("BaiBao_img", placed)) f.BringToFront(*e);
    }
}

void CountSeen(GameState& g, int code, int copies) {
  const auto suit = SuitNumber(code & 0xFF);
  const auto rank = Rank(code & 0xFF);
  if (suit && rank) g.SeenCount[*suit][*rank] = static_cast<int16_t>(g.SeenCount[*suit][*rank] + copies);
}

}  // namespace

void OnClaimResult(Client& c) {
  GameState& g = c.game;
  const std::array<int16_t, 3> tiles = {g.info.value[1], g.info.value[2], g.info.value[3]};
  const int kind = g.info.value[0];
  if (c.tick.AutoMode) {
    if (kind == kChow || kind == kPung) {
      CountSeen(g, tiles[0], 1);
      CountSeen(g, tiles[1], 1);
    }
    if (kind == kKongFromDiscard) CountSeen(g, tiles[2], 3);
    if (kind == kAddedKong) CountSeen(g, tiles[2], 1);
  }
  ApplyClaim(c, kind, g.info.Seat, tiles);
}

void ApplyClaim(Client& c, int kind, int seat, const std::array<int16_t, 3>& tiles, bool watching) {
  SetMeldSizes(c);
  const auto view = ViewSeatOf(c.game, seat);
  if (!view) throw HandlerFault("claim for seat mask " + std::to_string(seat));
  const int v = *view;
  SeatState& s = c.game.custom[v];
  const Claim k{c, kind, v, tiles, s, s.MeldCursor, s.HandStart, s.HandCount, c.game.ScaleX, c.game.ScaleY};
  if (v != 0 && kind >= 2) Announce(k, watching);
  switch (kind) {
    case kChow:
    case kPung: Pung(k); break;
    case kKongFromDiscard:
    case kConcealedKong: Kong(k); break;
    case kAddedKong: AddedKong(k); break;
    case kWin: Win(k); break;
    default: break;
  }
  Restack(c, v);
}

}  // namespace tess
