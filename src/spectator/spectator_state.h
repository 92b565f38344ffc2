// What a spectator keeps beside the shared table state: the seat-information
// messages (type 20) stored until all four have come, from which the
// watched table is built.
#pragma once

#include <array>
#include <cstdint>

#include "core/packet_format.h"
#include "table/game_state.h"

namespace tess {

struct SpectatorState {
  // The raw type-20 messages in arrival order; StoredSeatCount of them.
  std::array<Packet, kSeatCount> StoredSeatInfo{};
  int16_t StoredSeatCount = 0;
};

}  // namespace tess
