// Puts a concealed hand in front of the local player, for the tests of the
// hand evaluation and the automatic player's choices.
#pragma once

#include <vector>

#include "table/game_state.h"

namespace tess::test {

// custom[0] holds `codes` as its concealed tiles from mj(HandStart = 4) on;
// the entries before them hold a meld's tiles that must not be counted.
inline void SetLocalHand(GameState& gs, const std::vector<int>& codes) {
  SeatState& local = gs.custom[0];
  local.HandStart = 4;
  local.HandCount = static_cast<int16_t>(codes.size());
  for (int i = 0; i < local.HandStart; ++i) local.mj[i] = HandEntry{3, 0x29, -1};
  int i = local.HandStart;
  for (int code : codes) local.mj[i++] = HandEntry{1, static_cast<int16_t>(code), -1};
}

}  // namespace tess::test
