#include "scoring/score_breakdown.h"

#include <initializer_list>
#include <limits>

#include "table/dispatcher.h"

namespace tess {

namespace {

constexpr size_t kBlockSize = 60;
constexpr size_t kBlockSeatByte = 54;
constexpr size_t kBlockColumns = 53;  // block bytes 0-52 -> columns 2-54

enum Column {
  kColBars = 0,
  kColGoldCoins = 1,
  kColStraight = 4,   // high nibble: 1 straight, 2 six in a row, 4 twice six
  kColOneSuit = 5,    // low nibble 1 plain win; high nibble 1, 2, 4 the one-suit kinds
  kColDealer = 6,
  kColDealerRepeats = 7,
  kColHowWon = 8,     // 1 paid for a discard, 2 self-drawn
  kColVoidSuit = 9,
  kColDeclared = 10,  // 64 and above: declared; low 6 bits: winds laid out
  kColKongWin = 11,
  kColEightTiles = 12,
  kColPairs1 = 13,
  kColPairs2 = 14,
  kColPairs3 = 15,
  kColClosedWait = 16,  // the tile
  kColRobbedKong = 17,
  kColThreeHeads = 18,
  kColFourHeads = 19,
  kColLastTile = 20,
  kColMoneyLow = 22,
  kColMoneyHigh = 29,
  kColWonLost = 30,  // 1 won, 2 lost
  kColTotalHigh = 47,
  kColTotalLow = 48,
};

std::string Spaces(int n) { return std::string(n, ' '); }
std::string Zui(int n) { return std::to_string(n) + "嘴"; }

// label, `gap` spaces, the value in zui; empty when `present` is false.
std::string Item(bool present, const char* label, int gap, int value) {
  return present ? label + Spaces(gap) + Zui(value) : std::string();
}

// label n, `gap` spaces, factor * n zui; empty for n = 0.
std::string CountItem(const char* label, int n, int gap, int factor) {
  return n ? label + std::to_string(n) + Spaces(gap) + Zui(factor * n) : std::string();
}

// The item of the kind a column's nibble names, or an empty line.
struct KindItem {
  int kind;
  const char* label;
  int gap, value;
};
std::string KindLine(int kind, std::initializer_list<KindItem> items) {
  for (const KindItem& item : items) {
    if (item.kind == kind) return item.label + Spaces(item.gap) + Zui(item.value);
  }
  return "";
}

std::string ClosedWaitLine(int tile) {
  if (tile == 0) return "";
  int rank = tile & 0x0F;
  const char* suit = "";
  switch (tile >> 4) {
    case 2: suit = "条"; break;
    case 4: suit = "万"; break;
    case 8: suit = "筒"; break;
  }
  return "夹 " + std::to_string(rank) + suit + Spaces(6) + Zui(rank);
}

std::string WinOnLine(const HandResultRow& row) {
  if (row[kColLastTile] != 0) return "海底捞" + Spaces(6) + Zui(10);
  if (row[kColKongWin] != 0) return "杠开" + Spaces(8) + Zui(10);
  return "";
}

std::string HowWonLine(const HandResultRow& row) {
  if (row[kColHowWon] == 1) return "点炮";
  if (row[kColHowWon] == 2) return "自摸 × 2";
  if (row[kColRobbedKong] != 0) return "抢杠";
  return "";
}

}  // namespace

void DecodeSettlement(const GameState& gs, HandResultState& out) {
  const MessageRecord& m = gs.info;
  int bars = 256 * m.value[0] + m.value[1];
  if (bars < std::numeric_limits<int16_t>::min() || bars > std::numeric_limits<int16_t>::max()) {
    throw HandlerFault("bar count outside 16 bits");
  }
  if (m.value[2] < 0 || m.value[2] > 255) throw HandlerFault("no-tax flag outside a byte");

  HandResultState decoded = out;
  decoded.NoTaxFlag = static_cast<uint8_t>(m.value[2]);
  for (HandResultRow& row : decoded.HandResult) {
    row[kColBars] = static_cast<int16_t>(bars);
    row[kColGoldCoins] = m.value[3];
  }
  for (size_t k = 0; k < kSeatCount; ++k) {
    const size_t block = kOffBody + kBlockSize * k;
    std::optional<int> v = ViewSeatOf(gs, gs.LastPacket[block + kBlockSeatByte]);
    if (!v) throw HandlerFault("settlement block for no seat");
    HandResultRow& row = decoded.HandResult[*v];
    for (size_t b = 0; b < kBlockColumns; ++b) row[b + 2] = gs.LastPacket[block + b];
  }
  out = decoded;
}

SeatBreakdown BreakdownOf(const HandResultRow& row) {
  SeatBreakdown out;
  auto& l = out.lines;
  l[0] = Item(row[kColDealer] != 0, "庄家", 8, 3);
  l[1] = Item(row[kColDealerRepeats] != 0, "连庄", 8, 2 * row[kColDealerRepeats]);
  l[2] = (row[kColOneSuit] & 0x0F) == 1 ? "屁胡" + Spaces(8) + Zui(2) : " ";
  l[3] = KindLine(row[kColOneSuit] >> 4, {{1, "清一色", 6, 59}, {2, "草一色", 6, 30}, {4, "风一色", 6, 59}});
  l[4] = KindLine(row[kColStraight] >> 4, {{1, "通天", 8, 20}, {2, "连六", 8, 10}, {4, "连六×2", 5, 20}});
  l[5] = Item(row[kColVoidSuit] != 0, "缺门", 8, 5);
  l[6] = Item(row[kColDeclared] >= 64, "报嘴", 8, 4);
  int winds = row[kColDeclared] & 0x3F;
  l[7] = Item(winds != 0, "摆风", 8, winds);
  l[8] = Item(row[kColEightTiles] != 0, "八张", 8, row[kColEightTiles]);
  l[9] = CountItem("铺列1对×", row[kColPairs1], 2, 5);
  l[10] = CountItem("铺列2对×", row[kColPairs2], 2, 10);
  l[11] = CountItem("铺列3对×", row[kColPairs3], 2, 20);
  l[12] = ClosedWaitLine(row[kColClosedWait]);
  l[13] = CountItem("三个头×", row[kColThreeHeads], 3, 10);
  l[14] = CountItem("四个头×", row[kColFourHeads], 3, 20);
  l[15] = WinOnLine(row);
  l[16] = HowWonLine(row);
  int total = 256 * row[kColTotalHigh] + row[kColTotalLow];
  bool won = row[kColWonLost] == 1;
  l[17] = std::string("胡牌番数") + (won ? Spaces(4) : "   -") + Zui(total);
  out.name_colour = won ? kWinnerNameColour : kOtherNameColour;
  l[18] = "";
  l[19] = std::string(26, '-');
  return out;
}

void ShowScoreBreakdown(const HandResultState& result, ResultView& view) {
  for (int v = 0; v < kSeatCount; ++v) {
    SeatBreakdown b = BreakdownOf(result.HandResult[v]);
    view.State[v].insert(view.State[v].end(), b.lines.begin(), b.lines.end());
    view.IdColour[v] = b.name_colour;
  }
}

double HandMoneyOf(const HandResultRow& row) {
  double money = row[kColMoneyHigh];
  for (int c = kColMoneyHigh - 1; c >= kColMoneyLow; --c) money = money * 256 + row[c];
  return row[kColWonLost] == 2 ? -money : money;
}

}  // namespace tess
