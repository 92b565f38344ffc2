// The practice table driven packet by packet on virtual time: the joining
// flow, the deal, claims and their priority, replacement draws, a wall run
// dry, continuing, reconnecting, chat and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "core/packet.h"
#include "platform/gbk.h"
#include "practice/wall_setup.h"
#include "table.h"

namespace tess::practice {
namespace {

using test::ArrangeWall;
using test::WallPlan;

// Hands for the claim cases; the dealer (seat 0) discards its fourteenth
// tile, the red dragon, when its turn runs out.
const std::vector<Tile> kDealer = {0x21, 0x24, 0x27, 0x41, 0x44, 0x47, 0x81, 0x84, 0x87, 0x11, 0x12, 0x13, 0x16};
const std::vector<Tile> kWinsOnRed = {0x25, 0x26, 0x27, 0x45, 0x46, 0x47, 0x85, 0x86, 0x87, 0x29, 0x29, 0x29, 0x15};
const std::vector<Tile> kAlsoWinsOnRed = {0x22, 0x23, 0x24, 0x42, 0x43, 0x44, 0x82, 0x83, 0x84, 0x49, 0x49, 0x49, 0x15};
const std::vector<Tile> kWinsWithWild = {0x25, 0x26, 0x27, 0x45, 0x46, 0x47, 0x85, 0x86, 0x87, 0x29, 0x29, 0x29, 0x89};
const std::vector<Tile> kPungsRed = {0x15, 0x15, 0x12, 0x14, 0x16, 0x17, 0x28, 0x48, 0x88, 0x21, 0x41, 0x81, 0x13};
const std::vector<Tile> kKongsRed = {0x15, 0x15, 0x15, 0x12, 0x14, 0x16, 0x17, 0x28, 0x48, 0x88, 0x21, 0x41, 0x81};
const std::vector<Tile> kNoClaim = {0x11, 0x12, 0x13, 0x14, 0x16, 0x17, 0x28, 0x48, 0x88, 0x23, 0x43, 0x83, 0x14};
const std::vector<Tile> kAlsoNoClaim = {0x22, 0x26, 0x29, 0x42, 0x46, 0x49, 0x82, 0x86, 0x85, 0x17, 0x13, 0x24, 0x45};
constexpr Tile kRed = 0x15;
constexpr Tile kIndicator = 0x88;  // the nine of dots is wild

Packet Login(const std::string& account, const std::string& key = "", int type = kTypeLogin) {
  Packet p{};
  p[kOffType] = static_cast<uint8_t>(type);
  std::copy(account.begin(), account.end(), p.begin() + 16);
  std::copy(key.begin(), key.end(), p.begin() + 32);
  return p;
}

Packet Message(int16_t type, int seat, std::array<int16_t, 4> values) {
  MessageRecord m;
  m.MsgType = type;
  m.Seat = static_cast<uint8_t>(1 << seat);
  m.value = values;
  return EncodeMessage(m, TagBytes{});
}

// A table with four seated connections 1-4 (seat i is connection i + 1).
class TableHarness {
 public:
  explicit TableHarness(TableOptions o = Defaults()) : table(std::move(o)) {}

  static TableOptions Defaults() {
    TableOptions o;
    o.answer_ms = 5000;
    o.pace_ms = 500;
    o.dice_ms = 2000;
    o.deal_ms = 1000;
    o.ready_ms = 8000;
    o.seed = 11;
    return o;
  }

