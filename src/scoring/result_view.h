// The result window's texts as plain data: the lists State(0..7) (State(v)
// the column of view seat v, State(v + 4) its final line "最终分：" +
// number + unit), the text colour of the four columns and the colours of
// the name labels ID(0..3). The score breakdown and the history file fill
// it; the window shows it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tess {

// Colours, 0xRRGGBB: a seat's name is red for the winner (or, shown from
// the history, a seat that gained) and green for the others; the columns
// are black.
inline constexpr uint32_t kWinnerNameColour = 0xFF0000;
inline constexpr uint32_t kOtherNameColour = 0x00FF00;
inline constexpr uint32_t kColumnTextColour = 0x000000;

inline constexpr int kResultLists = 8;
using ResultLists = std::array<std::vector<std::string>, kResultLists>;

struct ResultView {
  ResultLists State;
  std::array<uint32_t, 4> StateColour{};  // text colour of State(0..3)
  std::array<uint32_t, 4> IdColour{};     // colour of the name labels ID(0..3)
};

}  // namespace tess
