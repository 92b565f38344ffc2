#include "spectator/watched_seats.h"

namespace tess {

std::optional<int> WatchedViewSeat(int s, int t) {
  s &= 0x0F;
  t &= 0x0F;
  if (s == 0 || t == 0) return std::nullopt;
  if (s == 2 * t || (s == 1 && t == 8)) return 3;
  if (s == 4 * t || t == 4 * s) return 2;
  if (t == 2 * s || (s == 8 && t == 1)) return 1;
  return std::nullopt;
}

std::optional<int> FindWatchedProfile(const std::array<PlayerInfo, kSeatCount>& profiles, double user_id) {
  for (int k = 0; k < kSeatCount; ++k)
    if (profiles[k].UserId == user_id) return k;
  return std::nullopt;
}

}  // namespace tess