  void Pump() {
    for (Outgoing& o : table.TakeOutbox()) got[o.conn].push_back(o.packet);
    for (int c : table.TakeDrops()) dropped.push_back(c);
    for (std::string& l : table.TakeLog()) log.push_back(l);
  }
  void Receive(int conn, const Packet& p) {
    table.Receive(conn, p, now);
    Pump();
  }
  void SeatAll() {
    for (int s = 0; s < 4; ++s) Receive(s + 1, Login("p" + std::to_string(s)));
  }
  // Moves time to the next step and runs it; false when nothing is due.
  bool Step() {
    if (table.NextDue() == INT64_MAX) return false;
    now = std::max(now, table.NextDue());
    table.Advance(now);
    Pump();
    return true;
  }
  bool RunUntil(const std::function<bool()>& done, int max_steps = 2000) {
    for (int i = 0; i < max_steps; ++i) {
      if (done()) return true;
      if (!Step()) return done();
    }
    return done();
  }
  // The packets of `type` connection `conn` got.
  std::vector<Packet> Of(int conn, int type) const {
    std::vector<Packet> out;
    auto it = got.find(conn);
    if (it == got.end()) return out;
    for (const Packet& p : it->second)
      if (p[kOffType] == type) out.push_back(p);
    return out;
  }
  bool Got(int conn, int type) const { return !Of(conn, type).empty(); }
  void Clear() { got.clear(); }

  Table table;
  int64_t now = 0;
  std::map<int, std::vector<Packet>> got;
  std::vector<int> dropped;
  std::vector<std::string> log;
};

int Value(const Packet& p, int i) { return DecodeMessage(p).value[i]; }

// A table whose dealer (seat 0) lets the red dragon go at its first turn,
// seats 1-3 holding `others`, the wall's back end `back`.
TableOptions RedDiscardTable(const std::array<std::vector<Tile>, 3>& others, std::vector<Tile> back = {kIndicator}) {
  WallPlan plan;
  plan.hands = {kDealer, others[0], others[1], others[2]};
  plan.dealer_extra = kRed;
  plan.back = std::move(back);
  TableOptions o = TableHarness::Defaults();
  o.walls = {ArrangeWall(plan, 0)};
  return o;
}

TEST(PracticeTable, EachSeatJoinsWithProvisionalPlacesNamesProfilesAndReadyMarks) {
  TableHarness h;
  h.SeatAll();
  const std::vector<Packet>& seat1 = h.got[2];
  std::vector<std::pair<int, int>> flow;  // type, seat byte
  for (const Packet& p : seat1) flow.push_back({p[kOffType], p[kOffSeat]});
  const std::vector<std::pair<int, int>> expected = {
      {18, 0}, {20, 0}, {20, 0}, {20, 0}, {20, 15}, {3, 1}, {3, 2}, {3, 4}, {3, 8},
      {20, 2}, {20, 4}, {20, 8}, {20, 1}, {23, 0}, {23, 0}, {23, 0}, {23, 0}};
  EXPECT_EQ(flow, expected);
  // The provisional places are the three others, from the next seat on.
  EXPECT_EQ(ReadByteText(seat1[1], 168, 184), "p2");
  EXPECT_EQ(ReadByteText(seat1[3], 168, 184), "p0");
  EXPECT_EQ(ReadByteText(seat1[5], 16, 32), "p0");
  EXPECT_EQ(Value(seat1[0], 1), 8);  // turn seconds
  EXPECT_EQ(seat1[0][9], 3);         // timeout limit
  EXPECT_EQ(Value(seat1[0], 3), 1);  // accepted
  // The nick in GBK, the user id little-endian at 226.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&seat1[4][16])), Utf8ToGbk("南山樵"));
  EXPECT_EQ(seat1[4][226], 1001 % 256);
}

TEST(PracticeTable, TheDealGivesEachClientItsOwnTilesThenTheWildTile) {
  TableHarness h;
  h.SeatAll();
  h.Clear();
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeActionOffer); }));
  for (int s = 0; s < 4; ++s) {
    std::vector<int> types;
    for (const Packet& p : h.got[s + 1]) types.push_back(p[kOffType]);
    const std::vector<int> expected = s == 0 ? std::vector<int>{4, 1, 5, 5, 5, 5, 5, 14, 6}
                                             : std::vector<int>{4, 1, 5, 5, 5, 5, 5, 14};
    EXPECT_EQ(types, expected) << "seat " << s;
    const Packet deal = h.Of(s + 1, kTypeDeal)[0];
    EXPECT_EQ(Value(deal, 1), 12);
    const std::vector<Tile>& hand = h.table.Hands()[s].concealed;
    for (int j = 0; j < 12; ++j) EXPECT_EQ(deal[17 + 2 * j], hand[j]);
    // A draw names its tile to the drawer alone.
    for (const Packet& draw : h.Of(s + 1, kTypeDraw)) {
      const int drawer = __builtin_ctz(draw[kOffSeat]);
      EXPECT_EQ(Value(draw, 3) != 0, drawer == s);
    }
    EXPECT_EQ(Value(h.Of(s + 1, kTypeWildTile)[0], 2), h.table.Wild());
  }
  EXPECT_EQ(h.table.Hands()[0].concealed.size(), 14u);
  EXPECT_EQ(h.table.Hands()[1].concealed.size(), 13u);
}

