#include "tiles.h"

#include <algorithm>
#include <sstream>

namespace tess::practice {

namespace {

constexpr int kSuitFirstKind[] = {0, 7, 16, 25};  // honours, bamboo, characters, dots
constexpr int kSuitMasks[] = {1, 2, 4, 8};

int SuitNumber(int mask) {
  for (int s = 0; s < 4; ++s)
    if (kSuitMasks[s] == mask) return s;
  return -1;
}

}  // namespace

bool IsTile(Tile t) {
  const int s = SuitNumber(SuitMask(t));
  if (s < 0) return false;
  return Rank(t) >= 1 && Rank(t) <= (s == 0 ? 7 : 9);
}

int KindOf(Tile t) { return kSuitFirstKind[SuitNumber(SuitMask(t))] + Rank(t) - 1; }

Tile TileOfKind(int kind) {
  int s = 3;
  while (kind < kSuitFirstKind[s]) --s;
  return static_cast<Tile>(kSuitMasks[s] << 4 | (kind - kSuitFirstKind[s] + 1));
}

Tile WildAfter(Tile indicator) {
  const int r = Rank(indicator);
  int next;
  if (!IsHonour(indicator)) next = r % 9 + 1;
  else if (r <= 4) next = r % 4 + 1;
  else next = (r - 5 + 1) % 3 + 5;
  return static_cast<Tile>((indicator & 0xF0) | next);
}

KindCounts CountKinds(const std::vector<Tile>& tiles) {
  KindCounts c{};
  for (Tile t : tiles) ++c[KindOf(t)];
  return c;
}

std::string TileName(Tile t) {
  static const char* const kHonours[] = {"E", "S", "W", "N", "R", "G", "Wh"};
  if (!IsTile(t)) return "-";
  if (IsHonour(t)) return kHonours[Rank(t) - 1];
  const char suit = SuitMask(t) == 2 ? 'b' : SuitMask(t) == 4 ? 'c' : 'd';
  return std::to_string(Rank(t)) + suit;
}

Wall::Wall(std::vector<Tile> tiles) : tiles_(std::move(tiles)) {}

Wall Wall::Shuffled(uint32_t seed) {
  std::vector<Tile> tiles = FullSet();
  std::mt19937 rng(seed);
  for (int i = kWallSize - 1; i > 0; --i) std::swap(tiles[i], tiles[rng() % static_cast<uint32_t>(i + 1)]);
  return Wall(std::move(tiles));
}

Tile Wall::TakeFront() { return tiles_[front_++]; }
Tile Wall::TakeBack() { return tiles_[back_--]; }

Tile Wall::PeekFront(int k) const { return k < Remaining() ? tiles_[front_ + k] : 0; }
Tile Wall::PeekBack(int k) const { return k < Remaining() ? tiles_[back_ - k] : 0; }

std::vector<Tile> FullSet() {
  std::vector<Tile> tiles;
  for (int kind = 0; kind < kKinds; ++kind)
    for (int copy = 0; copy < 4; ++copy) tiles.push_back(TileOfKind(kind));
  return tiles;
}

std::optional<std::vector<Tile>> ParseWall(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<Tile> tiles;
  for (std::string word; in >> word;) {
    size_t used = 0;
    unsigned long code = 0;
    try {
      code = std::stoul(word, &used, 16);
    } catch (const std::exception&) {
      return std::nullopt;
    }
    if (used != word.size() || code > 0xFF || !IsTile(static_cast<Tile>(code))) return std::nullopt;
    tiles.push_back(static_cast<Tile>(code));
  }
  std::vector<Tile> sorted = tiles;
  std::sort(sorted.begin(), sorted.end());
  std::vector<Tile> full = FullSet();
  std::sort(full.begin(), full.end());
  if (sorted != full) return std::nullopt;
  return tiles;
}

}  // namespace tess::practice
