// Scoring of a won hand at the practice table, in 嘴 (the rule set's point
// unit), laid out as the settlement message's seat blocks.
//
// The winner scores: plain win 2; one suit 59, one suit with honours 30, all
// honours 59; dealer 3; dealer repeats 2 per repeat; void suit (exactly two
// numbered suits) 5; 报 4; one per placed wind; win on a kong replacement
// 10, or on the last tile of the wall 10 instead; closed wait its rank. A
// self-drawn win doubles the total. Money is total × unit coins: on a
// discard the discarder pays it all, on a self-drawn win each other seat
// pays it.
#pragma once

#include <array>
#include <cstdint>

#include "rules.h"

namespace tess::practice {

// Columns 2-54 of a seat's row, as its block bytes 0-52.
inline constexpr int kBlockColumns = 53;
using ScoreRow = std::array<uint8_t, kBlockColumns>;

struct WinFacts {
  int winner = 0;      // seat index
  int discarder = -1;  // seat index, -1 when self-drawn
  Tile tile = 0;       // the winning tile
  bool kong_replacement = false;
  bool last_tile = false;
  int dealer = 0;
  int dealer_repeats = 0;
};

struct HandScore {
  std::array<ScoreRow, 4> rows{};  // by seat index
  std::array<int64_t, 4> money{};  // by seat index; sums to 0
  int total = 0;                   // the winner's 嘴
};

// The column numbers the client reads (column = block byte + 2).
enum ScoreColumn : int {
  kColPaid = 4,  // exactly 1: this seat paid
  kColWinKind = 5,
  kColDealer = 6,
  kColRepeats = 7,
  kColHow = 8,  // 1 paid for a discard, 2 self-drawn
  kColVoidSuit = 9,
  kColDeclared = 10,  // bit 6: 报; low six bits: placed winds
  kColKongWin = 11,
  kColClosedWait = 16,
  kColLastTile = 20,
  kColMoney = 22,  // 22-29 little-endian magnitude
  kColSign = 30,   // 1 winner, 2 loss
  kColTotalHigh = 47,
  kColTotalLow = 48,
};

inline uint8_t& Column(ScoreRow& row, int column) { return row[column - 2]; }
inline uint8_t Column(const ScoreRow& row, int column) { return row[column - 2]; }

// `hands` by seat index; the winner's concealed tiles include the winning
// tile. `unit`: coins per 嘴.
HandScore ScoreWin(const std::array<SeatHand, 4>& hands, const WinFacts& facts, Tile wild, int64_t unit);

}  // namespace tess::practice
