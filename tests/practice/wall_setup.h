// Walls with chosen hands, for tests of the practice table. The table deals
// from the front of the wall (three passes of four tiles per seat from the
// dealer on, then one tile each, then the dealer's fourteenth), draws from
// the front after that, and takes the wild-tile indicator and every
// replacement draw from the back.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tiles.h"

namespace tess::practice::test {

struct WallPlan {
  std::array<std::vector<Tile>, 4> hands;  // thirteen tiles each, by seat index
  Tile dealer_extra = 0;                   // the dealer's fourteenth tile
  std::vector<Tile> draws;                 // the next tiles from the front
  std::vector<Tile> back;                  // back[0] the indicator, then replacements
};

// The 136-tile wall that deals `plan` with `dealer` dealing; every tile the
// plan leaves open fills the middle in a fixed order. Throws
// std::logic_error when the plan uses a kind more than four times.
std::vector<Tile> ArrangeWall(const WallPlan& plan, int dealer);
// The wall as one wall-file line.
std::string WallLine(const std::vector<Tile>& wall);

}  // namespace tess::practice::test
