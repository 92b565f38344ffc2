#include "play/discards.h"

#include "core/client.h"
#include "play/hand_input.h"
#include "play/tile_slots.h"
#include "table/dispatcher.h"
#include "table/pictures.h"

namespace tess {
namespace {

constexpr int kDiscardPauseMs = 50;
constexpr int kBlinks = 3;
constexpr int kFollowsDealer = 3;
constexpr int kMarkDeclared = 1;
constexpr int kMarkPlacing = 2;
constexpr int kDeclBubbles = 425;   // 425-427: 报 for seats 1-3
constexpr int kPlaceBubbles = 428;  // 428-430: 摆

// Centre and pile sizes per ViewSeat, reference pixels.
constexpr double kLyingW[kSeatCount] = {36, 48, 30, 48};
constexpr double kLyingH[kSeatCount] = {50, 35, 36, 35};


void SetLyingSize(Client& c, int v) {
  c.play.TileW[v] = RoundPixels(kLyingW[v] * c.game.ScaleX);
  c.play.TileH[v] = RoundPixels(kLyingH[v] * c.game.ScaleY);
}

// The centre of the table for a picture of its current size, then the
// seat's lying size.
void MoveToCentre(Client& c, Element& e, int v) {
  const Element& table = c.MainForm.At("Pic1");
  e.left = (table.width - e.width) / 2;
  e.top = (table.height - e.height) / 2;
  e.width = c.play.TileW[v];
  e.height = c.play.TileH[v];
}

// Seat v's wind `code` shown again in its row of placed winds.
void PlaceWind(Client& c, int v, int code) {
  PlayState& play = c.play;
  const int k = play.PlacedTotal, n = play.PlacedCount[v];
  if (k >= kPlacedWinds || n >= kPlacedWinds) return;
  const GameState& g = c.game;
  const double sx = g.ScaleX, sy = g.ScaleY;
  const Element& table = c.MainForm.At("Pic1");
  const double tw = table.width, th = table.height;
  const double w = kLyingW[v] * sx, h = kLyingH[v] * sy;
  Form& f = c.MainForm;
  Element& e = f.At("BaiBao_img", k);
  e.visible = false;
  if (auto picture = PictureIndex(v, code)) ShowResourcePicture(c, e, c.pictures.TilePictures[*picture]);
  e.visible = true;
  e.width = w;
  e.height = h;
  switch (v) {
    case 0:
      e.left = (tw - w) / 2 + w * n;
      e.top = g.custom[0].HandY - h + 18 * sy;
      f.BringToFront(e);
      break;
    case 1:
      e.left = g.custom[1].HandX - w + 40 * sx + 5 * n;
      e.top = (th - h) / 2 - (h - 17 * sy) * n;
      break;
    case 2:
      e.left = (tw - w) / 2 - w * n;
      e.top = g.custom[2].HandY + w + 20 * sx;
      f.SendToBack(e);
      break;
    default:
      e.left = g.custom[3].HandX - w - (5 * n + 60) * sx;
      e.top = (th - h) / 2 - (h - 17 * sy) * n;
      break;
  }
  play.PlacedSlots[n][v] = static_cast<int16_t>(k);
  ++play.PlacedCount[v];
  ++play.PlacedTotal;
  // The side columns: the oldest wind in front.
  if (v == 1 || v == 3)
    for (int i = play.PlacedCount[v] - 1; i >= 0; --i) f.BringToFront(f.At("BaiBao_img", play.PlacedSlots[i][v]));
}

void ArmBubbleHide(Client& c) {
  c.tick.BubbleShown = true;
  c.tick.TaskCounter[kTaskBubbleHide] = 0;
}

// A bubble beside seat v (1-3): on the left at (8, 280), by the top seat's
// portrait, on the right at (936, right_top).
void PlaceBubble(Client& c, Element& bubble, int v, double right_top) {
  const double sx = c.game.ScaleX, sy = c.game.ScaleY;
  if (v == 1) {
    bubble.left = 8 * sx;
    bubble.top = 280 * sy;
  } else if (v == 2) {
    const Element& tou = c.MainForm.At("Tou", 2);
    bubble.left = tou.left + 0.8 * tou.width;
    bubble.top = tou.top + 0.8 * tou.height;
  } else {
    bubble.left = 936 * sx;
    bubble.top = right_top * sy;
  }
}

// The 报 or 摆 bubble of seat v (1-3).
void ShowMarkBubble(Client& c, int v, int first_picture) {
  Form& f = c.MainForm;
  Element& bubble = f.At("speakFeng");
  ShowResourcePicture(c, bubble, first_picture + v - 1);
  PlaceBubble(c, bubble, v, 208);
  bubble.visible = true;
  f.BringToFront(bubble);
  ArmBubbleHide(c);
  for (const char* name : {"Speak", "tsSpeak"})
    for (int i = 0; i < 3; ++i) f.At(name, i).visible = false;
  f.At("Words").visible = false;
}

// The follow-the-dealer bubble of seat v (1-3).
void ShowFollowBubble(Client& c, int v) {
  Form& f = c.MainForm;
  Element& bubble = f.At("tsSpeak", v - 1);
  PlaceBubble(c, bubble, v, 280);
  ShowResourcePicture(c, bubble, c.pictures.FollowBubbles[v - 1]);
  f.At("Speak", v - 1).visible = false;
  f.BringToFront(bubble);
  bubble.visible = true;
  ArmBubbleHide(c);
  c.tick.BubbleSeat = static_cast<int16_t>(v - 1);
}

// The watched player's discard of tile t, which no click laid out: its
// newest concealed copy of t (a hand that holds none gives its newest tile).
void LayOutWatchedDiscard(Client& c, int t) {
  SeatState& s = c.game.custom[0];
  if (s.HandCount <= 0 || s.HandStart < 0 || s.HandStart + s.HandCount > kHandEntries)
    throw HandlerFault("a discard of the watched seat with no concealed tile");
  int e = s.HandStart + s.HandCount - 1;
  while (e > s.HandStart && s.mj[e].code != t) --e;
  if (s.mj[e].code != t) {
    e = s.HandStart + s.HandCount - 1;
    s.mj[e].code = static_cast<int16_t>(t);
  }
  if (!FindTile(c, s.mj[e].slot)) throw HandlerFault("a discard of the watched seat whose tile has no slot");
  LayOutOwnDiscard(c, e);
}

// Seat v's discard of tile t, shown in the centre; seated, also placed as
// a wind and announced by a bubble as the seat's marks say.
void ShowDiscard(Client& c, int v, int t, bool watching) {
  GameState& g = c.game;
  g.LastDiscard = static_cast<int16_t>(t);
  if (t == 0) return;
  c.loop.WaitProcessing(kDiscardPauseMs);
  PlayTileVoice(c, v, t);
  g.LastDiscarder = static_cast<uint8_t>(v);
  if (v == 0) {
    if (watching) LayOutWatchedDiscard(c, t);
    return;  // a player's own was laid out when it was clicked
  }
  SeatState& s = g.custom[v];
  if (s.HandCount <= 0 || s.HandStart + s.HandCount > kHandEntries)
    throw HandlerFault("a discard from seat " + std::to_string(v) + " with no concealed tile");
  SetLyingSize(c, v);
  const int slot = s.mj[s.HandStart + s.HandCount - 1].slot;
  Element* e = FindTile(c, slot);
  if (!e) throw HandlerFault("a discard from seat " + std::to_string(v) + " whose tile has no slot");
  g.LastDiscardSlot = static_cast<int16_t>(slot);
  c.play.DiscardLaid = false;
  if (auto picture = PictureIndex(v, t)) ShowTilePicture(c, slot, *picture);
  MoveToCentre(c, *e, v);
  c.MainForm.BringToFront(*e);
  if (!watching && IsWind(t) && c.play.Placing[v] && c.play.PlacedTotal <= 15) PlaceWind(c, v, t);
  --s.HandCount;
  if (watching) return;
  if (c.play.Declared[v] && !c.play.DeclBubbleShown) {
    c.play.DeclBubbleShown = true;
    ShowMarkBubble(c, v, kDeclBubbles);
  } else if (c.play.Placing[v] && IsWind(t)) {
    ShowMarkBubble(c, v, kPlaceBubbles);
  }
}

}  // namespace

void OnDiscard(Client& c) { ShowDiscardMessage(c, /*watching=*/false); }

void ShowDiscardMessage(Client& c, bool watching) {
  GameState& g = c.game;
  PlayEffect(c, kEffectDiscard);
  g.info.Seat &= 0x0F;
  const int v = ViewSeatOf(g, g.info.Seat).value_or(0);
  const int t = g.info.value[3];
  if (!watching && g.info.value[1] == kMarkDeclared) c.play.Declared[v] = c.play.Placing[v] = true;
  if (!watching && g.info.value[1] == kMarkPlacing) c.play.Placing[v] = true;
  ShowDiscard(c, v, t, watching);
  if (!watching && g.info.value[0] == kFollowsDealer && v != 0) ShowFollowBubble(c, v);
  const auto suit = SuitNumber(t);
  const auto rank = Rank(t);
  if (suit && rank && *suit > 0) ++g.SeenCount[*suit][*rank];
}

void ShowOwnDiscard(Client& c, int slot, int code) {
  Element* e = FindTile(c, slot);
  if (!e) return;
  c.play.DiscardLaid = false;
  MoveToCentre(c, *e, 0);
  c.MainForm.SendToBack(*e);
  if (c.play.Placing[0] && c.play.PlacedTotal < kPlacedWinds && IsWind(code)) PlaceWind(c, 0, code);
}

void LayDiscardOnPile(Client& c, bool blink) {
  GameState& g = c.game;
  const int d = g.LastDiscarder & 3;
  Element* e = FindTile(c, g.LastDiscardSlot);
  if (!e) return;
  SeatState& s = g.custom[d];
  const double sx = g.ScaleX, sy = g.ScaleY;
  const int w = RoundPixels(kLyingW[d] * sx), h = RoundPixels(kLyingH[d] * sy);
  e->left = s.DiscardX;
  e->top = s.DiscardY;
  e->width = w;
  e->height = h;
  const int column = RoundPixels(h - 17 * sy);  // the side piles' step
  switch (d) {
    case 0:
      c.MainForm.SendToBack(*e);
      s.DiscardX = static_cast<int16_t>(s.DiscardX + w);
      if ((s.DiscardX - s.DiscardRowX) / w == 8) {
        s.DiscardX = s.DiscardRowX;
        s.DiscardY = RoundPixels(s.DiscardY - h + 18 * sy);
      }
      break;
    case 1:
      c.MainForm.BringToFront(*e);
      s.DiscardY = RoundPixels(s.DiscardY + h - 17 * sy);
      s.DiscardX = static_cast<int16_t>(s.DiscardX - 5);
      if (column > 0 && (s.DiscardY - s.DiscardRowY) / column == 8) {
        s.DiscardY = s.DiscardRowY;
        s.DiscardX = RoundPixels(s.DiscardX + 40 + w - 5 * sx);
      }
      break;
    case 2:
      c.MainForm.BringToFront(*e);
      s.DiscardX = static_cast<int16_t>(s.DiscardX - w);
      if ((s.DiscardRowX - s.DiscardX) / w == 8) {
        s.DiscardX = s.DiscardRowX;
        s.DiscardY = RoundPixels(s.DiscardY + h - 14 * sy);
      }
      break;
    default: {
      c.MainForm.SendToBack(*e);
      s.DiscardY = RoundPixels(s.DiscardY - h + 17 * sy);
      s.DiscardX = static_cast<int16_t>(s.DiscardX - 5);
      if (column > 0 && (s.DiscardRowY - s.DiscardY) / column == 8) {
        s.DiscardY = s.DiscardRowY;
        s.DiscardX = RoundPixels(s.DiscardX + 40 - w + 5 * sx);
      }
      // Restack: within a column the oldest tile in front, a later column
      // in front of an earlier one.
      PlayState& play = c.play;
      if (play.RightPileCount < kRightPileSlots) play.RightPileSlots[play.RightPileCount++] = g.LastDiscardSlot;
      const int n = play.RightPileCount;
      auto front = [&](int from, int to) {
        for (int i = from; i >= to; --i)
          if (Element* t = FindTile(c, play.RightPileSlots[i])) c.MainForm.BringToFront(*t);
      };
      if (n >= 17) {
        front(15, 8);
        front(n - 1, 16);
      } else if (n >= 9) {
        front(n - 1, 8);
      } else {
        front(n - 1, 0);
      }
      break;
    }
  }
  if (blink) c.tick.BlinkCount = kBlinks;
  c.play.DiscardLaid = true;
}

}  // namespace tess