struct ClaimCase {
  const char* what;
  std::array<std::vector<Tile>, 3> others;  // seats 1-3
  std::vector<std::pair<int, int>> answers;  // seat, claim kind, in order
  int claimer;
  int kind;
};

TEST(PracticeTable, ClaimsOnADiscardGoByPriorityThenByTurn) {
  const ClaimCase cases[] = {
      {"win over pung", {kPungsRed, kNoClaim, kWinsOnRed}, {{1, kPung}, {3, kWin}}, 3, kWin},
      {"win over kong", {kNoClaim, kKongsRed, kWinsWithWild}, {{2, kKong}, {3, kWin}}, 3, kWin},
      {"two wins: the first seat after the discarder", {kAlsoWinsOnRed, kNoClaim, kWinsOnRed}, {{3, kWin}, {1, kWin}}, 1, kWin},
      {"pung when the winner passes", {kNoClaim, kPungsRed, kWinsOnRed}, {{2, kPung}, {3, kPass}}, 2, kPung},
      {"kong when alone", {kNoClaim, kKongsRed, kAlsoNoClaim}, {{2, kKong}}, 2, kKong},
      {"silent seats are played: the win is taken", {kPungsRed, kNoClaim, kWinsOnRed}, {}, 3, kWin},
  };
  for (const ClaimCase& c : cases) {
    TableHarness h(RedDiscardTable(c.others));
    h.SeatAll();
    ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeDiscard); })) << c.what;
    for (auto [seat, kind] : c.answers) {
      ASSERT_TRUE(h.Got(seat + 1, kTypeActionOffer)) << c.what;
      h.Receive(seat + 1, Message(kTypeClaimResult, seat, {static_cast<int16_t>(kind), kRed, kRed, kRed}));
    }
    ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeClaimResult); })) << c.what;
    const std::vector<Packet> claims = h.Of(1, kTypeClaimResult);
    ASSERT_EQ(claims.size(), 1u) << c.what;
    EXPECT_EQ(claims[0][kOffSeat], 1 << c.claimer) << c.what;
    EXPECT_EQ(Value(claims[0], 0), c.kind) << c.what;
    EXPECT_EQ(Value(claims[0], 3), kRed) << c.what;
  }
}

TEST(PracticeTable, AKongIsFollowedByAReplacementDrawFromTheBack) {
  TableHarness h(RedDiscardTable({kKongsRed, kNoClaim, kAlsoNoClaim}, {kIndicator, 0x26, 0x46}));
  h.SeatAll();
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(2, kTypeActionOffer) && h.Got(2, kTypeDiscard); }));
  h.Clear();
  h.Receive(2, Message(kTypeClaimResult, 1, {kKong, kRed, kRed, kRed}));
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(2, kTypeActionOffer); }));
  const std::vector<Packet> draws = h.Of(2, kTypeDraw);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0][kOffSeat], 2);
  EXPECT_EQ(Value(draws[0], 3), 0x26);  // the last tile of the wall, not the next at the front
  EXPECT_EQ(Value(h.Of(3, kTypeDraw)[0], 3), 0);
  EXPECT_EQ(h.table.Hands()[1].melds.size(), 1u);
  EXPECT_EQ(h.table.Hands()[1].concealed.size(), 11u);  // 13 - 3 + 1
}

