// The colours of the result window's texts (0xRRGGBB): a seat's name is
// red for the winner (or, shown from the history, a seat that gained) and
// green for the others; the seats' columns are black.
#pragma once

#include <cstdint>

namespace tess {

inline constexpr uint32_t kWinnerNameColour = 0xFF0000;
inline constexpr uint32_t kOtherNameColour = 0x00FF00;
inline constexpr uint32_t kColumnTextColour = 0x000000;

}  // namespace tess
