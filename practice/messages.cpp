#include "messages.h"

#include <algorithm>

#include "core/packet.h"
#include "platform/gbk.h"

namespace tess::practice {

namespace {

Packet Build(int16_t type, uint8_t seat, std::array<int16_t, 4> values = {}, uint8_t aux_b = 0) {
  MessageRecord m;
  m.MsgType = type;
  m.Seat = seat;
  m.AuxB = aux_b;
  m.value = values;
  return EncodeMessage(m, TagBytes{});
}

// Bytes of `text` from `at`, at most `max` of them, never splitting a
// double-byte GBK character.
void PutBytes(Packet& p, size_t at, size_t max, std::string_view bytes) {
  size_t n = 0;
  while (n < bytes.size()) {
    const size_t width = static_cast<uint8_t>(bytes[n]) >= 0x80 ? 2 : 1;
    if (n + width > max || n + width > bytes.size()) break;
    n += width;
  }
  std::copy_n(bytes.begin(), n, p.begin() + static_cast<std::ptrdiff_t>(at));
}

void PutGbk(Packet& p, size_t at, size_t max, std::string_view utf8) { PutBytes(p, at, max, Utf8ToGbk(utf8)); }

void PutLittle(Packet& p, size_t at, size_t width, uint64_t v) {
  for (size_t i = 0; i < width; ++i) p[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

int16_t Dice(int d) { return static_cast<int16_t>(d); }

}  // namespace

void StampTag(Packet& p, const TagBytes& tag) {
  p[kOffTag] = tag[0];
  p[kOffTag + 1] = tag[1];
}

Packet LoginAnswer(int result, int turn_seconds, int timeout_limit, std::string_view notice) {
  Packet p = Build(kTypeLogin, 0,
                   {static_cast<int16_t>(timeout_limit), static_cast<int16_t>(turn_seconds), 0,
                    static_cast<int16_t>(result)});
  PutBytes(p, kOffBody, 99, notice);
  return p;
}

Packet ReconnectAnswer(bool resumed) { return Build(kTypeReconnectReply, 0, {0, 0, 0, resumed ? int16_t{1} : int16_t{0}}); }

Packet SeatName(int seat, std::string_view account) {
  Packet p = Build(kTypeSeatName, MaskOfSeat(seat));
  PutBytes(p, kOffBody, 16, account);
  return p;
}

Packet SeatInfo(uint8_t seat_field, const Profile& pr, bool ready) {
  Packet p = Build(kTypeSeatInfo, seat_field);
  PutGbk(p, 16, 32, pr.nick);
  PutBytes(p, 48, 16, pr.avatar);
  p[64] = static_cast<uint8_t>(pr.gender);
  PutGbk(p, 72, 8, pr.location);
  PutLittle(p, 80, 8, static_cast<uint64_t>(std::max<int64_t>(pr.points, 0)));
  PutLittle(p, 88, 8, static_cast<uint64_t>(std::max<int64_t>(pr.credit, 0)));
  PutLittle(p, 96, 8, static_cast<uint64_t>(std::max<int64_t>(pr.coins, 0)));
  PutGbk(p, 112, 16, pr.level);
  PutLittle(p, 152, 4, pr.logins);
  PutLittle(p, 156, 4, pr.disconnects);
  PutLittle(p, 160, 4, pr.wins);
  PutLittle(p, 164, 4, pr.losses);
  PutBytes(p, 168, 16, pr.account);
  PutGbk(p, 184, 24, pr.title);
  p[208] = ready ? 1 : 0;
  PutLittle(p, 226, 8, pr.user_id);
  return p;
}

Packet ReadyMark(std::string_view account) {
  Packet p = Build(kTypePlayerReady, 0, {1, 0, 0, 0});
  PutBytes(p, kOffBody, 16, account);
  return p;
}

Packet RoundInfo(int dealer, const std::array<int, 4>& dice, Tile wild, Tile indicator) {
  // A spectator breaks the wall from the two throws' sums, as a seat does
  // from the four dice.
  return Build(kTypeRoundStart, MaskOfSeat(dealer), {Dice(dice[0] + dice[1]), Dice(dice[2] + dice[3]), wild, indicator});
}

Packet HandStart(int dealer, const std::array<int, 4>& dice, int hand_number, int repeats) {
  Packet p = Build(kTypeHandStart, MaskOfSeat(dealer), {Dice(dice[0]), Dice(dice[1]), Dice(dice[2]), Dice(dice[3])});
  p[16] = static_cast<uint8_t>(hand_number);
  p[17] = static_cast<uint8_t>(repeats);
  return p;
}

Packet Deal(int seat, const std::vector<Tile>& twelve, Tile box_tile) {
  Packet p = Build(kTypeDeal, MaskOfSeat(seat), {0, 12, 0, box_tile});
  for (size_t j = 0; j < twelve.size() && j < 12; ++j) p[17 + 2 * j] = twelve[j];
  return p;
}

Packet Draw(int seat, Tile tile) { return Build(kTypeDraw, MaskOfSeat(seat), {0, 0, 0, tile}); }

Packet WildTile(Tile wild, Tile indicator) { return Build(kTypeWildTile, 0, {0, 0, wild, indicator}); }

Packet Offer(int seat, int options) { return Build(kTypeActionOffer, MaskOfSeat(seat), {static_cast<int16_t>(options), 0, 0, 0}); }

Packet Discard(int seat, Tile tile, int mark, bool follows) {
  return Build(kTypeDiscard, MaskOfSeat(seat), {follows ? int16_t{3} : int16_t{0}, static_cast<int16_t>(mark), 0, tile});
}

Packet Claim(int seat, int kind, Tile tile) {
  if (kind == kWin) return Build(kTypeClaimResult, MaskOfSeat(seat), {static_cast<int16_t>(kind), 0, 0, tile});
  return Build(kTypeClaimResult, MaskOfSeat(seat), {static_cast<int16_t>(kind), tile, tile, tile});
}

Packet Reveal(int seat, const std::vector<Tile>& up_to_four, const std::array<Tile, 5>& wall) {
  std::array<int16_t, 4> v{};
  for (size_t i = 0; i < up_to_four.size() && i < 4; ++i) v[3 - i] = up_to_four[i];
  Packet p = Build(kTypeHandReveal, MaskOfSeat(seat), v);
  std::copy(wall.begin(), wall.end(), p.begin() + 16);
  return p;
}

Packet HandResult(int seat, int64_t money) {
  Packet p = Build(kTypeHandResult, MaskOfSeat(seat), {0, 1, 0, 0});
  PutLittle(p, 16, 8, static_cast<uint64_t>(money));
  return p;
}

Packet Settlement(const HandScore& score, const std::array<std::string, 4>& levels) {
  Packet p = Build(kTypeSettlement, 0, {0, 0, 1, 1});  // no bars, no tax, gold coins
  for (int s = 0; s < 4; ++s) {
    const size_t block = 16 + 60 * static_cast<size_t>(s);
    ScoreRow row = score.rows[s];
    const std::string level = Utf8ToGbk(levels[s]);
    // Columns 31-46: up to eight double-byte characters; a single-byte one
    // cannot stand there, so the title ends before it.
    for (size_t k = 0; k + 1 < level.size() && k < 16; k += 2) {
      if (static_cast<uint8_t>(level[k]) < 0x80) break;
      Column(row, 31 + static_cast<int>(k)) = static_cast<uint8_t>(level[k]);
      Column(row, 32 + static_cast<int>(k)) = static_cast<uint8_t>(level[k + 1]);
    }
    std::copy(row.begin(), row.end(), p.begin() + static_cast<std::ptrdiff_t>(block));
    p[block + 54] = MaskOfSeat(s);
  }
  return p;
}

Packet ChatRelay(int seat, const std::array<int16_t, 4>& values, std::string_view title_gbk_prefix,
                 const uint8_t* text, size_t text_len) {
  Packet p = Build(kTypeChat, MaskOfSeat(seat), values);
  std::string line(title_gbk_prefix);
  line.append(reinterpret_cast<const char*>(text), text_len);
  PutBytes(p, kOffBody, kChatBytes, line);
  return p;
}

Packet PlayerLeft(std::string_view account) {
  Packet p = Build(kTypePlayerLeft, 0);
  PutBytes(p, kOffBody, 16, account);
  return p;
}

Packet PlayersLeft(uint8_t remaining) { return Build(kTypePlayerQuit, remaining, {0, 0, 0, 1}); }

Packet OtherExit(std::string_view text) {
  Packet p = Build(kTypeOtherExit, 0);
  PutGbk(p, kOffBody, 200, text);
  return p;
}

Packet Snapshot(const SnapshotSeat& s) {
  Packet p = Build(kTypeSnapshot, MaskOfSeat(s.seat),
                   {0, static_cast<int16_t>(s.taken_front), 0, static_cast<int16_t>(s.taken_back)},
                   static_cast<uint8_t>(s.discards));
  size_t i = 0;
  auto put = [&](uint8_t flag, Tile t) {
    if (i >= 24) return;
    p[16 + 2 * i] = flag;
    p[17 + 2 * i] = t;
    ++i;
  };
  for (Tile t : s.exposed) put(0x20, t);
  for (Tile t : s.concealed) put(0x10, t);
  return p;
}

}  // namespace tess::practice
