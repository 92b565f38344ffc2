#include "spectator/twins.h"

#include <algorithm>

#include "core/client.h"
#include "play/claims.h"
#include "play/deal.h"
#include "play/discards.h"
#include "play/offers.h"

namespace tess {
namespace {

// The first concealed entry of the watched seat from which `count` tiles
// of `code` lie side by side (first and last compared, as the kong choice
// does); -1 when there is none.
int FirstRun(const SeatState& s, int code, int count) {
  const int end = std::min<int>(s.HandStart + s.HandCount, kHandEntries);
  for (int i = std::max<int>(s.HandStart, 0); i + count - 1 < end; ++i)
    if (s.mj[i].code == code && s.mj[i + count - 1].code == code) return i;
  return -1;
}

// The watched player's claim staged as its own client's sender staged it.
void StageWatchedClaim(Client& c, int kind, int code) {
  const SeatState& s = c.game.custom[0];
  // Without the tiles the confirmation finds no concealed tiles there.
  c.play.KongChoices[0] = -1;
  switch (kind) {
    case kPung: StagePung(c, code); break;
    case kKongFromDiscard: StageKong(c, FirstRun(s, code, 3), kind); break;
    case kConcealedKong: StageKong(c, FirstRun(s, code, 4), kind); break;
    case kAddedKong: StageAddedKong(c, FirstRun(s, code, 1)); break;
    default: break;
  }
}

}  // namespace

void OnSpectatorDeal(Client& c) {
  OnDeal(c);
  c.loop.WaitBlocking(kWatchedDealPauseMs);
}

void OnSpectatorDraw(Client& c) {
  OnDraw(c);
  c.loop.WaitBlocking(kWatchedDealPauseMs);
}

void OnSpectatorDiscard(Client& c) {
  ShowDiscardMessage(c, /*watching=*/true);
  c.loop.WaitBlocking(kWatchedDiscardPauseMs);
}

void OnSpectatorClaim(Client& c) {
  GameState& g = c.game;
  const std::array<int16_t, 3> tiles = {g.info.value[1], g.info.value[2], g.info.value[3]};
  const int kind = g.info.value[0];
  if (ViewSeatOf(g, g.info.Seat) == 0) StageWatchedClaim(c, kind, tiles[2] & 0xFF);
  ApplyClaim(c, kind, g.info.Seat, tiles, /*watching=*/true);
  // Every claim proper (kind 2 on) is announced.
  if (kind >= 2) c.loop.WaitBlocking(kWatchedClaimPauseMs);
}

}  // namespace tess
