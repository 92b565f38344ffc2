// ChooseDiscard on a fourteen-tile hand of all four suits: the choice runs
// inside a 50 ms tick beside drawing and must stay under 20 microseconds.
#include <benchmark/benchmark.h>

#include "autoplay/discard_choice.h"

namespace tess {
namespace {

void BM_ChooseDiscardFourteenTiles(benchmark::State& state) {
  GameState gs;
  AnalysisState a;
  SeatState& local = gs.custom[0];
  const int16_t hand[] = {0x21, 0x22, 0x24, 0x27, 0x27, 0x43, 0x45, 0x46,
                          0x81, 0x82, 0x89, 0x11, 0x15, 0x15};
  local.HandStart = 4;
  local.HandCount = 14;
  for (int i = 0; i < 14; ++i) local.mj[4 + i] = HandEntry{1, hand[i], -1};
  gs.SeenCount[1][3] = 2;
  gs.SeenCount[3][9] = 1;
  ChooseDropSuit(a, gs);
  for (auto _ : state) benchmark::DoNotOptimize(ChooseDiscard(a, gs));
}
BENCHMARK(BM_ChooseDiscardFourteenTiles);

}  // namespace
}  // namespace tess
