#include "play/hand_input.h"

#include "core/client.h"
#include "play/deal.h"
#include "play/discards.h"
#include "play/offers.h"
#include "play/reveal.h"
#include "play/tile_slots.h"

namespace tess {
namespace {

constexpr int kRaise = 10;  // pixels, not scaled
constexpr int kHandPointer = 99;
constexpr int kMarkPlain = 0, kMarkDeclared = 1, kMarkPlacing = 2;

void SetPointer(Element& e, int pointer) {
  if (e.mouse_pointer != pointer) e.mouse_pointer = pointer;
}

// Every concealed tile's picture that exists, in mj order.
template <typename F>
void ForEachConcealed(Client& c, F f) {
  const SeatState& s = c.game.custom[0];
  for (int i = s.HandStart; i < s.HandStart + s.HandCount && i < kHandEntries; ++i)
    if (Element* e = FindTile(c, s.mj[i].slot)) f(*e);
}

void QueueDiscard(Client& c, int mark, int code) {
  MessageRecord m;
  m.MsgType = kTypeDiscard;
  m.value = {0, static_cast<int16_t>(mark), 0, static_cast<int16_t>((code & 0xFFF) | 0x4000)};
  QueueMessage(c, m);
}

// The pass sequence of a right click; `on_tile` for MJ_Image_MouseDown,
// else the table's mouse-up.
void PassByClick(Client& c, bool on_tile) {
  TickState& t = c.tick;
  if (!on_tile) {
    if (t.TurnState >= 1) return;
    t.TurnState = 2;
  }
  for (int i = 0; i < kActionButtons; ++i) c.MainForm.At("Operation", i).visible = false;
  if (!HoldsDiscardCount(c.game.custom[0])) {
    t.Countdown = t.TurnSeconds;
    StopTurnCountdown(c);
  } else if (on_tile && t.HandLocked) {
    // The countdown, still running, expires at once: the newest tile goes.
    t.Countdown = 0;
  }
  PassOnOffer(c);
  if (on_tile) {
    ResetActionButtons(c);
    return;
  }
  for (int i = 1; i < kActionButtons; ++i) {
    Element& b = c.MainForm.At("Operation", i);
    ShowResourcePicture(c, b, c.pictures.ActionPictures[3 * i]);
    b.enabled = false;
  }
  t.TurnState = 1;
}

// The top tile of another seat's concealed kong, or a wall tile.
void RevealClick(Client& c, int index) {
  PlayState& p = c.play;
  for (int i = 0; i < p.RevealCount && i < kRevealRows; ++i)
    if (p.RevealSlots[i] == index) {
      ShowFace(c, index, p.RevealGroups[i] & 3, p.RevealCodes[i]);
      p.RevealSlots[i] = -1;
      return;
    }
  WallTileClick(c, index);
}

}  // namespace

bool IsMyHandSlot(const Client& c, int slot) { return HandIndexOfSlot(c, slot) >= 0; }

int HandIndexOfSlot(const Client& c, int slot) {
  const SeatState& s = c.game.custom[0];
  for (int i = s.HandStart; i < s.HandStart + s.HandCount && i < kHandEntries; ++i)
    if (i >= 0 && s.mj[i].slot == slot) return i;
  return -1;
}

void MJ_Image_MouseMove(Client& c, int index) {
  Element* e = FindTile(c, index);
  if (!e) return;
  const SeatState& s = c.game.custom[0];
  if (e->top < s.HandY - kRaise || c.game.IsSpectator || !c.buttons.ButtonLatched[2] || !IsMyHandSlot(c, index)) {
    SetPointer(*e, 0);
    return;
  }
  SetPointer(*e, kHandPointer);
  if (e->top != s.HandY) return;
  ForEachConcealed(c, [&](Element& t) {
    if (t.top == s.HandY - kRaise) t.top = s.HandY;
  });
  e->top = s.HandY - kRaise;
}

void Pic1_MouseMove(Client& c, double x, double y) {
  if (!c.buttons.ButtonLatched[2] || c.game.IsSpectator) return;
  const SeatState& s = c.game.custom[0];
  bool lowered = false;
  ForEachConcealed(c, [&](Element& t) {
    if (lowered || t.top != s.HandY - kRaise) return;
    const bool inside = t.left < x && x < t.left + t.width && t.top < y && y < t.top + t.height + kRaise;
    if (inside) return;
    t.top = s.HandY;
    lowered = true;
  });
}

void MJ_Image_MouseDown(Client& c, int index, int button) {
  const TickState& t = c.tick;
  if (t.TurnState == 3 || !t.TurnTimerAllowed) return;
  const PlayState& p = c.play;
  const SeatState& s = c.game.custom[0];
  const int e = HandIndexOfSlot(c, index);
  const bool mine = e >= 0;
  if (mine && p.DiscardAllowed && !(p.Placing[0] && t.HandLocked)) {
    DiscardTile(c, index, /*locked=*/false);
  } else if (!mine && button == kButtonRight && c.MainForm.At("Operation", 4).visible) {
    PassByClick(c, /*on_tile=*/true);
  } else if (mine && e == s.HandStart + s.HandCount - 1 && p.DiscardAllowed && t.HandLocked) {
    DiscardTile(c, index, /*locked=*/true);
  } else if (p.WinnerView >= 0 && p.WinnerView <= 3) {
    RevealClick(c, index);
  }
}

void Pic_MouseUp(Client& c, int button) {
  if (button != kButtonRight || !c.tick.TurnTimerAllowed) return;
  if (!c.MainForm.At("Operation", 4).visible) return;
  PassByClick(c, /*on_tile=*/false);
}

void DiscardTile(Client& c, int slot, bool locked) {
  GameState& g = c.game;
  PlayState& p = c.play;
  TickState& t = c.tick;
  SeatState& s = g.custom[0];
  const int e = HandIndexOfSlot(c, slot);
  if (e < 0) return;
  // 1.-3. The turn ends; the open offer is declined.
  t.TimeoutStreak = 0;
  t.TurnState = 2;
  p.DiscardAllowed = false;
  t.Countdown = t.TurnSeconds;
  StopTurnCountdown(c);
  PassOnOffer(c);
  ResetActionButtons(c);
  // 5. The mark; the first 报 or 摆 discard locks the hand.
  const int code = s.mj[e].code;
  int mark = kMarkPlain;
  if (p.Declared[0]) {
    mark = kMarkDeclared;
  } else if (p.Placing[0] && IsWind(code)) {
    mark = kMarkPlacing;
  } else if (!locked) {
    p.Placing[0] = false;
  }
  if (!locked && mark != kMarkPlain) t.HandLocked = true;
  // 6.
  if (HoldsDiscardCount(s)) QueueDiscard(c, mark, code);
  LayOutOwnDiscard(c, e);
}

void LayOutOwnDiscard(Client& c, int e) {
  GameState& g = c.game;
  PlayState& p = c.play;
  SeatState& s = g.custom[0];
  const int slot = s.mj[e].slot, code = s.mj[e].code;
  // 4. The tile lies face up.
  p.TileW[0] = RoundPixels(36 * g.ScaleX);
  p.TileH[0] = RoundPixels(50 * g.ScaleY);
  ShowFace(c, slot, 0, code);
  // 7.-8.
  g.LastDiscardSlot = static_cast<int16_t>(slot);
  g.LastDiscarder = 0;
  ShowOwnDiscard(c, slot, code);
  // 9. The gap closes.
  SetHandTileSize(c);
  const int last = s.HandStart + s.HandCount - 1;
  for (int i = e; i < last; ++i) {
    s.mj[i] = s.mj[i + 1];
    if (Element* tile = FindTile(c, s.mj[i].slot)) {
      tile->left = s.HandX + p.TileW[0] * i;
      tile->top = s.HandY;
    }
  }
  SortAndRedrawHand(c, 0, s.HandCount - 1);
  --s.HandCount;
  ForEachConcealed(c, [&](Element& tile) { c.MainForm.BringToFront(tile); });
}

void InstallHandInput(Client& c) {
  Form& f = c.MainForm;
  for (Element* e : f.Array("MJ_Image")) {
    e->on_mouse_move = [&c](Element& t, const MouseEvent&) { MJ_Image_MouseMove(c, t.index); };
    e->on_mouse_down = [&c](Element& t, const MouseEvent& m) { MJ_Image_MouseDown(c, t.index, m.button); };
  }
  for (const char* table : {"Pic1", "Pic2"})
    f.At(table).on_mouse_up = [&c](Element&, const MouseEvent& m) { Pic_MouseUp(c, m.button); };
  for (int i = 0; i < kActionButtons; ++i)
    f.At("Operation", i).on_click = [&c](Element& b) { Operation_Click(c, b.index); };
  for (int i = 0; i < 5; ++i)
    f.Load("Gang", i).on_click = [&c](Element& b) { Gang_Click(c, b.index); };
}

}  // namespace tess
