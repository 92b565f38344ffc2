#include "spectator/watched_table.h"

#include "core/client.h"
#include "spectator/watched_seats.h"
#include "table/new_hand.h"
#include "table/seats.h"

namespace tess {

bool StoreWatchedSeatInfo(Client& c) {
  SpectatorState& w = c.watch;
  if (w.StoredSeatCount < 0 || w.StoredSeatCount >= kSeatCount) w.StoredSeatCount = 0;
  w.StoredSeatInfo[w.StoredSeatCount] = c.game.LastPacket;
  if (++w.StoredSeatCount < kSeatCount) return false;
  BuildSpectatorTable(c);
  w.StoredSeatCount = 0;
  return true;
}

void BuildSpectatorTable(Client& c) {
  GameState& g = c.game;
  const auto& stored = c.watch.StoredSeatInfo;
  // 1. The four profiles.
  std::array<PlayerInfo, kSeatCount> profiles;
  for (int k = 0; k < kSeatCount; ++k) profiles[k] = DecodeProfile(stored[k]);
  // 2.-4. The watched player at the bottom, the others around it.
  if (const auto k = FindWatchedProfile(profiles, g.players[0].UserId)) {
    const int t = stored[*k][kOffSeat] & 0x0F;
    g.custom[0].Seat = static_cast<uint8_t>(t);
    g.custom[0].Name = profiles[*k].Account;
    ShowCompass(c);
    g.players[0] = profiles[*k];
    for (int j = 0; j < kSeatCount; ++j) {
      const int s = stored[j][kOffSeat] & 0x0F;
      const auto v = WatchedViewSeat(s, t);
      if (!v) continue;
      g.custom[*v].Seat = static_cast<uint8_t>(s);
      g.custom[*v].Name = profiles[j].Account;
      g.players[*v] = profiles[j];
    }
  }
  // 5. The dealer and the break of the wall.
  for (int v = 0; v < kSeatCount; ++v) {
    if (g.custom[v].Seat != g.DealerSeat) continue;
    g.custom[v].IsDealer = true;
    const WallBreak at = BreakWall(v, g.RoundDice[0], g.RoundDice[1]);
    g.WallFront = static_cast<int16_t>(at.front);
    g.WallBack = static_cast<int16_t>(at.back);
    break;
  }
  // 6. Every seat's profile on the table and the boards.
  for (int v = 0; v < kSeatCount; ++v) ShowProfile(c, v);
}

}  // namespace tess
