#include "scoring.h"

namespace tess::practice {

namespace {

// High nibble of column 5: 1 one suit, 2 one suit with honours, 4 all honours.
int SuitItem(const SeatHand& hand, Tile wild, bool* void_suit) {
  int suits = 0;
  bool honours = false;
  auto see = [&](Tile t) {
    if (t == wild) return;
    if (IsHonour(t)) honours = true;
    else suits |= SuitMask(t);
  };
  for (Tile t : hand.concealed) see(t);
  for (const Meld& m : hand.melds) see(m.tile);
  const int count = (suits & 2 ? 1 : 0) + (suits & 4 ? 1 : 0) + (suits & 8 ? 1 : 0);
  *void_suit = count == 2;
  if (count == 0) return honours ? 4 : 0;
  if (count == 1) return honours ? 2 : 1;
  return 0;
}

void PutMoney(ScoreRow& row, int64_t money) {
  uint64_t magnitude = static_cast<uint64_t>(money < 0 ? -money : money);
  for (int i = 0; i < 8; ++i) Column(row, kColMoney + i) = static_cast<uint8_t>(magnitude >> (8 * i));
  if (money > 0) Column(row, kColSign) = 1;
  if (money < 0) Column(row, kColSign) = 2;
}

void PutTotal(ScoreRow& row, int total) {
  Column(row, kColTotalHigh) = static_cast<uint8_t>(total >> 8);
  Column(row, kColTotalLow) = static_cast<uint8_t>(total);
}

}  // namespace

HandScore ScoreWin(const std::array<SeatHand, 4>& hands, const WinFacts& facts, Tile wild, int64_t unit) {
  HandScore score;
  const SeatHand& hand = hands[facts.winner];
  ScoreRow& row = score.rows[facts.winner];
  int zui = 2;  // plain win
  bool void_suit = false;
  const int suit_item = SuitItem(hand, wild, &void_suit);
  Column(row, kColWinKind) = static_cast<uint8_t>(0x01 | suit_item << 4);
  zui += suit_item == 1 || suit_item == 4 ? 59 : suit_item == 2 ? 30 : 0;
  if (facts.winner == facts.dealer) {
    Column(row, kColDealer) = 1;
    zui += 3;
    if (facts.dealer_repeats > 0) {
      Column(row, kColRepeats) = static_cast<uint8_t>(facts.dealer_repeats);
      zui += 2 * facts.dealer_repeats;
    }
  }
  if (void_suit) {
    Column(row, kColVoidSuit) = 1;
    zui += 5;
  }
  const int placed = hand.placed_winds < 63 ? hand.placed_winds : 63;
  Column(row, kColDeclared) = static_cast<uint8_t>((hand.declared ? 0x40 : 0) | placed);
  zui += (hand.declared ? 4 : 0) + placed;
  if (facts.last_tile) {
    Column(row, kColLastTile) = 1;
    zui += 10;
  } else if (facts.kong_replacement) {
    Column(row, kColKongWin) = 1;
    zui += 10;
  }
  if (IsClosedWait(hand.concealed, facts.tile, MeldsNeeded(hand), wild)) {
    Column(row, kColClosedWait) = facts.tile;
    zui += Rank(facts.tile);
  }
  const bool self_drawn = facts.discarder < 0;
  if (self_drawn) {
    Column(row, kColHow) = 2;
    zui *= 2;
  }
  score.total = zui;
  PutTotal(row, zui);

  const int64_t price = zui * unit;
  for (int s = 0; s < 4; ++s) {
    if (s == facts.winner || (!self_drawn && s != facts.discarder)) continue;
    score.money[s] = -price;
    score.money[facts.winner] += price;
    ScoreRow& payer = score.rows[s];
    PutTotal(payer, zui);
    if (!self_drawn) {
      Column(payer, kColPaid) = 1;
      Column(payer, kColHow) = 1;
    }
  }
  for (int s = 0; s < 4; ++s) PutMoney(score.rows[s], score.money[s]);
  return score;
}

}  // namespace tess::practice