// Four seats holding every copy of the thirteen terminals and honours, one
// of each: the table's own play makes no meld and no win on this wall, and
// the wall runs dry.
TEST(PracticeTable, AWallRunDryIsADrawnHandWithFourZeroResults) {
  const std::vector<Tile> singles = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x21, 0x29, 0x41, 0x49, 0x81, 0x89};
  WallPlan plan;
  plan.hands = {singles, singles, singles, singles};
  plan.dealer_extra = 0x25;
  plan.back = {0x22};
  TableOptions o = TableHarness::Defaults();
  o.walls = {ArrangeWall(plan, 0)};
  o.hands = 1;
  TableHarness h(o);
  h.SeatAll();
  ASSERT_TRUE(h.RunUntil([&] { return h.Of(1, kTypeHandResult).size() == 4; }, 5000));
  for (int conn = 1; conn <= 4; ++conn) {
    const std::vector<Packet> results = h.Of(conn, kTypeHandResult);
    ASSERT_EQ(results.size(), 4u);
    for (const Packet& r : results)
      EXPECT_TRUE(std::all_of(r.begin() + 16, r.begin() + 24, [](uint8_t b) { return b == 0; }));
    EXPECT_FALSE(h.Got(conn, kTypeSettlement));
    EXPECT_EQ(h.Of(conn, kTypeHandReveal).size(), 4u * 4);  // 4 + 4 + 4 + 1 tiles per seat
  }
  // 136 - 53 dealt - 1 indicator: every tile was drawn and discarded.
  EXPECT_EQ(h.Of(1, kTypeDiscard).size(), 82u + 1);
  ASSERT_FALSE(h.log.empty());
  EXPECT_NE(std::find(h.log.begin(), h.log.end(), "hand 1 seed 12 dealer 0 drawn results 0 0 0 0"), h.log.end());
  // After the pause for the results the game ends with its notice.
  ASSERT_TRUE(h.RunUntil([&] { return h.table.Over(); }));
  EXPECT_TRUE(h.Got(3, kTypeOtherExit));
}

TEST(PracticeTable, AWonHandIsRevealedResultedAndSettled) {
  const TableOptions o = RedDiscardTable({kNoClaim, kPungsRed, kWinsOnRed});
  TableHarness h(o);
  h.SeatAll();
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeSettlement); }));
  std::vector<int> ending;
  bool after_win = false;
  for (const Packet& p : h.got[2]) {
    if (p[kOffType] == kTypeClaimResult) after_win = true;
    if (after_win) ending.push_back(p[kOffType]);
  }
  // The win, four hands of thirteen revealed in fours (the winner's without
  // the discard it won on), four results, the settlement.
  std::vector<int> expected = {7};
  expected.insert(expected.end(), 16, 15);
  expected.insert(expected.end(), {9, 9, 9, 9, 17});
  EXPECT_EQ(ending, expected);
  const Packet settle = h.Of(2, kTypeSettlement)[0];
  EXPECT_EQ(settle[16 + 60 * 3 + 54], 8);           // block 3 describes seat 3
  EXPECT_EQ(settle[16 + 60 * 3 + kColSign - 2], 1);  // the winner
  EXPECT_EQ(settle[16 + 60 * 0 + kColPaid - 2], 1);  // the dealer paid
  EXPECT_NE(settle[16 + 60 * 3 + 31 - 2], 0);        // the level title's first lead byte
  int64_t sum = 0;
  for (const Packet& r : h.Of(2, kTypeHandResult)) {
    int64_t m = 0;
    for (int i = 7; i >= 0; --i) m = m << 8 | r[16 + i];
    sum += m;
  }
  EXPECT_EQ(sum, 0);
  EXPECT_EQ(h.table.Dealer(), 1);  // the dealer lost: the deal passes on
}

