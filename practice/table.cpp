#include "table.h"

#include <algorithm>
#include <random>
#include <sstream>
#include <utility>

#include "core/packet.h"
#include "messages.h"
#include "platform/gbk.h"

namespace tess::practice {

namespace {

constexpr std::string_view kGameOverText = "练习结束，谢谢参与！";

bool Has(const std::vector<Tile>& tiles, Tile t) { return std::find(tiles.begin(), tiles.end(), t) != tiles.end(); }

void RemoveOne(std::vector<Tile>& tiles, Tile t) {
  auto it = std::find(tiles.begin(), tiles.end(), t);
  if (it != tiles.end()) tiles.erase(it);
}

// Strongest claim first: win over kong over pung.
int Strength(int kind) { return kind == kWin ? 3 : kind == kKong ? 2 : kind == kPung ? 1 : 0; }

// A spectator's login key names whom it watches: the table's key, "#" and
// the watched player's user id ("practice#1001").
std::optional<uint64_t> WatchedUserId(const std::string& key) {
  const size_t hash = key.rfind('#');
  if (hash == std::string::npos || hash + 1 == key.size()) return std::nullopt;
  uint64_t id = 0;
  for (size_t i = hash + 1; i < key.size(); ++i) {
    if (key[i] < '0' || key[i] > '9') return std::nullopt;
    id = id * 10 + static_cast<uint64_t>(key[i] - '0');
  }
  return id;
}

}  // namespace

Table::Table(TableOptions options) : options_(std::move(options)) {
  if (options_.roster.size() < 4) options_.roster = ParseRoster("");
  for (int s = 0; s < 4; ++s) seats_[s].tag = {static_cast<uint8_t>('P'), static_cast<uint8_t>('0' + s)};
}

Table::Conn* Table::Find(int conn) {
  for (auto& [id, c] : conns_)
    if (id == conn) return &c;
  return nullptr;
}

std::vector<Outgoing> Table::TakeOutbox() { return std::exchange(outbox_, {}); }
std::vector<int> Table::TakeDrops() { return std::exchange(drops_, {}); }
std::vector<std::string> Table::TakeLog() { return std::exchange(log_, {}); }

void Table::Send(int conn, Packet p) {
  const Conn* c = Find(conn);
  if (c && c->role == Role::kSeat) StampTag(p, seats_[c->seat].tag);
  outbox_.push_back({conn, p});
}

void Table::SendToSeat(int seat, const Packet& p) {
  if (SeatLive(seat)) Send(seats_[seat].conn, p);
}

void Table::SendToAll(const Packet& p) {
  for (int s = 0; s < 4; ++s) SendToSeat(s, p);
  for (auto& [id, c] : conns_)
    if (c.role == Role::kSpectator) Send(id, p);
}

void Table::Schedule(Step step, int64_t at, int seat) {
  step_ = step;
  step_seat_ = seat;
  due_ = at;
}

int64_t Table::AnswerDeadline(int seat, int64_t now) const {
  return now + (SeatLive(seat) ? options_.answer_ms : options_.pace_ms);
}

void Table::Advance(int64_t now) {
  while (due_ <= now) {
    const Step step = step_;
    const int seat = step_seat_;
    const int64_t at = due_;
    Schedule(Step::kNone, INT64_MAX);
    Run(step, seat, std::max(at, now));
  }
}

void Table::Run(Step step, int seat, int64_t now) {
  switch (step) {
    case Step::kNone: break;
    case Step::kStartHand: StartHand(now); break;
    case Step::kDeal: DealHand(now); break;
    case Step::kOfferTurn: BeginTurn(seat, now); break;
    case Step::kTurnTimeout: PlayTurnTimeout(now); break;
    case Step::kClaimTimeout:
      for (int s = 0; s < 4; ++s)
        if (claim_offers_[s] && !claim_answers_[s]) claim_answers_[s] = claim_offers_[s] & kWin ? kWin : kPass;
      ResolveClaims(now);
      break;
    case Step::kNextDraw: DrawFor(seat, false, now); break;
    case Step::kReplacement: DrawFor(seat, true, now); break;
    case Step::kReadyTimeout:
      // The table continues for the seats that did not: their ready marks
      // are what clears the finished hand from every client's table.
      for (Seat& st : seats_)
        if (!st.ready) {
          st.ready = true;
          SendToAll(ReadyMark(st.profile.account));
        }
      StartHand(now);
      break;
    case Step::kEndGame:
      SendToAll(OtherExit(kGameOverText));
      over_ = true;
      break;
  }
}

// ---- Connections ----

void Table::Receive(int conn, const Packet& p, int64_t now) {
  if (!Find(conn)) conns_.push_back({conn, Conn{}});
  Conn& c = *Find(conn);
  if (c.role == Role::kGone) return;
  const MessageRecord m = DecodeMessage(p);
  const bool framed = p[0] == 0 && p[1] == 0 && p[kOffTypeHigh] == 0 && p[4] == 0;
  if (!framed) return Drop(conn, now);
  if (c.role == Role::kNew) {
    if (m.MsgType == kTypeLogin) return Login(conn, p, now);
    if (m.MsgType == kTypeReconnect) return Reconnect(conn, p);
    return Drop(conn, now);
  }
  switch (m.MsgType) {
    case kTypeDiscard:
    case kTypeClaimResult:
    case kTypePlayerQuit:
    case kTypeChat:
    case kTypeKeepAlive:
      break;
    default: return Drop(conn, now);
  }
  if (c.role == Role::kSeat) SeatPacket(c.seat, m, p, now);
}

void Table::Drop(int conn, int64_t now) {
  drops_.push_back(conn);
  Disconnect(conn, now);
}

void Table::Disconnect(int conn, int64_t now) {
  Conn* c = Find(conn);
  if (!c) return;
  if (c->role == Role::kSeat && seats_[c->seat].conn == conn) {
    seats_[c->seat].conn = -1;
    // A seat waited on is played at once from now on.
    if ((step_ == Step::kTurnTimeout && turn_ == c->seat) ||
        (step_ == Step::kClaimTimeout && claim_offers_[c->seat] && !claim_answers_[c->seat]))
      due_ = std::min(due_, now);
  }
  c->role = Role::kGone;
}

void Table::Login(int conn, const Packet& p, int64_t now) {
  const std::string account = ReadByteText(p, kOffBody, kNameEnd);
  std::string key = ReadByteText(p, kNameEnd, kOffTag);
  const std::optional<uint64_t> watched_id = WatchedUserId(key);
  if (watched_id) key.resize(key.rfind('#'));
  if (account.empty() || (!options_.key.empty() && key != options_.key)) {
    Send(conn, LoginAnswer(3, 0, 0, ""));
    drops_.push_back(conn);
    Find(conn)->role = Role::kGone;
    return;
  }
  Conn& c = *Find(conn);
  int seat = -1;
  for (int s = 0; s < 4 && seat < 0 && !watched_id; ++s)
    if (seats_[s].taken && seats_[s].profile.account == account && !SeatLive(s)) seat = s;
  const bool returning = seat >= 0;
  for (int s = 0; s < 4 && seat < 0 && !over_ && !watched_id; ++s)
    if (!seats_[s].taken) seat = s;
  Send(conn, LoginAnswer(1, options_.turn_seconds, options_.timeout_limit, options_.notice));
  const bool full = std::all_of(seats_.begin(), seats_.end(), [](const Seat& s) { return s.taken; });
  if (seat < 0) {
    c.role = Role::kSpectator;
    c.watched_id = watched_id;
    // Before the table is full a watching spectator waits for all four.
    if (full || !watched_id) SendSpectatorJoin(conn);
    return;
  }
  c.role = Role::kSeat;
  c.seat = seat;
  Seat& st = seats_[seat];
  st.conn = conn;
  if (returning) {
    if (full) SendJoinFlow(seat);
    // A client that logs in afresh has not seen this hand's wild tile: the
    // snapshot sets its copies aside and puts the indicator on the wall.
    if (in_hand_) {
      Send(conn, WildTile(wild_, indicator_));
      SendSnapshot(conn, seat);
    }
    return;
  }
  st.taken = true;
  st.profile = options_.roster[seat];
  st.profile.account = account;
  st.ready = true;
  if (std::all_of(seats_.begin(), seats_.end(), [](const Seat& s) { return s.taken; })) {
    for (int s = 0; s < 4; ++s) SendJoinFlow(s);
    for (auto& [id, other] : conns_)
      if (other.role == Role::kSpectator) SendSpectatorJoin(id);
    Schedule(Step::kStartHand, now + options_.dice_ms);
  }
}

// What a spectator is sent on joining: the round information, the profiles
// of the seats taken, and during a hand the snapshot, with the faces of the
// watched seat's tiles (every face when it watches nobody).
void Table::SendSpectatorJoin(int conn) {
  Conn* c = Find(conn);
  if (!c) return;
  c->watched = -1;
  for (int s = 0; s < 4 && c->watched_id && c->watched < 0; ++s)
    if (seats_[s].taken && seats_[s].profile.user_id == *c->watched_id) c->watched = s;
  Send(conn, RoundInfo(dealer_, dice_, wild_, indicator_));
  for (int s = 0; s < 4; ++s)
    if (seats_[s].taken) Send(conn, SeatInfo(MaskOfSeat(s), seats_[s].profile, seats_[s].ready));
  if (in_hand_) SendSnapshot(conn, c->watched);
}

void Table::SendDealToSpectators() {
  for (auto& [id, c] : conns_) {
    if (c.role != Role::kSpectator) continue;
    if (c.watched >= 0)
      Send(id, Deal(c.watched, hands_[c.watched].concealed, wild_));
    else
      Send(id, Deal(dealer_, {}, wild_));
  }
}

void Table::SendDrawToSpectators(int seat, Tile t) {
  for (auto& [id, c] : conns_)
    if (c.role == Role::kSpectator) Send(id, Draw(seat, c.watched == seat ? t : 0));
}

void Table::Reconnect(int conn, const Packet& p) {
  const std::string account = ReadByteText(p, kOffBody, kNameEnd);
  Conn& c = *Find(conn);
  for (int s = 0; s < 4; ++s) {
    Seat& st = seats_[s];
    if (!st.taken || st.profile.account != account || p[kOffTag] != st.tag[0] || p[kOffTag + 1] != st.tag[1])
      continue;
    if (st.conn >= 0 && st.conn != conn) {
      drops_.push_back(st.conn);
      Find(st.conn)->role = Role::kGone;
    }
    c.role = Role::kSeat;
    c.seat = s;
    st.conn = conn;
    ++st.profile.disconnects;
    Send(conn, ReconnectAnswer(true));
    if (in_hand_) SendSnapshot(conn, s);
    return;
  }
  Send(conn, ReconnectAnswer(false));
  drops_.push_back(conn);
  c.role = Role::kGone;
}

// The joining flow of one seated client: the other three as provisional
// places, its own profile (as 15), the four seat names, the four profiles
// by seat, then everybody's ready mark.
void Table::SendJoinFlow(int seat) {
  for (int k = 1; k < 4; ++k) {
    const int other = (seat + k) % 4;
    SendToSeat(seat, SeatInfo(0, seats_[other].profile, false));
  }
  // The own profile comes before the names, which latch the start button:
  // the first hand starts without the player's ready, and its tiles answer
  // the pointer from the deal on. After the names every seat's profile by
  // its mask; the own one is only counted.
  SendToSeat(seat, SeatInfo(15, seats_[seat].profile, false));
  for (int s = 0; s < 4; ++s) SendToSeat(seat, SeatName(s, seats_[s].profile.account));
  for (int k = 0; k < 4; ++k) {
    const int other = (seat + k) % 4;
    SendToSeat(seat, SeatInfo(MaskOfSeat(other), seats_[other].profile, false));
  }
  for (int s = 0; s < 4; ++s)
    if (seats_[s].ready) SendToSeat(seat, ReadyMark(seats_[s].profile.account));
}

// Four messages 40, one per seat. Only `viewer_seat`'s own concealed tiles
// carry their faces (a spectator, -1, sees every face).
void Table::SendSnapshot(int conn, int viewer_seat) {
  for (int s = 0; s < 4; ++s) {
    SnapshotSeat snap;
    snap.seat = s;
    snap.discards = static_cast<int>(piles_[s].size());
    snap.taken_front = wall_->TakenFromFront();
    snap.taken_back = wall_->TakenFromBack();
    for (const Meld& m : hands_[s].melds)
      for (int k = 0; k < (m.kind == kPung ? 3 : 4); ++k) snap.exposed.push_back(m.tile);
    for (Tile t : hands_[s].concealed) snap.concealed.push_back(viewer_seat < 0 || viewer_seat == s ? t : 0);
    Send(conn, Snapshot(snap));
  }
}

void Table::SeatPacket(int seat, const MessageRecord& m, const Packet& p, int64_t now) {
  switch (m.MsgType) {
    case kTypeKeepAlive: return;
    case kTypeChat: {
      size_t end = kOffBody;
      while (end < kChatEnd && p[end] != 0) ++end;
      const std::string prefix = Utf8ToGbk("[" + seats_[seat].profile.title + "]");
      SendToAll(ChatRelay(seat, m.value, prefix, p.data() + kOffBody, end - kOffBody));
      return;
    }
    case kTypePlayerQuit:
      if (m.value[3] == 1) return ContinueFrom(seat, now);
      return Leave(seat, now);
    case kTypeDiscard: {
      const Tile tile = static_cast<Tile>(m.value[3]);
      if (step_ != Step::kTurnTimeout || turn_ != seat || !Has(hands_[seat].concealed, tile)) return;
      return Discard(seat, tile, m.value[1], now);
    }
    case kTypeClaimResult: {
      const int kind = m.value[0];
      if (step_ == Step::kClaimTimeout && claim_offers_[seat] && !claim_answers_[seat]) {
        if (kind == kPass || (kind & claim_offers_[seat] & (kPung | kKong | kWin)))
          AnswerClaim(seat, kind, now);
        return;
      }
      if (step_ != Step::kTurnTimeout || turn_ != seat || kind == kPass || !(kind & turn_options_)) return;
      if (kind == kWin) return Win(seat, -1, now);
      if (kind == kConcealedKong) return Kong(seat, kind, ConcealedKongTile(hands_[seat], wild_), now);
      if (kind == kAddedKong) return Kong(seat, kind, AddedKongTile(hands_[seat], wild_), now);
      return;
    }
    default: return;
  }
}

void Table::Leave(int seat, int64_t now) {
  Seat& st = seats_[seat];
  if (Conn* c = Find(st.conn)) c->role = Role::kGone;
  const std::string account = st.profile.account;
  const TagBytes tag = st.tag;
  st = Seat{};
  st.tag = tag;
  uint8_t remaining = 0;
  for (int s = 0; s < 4; ++s)
    if (seats_[s].taken) remaining |= MaskOfSeat(s);
  if (in_hand_) {
    in_hand_ = false;
    SendToAll(PlayersLeft(remaining));
  } else {
    SendToAll(PlayerLeft(account));
  }
  // The table waits for a fourth player again.
  Schedule(Step::kNone, INT64_MAX);
  log_.push_back("event left " + std::to_string(seat));
  (void)now;
}

// ---- A hand ----

void Table::StartHand(int64_t now) {
  ++hand_number_;
  hand_seed_ = options_.seed + static_cast<uint32_t>(hand_number_);
  const size_t k = static_cast<size_t>(hand_number_ - 1);
  wall_ = k < options_.walls.size() ? Wall(options_.walls[k]) : Wall::Shuffled(hand_seed_);
  std::mt19937 rng(hand_seed_ ^ 0x5EEDu);
  for (int& d : dice_) d = static_cast<int>(rng() % 6) + 1;
  indicator_ = wall_->TakeBack();
  wild_ = WildAfter(indicator_);
  hands_ = {};
  piles_ = {};
  someone_declared_ = false;
  dealer_first_discard_ = 0;
  last_discard_ = 0;
  discarder_ = -1;
  discards_this_hand_ = 0;
  in_hand_ = true;
  for (Seat& s : seats_) s.ready = false;
  SendToAll(HandStart(dealer_, dice_, hand_number_, repeats_));
  Schedule(Step::kDeal, now + options_.dice_ms);
}

// Three passes of four tiles per seat from the dealer on, then one each,
// then the dealer's fourteenth; the clients get their twelve in one message
// and the last tiles as draws, then the wild tile.
void Table::DealHand(int64_t now) {
  for (int pass = 0; pass < 3; ++pass)
    for (int i = 0; i < 4; ++i)
      for (int k = 0; k < 4; ++k) hands_[(dealer_ + i) % 4].concealed.push_back(wall_->TakeFront());
  for (int s = 0; s < 4; ++s) SendToSeat(s, Deal(s, hands_[s].concealed, wild_));
  SendDealToSpectators();
  for (int i = 0; i <= 4; ++i) {
    const int seat = (dealer_ + i) % 4;
    const Tile t = wall_->TakeFront();
    hands_[seat].concealed.push_back(t);
    for (int s = 0; s < 4; ++s) SendToSeat(s, Draw(seat, s == seat ? t : 0));
    SendDrawToSpectators(seat, t);
  }
  SendToAll(WildTile(wild_, indicator_));
  replacement_draw_ = false;
  Schedule(Step::kOfferTurn, now + options_.deal_ms, dealer_);
}

void Table::BeginTurn(int seat, int64_t now) {
  turn_ = seat;
  turn_options_ = TurnOptions(hands_[seat], wild_, someone_declared_);
  SendToSeat(seat, Offer(seat, turn_options_));
  Schedule(Step::kTurnTimeout, AnswerDeadline(seat, now));
}

void Table::DrawFor(int seat, bool from_back, int64_t now) {
  if (wall_->Empty()) return EndHand(-1, std::nullopt, {}, now);
  const Tile t = from_back ? wall_->TakeBack() : wall_->TakeFront();
  hands_[seat].concealed.push_back(t);
  replacement_draw_ = from_back;
  for (int s = 0; s < 4; ++s) SendToSeat(s, Draw(seat, s == seat ? t : 0));
  SendDrawToSpectators(seat, t);
  BeginTurn(seat, now);
}

// The seat played by the table: the win when it is offered, else its
// least useful tile.
void Table::PlayTurnTimeout(int64_t now) {
  if (turn_options_ & kWin) return Win(turn_, -1, now);
  Discard(turn_, TimeoutDiscard(hands_[turn_], wild_), 0, now);
}

void Table::Discard(int seat, Tile tile, int mark, int64_t now) {
  SeatHand& hand = hands_[seat];
  RemoveOne(hand.concealed, tile);
  int sent_mark = 0;
  if (mark == 1 && (turn_options_ & kDeclare)) {
    hand.declared = hand.placing = true;
    someone_declared_ = true;
    sent_mark = 1;
  } else if (mark == 2 && (turn_options_ & kPlace) && IsWind(tile)) {
    hand.placing = true;
  }
  if (hand.placing && IsWind(tile)) {
    ++hand.placed_winds;
    if (sent_mark == 0) sent_mark = 2;
  }
  // Following the dealer: a first discard equal to the dealer's first.
  const bool follows = seat != dealer_ && hand.discards == 0 && hands_[dealer_].discards == 1 &&
                       tile == dealer_first_discard_;
  if (seat == dealer_ && hand.discards == 0) dealer_first_discard_ = tile;
  ++hand.discards;
  piles_[seat].push_back(tile);
  last_discard_ = tile;
  discarder_ = seat;
  turn_options_ = 0;
  SendToAll(practice::Discard(seat, tile, sent_mark, follows));
  log_.push_back("event discard " + std::to_string(hand_number_) + " " + std::to_string(seat) + " " +
                 std::to_string(tile));
  if (++discards_this_hand_ == 12) log_.push_back("event mid-hand " + std::to_string(hand_number_));

  claim_offers_ = {};
  claim_answers_ = {};
  bool offered = false;
  int64_t deadline = now + options_.pace_ms;
  for (int s = 0; s < 4; ++s) {
    if (s == seat) continue;
    const int options = DiscardOptions(hands_[s], tile, wild_);
    if (options == kPass) continue;
    claim_offers_[s] = options;
    offered = true;
    SendToSeat(s, Offer(s, options));
    deadline = std::max(deadline, AnswerDeadline(s, now));
  }
  if (offered) Schedule(Step::kClaimTimeout, deadline);
  else Schedule(Step::kNextDraw, now + options_.pace_ms, (seat + 1) % 4);
}

void Table::AnswerClaim(int seat, int kind, int64_t now) {
  claim_answers_[seat] = kind;
  for (int s = 0; s < 4; ++s)
    if (claim_offers_[s] && !claim_answers_[s]) return;
  ResolveClaims(now);
}

// The strongest claim wins; between equals, the seat nearest after the
// discarder.
void Table::ResolveClaims(int64_t now) {
  int best = -1;
  for (int k = 1; k < 4; ++k) {
    const int s = (discarder_ + k) % 4;
    if (Strength(claim_answers_[s]) > (best < 0 ? 0 : Strength(claim_answers_[best]))) best = s;
  }
  claim_offers_ = {};
  if (best < 0) return Schedule(Step::kNextDraw, now + options_.pace_ms, (discarder_ + 1) % 4);
  const int kind = claim_answers_[best];
  if (kind == kWin) return Win(best, discarder_, now);
  piles_[discarder_].pop_back();
  if (kind == kKong) return Kong(best, kKong, last_discard_, now);
  SeatHand& hand = hands_[best];
  RemoveOne(hand.concealed, last_discard_);
  RemoveOne(hand.concealed, last_discard_);
  hand.melds.push_back({last_discard_, kPung});
  SendToAll(Claim(best, kPung, last_discard_));
  Schedule(Step::kOfferTurn, now + options_.pace_ms, best);
}

// Every kong is followed by a replacement draw from the back of the wall.
void Table::Kong(int seat, int kind, Tile tile, int64_t now) {
  SeatHand& hand = hands_[seat];
  if (kind == kAddedKong) {
    RemoveOne(hand.concealed, tile);
    for (Meld& m : hand.melds)
      if (m.kind == kPung && m.tile == tile) m.kind = kAddedKong;
  } else {
    const int from_hand = kind == kKong ? 3 : 4;
    for (int k = 0; k < from_hand; ++k) RemoveOne(hand.concealed, tile);
    hand.melds.push_back({tile, kind});
  }
  turn_options_ = 0;
  SendToAll(Claim(seat, kind, tile));
  Schedule(Step::kReplacement, now + options_.pace_ms, seat);
}

void Table::Win(int seat, int discarder, int64_t now) {
  std::array<std::vector<Tile>, 4> shown;
  for (int s = 0; s < 4; ++s) shown[s] = hands_[s].concealed;
  SeatHand& hand = hands_[seat];
  const Tile tile = discarder >= 0 ? last_discard_ : hand.concealed.back();
  if (discarder >= 0) hand.concealed.push_back(tile);
  SendToAll(Claim(seat, kWin, tile));
  WinFacts facts;
  facts.winner = seat;
  facts.discarder = discarder;
  facts.tile = tile;
  facts.kong_replacement = discarder < 0 && replacement_draw_;
  facts.last_tile = wall_->Empty();
  facts.dealer = dealer_;
  facts.dealer_repeats = repeats_;
  EndHand(seat, ScoreWin(hands_, facts, wild_, options_.unit), shown, now);
}

// The reveal of every hand, the four results, the settlement of a won hand;
// then the table waits for the seats to continue.
void Table::EndHand(int winner, const std::optional<HandScore>& score, std::array<std::vector<Tile>, 4> shown,
                    int64_t now) {
  if (!score)
    for (int s = 0; s < 4; ++s) shown[s] = hands_[s].concealed;
  const std::array<Tile, 5> wall_tiles = {wall_->PeekBack(0), wall_->PeekBack(1), wall_->PeekFront(0),
                                          wall_->PeekFront(1), wall_->PeekFront(2)};
  for (int s = 0; s < 4; ++s)
    for (size_t i = 0; i < shown[s].size(); i += 4) {
      const size_t n = std::min<size_t>(4, shown[s].size() - i);
      SendToAll(Reveal(s, std::vector<Tile>(shown[s].begin() + static_cast<std::ptrdiff_t>(i),
                                            shown[s].begin() + static_cast<std::ptrdiff_t>(i + n)),
                       wall_tiles));
    }
  const std::array<int64_t, 4> money = score ? score->money : std::array<int64_t, 4>{};
  for (int s = 0; s < 4; ++s) SendToAll(HandResult(s, money[s]));
  std::array<std::string, 4> levels;
  for (int s = 0; s < 4; ++s) levels[s] = seats_[s].profile.level;
  if (score) SendToAll(Settlement(*score, levels));
  for (int s = 0; s < 4; ++s) {
    Profile& p = seats_[s].profile;
    p.coins = std::max<int64_t>(0, p.coins + money[s]);
    p.points = std::max<int64_t>(1, p.points + money[s]);
    if (money[s] > 0) ++p.wins;
    if (money[s] < 0) ++p.losses;
  }

  std::ostringstream line;
  line << "hand " << hand_number_ << " seed " << hand_seed_ << " dealer " << dealer_;
  if (winner < 0) line << " drawn";
  else line << " winner " << winner << (Column(score->rows[winner], kColHow) == 2 ? " self-drawn" : " on-discard");
  line << " results";
  for (int64_t m : money) line << ' ' << m;
  log_.push_back(line.str());
  log_.push_back("event settled " + std::to_string(hand_number_));

  if (winner == dealer_ || winner < 0) {
    ++repeats_;
  } else {
    dealer_ = (dealer_ + 1) % 4;
    repeats_ = 0;
  }
  in_hand_ = false;
  for (int s = 0; s < 4; ++s) seats_[s].ready = !SeatLive(s);
  const bool last = options_.hands > 0 && hand_number_ >= options_.hands;
  Schedule(last ? Step::kEndGame : Step::kReadyTimeout, now + options_.ready_ms);
}

void Table::ContinueFrom(int seat, int64_t now) {
  if (in_hand_ || seats_[seat].ready || step_ != Step::kReadyTimeout) return;
  seats_[seat].ready = true;
  SendToAll(ReadyMark(seats_[seat].profile.account));
  if (std::all_of(seats_.begin(), seats_.end(), [](const Seat& s) { return s.ready; })) due_ = now;
}

}  // namespace tess::practice
