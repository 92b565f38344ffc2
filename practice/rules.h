// The practice table's rules, a simple version of the rule set: a winning
// hand is four melds (a triplet or a run of one suit) and a pair, counting
// the seat's exposed melds; a wild tile in the concealed hand stands for any
// tile; claims are pung, the three kongs and win (no chow). 报 (declare) is
// open to the first seat whose closed hand would be one tile from winning
// after its discard and locks that hand; once somebody has declared, 摆
// (place winds) is open to every seat that holds a wind, and every wind it
// discards from then on is a placed wind. A locked hand claims no pung or
// kong from a discard. A discarded wild tile cannot be claimed.
#pragma once

#include <cstdint>
#include <vector>

#include "tiles.h"

namespace tess::practice {

// Offer bits (message 6) and claim kinds (message 7) share their values.
enum Action : int {
  kPass = 1,
  kDeclare = 2,       // 报, offer only
  kPlace = 4,         // 摆, offer only
  kPung = 8,
  kKong = 16,         // on the discard
  kConcealedKong = 32,
  kAddedKong = 64,
  kWin = 128,
};

struct Meld {
  Tile tile = 0;
  int kind = kPung;  // kPung, kKong, kConcealedKong or kAddedKong
};

// One seat's tiles and declarations during a hand.
struct SeatHand {
  std::vector<Tile> concealed;  // the newest tile last
  std::vector<Meld> melds;
  bool declared = false;  // 报: the hand is locked
  bool placing = false;   // 摆 (or 报): winds discarded from now on are placed
  int placed_winds = 0;
  int discards = 0;
};

int MeldsNeeded(const SeatHand& hand);

// `tiles` (3n + 2 of them, n = `melds_needed`) form n melds and a pair, each
// copy of `wild` standing for any tile.
bool IsWinningHand(const std::vector<Tile>& tiles, int melds_needed, Tile wild);
// Some tile would complete `tiles` (3n + 1 of them).
bool IsReadyHand(const std::vector<Tile>& tiles, int melds_needed, Tile wild);
// The winning tile `t`, taken from `tiles` (which include it), can stand in
// the middle of a run of a winning arrangement: a closed wait.
bool IsClosedWait(const std::vector<Tile>& tiles, Tile t, int melds_needed, Tile wild);

// What `hand` may do with another seat's discard `t`: kPass plus any of
// kPung, kKong, kWin; just kPass when nothing is possible.
int DiscardOptions(const SeatHand& hand, Tile t, Tile wild);
// What the seat whose turn it is may do with its 3n + 2 concealed tiles:
// kPass, and kWin, kConcealedKong, kAddedKong, kDeclare or kPlace when open.
// `someone_declared`: a seat has declared 报 this hand.
int TurnOptions(const SeatHand& hand, Tile wild, bool someone_declared);

// The discard the table makes for a seat that does not answer: the tile
// with the fewest partners (3 per other copy; for a numbered tile, 2 per
// tile one rank away and 1 per tile two ranks away), never a wild tile while
// another is left; the newer of equal tiles. A locked hand discards its
// newest tile.
Tile TimeoutDiscard(const SeatHand& hand, Tile wild);

// The tile of a concealed kong (four equal natural tiles) in `hand`, or 0.
Tile ConcealedKongTile(const SeatHand& hand, Tile wild);
// A concealed tile that extends one of the seat's exposed pungs, or 0.
Tile AddedKongTile(const SeatHand& hand, Tile wild);

}  // namespace tess::practice
