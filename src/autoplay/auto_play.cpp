#include "autoplay/auto_play.h"

#include "autoplay/discard_choice.h"
#include "core/client.h"
#include "play/deal.h"
#include "play/hand_input.h"
#include "play/offers.h"
#include "play/tile_slots.h"
#include "scoring/hand_analysis.h"

namespace tess {
namespace {

constexpr int kPungButton = 1, kKongButton = 2, kWinButton = 3;
constexpr int kConcealedKongBit = 32, kDiscardKongBit = 16, kAddedKongBit = 64;
constexpr int kRedDragon = 0x15;

bool Offered(const Client& c, int button) { return c.play.OfferedActions[button] == 2; }

// Every action and choice button out of sight, as an answered offer leaves them.
void ResetButtons(Client& c) {
  ResetActionButtons(c);
  for (const char* name : {"Gang", "Chi"})
    for (Element* b : c.MainForm.Array(name)) b->enabled = b->visible = false;
}

// The discard as the player's click lays it out and sends it; the turn's
// own bookkeeping (its state, the timeout streak, the click permission)
// stays the automatic player's.
void AutoDiscard(Client& c, int slot) {
  TickState& t = c.tick;
  const int16_t state = t.TurnState, streak = t.TimeoutStreak;
  const bool allowed = c.play.DiscardAllowed;
  DiscardTile(c, slot, t.HandLocked);
  t.TurnState = state;
  t.TimeoutStreak = streak;
  c.play.DiscardAllowed = allowed;
}

// The concealed tile discarded: the first concealed entry with `code`, else
// the last one.
void DiscardCode(Client& c, int code) {
  const SeatState& s = c.game.custom[0];
  const MjRange r = ConcealedRange(s);
  if (r.end <= r.first) return;
  int entry = r.end - 1;
  for (int i = r.first; i < r.end; ++i)
    if (s.mj[i].code == code) {
      entry = i;
      break;
    }
  AutoDiscard(c, s.mj[entry].slot);
}

void TraceTurn(Client& c, bool full) { c.trace.Event("autoplay", full ? "\"full\":true" : "\"full\":false"); }

}  // namespace

bool HoldSingleWild(Client& c) {
  const GameState& g = c.game;
  const SeatState& s = g.custom[0];
  const MjRange r = ConcealedRange(s);
  const int flags = c.play.OfferFlags;
  int wilds = 0;
  for (int i = r.first; i < r.end; ++i) wilds += s.mj[i].code == g.WildTile;
  if (s.HandCount < 6) return false;
  auto first_concealed = [&](int code) {
    for (int i = r.first; i < r.end; ++i)
      if (s.mj[i].code == code) return true;
    return false;
  };
  bool before = false;
  if (flags & kAddedKongBit) {
    before = first_concealed(kRedDragon);
    for (int i = 1; i + 2 <= s.MeldCursor - 3 && !before; i += 3)
      if (s.mj[i].kind == 3 && first_concealed(s.mj[i].code)) before = true;
  }
  if ((flags & kDiscardKongBit) && !before)
    for (int i = r.first; i + 2 < r.end && !before; ++i)
      before = s.mj[i].code == g.LastDiscard && s.mj[i + 2].code == g.LastDiscard;
  if ((flags & kConcealedKongBit) && !before)
    for (int i = r.first; i + 3 < r.end && !before; ++i) before = s.mj[i].code == s.mj[i + 3].code;
  const bool wild_kong = (flags & kAddedKongBit) && first_concealed(g.WildTile);
  return wild_kong && !before && wilds < 2;
}

void AutoPlayTurn(Client& c) {
  TraceTurn(c, true);
  GameState& g = c.game;
  PlayState& p = c.play;
  AnalysisState& a = c.analysis;
  if (a.NeedSuitChoice == 1) {
    ChooseDropSuit(a, g);
    a.NeedSuitChoice = 0;
  }
  ResetButtons(c);
  bool acted = false;
  SeatState& s = g.custom[0];
  if (Offered(c, kWinButton) && !p.TurnActed) {
    p.TurnActed = acted = true;
    PlayClaimVoice(c, 0, kVoiceWin);
    SetSoundVolume(c, kMaxSoundVolume);
    SetHandTileSize(c);
    if (!HoldsDiscardCount(s)) {
      // The winning tile is the discard in the centre: into the hand.
      Element* tile = FindTile(c, g.LastDiscardSlot);
      const MjRange r = ConcealedRange(s);
      Element* last = r.end > r.first ? FindTile(c, s.mj[r.end - 1].slot) : nullptr;
      if (tile && last) {
        tile->height = p.TileH[0];
        tile->width = p.TileW[0];
        tile->top = s.HandY;
        tile->left = last->left + p.TileW[0];
        ShowFace(c, g.LastDiscardSlot, 0, g.LastDiscard);
      }
    }
    SendWin(c);
  }
  if (Offered(c, kKongButton) && !p.TurnActed && !acted && !HoldSingleWild(c) && ShouldDeclareKong(a, g)) {
    p.TurnActed = acted = true;
    if (p.OfferFlags & kConcealedKongBit) SortAndRedrawHand(c, 0, s.HandCount);
    p.DiscardAllowed = false;
    ChooseKong(c);
  }
  if (Offered(c, kPungButton) && !p.TurnActed && !acted && ShouldClaimPung(a, g, g.LastDiscard)) {
    p.TurnActed = acted = true;
    PlayClaimVoice(c, 0, kVoicePung);
    SetSoundVolume(c, kMaxSoundVolume);
    p.DiscardAllowed = false;
    SendPung(c, a.ClaimPartner);
  }
  PassOnOffer(c);
  if (!HoldsDiscardCount(s) || acted) return;
  const MjRange r = ConcealedRange(s);
  if (r.end <= r.first) return;
  DiscardCode(c, c.tick.HandLocked ? s.mj[r.end - 1].code : ChooseDiscard(a, g));
}

void TimeoutPlayTurn(Client& c) {
  TraceTurn(c, false);
  ResetButtons(c);
  PassOnOffer(c);
  SeatState& s = c.game.custom[0];
  if (!HoldsDiscardCount(s)) return;
  c.play.DiscardAllowed = false;
  const MjRange r = ConcealedRange(s);
  if (r.end > r.first) AutoDiscard(c, s.mj[r.end - 1].slot);
}

}  // namespace tess
