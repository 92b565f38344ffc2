#include "play/offers.h"

#include <algorithm>

#include "core/client.h"
#include "play/deal.h"
#include "play/tile_slots.h"
#include "table/pictures.h"

namespace tess {
namespace {

constexpr int kButtonDeclare = 0, kButtonPung = 1, kButtonKong = 2, kButtonWin = 3, kButtonPass = 4;
constexpr int16_t kOffered = 2;
constexpr int kDeclareOffered = 421, kDeclareGreyed = 422, kPlaceOffered = 423, kPlaceGreyed = 424;
constexpr int kKindPass = 1, kKindPung = 8, kKindKongFromDiscard = 16, kKindConcealedKong = 32,
              kKindAddedKong = 64, kKindWin = 128;
constexpr int kGangButtons = 5;
constexpr uint32_t kGreen = 0x00FF00;

Element& Button(Client& c, int i) { return c.MainForm.At("Operation", i); }

// ActionPictures: entry 3i greyed, 3i + 1 offered, for buttons 1-4.
void ShowGreyed(Client& c, int i) { ShowResourcePicture(c, Button(c, i), c.pictures.ActionPictures[3 * i]); }

void HideButtons(Client& c, std::initializer_list<int> buttons) {
  for (int i : buttons) Button(c, i).visible = false;
}

bool AnyDeclared(const Client& c) {
  return std::any_of(c.play.Declared.begin(), c.play.Declared.end(), [](bool d) { return d; });
}

void ShowTurnCountdown(Client& c) {
  Form& f = c.MainForm;
  Element& number = f.At("Number");
  Element& clock = f.At("Time_Img");
  number.caption = std::to_string(c.tick.Countdown);
  number.fore_color = kGreen;
  clock.visible = number.visible = true;
  f.BringToFront(clock);
  f.BringToFront(number);
  SwitchTaskOn(c, kTaskTurnCountdown);
}

int16_t ClaimWord(int code) { return static_cast<int16_t>((code & 0xFFF) | 0x2000); }

void QueueClaim(Client& c, int kind, int16_t t0, int16_t t1, int16_t t2) {
  MessageRecord m;
  m.MsgType = kTypeClaimResult;
  m.value = {static_cast<int16_t>(kind), t0, t1, t2};
  QueueMessage(c, m);
}

// The concealed entries i .. i + count - 1 of the local seat exist.
bool Concealed(const SeatState& s, int i, int count) {
  return i >= s.HandStart && i + count <= s.HandStart + s.HandCount && i + count <= kHandEntries;
}

// The next meld group mj(MeldCursor - 2 .. MeldCursor) lies inside mj.
bool MeldRoom(const SeatState& s) { return s.MeldCursor >= 2 && s.MeldCursor < kHandEntries; }

// A kong of the three entries from i claimed as `claim_kind`.
void SendKong(Client& c, int i, int claim_kind) {
  if (!StageKong(c, i, claim_kind)) return;
  c.play.TurnActed = true;
  const int16_t t = ClaimWord(c.game.custom[0].mj[i].code);
  QueueClaim(c, claim_kind, t, t, t);
}

// The sender of a kong kind for candidate i.
void SendKongOfKind(Client& c, int kind, int i) {
  if (kind == kKindAddedKong) SendAddedKong(c, i);
  if (kind == kKindKongFromDiscard) SendKongFromDiscard(c, i);
  if (kind == kKindConcealedKong) SendConcealedKong(c, i);
}

}  // namespace

void OnActionOffer(Client& c) {
  GameState& g = c.game;
  PlayState& p = c.play;
  TickState& t = c.tick;
  // A spectator is never offered anything: no button, no countdown.
  if (g.IsSpectator || (g.info.Seat & 0x0F) != (g.custom[0].Seat & 0x0F)) return;
  const int opts = g.info.value[0] & 0xFF;
  p.TurnActed = false;
  t.TurnState = 0;
  p.OfferedActions.fill(0);
  for (int k = 0; k < 8; ++k) {
    if (!(opts & (1 << k))) continue;
    int button = kButtonPass;
    int picture = c.pictures.ActionPictures[3 * kButtonPass + 1];
    if (k == 1 || k == 2) {
      button = kButtonDeclare;
      picture = k == 1 ? kDeclareOffered : kPlaceOffered;
    } else if (k == 3 || k == 7) {
      button = k == 3 ? kButtonPung : kButtonWin;
      picture = c.pictures.ActionPictures[3 * button + 1];
    } else if (k >= 4) {
      button = kButtonKong;
      picture = c.pictures.ActionPictures[3 * button + 1];
      p.OfferFlags = g.info.value[0];
    }
    Element& b = Button(c, button);
    b.enabled = true;
    ShowResourcePicture(c, b, picture);
    p.OfferedActions[button] = kOffered;
  }
  const SeatState& s = g.custom[0];
  if (s.HandCount >= 1)
    for (int i = 0; i < kActionButtons; ++i) {
      Button(c, i).visible = true;
      c.MainForm.BringToFront(Button(c, i));
    }
  if (HoldsDiscardCount(s)) p.DiscardAllowed = true;
  // A locked hand with nothing to choose is played at the next tick.
  const bool choice = p.OfferedActions[kButtonKong] == kOffered || p.OfferedActions[kButtonWin] == kOffered;
  t.Countdown = !t.HandLocked || choice ? t.TurnSeconds : 0;
  if (s.HandCount < 1) return;
  ShowTurnCountdown(c);
}

void Operation_Click(Client& c, int index) {
  PlayState& p = c.play;
  TickState& t = c.tick;
  if (index < 0 || index >= kActionButtons) return;
  if (p.OfferedActions[index] != kOffered || !t.TurnTimerAllowed || t.TurnState >= 1) return;
  t.TurnState = 2;
  p.OfferedActions.fill(0);
  Element& b = Button(c, index);
  if (index >= 1) {
    ShowGreyed(c, index);
  } else if (AnyDeclared(c)) {
    // Once anybody has declared, the button places winds.
    if (!p.Placing[0]) {
      p.Placing[0] = true;
      ShowResourcePicture(c, b, kPlaceGreyed);
    }
  } else {
    p.Declared[0] = p.Placing[0] = true;
    ShowResourcePicture(c, b, kDeclareGreyed);
  }
  b.enabled = false;
  if (index < kButtonPass) {
    t.Countdown = t.TurnSeconds;
    if (index > kButtonDeclare) StopTurnCountdown(c);
  }
  SetHandTileSize(c);
  t.TimeoutStreak = 0;
  const SeatState& s = c.game.custom[0];
  switch (index) {
    case kButtonDeclare:
      // Nothing is sent: the mark travels with the next discard.
      HideButtons(c, {0, 1, 2, 3, 4});
      break;
    case kButtonPung:
      p.DiscardAllowed = false;
      HideButtons(c, {0, 1, 2, 3, 4});
      PlayClaimVoice(c, 0, kVoicePung);
      SendPung(c, c.game.LastDiscard);
      break;
    case kButtonKong:
      p.DiscardAllowed = false;
      HideButtons(c, {0, 1, 3, 4});
      // Four equal tiles stand together once sorted.
      if (p.OfferFlags & kKindConcealedKong) SortAndRedrawHand(c, 0, s.HandCount);
      ChooseKong(c);
      break;
    case kButtonWin:
      p.DiscardAllowed = false;
      SendWin(c);
      PlayClaimVoice(c, 0, kVoiceWin);
      HideButtons(c, {0, 1, 2, 3, 4});
      break;
    default:
      HideButtons(c, {0, 1, 2, 3, 4});
      if (!HoldsDiscardCount(s)) {
        t.Countdown = 0;
        StopTurnCountdown(c);
      } else if (t.HandLocked) {
        t.Countdown = 0;
      }
      PassOnOffer(c);
      break;
  }
  Button(c, kButtonDeclare).enabled = false;
  for (int i = 1; i < kActionButtons; ++i) {
    ShowGreyed(c, i);
    Button(c, i).enabled = false;
  }
  t.TurnState = 1;
}

void ChooseKong(Client& c) {
  PlayState& p = c.play;
  const SeatState& s = c.game.custom[0];
  const int h = s.HandStart, end = std::min<int>(s.HandStart + s.HandCount, kHandEntries);
  const auto code = [&](int i) { return s.mj[i].code; };
  int found = 0, first_kind = 0;
  const auto add = [&](int i, int kind) {
    if (found >= kKongChoices) return;
    if (found == 0) first_kind = kind;
    p.KongChoices[found++] = static_cast<int16_t>(i);
  };
  if (p.OfferFlags & kKindAddedKong)
    for (int m = 1; m <= s.MeldCursor - 5 && m < kHandEntries; m += 3) {
      if (s.mj[m].kind != 3) continue;
      for (int j = h; j < end; ++j)
        if (code(j) == code(m)) {
          add(j, kKindAddedKong);
          break;
        }
    }
  if (p.OfferFlags & kKindKongFromDiscard)
    for (int i = h; i + 2 < end; ++i)
      if (code(i) == c.game.LastDiscard && code(i + 2) == c.game.LastDiscard) {
        add(i, kKindKongFromDiscard);
        break;
      }
  if (p.OfferFlags & kKindConcealedKong)
    for (int i = h; i + 3 < end; ++i)
      if (code(i) == code(i + 3)) add(i, kKindConcealedKong);

  Form& f = c.MainForm;
  const int shown = std::min(found, kGangButtons);
  for (int k = 0; k < shown; ++k)
    if (auto picture = PictureIndex(4, code(p.KongChoices[k]) & 0xFF))
      ShowResourcePicture(c, f.At("Gang", k), c.pictures.TilePictures[*picture]);

  if (c.tick.TurnState == 3) {
    if (found > 0) SendKongOfKind(c, first_kind, p.KongChoices[0]);
    return;
  }
  if (found == 1) {
    // The one candidate is claimed as the kind it was found as.
    Button(c, kButtonKong).visible = false;
    SendKongOfKind(c, first_kind, p.KongChoices[0]);
    return;
  }
  HideButtons(c, {0, 1, 3, 4});
  const Element& declare = Button(c, kButtonDeclare);
  const Element& win = Button(c, kButtonWin);
  for (int k = 0; k < shown; ++k) {
    Element& g = f.At("Gang", k);
    g.width = 0.8 * c.play.TileW[0];
    g.height = 0.8 * c.play.TileH[0];
    g.left = win.left;
    g.top = declare.top - 0.8 * g.height * k;
    g.visible = true;
    g.enabled = true;
    f.BringToFront(g);
  }
  c.tick.Countdown = static_cast<int16_t>(c.tick.TurnSeconds / 2);
  ShowTurnCountdown(c);
}

void Gang_Click(Client& c, int index) {
  if (c.tick.TurnState == 3 || !c.tick.TurnTimerAllowed) return;
  if (index < 0 || index >= kGangButtons) return;
  StopTurnCountdown(c);
  Form& f = c.MainForm;
  for (int k = 0; k < kGangButtons; ++k) {
    Element& g = f.At("Gang", k);
    g.enabled = g.visible = false;
  }
  HideButtons(c, {0, 1, 2, 3, 4});
  PlayState& p = c.play;
  const int j = p.KongChoices[index];
  p.KongChoices[0] = static_cast<int16_t>(j);
  const SeatState& s = c.game.custom[0];
  const int e = s.HandStart + s.HandCount;
  if (!Concealed(s, j, 1)) return;
  const auto code = [&](int i) { return s.mj[i].code; };
  const bool single = j + 1 < e ? code(j) != code(j + 1) : j - 1 < s.HandStart || code(j) != code(j - 1);
  int kind = 0;
  if ((p.OfferFlags & kKindAddedKong) && single)
    kind = kKindAddedKong;
  else if (j + 3 < e && (p.OfferFlags & kKindConcealedKong) && code(j) == code(j + 3))
    kind = kKindConcealedKong;
  else if (j + 2 < e && (p.OfferFlags & kKindKongFromDiscard) && code(j) == code(j + 2))
    kind = kKindKongFromDiscard;
  if (!kind) return;
  PlayClaimVoice(c, 0, kVoiceKong);
  SendKongOfKind(c, kind, j);
}

void StagePung(Client& c, int code) {
  SeatState& s = c.game.custom[0];
  if (!MeldRoom(s)) return;
  const int m = s.MeldCursor;
  for (int i = s.HandStart; Concealed(s, i, 2); ++i)
    if (s.mj[i].code == code && s.mj[i + 1].code == code) {
      s.mj[m - 2] = s.mj[i];
      s.mj[m - 1] = s.mj[i + 1];
      s.mj[m - 2].kind = s.mj[m - 1].kind = 3;
      break;
    }
  s.mj[m] = HandEntry{3, static_cast<int16_t>(code), c.game.LastDiscardSlot};
}

bool StageKong(Client& c, int i, int kind) {
  SeatState& s = c.game.custom[0];
  if (!Concealed(s, i, 3) || !MeldRoom(s)) return false;
  const int m = s.MeldCursor;
  for (int k = 0; k < 3; ++k) {
    s.mj[m - 2 + k] = s.mj[i + k];
    s.mj[m - 2 + k].kind = static_cast<int16_t>(kind == kKindConcealedKong ? 5 : 4);
  }
  c.play.KongChoices[0] = static_cast<int16_t>(i);
  return true;
}

bool StageAddedKong(Client& c, int i) {
  SeatState& s = c.game.custom[0];
  if (!Concealed(s, i, 1) || !MeldRoom(s)) return false;
  s.mj[s.MeldCursor - 2] = s.mj[i];
  s.mj[s.MeldCursor - 2].kind = 6;
  c.play.KongChoices[0] = static_cast<int16_t>(i);
  return true;
}

void SendPung(Client& c, int code) {
  StagePung(c, code);
  c.play.TurnActed = true;
  const int16_t t = ClaimWord(code);
  QueueClaim(c, kKindPung, t, t, t);
}

void SendKongFromDiscard(Client& c, int i) { SendKong(c, i, kKindKongFromDiscard); }

void SendConcealedKong(Client& c, int i) { SendKong(c, i, kKindConcealedKong); }

void SendAddedKong(Client& c, int i) {
  if (!StageAddedKong(c, i)) return;
  c.play.TurnActed = true;
  QueueClaim(c, kKindAddedKong, ClaimWord(c.game.custom[0].mj[i].code), 0, 0);
}

void SendWin(Client& c) { QueueClaim(c, kKindWin, 0, 0, 0); }

void PassOnOffer(Client& c) {
  if (c.play.TurnActed) return;
  QueueClaim(c, kKindPass, 0, 0, 0);
  c.play.TurnActed = true;
}

void ResetActionButtons(Client& c) {
  for (int i = 0; i < kActionButtons; ++i) {
    Element& b = Button(c, i);
    b.enabled = b.visible = false;
    if (i >= 1)
      ShowGreyed(c, i);
    else if (!AnyDeclared(c))
      ShowResourcePicture(c, b, kDeclareGreyed);
    else if (!c.play.Placing[0])
      ShowResourcePicture(c, b, kPlaceGreyed);
  }
}

void StopTurnCountdown(Client& c) {
  SwitchTaskOff(c, kTaskTurnCountdown);
  c.tick.TaskCounter[kTaskTurnCountdown] = 0;
  c.MainForm.At("Number").visible = false;
  c.MainForm.At("Time_Img").visible = false;
}

}  // namespace tess
