#include "table/game_state.h"

#include <cmath>

namespace tess {

std::optional<int> SeatIndexOf(int mask) {
  if (mask < 0 || mask > 0x0F) return std::nullopt;
  return mask >= 8 ? 3 : mask >= 4 ? 2 : mask >= 2 ? 1 : 0;
}

uint8_t MaskOf(int index) {
  if (index < 0 || index >= kSeatCount) return 0;
  return static_cast<uint8_t>(1 << index);
}

std::optional<int> ViewSeatOf(const GameState& gs, int mask) {
  std::optional<int> own = SeatIndexOf(gs.custom[0].Seat);
  std::optional<int> other = SeatIndexOf(mask);
  if (!own || !other) return std::nullopt;
  return (*own - *other + kSeatCount) % kSeatCount;
}

std::optional<int> SuitNumber(int code) {
  if (code < 0 || code > 0xFF) return std::nullopt;
  return SeatIndexOf(code >> 4);
}

std::optional<int> Rank(int code) {
  if (code < 0 || code > 0xFF) return std::nullopt;
  int rank = code & 0x0F;
  if (rank < 1 || rank > 9) return std::nullopt;
  return rank;
}

std::optional<int> PictureIndex(int group, int code) {
  if (group < 0 || group >= kPictureGroups) return std::nullopt;
  std::optional<int> suit = SuitNumber(code);
  std::optional<int> rank = Rank(code);
  if (!suit || !rank) return std::nullopt;
  return kPicturesPerGroup * group + 9 * *suit + *rank - 1;
}

namespace {

struct SeatAnchors {
  int hand_x, hand_y, discard_x, discard_y;
};

// Reference layout (1024 x 768), by ViewSeat.
constexpr std::array<SeatAnchors, kSeatCount> kAnchors{{
    {19, 564, 358, 438},
    {153, 192, 287, 238},
    {842, 122, 635, 238},
    {952, 560, 758, 438},
}};

int16_t Scaled(int reference, float scale) {
  return static_cast<int16_t>(std::lround(reference * static_cast<double>(scale)));
}

}  // namespace

void SetUpSeatPositions(GameState& gs) {
  for (int v = 0; v < kSeatCount; ++v) {
    SeatState& s = gs.custom[v];
    const SeatAnchors& a = kAnchors[v];
    s.HandX = Scaled(a.hand_x, gs.ScaleX);
    s.HandY = Scaled(a.hand_y, gs.ScaleY);
    s.DiscardX = s.DiscardRowX = Scaled(a.discard_x, gs.ScaleX);
    s.DiscardY = s.DiscardRowY = Scaled(a.discard_y, gs.ScaleY);
  }
}

void ResetSeatTiles(GameState& gs) {
  for (int v = 0; v < kSeatCount; ++v) {
    SeatState& s = gs.custom[v];
    for (HandEntry& e : s.mj) {
      e.kind = 0;
      e.slot = -1;
    }
    s.MeldCursor = v == 0 ? 3 : 4;
    s.HandStart = 4;
    s.HandCount = 0;
    s.AsideCountA = 0;
    s.AsideCountB = 0;
  }
  for (auto& rows : gs.AsideSlots) rows.fill(0);
}

void ResetHandRecords(GameState& gs) {
  ResetSeatTiles(gs);
  for (int v = 0; v < kSeatCount; ++v) {
    gs.custom[v].HandScore = 0;
    gs.custom[v].IsDealer = false;
    gs.SeatNames[v].clear();
  }
  gs.HandInProgress = false;
  gs.WildTile = -1;
  gs.SeatCounter = 0;
}

}  // namespace tess
