#include "autoplay/discard_choice.h"

#include <array>

#include "table/dispatcher.h"

namespace tess {

namespace {

// The rank-1 tile of suit number u, which stands for the whole suit.
int SuitTile(int u) { return MaskOf(u) * 16 + 1; }

int16_t RefreshThenEvaluate(AnalysisState& a, GameState& gs, int mode, int tile) {
  RefreshTileCounts(a, gs);
  return EvaluateSuit(a, gs, mode, tile);
}

}  // namespace

int16_t ChooseDiscard(AnalysisState& a, GameState& gs) {
  SeatState& local = gs.custom[0];
  MjRange range = ConcealedRange(local);
  int chosen = range.end - 1;
  if (chosen < 0) throw HandlerFault("no hand entry to discard");
  // A suit other than the candidate's scores the same for every candidate:
  // evaluated once each, not once per tile.
  std::array<int, 4> whole_suit{};
  int all_suits = 0;
  if (range.first < range.end) {
    for (int u = 0; u < 4; ++u) {
      whole_suit[u] = RefreshThenEvaluate(a, gs, kEvalPlain, SuitTile(u));
      all_suits += whole_suit[u];
    }
  }
  int best = -20000;
  for (int i = range.first; i < range.end; ++i) {
    int t = local.mj[i].code & 0xFF;
    int s = *SuitNumber(t);
    int total = all_suits - whole_suit[s] + RefreshThenEvaluate(a, gs, kEvalWithoutTile, t);
    if (a.SuitsPresent == 3 && s == a.DropSuit) total += 6000;
    if (total > best) {
      best = total;
      chosen = i;
    }
  }
  return local.mj[chosen].code;
}

bool ShouldClaimPung(AnalysisState& a, GameState& gs, int tile) {
  a.ClaimPartner = 0;
  std::optional<int> s = SuitNumber(tile);
  std::optional<int> r = Rank(tile);
  if (!s || !r) throw HandlerFault("pung offered on no tile");
  RefreshTileCounts(a, gs);
  a.TileCount[*s][*r] -= 2;
  a.ClaimPartner = static_cast<int16_t>(MaskOf(*s) * 16 + *r);
  if (a.TileCount[*s][*r] < 0) throw HandlerFault("pung offered without a pair in the hand");
  int with = EvaluateSuit(a, gs, kEvalClaimWith, tile) + 1000;
  int without = RefreshThenEvaluate(a, gs, kEvalPlain, tile);
  return with - without > 150;
}

bool ShouldDeclareKong(AnalysisState& a, GameState& gs) {
  int total = 0;
  for (int u = 0; u < 4; ++u) total += RefreshThenEvaluate(a, gs, kEvalNoMeldBonus, SuitTile(u));
  return total > -100;
}

}  // namespace tess