// Every seat gets every ready mark before the next hand: from the seats as
// they continue, and from the table for the seats that did not in time.
TEST(PracticeTable, EverySeatIsMarkedReadyBeforeTheNextHand) {
  for (int continuing : {4, 3, 0}) {
    const TableOptions o = RedDiscardTable({kNoClaim, kPungsRed, kWinsOnRed});
    TableHarness h(o);
    h.SeatAll();
    ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeSettlement); }));
    h.Clear();
    const int64_t settled_at = h.now;
    for (int s = 0; s < continuing; ++s) h.Receive(s + 1, Message(kTypePlayerQuit, s, {0, 0, 0, 1}));
    EXPECT_EQ(h.Of(1, kTypePlayerReady).size(), static_cast<size_t>(continuing));
    ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeHandStart); }));
    // Four marks, then the new hand; early when all four continued.
    std::vector<std::string> before_hand;
    for (const Packet& p : h.got[1]) {
      if (p[kOffType] == kTypeHandStart) break;
      if (p[kOffType] == kTypePlayerReady) before_hand.push_back(ReadByteText(p, 16, 32));
    }
    EXPECT_EQ(before_hand, (std::vector<std::string>{"p0", "p1", "p2", "p3"})) << continuing;
    EXPECT_EQ(h.now, continuing == 4 ? settled_at : settled_at + o.ready_ms) << continuing;
  }
}

TEST(PracticeTable, BadInputDropsOnlyItsConnection) {
  struct BadCase {
    const char* what;
    std::function<Packet()> make;
    bool drops;
  };
  const BadCase cases[] = {
      {"a non-zero first byte", [] { Packet p = Message(kTypeKeepAlive, 1, {}); p[0] = 0xFF; return p; }, true},
      {"a type high byte", [] { Packet p = Message(kTypeKeepAlive, 1, {}); p[2] = 1; return p; }, true},
      {"a type clients never send", [] { return Message(kTypeSettlement, 1, {}); }, true},
      {"a second login", [] { return Login("p1"); }, true},
      {"a discard out of turn", [] { return Message(kTypeDiscard, 1, {0, 0, 0, 0x4015}); }, false},
      {"a claim nobody offered", [] { return Message(kTypeClaimResult, 1, {kWin, 0, 0, 0}); }, false},
      {"a keep-alive", [] { return Message(kTypeKeepAlive, 1, {}); }, false},
  };
  for (const BadCase& c : cases) {
    TableHarness h;
    h.SeatAll();
    ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeActionOffer); })) << c.what;
    h.Receive(2, c.make());
    EXPECT_EQ(h.dropped == std::vector<int>{2}, c.drops) << c.what;
    if (c.drops) h.table.Disconnect(2, h.now);
    // The hand goes on for everybody, the dropped seat played by the table.
    h.Clear();
    ASSERT_TRUE(h.RunUntil([&] { return h.Of(1, kTypeDiscard).size() >= 3; })) << c.what;
    EXPECT_EQ(h.Of(3, kTypeDiscard).size(), h.Of(1, kTypeDiscard).size()) << c.what;
    EXPECT_EQ(h.got.count(2) > 0, !c.drops) << c.what;
  }
}

TEST(PracticeTable, AWrongKeyIsRefused) {
  TableOptions o = TableHarness::Defaults();
  o.key = "secret";
  TableHarness h(o);
  h.Receive(1, Login("p0", "guess"));
  h.Receive(2, Login("p1", "secret"));
  EXPECT_EQ(Value(h.Of(1, kTypeLogin)[0], 3), 3);
  EXPECT_EQ(h.dropped, std::vector<int>{1});
  EXPECT_EQ(Value(h.Of(2, kTypeLogin)[0], 3), 1);
}

