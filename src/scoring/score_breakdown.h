// The hand-result table a won hand's settlement message (type 17) fills,
// and the score breakdown shown from it: for every seat a fixed column of
// 20 lines, one item of the rule set per line, so the same item stands on
// the same line in all four columns of the result window.
//
// Row v of the table belongs to view seat v; its 55 columns hold, in 0,
// the room's bar count, in 1, 1 for a table played for gold coins (any
// other value: gold bars), and in 2-54 the bytes 0-52 of the seat's block
// in the message: scoring items in 4-20, the money result's magnitude in
// 22-29 (little-endian), the won/lost mark in 30, the level title's GBK
// pairs in 31-46 and the hand total in 47-48.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "scoring/result_view.h"
#include "table/game_state.h"

namespace tess {

inline constexpr int kResultColumns = 55;
inline constexpr int kBreakdownLines = 20;

using HandResultRow = std::array<int16_t, kResultColumns>;

struct HandResultState {
  std::array<HandResultRow, kSeatCount> HandResult{};  // by ViewSeat
  uint8_t NoTaxFlag = 0;  // not 0: the hand pays no tax
};

// Decodes the settlement message in gs.info and gs.LastPacket into `out`:
// columns 0 and 1 of every row from the four parameters, then each of the
// four 60-byte seat blocks at bytes 16 + 60k into the row of the view seat
// its byte 54 names. A row no block names keeps its columns 2-54. Throws
// HandlerFault, leaving `out` unchanged, when a block's seat mask names no
// seat (above four bits), the bar count does not fit 16 bits or the no-tax
// parameter does not fit a byte.
void DecodeSettlement(const GameState& gs, HandResultState& out);

struct SeatBreakdown {
  std::array<std::string, kBreakdownLines> lines;  // UTF-8; an absent item is an empty line
  uint32_t name_colour = kOtherNameColour;
};

// The 20 breakdown lines of one row and the colour its seat's name takes.
SeatBreakdown BreakdownOf(const HandResultRow& row);

// Appends the breakdown of row v to State(v) and colours ID(v), for the
// four view seats in order.
void ShowScoreBreakdown(const HandResultState& result, ResultView& view);

// The seat's money result: columns 22-29 as one number, negated when
// column 30 is 2 (a loss).
double HandMoneyOf(const HandResultRow& row);

}  // namespace tess
