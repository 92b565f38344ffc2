// Server messages of a table, built as the game server sends them, and a
// seated client that has them delivered one at a time through its real
// socket, receive ring and tick.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/client_harness.h"

namespace tess::test {

// Type 3: the name of the seat with mask `seat`.
ServerPacket SeatNameMsg(uint8_t seat, const std::string& name);

struct ProfileFields {
  std::string account;
  std::string nick;        // UTF-8, sent as GBK
  std::string avatar;      // "" sends none
  uint8_t gender = 1;
  std::string location;    // UTF-8
  uint64_t points = 0, credit = 0, coins = 0;
  std::string level;       // UTF-8
  int32_t logins = 0, disconnects = 0, wins = 0, losses = 0;
  std::string title;       // UTF-8
  bool ready = false;
  uint64_t user_id = 0;
};
// Type 20 for `seat` (0 provisional, 15 the local player's own, or a mask).
ServerPacket ProfileMsg(uint8_t seat, const ProfileFields& f);
// Type 4: dealer mask and four dice.
ServerPacket HandStartMsg(uint8_t dealer, std::array<int16_t, 4> dice);
// Type 1: `per_seat` tiles each, the twelve tile words, the wild-tile box.
ServerPacket DealMsg(uint8_t seat, int16_t per_seat, const std::array<uint16_t, 12>& tiles, int16_t box = 0);
// Type 5: `seat` draws `code` (the local player's; 0 for others), value(1) = v1.
ServerPacket DrawMsg(uint8_t seat, int16_t code, int16_t v1 = 0);
// Type 2: `seat` discards `code` with mark value(1) and kind value(0).
ServerPacket DiscardMsg(uint8_t seat, int16_t code, int16_t mark = 0, int16_t kind = 0);
// Type 14: wild tile and indicator.
ServerPacket WildTileMsg(int16_t wild, int16_t indicator);
// Type 6: the action offer to `seat`, option bits `opts` in value(0).
ServerPacket OfferMsg(uint8_t seat, int16_t opts);
// Type 7: `seat`'s claim of `kind` with tiles(0..2).
ServerPacket ClaimMsg(uint8_t seat, int16_t kind, std::array<int16_t, 3> tiles);
// Type 15: up to four of `seat`'s tiles (taken value(3) first) and five
// wall tile bytes 16-20.
ServerPacket RevealMsg(uint8_t seat, std::array<int16_t, 4> tiles, std::array<uint8_t, 5> wall = {});

// A logged-in client ("alice", or the spectator "sam") whose server speaks
// through `Deliver`.
class TableScript {
 public:
  TableScript();
  // A spectator watching the player whose user id is `watched_user_id`.
  struct Watching {
    std::string watched_user_id;
  };
  explicit TableScript(const Watching& w);
  ClientHarness h;
  Client& c() { return *h.client; }

  // Sends `p` and runs the client until it has dispatched it (handlers that
  // pause finish first). False once the program has ended.
  bool Deliver(const ServerPacket& p);
  bool DeliverAll(const std::vector<ServerPacket>& ps);

  // The four seat names with alice at `own` (a mask) and the others "bob",
  // "carol", "dave" in seat order after her, then the four profiles by
  // seat mask (bob, carol and dave men unless `women`).
  bool SeatAt(uint8_t own, bool women = false);
  // A new hand with `dealer` and dice 1,1,1,1, then the deal of twelve
  // tiles each: the local tiles are `own` (12 codes).
  bool StartHand(uint8_t dealer, const std::array<uint16_t, 12>& own);
  // alice is seated at mask 1, deals `own`, draws `first`, each other seat draws once,
  // alice draws `last` (14 tiles, sorted), and the wild tile 0x25 is named.
  bool DealOwnTurn(const std::array<uint16_t, 12>& own, int16_t first, int16_t last);
  // alice is seated at mask 1 and bob (mask 2, her right) deals: alice is
  // dealt `own` and draws `draw` (13 tiles, sorted), bob holds 14, the
  // others 13, and the wild tile 0x25 is named.
  bool DealOthersTurn(const std::array<uint16_t, 12>& own, int16_t draw);

  // The mouse as the window system gives it, on a part of `e` no other
  // element covers (hovering: at its centre), or at table point (x, y):
  // down and up, or a move.
  void Click(const Element& e, int button = kButtonLeft);
  void Hover(const Element& e);
  void MoveOverTable(double x, double y);
  void ClickTable(double x, double y, int button);
  // Runs until the server has `n` packets of `type` in all after the
  // `after` first ones it received; returns those of that type.
  std::vector<ServerPacket> SentOfType(uint16_t type, size_t n, size_t after = 0);

  // The account at ViewSeat... as the script seated them.
  std::array<std::string, 4> names_by_index;  // by SeatIndex
};

}  // namespace tess::test