TEST(PracticeTable, AReconnectWithTheSeatsTagResumesWithASnapshot) {
  TableHarness h;
  h.SeatAll();
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeActionOffer); }));
  const Packet any = h.Of(3, kTypeDraw)[0];  // seat 2's tag
  h.table.Disconnect(3, h.now);
  Packet wrong = Login("p2", "", kTypeReconnect);
  h.Receive(9, wrong);
  EXPECT_EQ(Value(h.Of(9, kTypeReconnectReply)[0], 3), 0);
  EXPECT_EQ(h.dropped, std::vector<int>{9});

  Packet again = Login("p2", "", kTypeReconnect);
  again[kOffTag] = any[kOffTag];
  again[kOffTag + 1] = any[kOffTag + 1];
  h.Receive(10, again);
  ASSERT_EQ(h.Of(10, kTypeReconnectReply).size(), 1u);
  EXPECT_EQ(h.Of(10, kTypeReconnectReply)[0][15], 1);
  const std::vector<Packet> snap = h.Of(10, kTypeSnapshot);
  ASSERT_EQ(snap.size(), 4u);
  // Its own seat's thirteen tiles with their faces, another seat's without.
  int own = 0, faces = 0;
  for (int i = 0; i < 24; ++i) {
    own += snap[2][16 + 2 * i] == 0x10 && snap[2][17 + 2 * i] != 0;
    faces += snap[0][17 + 2 * i] != 0;
  }
  EXPECT_EQ(own, 13);
  EXPECT_EQ(faces, 0);
  EXPECT_EQ(Value(snap[0], 1), 53);  // dealt from the front
  // The seat is live again: the next packets reach the new connection.
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(10, kTypeDiscard); }));
}

// A seat's account logging in afresh during the hand gets the joining
// flow, then the wild tile and indicator the snapshot needs, then the
// snapshot.
TEST(PracticeTable, ALoginAgainDuringTheHandGetsTheWildTileBeforeTheSnapshot) {
  TableHarness h;
  h.SeatAll();
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeActionOffer); }));
  const Packet wild = h.Of(3, kTypeWildTile)[0];
  h.table.Disconnect(3, h.now);
  h.Receive(10, Login("p2"));
  std::vector<int> types;
  for (const Packet& p : h.got[10])
    if (p[kOffType] == kTypeWildTile || p[kOffType] == kTypeSnapshot) types.push_back(p[kOffType]);
  EXPECT_EQ(types, (std::vector<int>{kTypeWildTile, kTypeSnapshot, kTypeSnapshot, kTypeSnapshot, kTypeSnapshot}));
  EXPECT_EQ(h.Of(10, kTypeWildTile)[0], wild);
}

TEST(PracticeTable, ChatIsRelayedToAllWithTheSendersTitle) {
  TableHarness h;
  h.SeatAll();
  Packet chat = Message(kTypeChat, 1, {0, 0, 0, 0});
  const std::string text = Utf8ToGbk("南山樵说道: 好");
  std::copy(text.begin(), text.end(), chat.begin() + 16);
  h.Receive(2, chat);
  for (int conn = 1; conn <= 4; ++conn) {
    ASSERT_EQ(h.Of(conn, kTypeChat).size(), 1u);
    const Packet line = h.Of(conn, kTypeChat)[0];
    EXPECT_EQ(line[kOffSeat], 2);
    EXPECT_EQ(GbkToUtf8(std::string(reinterpret_cast<const char*>(&line[16]))), "[练习]南山樵说道: 好");
  }
}

TEST(PracticeTable, ASpectatorGetsTheRoundTheFourProfilesAndASnapshot) {
  TableHarness h;
  h.SeatAll();
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeActionOffer); }));
  h.Receive(5, Login("watcher"));
  std::vector<int> types;
  for (const Packet& p : h.got[5]) types.push_back(p[kOffType]);
  EXPECT_EQ(types, (std::vector<int>{18, 41, 20, 20, 20, 20, 40, 40, 40, 40}));
  const Packet round = h.Of(5, kTypeRoundStart)[0];
  EXPECT_EQ(Value(round, 2), h.table.Wild());
  // The throws' sums, from which the spectator breaks the wall where the
  // seats broke it.
  const Packet hand = h.Of(1, kTypeHandStart)[0];
  EXPECT_EQ(Value(round, 0), Value(hand, 0) + Value(hand, 1));
  EXPECT_EQ(Value(round, 1), Value(hand, 2) + Value(hand, 3));
  // Every later broadcast reaches it too.
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(5, kTypeDiscard); }));
}

