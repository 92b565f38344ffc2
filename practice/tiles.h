// Tiles and the wall of the practice table.
//
// A tile is the one-byte code of the wire: high nibble the suit mask (1
// honours, 2 bamboo, 4 characters, 8 dots), low nibble the rank (honours 1-7:
// east, south, west, north, red, green, white). The 34 kinds are numbered
// 0-33 in that order (honours, bamboo, characters, dots) for counting.
//
// The wall holds the 136 tiles in the order they are taken: the front at
// index 0 feeds the deal and the ordinary draws, the back at index 135 gives
// the wild-tile indicator and the replacement draws after a kong. A hand is
// drawn when front and back have met.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tess::practice {

using Tile = uint8_t;

inline constexpr int kKinds = 34;
inline constexpr int kWallSize = 136;

inline constexpr int SuitMask(Tile t) { return t >> 4; }
inline constexpr int Rank(Tile t) { return t & 0x0F; }
inline constexpr bool IsHonour(Tile t) { return SuitMask(t) == 1; }
inline constexpr bool IsWind(Tile t) { return IsHonour(t) && Rank(t) >= 1 && Rank(t) <= 4; }

// True for the 34 real tile codes.
bool IsTile(Tile t);
// 0-33 for a real tile; REQUIRES: IsTile(t).
int KindOf(Tile t);
Tile TileOfKind(int kind);
// The tile that follows the indicator and so is wild this hand: the next rank
// of a numbered suit (9 wraps to 1), the next wind (north wraps to east), the
// next dragon (white wraps to red).
Tile WildAfter(Tile indicator);

// Counts per kind.
using KindCounts = std::array<int, kKinds>;
KindCounts CountKinds(const std::vector<Tile>& tiles);

// Log form of a tile: rank and suit letter (5b, 9c, 1d; honours E S W N R G Wh).
std::string TileName(Tile t);

class Wall {
 public:
  // REQUIRES: `tiles` is a full set (each kind four times, see ParseWall).
  explicit Wall(std::vector<Tile> tiles);
  // Every tile once, shuffled with `seed` (Fisher-Yates on mt19937's raw
  // output, so the same seed gives the same wall everywhere).
  static Wall Shuffled(uint32_t seed);

  int Remaining() const { return back_ - front_ + 1; }
  bool Empty() const { return Remaining() <= 0; }
  // REQUIRES: !Empty().
  Tile TakeFront();
  Tile TakeBack();
  int TakenFromFront() const { return front_; }
  int TakenFromBack() const { return kWallSize - 1 - back_; }
  // The tile `k` places behind the front (or before the back), 0 when that
  // place is no longer in the wall.
  Tile PeekFront(int k) const;
  Tile PeekBack(int k) const;

 private:
  std::vector<Tile> tiles_;
  int front_ = 0;
  int back_ = kWallSize - 1;
};

// A full set of 136 tiles in a fixed order: every kind four times.
std::vector<Tile> FullSet();
// One wall-file line: 136 tile codes in hexadecimal separated by spaces, in
// taking order. nullopt unless it is a full set.
std::optional<std::vector<Tile>> ParseWall(std::string_view line);

}  // namespace tess::practice
