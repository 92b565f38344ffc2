// The packets the practice server sends, one builder per message type, in
// the 272-byte layout the client reads (core/packet_format.h). Seats travel
// as masks (1, 2, 4, 8 for seat indices 0-3). Texts given in UTF-8 go out in
// GBK. The connection tag (bytes 260-261) is left 0: the sender stamps each
// recipient's own tag (StampTag).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/packet_format.h"
#include "profiles.h"
#include "scoring.h"
#include "tiles.h"

namespace tess::practice {

inline constexpr uint8_t MaskOfSeat(int seat) { return static_cast<uint8_t>(1 << seat); }

void StampTag(Packet& p, const TagBytes& tag);

// 18: the login answer. `result` 1 accepted, 3 refused.
Packet LoginAnswer(int result, int turn_seconds, int timeout_limit, std::string_view notice);
// 29: the reconnect answer, 1 resumed, 0 refused.
Packet ReconnectAnswer(bool resumed);
// 3: the name of seat `seat`.
Packet SeatName(int seat, std::string_view account);
// 20: a profile. `seat_field`: 0 provisional, 15 the recipient's own, or a mask.
Packet SeatInfo(uint8_t seat_field, const Profile& p, bool ready);
// 23: `account` is ready.
Packet ReadyMark(std::string_view account);
// 41: round information, for spectators: value(0) and value(1) are the
// sums of the new hand's two throws.
Packet RoundInfo(int dealer, const std::array<int, 4>& dice, Tile wild, Tile indicator);
// 4: a new hand; bytes 16 and 17 carry the hand number and the dealer's repeats.
Packet HandStart(int dealer, const std::array<int, 4>& dice, int hand_number, int repeats);
// 1: the recipient's twelve dealt tiles (three passes of four) and the tile
// of the wild-tile box.
Packet Deal(int seat, const std::vector<Tile>& twelve, Tile box_tile);
// 5: seat draws; `tile` 0 for every recipient but the drawer.
Packet Draw(int seat, Tile tile);
// 14: the wild tile and its indicator.
Packet WildTile(Tile wild, Tile indicator);
// 6: the actions `seat` may take (bits of rules.h).
Packet Offer(int seat, int options);
// 2: seat discarded `tile`; mark 1 报, 2 a placed wind; `follows`: it
// follows the dealer's first discard.
Packet Discard(int seat, Tile tile, int mark, bool follows);
// 7: seat's claim of `kind` on `tile`.
Packet Claim(int seat, int kind, Tile tile);
// 15: up to four of seat's concealed tiles (value(3) first) and the five
// wall tiles (next two at the back, next three at the front).
Packet Reveal(int seat, const std::vector<Tile>& up_to_four, const std::array<Tile, 5>& wall);
// 9: seat's money result of the hand.
Packet HandResult(int seat, int64_t money);
// 17: the settlement of a won hand; `levels` the seats' level titles.
Packet Settlement(const HandScore& score, const std::array<std::string, 4>& levels);
// 19: a chat line from `seat` relayed with `title` in front; `values` as sent.
Packet ChatRelay(int seat, const std::array<int16_t, 4>& values, std::string_view title_gbk_prefix,
                 const uint8_t* text, size_t text_len);
// 21: `account` left the table.
Packet PlayerLeft(std::string_view account);
// 16 (form 1): the game ends; `remaining` is the mask of the seats still there.
Packet PlayersLeft(uint8_t remaining);
// 22: the game at this table is over, with a text.
Packet OtherExit(std::string_view text);

// 40: one seat of a table snapshot. `exposed` are the seat's meld tiles (a
// kong four times), `concealed` its hand (tiles 0 where the recipient may
// not see them).
struct SnapshotSeat {
  int seat = 0;
  int discards = 0;
  int taken_front = 0;
  int taken_back = 0;
  std::vector<Tile> exposed;
  std::vector<Tile> concealed;
};
Packet Snapshot(const SnapshotSeat& s);

}  // namespace tess::practice
