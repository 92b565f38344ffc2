#include "support/table_script.h"

#include "platform/gbk.h"
#include "support/mouse.h"

namespace tess::test {
namespace {

void PutLe(ServerPacket& p, size_t at, uint64_t v, size_t n) {
  for (size_t i = 0; i < n; ++i) p.body[at - kBodyOffset + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

ServerPacket SeatNameMsg(uint8_t seat, const std::string& name) {
  ServerPacket p;
  p.type = 3;
  p.seat = seat;
  p.Text(16, name);
  return p;
}

ServerPacket ProfileMsg(uint8_t seat, const ProfileFields& f) {
  ServerPacket p;
  p.type = 20;
  p.seat = seat;
  p.Text(16, Utf8ToGbk(f.nick));
  p.Text(48, f.avatar);
  p.body[64 - kBodyOffset] = f.gender;
  p.Text(72, Utf8ToGbk(f.location));
  PutLe(p, 80, f.points, 8);
  PutLe(p, 88, f.credit, 8);
  PutLe(p, 96, f.coins, 8);
  p.Text(112, Utf8ToGbk(f.level));
  PutLe(p, 152, static_cast<uint32_t>(f.logins), 4);
  PutLe(p, 156, static_cast<uint32_t>(f.disconnects), 4);
  PutLe(p, 160, static_cast<uint32_t>(f.wins), 4);
  PutLe(p, 164, static_cast<uint32_t>(f.losses), 4);
  p.Text(168, f.account);
  p.Text(184, Utf8ToGbk(f.title));
  p.body[208 - kBodyOffset] = f.ready ? 1 : 0;
  PutLe(p, 226, f.user_id, 8);
  return p;
}

ServerPacket HandStartMsg(uint8_t dealer, std::array<int16_t, 4> dice) {
  ServerPacket p;
  p.type = 4;
  p.seat = dealer;
  p.value = dice;
  return p;
}

ServerPacket DealMsg(uint8_t seat, int16_t per_seat, const std::array<uint16_t, 12>& tiles, int16_t box) {
  ServerPacket p;
  p.type = 1;
  p.seat = seat;
  p.value = {0, per_seat, 0, box};
  for (size_t j = 0; j < tiles.size(); ++j) {
    p.body[2 * j] = static_cast<uint8_t>(tiles[j] >> 8);
    p.body[2 * j + 1] = static_cast<uint8_t>(tiles[j]);
  }
  return p;
}

ServerPacket DrawMsg(uint8_t seat, int16_t code, int16_t v1) {
  ServerPacket p;
  p.type = 5;
  p.seat = seat;
  p.value = {0, v1, 0, code};
  return p;
}

ServerPacket DiscardMsg(uint8_t seat, int16_t code, int16_t mark, int16_t kind) {
  ServerPacket p;
  p.type = 2;
  p.seat = seat;
  p.value = {kind, mark, 0, code};
  return p;
}

ServerPacket WildTileMsg(int16_t wild, int16_t indicator) {
  ServerPacket p;
  p.type = 14;
  p.value = {0, 0, wild, indicator};
  return p;
}

ServerPacket OfferMsg(uint8_t seat, int16_t opts) {
  ServerPacket p;
  p.type = 6;
  p.seat = seat;
  p.value = {opts, 0, 0, 0};
  return p;
}

ServerPacket ClaimMsg(uint8_t seat, int16_t kind, std::array<int16_t, 3> tiles) {
  ServerPacket p;
  p.type = 7;
  p.seat = seat;
  p.value = {kind, tiles[0], tiles[1], tiles[2]};
  return p;
}

ServerPacket RevealMsg(uint8_t seat, std::array<int16_t, 4> tiles, std::array<uint8_t, 5> wall) {
  ServerPacket p;
  p.type = 15;
  p.seat = seat;
  p.value = tiles;
  p.Bytes(16, wall);
  return p;
}

TableScript::TableScript() {
  if (h.LogIn()) c().TimerKeepAlive.SetEnabled(false);
}

bool TableScript::Deliver(const ServerPacket& p) {
  if (h.ended) return false;
  const int32_t read_before = c().packets.RecvReadPos;
  if (!h.server.Send(p)) return false;
  h.RunUntil([&] { return h.ended || c().packets.RecvReadPos != read_before; }, 20000);
  return !h.ended;
}

void TableScript::Click(const Element& e, int button) { ClickElement(h, e, button); }
void TableScript::Hover(const Element& e) { HoverElement(h, e); }
void TableScript::MoveOverTable(double x, double y) { test::MoveOverTable(h, x, y); }
void TableScript::ClickTable(double x, double y, int button) { test::ClickTable(h, x, y, button); }

std::vector<ServerPacket> TableScript::SentOfType(uint16_t type, size_t n, size_t after) {
  std::vector<ServerPacket> of_type;
  const auto collect = [&] {
    of_type.clear();
    const auto all = h.server.Received();
    for (size_t i = after; i < all.size(); ++i)
      if (all[i].type == type) of_type.push_back(all[i]);
    return of_type.size() >= n;
  };
  h.RunUntil(collect, 5000);
  collect();
  return of_type;
}

bool TableScript::DeliverAll(const std::vector<ServerPacket>& ps) {
  for (const ServerPacket& p : ps)
    if (!Deliver(p)) return false;
  return true;
}

bool TableScript::SeatAt(uint8_t own, bool women) {
  const int own_index = own == 8 ? 3 : own == 4 ? 2 : own == 2 ? 1 : 0;
  const char* others[] = {"bob", "carol", "dave"};
  names_by_index[own_index] = "alice";
  for (int k = 1; k < 4; ++k) names_by_index[(own_index + k) % 4] = others[k - 1];
  for (int i = 0; i < 4; ++i)
    if (!Deliver(SeatNameMsg(static_cast<uint8_t>(1 << i), names_by_index[i]))) return false;
  for (int i = 0; i < 4; ++i) {
    ProfileFields f;
    f.account = names_by_index[i];
    f.nick = f.account + "昵称";
    f.title = "新手";
    f.coins = 1000 + static_cast<uint64_t>(i);
    f.gender = names_by_index[i] == "alice" || !women ? 1 : 0;
    const uint8_t seat = i == own_index ? 15 : static_cast<uint8_t>(1 << i);
    if (!Deliver(ProfileMsg(seat, f))) return false;
  }
  return true;
}

bool TableScript::StartHand(uint8_t dealer, const std::array<uint16_t, 12>& own) {
  if (!Deliver(HandStartMsg(dealer, {1, 1, 1, 1}))) return false;
  for (int batch = 0; batch < 3; ++batch) {
    std::array<uint16_t, 12> words{};
    for (int k = 0; k < 4; ++k) words[k] = own[4 * batch + k];
    if (!Deliver(DealMsg(c().game.custom[0].Seat, 4, words))) return false;
  }
  return true;
}

bool TableScript::DealOwnTurn(const std::array<uint16_t, 12>& own, int16_t first, int16_t last) {
  return SeatAt(1) && StartHand(1, own) && DeliverAll({DrawMsg(1, first), DrawMsg(2, 0), DrawMsg(4, 0), DrawMsg(8, 0), DrawMsg(1, last),
                                          WildTileMsg(0x25, 0x24)});
}

bool TableScript::DealOthersTurn(const std::array<uint16_t, 12>& own, int16_t draw) {
  return SeatAt(1) && StartHand(2, own) && DeliverAll({DrawMsg(1, draw), DrawMsg(2, 0), DrawMsg(4, 0), DrawMsg(8, 0),
                                                       DrawMsg(2, 0), WildTileMsg(0x25, 0x24)});
}

}  // namespace tess::test
