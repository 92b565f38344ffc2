#include "practice/wall_setup.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace tess::practice::test {

std::vector<Tile> ArrangeWall(const WallPlan& plan, int dealer) {
  std::vector<Tile> front;
  for (int pass = 0; pass < 3; ++pass)
    for (int i = 0; i < 4; ++i) {
      const std::vector<Tile>& h = plan.hands[(dealer + i) % 4];
      front.insert(front.end(), h.begin() + 4 * pass, h.begin() + 4 * pass + 4);
    }
  for (int i = 0; i < 4; ++i) front.push_back(plan.hands[(dealer + i) % 4][12]);
  front.push_back(plan.dealer_extra);
  front.insert(front.end(), plan.draws.begin(), plan.draws.end());

  std::vector<Tile> rest = FullSet();
  auto take = [&](Tile t) {
    auto it = std::find(rest.begin(), rest.end(), t);
    if (it == rest.end()) throw std::logic_error("the plan uses a tile more than four times");
    rest.erase(it);
  };
  for (Tile t : front) take(t);
  for (Tile t : plan.back) take(t);
  std::vector<Tile> wall = front;
  wall.insert(wall.end(), rest.begin(), rest.end());
  wall.insert(wall.end(), plan.back.rbegin(), plan.back.rend());
  return wall;
}

std::string WallLine(const std::vector<Tile>& wall) {
  std::string line;
  for (Tile t : wall) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02x", t);
    if (!line.empty()) line += ' ';
    line += hex;
  }
  return line;
}

}  // namespace tess::practice::test
