#include "scoring/hand_analysis.h"

#include <cstdlib>

#include "table/dispatcher.h"

namespace tess {

namespace {

constexpr int kNoCandidate = 20000;
constexpr int kMaxPasses = 5;

// Option bits of an extraction candidate.
constexpr int kLowerRun = 1;   // r-2, r-1, r
constexpr int kMiddleRun = 2;  // r-1, r, r+1
constexpr int kUpperRun = 4;   // r, r+1, r+2
constexpr int kTriplet = 8;

using Row = std::array<int16_t, 10>;

// The weight of rank r (how tied it is to its neighbours) and the melds it
// could start, for a numbered suit or (numbered = false) the honours.
int Options(const Row& h, int r, bool numbered) {
  int options = 0;
  if (numbered) {
    if (r > 2 && h[r - 1] > 0 && h[r - 2] > 0) options |= kLowerRun;
    if (r > 1 && r < 9 && h[r - 1] > 0 && h[r + 1] > 0) options |= kMiddleRun;
    if (r < 8 && h[r + 1] > 0 && h[r + 2] > 0) options |= kUpperRun;
  }
  if (h[r] > 2) options |= kTriplet;
  return options;
}

int Weight(const Row& h, int r, bool numbered) {
  int w = 3 * h[r];
  if (numbered) {
    if (r > 2) w += h[r - 2];
    if (r > 1) w += 2 * h[r - 1];
    if (r < 9) w += 2 * h[r + 1];
    if (r < 8) w += h[r + 2];
  }
  return w;
}

// One extraction pass: pulls the most isolated complete meld out of h into
// m. False when no rank can start a meld.
bool ExtractMeld(Row& h, Row& w, Row& m, bool numbered) {
  w.fill(0);
  int best = kNoCandidate, r0 = 0, r0_options = 0;
  for (int r = 1; r <= 9; ++r) {
    if (h[r] < 1) continue;
    int options = Options(h, r, numbered);
    w[r] = static_cast<int16_t>(options ? Weight(h, r, numbered) : 0);
    if (w[r] > 0 && w[r] < best) {
      best = w[r];
      r0 = r;
      r0_options = options;
    }
  }
  if (r0 == 0) return false;

  struct Meld {
    int option, first, second, third, cost;
  };
  // In the order tried; an earlier meld wins a tie. Neighbours outside 1-9
  // belong only to options the candidate cannot have.
  auto at = [&w](int r) { return r >= 1 && r <= 9 ? static_cast<int>(w[r]) : 0; };
  const Meld melds[] = {
      {kTriplet, r0, r0, r0, 2 * at(r0)},
      {kUpperRun, r0, r0 + 1, r0 + 2, at(r0 + 1) + at(r0 + 2)},
      {kMiddleRun, r0 - 1, r0, r0 + 1, at(r0 - 1) + at(r0 + 1)},
      {kLowerRun, r0 - 2, r0 - 1, r0, at(r0 - 2) + at(r0 - 1)},
  };
  const Meld* chosen = nullptr;
  int lowest = kNoCandidate;
  for (const Meld& meld : melds) {
    if ((r0_options & meld.option) && meld.cost < lowest) {
      lowest = meld.cost;
      chosen = &meld;
    }
  }
  for (int r : {chosen->first, chosen->second, chosen->third}) {
    --h[r];
    ++m[r];
  }
  return true;
}

int HonoursLeftover(const Row& h, const Row& m, const Row& seen) {
  int score = 0;
  for (int r = 1; r <= 7; ++r) {
    if (h[r] <= 0) continue;
    score -= h[r] == 1 ? 60 : 30;
    score += -2 * seen[r] + 50 * m[r];
  }
  return score;
}

// How closely the leftover tiles of a numbered suit connect: each rank
// costs 60 (less in the middle) and gains from the copies and the melds
// around it.
int NumberedLeftover(const Row& h, const Row& m, const Row& seen) {
  int score = 0;
  for (int r = 1; r <= 9; ++r) {
    if (h[r] <= 0) continue;
    score += -60 - 2 * seen[r] + (4 - std::abs(r - 5));
    for (int q = 1; q <= 9; ++q) {
      int d = std::abs(r - q);
      if (h[q] > 0) {
        if (d <= 1) score += (3 * h[q] * (10 - d)) / 2;
        else if (d == 2) score += (h[q] * (10 - d)) / 2;
        else if (d <= 4) score += (h[q] * (10 - d)) / 3;
      }
      if (m[q] > 0 && d < 3) score += (m[q] * (10 - d)) / 2;
    }
  }
  return score;
}

}  // namespace

MjRange ConcealedRange(const SeatState& seat) {
  int first = seat.HandStart, end = seat.HandStart + seat.HandCount;
  if (first < 0 || seat.HandCount < 0 || end > kHandEntries) {
    throw HandlerFault("concealed tiles outside the hand entries");
  }
  return {first, end};
}

void RefreshTileCounts(AnalysisState& a, GameState& gs) {
  for (int s = 0; s < 4; ++s) {
    a.TileCount[s].fill(0);
    a.MeldCount[s].fill(0);
  }
  SeatState& local = gs.custom[0];
  MjRange range = ConcealedRange(local);
  for (int i = range.first; i < range.end; ++i) {
    HandEntry& e = local.mj[i];
    e.code = static_cast<int16_t>(e.code & 0xFF);
    std::optional<int> rank = Rank(e.code);
    if (rank) ++a.TileCount[*SuitNumber(e.code)][*rank];
  }
}

int16_t EvaluateSuit(AnalysisState& a, const GameState& gs, int mode, int tile) {
  std::optional<int> suit = SuitNumber(tile);
  if (!suit) throw HandlerFault("tile code outside a byte");
  const int s = *suit;
  const std::optional<int> t = Rank(tile);
  Row& h = a.TileCount[s];
  Row& m = a.MeldCount[s];
  const bool without_tile = mode == kEvalWithoutTile && t;
  const bool numbered = s > 0;

  int score = 0;
  if (without_tile) --h[*t];
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    if (!ExtractMeld(h, a.ConnectWeight[s], m, numbered)) break;
    if (mode < kEvalNoMeldBonus) score += 1000;
  }
  const Row& seen = gs.SeenCount[s];
  score += numbered ? NumberedLeftover(h, m, seen) : HonoursLeftover(h, m, seen);
  if (without_tile) ++h[*t];
  return static_cast<int16_t>(score);
}

void ChooseDropSuit(AnalysisState& a, const GameState& gs) {
  a.DropSuit = -1;
  a.SuitsPresent = 0;
  const SeatState& local = gs.custom[0];
  MjRange range = ConcealedRange(local);
  std::array<int, 4> per_suit{};
  for (int i = range.first; i < range.end; ++i) ++per_suit[*SuitNumber(local.mj[i].code & 0xFF)];
  for (int j = 1; j <= 3; ++j) {
    if (per_suit[j] > 0) ++a.SuitsPresent;
  }
  if (a.SuitsPresent != 3) return;
  int fewest = 20;
  for (int j = 1; j <= 3; ++j) {
    if (per_suit[j] <= fewest) {
      fewest = per_suit[j];
      a.DropSuit = static_cast<int16_t>(j);
    }
  }
}

}  // namespace tess