// A spectator whose login key names a player's user id (seat 2's, 1002)
// before the table is full takes no seat; it joins when the fourth seat
// does and is dealt what seat 2 is dealt and drawn what seat 2 draws, the
// other seats' draws without their tiles; joining mid-hand, its snapshot
// shows only seat 2's faces.
TEST(PracticeTable, AWatchingSpectatorIsSentTheWatchedSeatsTiles) {
  TableHarness h;
  for (int s = 0; s < 3; ++s) h.Receive(s + 1, Login("p" + std::to_string(s)));
  h.Receive(5, Login("watcher", "#1002"));
  EXPECT_EQ(h.Of(5, kTypeLogin).size(), 1u);
  EXPECT_FALSE(h.Got(5, kTypeSeatInfo)) << "it waits for the fourth seat";
  h.Receive(4, Login("p3"));
  EXPECT_TRUE(h.Got(4, kTypeSeatName)) << "the fourth login still takes seat 3";
  std::vector<int> types;
  for (const Packet& p : h.got[5]) types.push_back(p[kOffType]);
  EXPECT_EQ(types, (std::vector<int>{18, 41, 20, 20, 20, 20}));
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeActionOffer); }));
  const Packet deal = h.Of(5, kTypeDeal).at(0);
  EXPECT_EQ(deal[kOffSeat], 4);
  EXPECT_EQ(Value(deal, 1), 12);
  for (int j = 0; j < 12; ++j) EXPECT_EQ(deal[17 + 2 * j], h.table.Hands()[2].concealed[j]) << j;
  const std::vector<Packet> draws = h.Of(5, kTypeDraw);
  ASSERT_EQ(draws.size(), 5u);
  for (const Packet& draw : draws) {
    const int drawer = __builtin_ctz(draw[kOffSeat]);
    EXPECT_EQ(Value(draw, 3), drawer == 2 ? h.table.Hands()[2].concealed[12] : 0) << drawer;
  }
  EXPECT_FALSE(h.Got(5, kTypeActionOffer));

  h.Receive(6, Login("late", "#1001"));
  const std::vector<Packet> snapshot = h.Of(6, kTypeSnapshot);
  ASSERT_EQ(snapshot.size(), 4u);
  for (const Packet& p : snapshot) {
    const int seat = __builtin_ctz(p[kOffSeat]);
    for (int i = 0; i < 24; ++i)
      if (p[16 + 2 * i] == 0x10) {
        EXPECT_EQ(p[17 + 2 * i] != 0, seat == 1) << seat << " entry " << i;
      }
  }
}

TEST(PracticeTable, ALeaveBetweenHandsIsAnnouncedAndDuringAHandEndsTheGame) {
  TableHarness h;
  h.SeatAll();
  ASSERT_TRUE(h.RunUntil([&] { return h.Got(1, kTypeActionOffer); }));
  h.Receive(4, Message(kTypePlayerQuit, 3, {0, 0, 0, 0}));
  const std::vector<Packet> quit = h.Of(1, kTypePlayerQuit);
  ASSERT_EQ(quit.size(), 1u);
  EXPECT_EQ(quit[0][kOffSeat], 7);  // seat 3 is missing
  EXPECT_EQ(Value(quit[0], 3), 1);
  EXPECT_FALSE(h.Step());  // the table waits for a fourth player
  // A new fourth player sits down: everybody gets the joining flow again.
  h.Clear();
  h.Receive(6, Login("newcomer"));
  EXPECT_EQ(h.Of(1, kTypeSeatName).size(), 4u);
  EXPECT_EQ(ReadByteText(h.Of(1, kTypeSeatName)[3], 16, 32), "newcomer");
}

}  // namespace
}  // namespace tess::practice
