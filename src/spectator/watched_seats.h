// How a spectator's table is oriented: the watched player's seat plays the
// local seat (ViewSeat 0) and the other three are placed by their seat
// masks relative to it. Pure functions on the received values, which are
// untrusted: a seat byte is reduced to its low four bits first, and a pair
// of masks that fits no placing rule (0, the watched seat itself, most
// masks of several bits) yields no place.
#pragma once

#include <array>
#include <optional>

#include "table/game_state.h"

namespace tess {

// The ViewSeat of the seat with mask s at a table watched from mask t:
// 3 when s = 2t or (s = 1 and t = 8); 2 when s = 4t or t = 4s; 1 when
// t = 2s or (s = 8 and t = 1); nullopt otherwise.
std::optional<int> WatchedViewSeat(int s, int t);

// The first of the four profiles whose UserId is `user_id`; nullopt when
// none is.
std::optional<int> FindWatchedProfile(const std::array<PlayerInfo, kSeatCount>& profiles, double user_id);

}  // namespace tess
