#include "rules.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace tess::practice {

namespace {

bool NumberedKind(int kind) { return kind >= 7; }
// Rank 1-9 of a numbered kind.
int KindRank(int kind) { return (kind - 7) % 9 + 1; }

// Can the counted tiles and `wilds` form `melds` melds and, if `pair`, a
// pair? The lowest kind left must be part of one of them, so only the
// groups that contain it are tried.
bool Form(KindCounts& c, int wilds, int melds, bool pair) {
  int i = 0;
  while (i < kKinds && c[i] == 0) ++i;
  if (i == kKinds) return wilds == melds * 3 + (pair ? 2 : 0);

  auto attempt = [&](int a, int b, int used_wilds, int melds_left, bool pair_left) {
    if (used_wilds > wilds) return false;
    --c[a];
    if (b >= 0) --c[b];
    const bool ok = (b < 0 || c[b] >= 0) && Form(c, wilds - used_wilds, melds_left, pair_left);
    ++c[a];
    if (b >= 0) ++c[b];
    return ok;
  };
  if (pair) {
    if (c[i] >= 2 && attempt(i, i, 0, melds, false)) return true;
    if (attempt(i, -1, 1, melds, false)) return true;
  }
  if (melds == 0) return false;
  // Triplets: three, two or one natural copies.
  if (c[i] >= 3) {
    c[i] -= 3;
    const bool ok = Form(c, wilds, melds - 1, pair);
    c[i] += 3;
    if (ok) return true;
  }
  if (c[i] >= 2 && attempt(i, i, 1, melds - 1, pair)) return true;
  if (attempt(i, -1, 2, melds - 1, pair)) return true;
  // Runs with i as their lowest natural tile.
  if (NumberedKind(i)) {
    const int r = KindRank(i);
    if (r <= 7 && c[i + 1] > 0 && c[i + 2] > 0) {
      --c[i];
      --c[i + 1];
      --c[i + 2];
      const bool ok = Form(c, wilds, melds - 1, pair);
      ++c[i];
      ++c[i + 1];
      ++c[i + 2];
      if (ok) return true;
    }
    if (r <= 8 && c[i + 1] > 0 && attempt(i, i + 1, 1, melds - 1, pair)) return true;
    if (r <= 7 && c[i + 2] > 0 && attempt(i, i + 2, 1, melds - 1, pair)) return true;
  }
  return false;
}

bool CanForm(const std::vector<Tile>& tiles, int melds, bool pair, Tile wild) {
  if (static_cast<int>(tiles.size()) != melds * 3 + (pair ? 2 : 0)) return false;
  KindCounts c{};
  int wilds = 0;
  for (Tile t : tiles) {
    if (t == wild) ++wilds;
    else ++c[KindOf(t)];
  }
  return Form(c, wilds, melds, pair);
}

std::vector<Tile> Without(std::vector<Tile> tiles, Tile t) {
  auto it = std::find(tiles.begin(), tiles.end(), t);
  if (it != tiles.end()) tiles.erase(it);
  return tiles;
}

int CountOf(const std::vector<Tile>& tiles, Tile t) {
  return static_cast<int>(std::count(tiles.begin(), tiles.end(), t));
}

}  // namespace

int MeldsNeeded(const SeatHand& hand) { return 4 - static_cast<int>(hand.melds.size()); }

bool IsWinningHand(const std::vector<Tile>& tiles, int melds_needed, Tile wild) {
  return CanForm(tiles, melds_needed, true, wild);
}

bool IsReadyHand(const std::vector<Tile>& tiles, int melds_needed, Tile wild) {
  std::vector<Tile> with = tiles;
  with.push_back(0);
  for (int kind = 0; kind < kKinds; ++kind) {
    with.back() = TileOfKind(kind);
    if (IsWinningHand(with, melds_needed, wild)) return true;
  }
  return false;
}

bool IsClosedWait(const std::vector<Tile>& tiles, Tile t, int melds_needed, Tile wild) {
  if (IsHonour(t) || t == wild || Rank(t) < 2 || Rank(t) > 8 || melds_needed < 1) return false;
  const Tile below = static_cast<Tile>(t - 1), above = static_cast<Tile>(t + 1);
  if (below == wild || above == wild || CountOf(tiles, below) < 1 || CountOf(tiles, above) < 1) return false;
  std::vector<Tile> rest = Without(Without(Without(tiles, t), below), above);
  return IsWinningHand(rest, melds_needed - 1, wild);
}

int DiscardOptions(const SeatHand& hand, Tile t, Tile wild) {
  int options = kPass;
  if (t == wild) return options;
  std::vector<Tile> with = hand.concealed;
  with.push_back(t);
  if (IsWinningHand(with, MeldsNeeded(hand), wild)) options |= kWin;
  if (!hand.declared) {
    const int held = CountOf(hand.concealed, t);
    if (held >= 2) options |= kPung;
    if (held >= 3) options |= kKong;
  }
  return options;
}

Tile TimeoutDiscard(const SeatHand& hand, Tile wild) {
  const std::vector<Tile>& tiles = hand.concealed;
  if (hand.declared) return tiles.back();
  Tile best = tiles.back();
  int best_score = INT32_MAX;
  for (Tile t : tiles) {
    if (t == wild) continue;
    int score = 3 * (CountOf(tiles, t) - 1);
    if (!IsHonour(t))
      for (Tile u : tiles) {
        if (u == wild || SuitMask(u) != SuitMask(t)) continue;
        const int d = std::abs(Rank(u) - Rank(t));
        score += d == 1 ? 2 : d == 2 ? 1 : 0;
      }
    if (score <= best_score) {
      best_score = score;
      best = t;
    }
  }
  return best;
}

Tile ConcealedKongTile(const SeatHand& hand, Tile wild) {
  for (Tile t : hand.concealed)
    if (t != wild && CountOf(hand.concealed, t) == 4) return t;
  return 0;
}

Tile AddedKongTile(const SeatHand& hand, Tile wild) {
  for (const Meld& m : hand.melds)
    if (m.kind == kPung && m.tile != wild && CountOf(hand.concealed, m.tile) > 0) return m.tile;
  return 0;
}

int TurnOptions(const SeatHand& hand, Tile wild, bool someone_declared) {
  int options = kPass;
  const int needed = MeldsNeeded(hand);
  if (IsWinningHand(hand.concealed, needed, wild)) options |= kWin;
  if (ConcealedKongTile(hand, wild)) options |= kConcealedKong;
  if (AddedKongTile(hand, wild)) options |= kAddedKong;
  if (!someone_declared && !hand.declared && hand.melds.empty()) {
    for (Tile t : hand.concealed)
      if (IsReadyHand(Without(hand.concealed, t), needed, wild)) {
        options |= kDeclare;
        break;
      }
  }
  if (someone_declared && !hand.placing &&
      std::any_of(hand.concealed.begin(), hand.concealed.end(), [](Tile t) { return IsWind(t); }))
    options |= kPlace;
  return options;
}

}  // namespace tess::practice
