// A spectator's client against the scripted server: the watched table built
// from the four profiles, the twins of the deal, draw, discard and claim
// handlers with their blocking pauses, the settlement without a countdown,
// no packet sent from any input, and profiles and seats that do not fit.
#include <gtest/gtest.h>

#include "core/client.h"
#include "support/table_script.h"
#include "support/table_steps.h"

namespace tess::test {
namespace {

constexpr int kPung = 8, kAddedKong = 64;
constexpr int16_t kWild = 0x25, kIndicator = 0x24;

// The four players: seat mask, account, nick, user id.
struct Player {
  uint8_t seat;
  const char* account;
  const char* nick;
  uint64_t user_id;
};
constexpr Player kPlayers[] = {{1, "p1", "东一", 101}, {2, "p2", "南二", 102}, {4, "p4", "西四", 104}, {8, "p8", "北八", 108}};

ProfileFields Fields(const Player& p) {
  ProfileFields f;
  f.account = p.account;
  f.nick = p.nick;
  f.avatar = "m2";
  f.title = "看客";
  f.level = "高手";
  f.coins = 500 + p.seat;
  f.user_id = p.user_id;
  return f;
}

// Type 41: dealer mask, dice, wild tile, indicator.
ServerPacket RoundInfoMsg(uint8_t dealer, int16_t d0, int16_t d1) {
  ServerPacket p;
  p.type = 41;
  p.seat = dealer;
  p.value = {d0, d1, kWild, kIndicator};
  return p;
}

ServerPacket Filler() {
  ServerPacket p;
  p.type = 8;  // handled, changes nothing
  return p;
}

// The watched player's dealt tiles: sorted 81 81 42 43 44 23 24 26 15 15 15 17, then 11 and 27.
constexpr std::array<uint16_t, 12> kWatchedTiles = {0x81, 0x81, 0x42, 0x43, 0x44, 0x23,
                                                    0x24, 0x26, 0x15, 0x15, 0x15, 0x17};

class Spectator : public ::testing::Test {
 protected:
  Client& c() { return t.c(); }
  SeatState& seat(int v) { return c().game.custom[v]; }
  Element& Slot(int slot) { return c().MainForm.At("MJ_Image", slot); }
  int Face(int group, int code) { return 201 + *PictureIndex(group, code); }

  // The round information (dealer seat 1) and the four profiles, then the
  // hand: the watched player (seat 1, the dealer) holds 14, the others 13,
  // the wild tile named.
  bool Dealt(TableScript& s) {
    if (!s.Deliver(RoundInfoMsg(1, 3, 5))) return false;
    for (const Player& p : kPlayers)
      if (!s.Deliver(ProfileMsg(p.seat, Fields(p)))) return false;
    return s.DeliverAll({HandStartMsg(1, {1, 1, 1, 1}), DealMsg(1, 12, kWatchedTiles), DrawMsg(1, 0x11),
                         DrawMsg(2, 0), DrawMsg(4, 0), DrawMsg(8, 0), DrawMsg(1, 0x27),
                         WildTileMsg(kWild, kIndicator)});
  }
  bool Dealt() { return Dealt(t); }
  std::vector<int> Codes(int v) {
    std::vector<int> out;
    for (int i = seat(v).HandStart; i < seat(v).HandStart + seat(v).HandCount; ++i) out.push_back(seat(v).mj[i].code);
    return out;
  }
  // The "ms" of every "recv" trace event of message type `type`.
  std::vector<int64_t> ReceivedAt(int type) {
    std::vector<int64_t> at;
    for (const TraceEvent& e : TraceEvents(t.h))
      if (e.ev == "recv" && std::stoi(e.fields["hex"].text.substr(4, 4), nullptr, 16) == type) at.push_back(e.ms);
    return at;
  }
  std::string LastSound(TableScript& s) {
    std::string file;
    for (const TraceEvent& e : TraceEvents(s.h))
      if (e.ev == "sound") file = e.fields["file"].text;
    return file;
  }

  TableScript t{TableScript::Watching{"101"}};
};

// Whichever seat is watched, and in whatever order the profiles come, the
// watched player sits at the bottom, the others around it, and the dealer
// and wall break follow the round information (dealer mask 4, dice 3 and 5).
TEST_F(Spectator, TheWatchedPlayerSitsAtTheBottomAndTheOthersAroundIt) {
  struct Case {
    int watched;                   // index into kPlayers
    std::array<uint8_t, 4> seats;  // expected custom(v).Seat, v = 0..3
    int dealer_view;
    int16_t wall_front;
  };
  const Case cases[] = {
      {0, {1, 8, 4, 2}, 2, 16},
      {1, {2, 1, 8, 4}, 3, 50},
      {2, {4, 2, 1, 8}, 0, 84},
      {3, {8, 4, 2, 1}, 1, 118},
  };
  for (const Case& k : cases) {
    const Player& w = kPlayers[k.watched];
    SCOPED_TRACE(w.account);
    TableScript s{TableScript::Watching{std::to_string(w.user_id)}};
    Client& cl = s.c();
    ASSERT_TRUE(s.Deliver(RoundInfoMsg(4, 3, 5)));
    for (int i : {2, 0, 3, 1}) ASSERT_TRUE(s.Deliver(ProfileMsg(kPlayers[i].seat, Fields(kPlayers[i]))));
    for (int v = 0; v < 4; ++v) {
      SCOPED_TRACE(v);
      const Player* p = nullptr;
      for (const Player& q : kPlayers)
        if (q.seat == k.seats[v]) p = &q;
      ASSERT_TRUE(p);
      EXPECT_EQ(cl.game.custom[v].Seat, k.seats[v]);
      EXPECT_EQ(cl.game.custom[v].Name, p->account);
      EXPECT_EQ(cl.game.players[v].UserId, p->user_id);
      EXPECT_EQ(cl.MainForm.At("Nid", v).caption, std::string("[看客] ") + p->nick);
      EXPECT_EQ(cl.MainForm.At("Cash", v).caption, std::to_string(500 + p->seat) + "金币");
      EXPECT_EQ(cl.MainForm.At("Level", v).caption, "高手");
      EXPECT_EQ(cl.game.custom[v].IsDealer, v == k.dealer_view);
      EXPECT_FALSE(cl.game.players[v].VoiceId.empty()) << "every seat has a voice";
    }
    EXPECT_EQ(cl.game.WallFront, k.wall_front);
    EXPECT_EQ(cl.game.WallBack, (k.wall_front + 134) % 136);
    EXPECT_EQ(cl.MainForm.At("ZhiNan").picture->id, cl.pictures.CompassPictures[__builtin_ctz(w.seat)]);
  }
}

// No profile carries the watched id: no seat is assigned, but the dealer
// (mask 0 matches the unassigned seats) and the wall are still set and
// every seat's profile shown as it stands.
TEST_F(Spectator, NoWatchedPlayerStillSetsTheDealerWallAndProfiles) {
  TableScript s{TableScript::Watching{"999"}};
  Client& cl = s.c();
  ASSERT_TRUE(s.Deliver(RoundInfoMsg(0, 3, 5)));
  for (const Player& p : kPlayers) ASSERT_TRUE(s.Deliver(ProfileMsg(p.seat, Fields(p))));
  for (int v = 0; v < 4; ++v) {
    EXPECT_EQ(cl.game.custom[v].Seat, 0) << v;
    EXPECT_EQ(cl.game.custom[v].IsDealer, v == 0) << v;
  }
  EXPECT_EQ(cl.game.WallFront, 84);
  EXPECT_EQ(cl.MainForm.At("Cash", 0).caption, "0金币");
  // The last profile goes on as a seated client's would: seat 8 is on the
  // left of an unknown local seat.
  EXPECT_EQ(cl.MainForm.At("Nid", 1).caption, "[看客] 北八");
}

// Bad input: a user id that two profiles carry (the first to come wins),
// and seat bytes that fit no place around the watched seat (0, the watched
// seat again, several bits, high bits): nothing is placed for them and the
// client goes on.
TEST_F(Spectator, ATwiceUsedUserIdAndSeatsThatFitNoPlaceAreSurvived) {
  {
    ASSERT_TRUE(t.Deliver(RoundInfoMsg(2, 1, 1)));
    ProfileFields twin = Fields(kPlayers[3]);
    twin.user_id = 101;
    for (const auto& [seat, f] : std::vector<std::pair<uint8_t, ProfileFields>>{
             {8, twin}, {1, Fields(kPlayers[0])}, {2, Fields(kPlayers[1])}, {4, Fields(kPlayers[2])}})
      ASSERT_TRUE(t.Deliver(ProfileMsg(seat, f)));
    EXPECT_EQ(seat(0).Seat, 8);
    EXPECT_EQ(seat(0).Name, "p8");
    EXPECT_EQ(seat(1).Seat, 4);
    EXPECT_EQ(seat(3).Seat, 1);
    // Four more profiles (the table joined again): the table is built anew.
    for (const Player& p : kPlayers) ASSERT_TRUE(t.Deliver(ProfileMsg(p.seat, Fields(p))));
    EXPECT_EQ(seat(0).Seat, 1);
    EXPECT_EQ(seat(0).Name, "p1");
  }
  TableScript s{TableScript::Watching{"101"}};
  Client& cl = s.c();
  ASSERT_TRUE(s.Deliver(RoundInfoMsg(1, 1, 1)));
  const std::pair<uint8_t, int> messages[] = {{0xF1, 0}, {0, 1}, {1, 2}, {3, 3}};
  for (const auto& [seat_byte, k] : messages) ASSERT_TRUE(s.Deliver(ProfileMsg(seat_byte, Fields(kPlayers[k]))));
  EXPECT_EQ(cl.game.custom[0].Seat, 1) << "the high bits are dropped";
  for (int v = 1; v < 4; ++v) EXPECT_EQ(cl.game.custom[v].Seat, 0) << v;
  EXPECT_TRUE(s.DeliverAll({HandStartMsg(1, {1, 1, 1, 1}), DealMsg(1, 12, kWatchedTiles)}));
  EXPECT_FALSE(s.h.ended);
}

// A claim of the watched player that its hand cannot hold (a concealed kong
// of a tile it has one of, a discard with no tile left) ends the client
// through the fault exit, restoring the lobby, and never reads outside the
// hand's records.
TEST_F(Spectator, AWatchedClaimItsHandCannotHoldEndsThroughTheFaultExit) {
  ASSERT_TRUE(Dealt());
  const size_t lobby_before = t.h.lobby->Received().size();
  EXPECT_FALSE(t.Deliver(ClaimMsg(1, 32, {0x11, 0x11, 0x11})));
  ASSERT_TRUE(t.h.ended);
  EXPECT_NE(t.h.ended->find("type 7"), std::string::npos) << *t.h.ended;
  const auto got = t.h.lobby->Received();
  ASSERT_GT(got.size(), lobby_before);
  EXPECT_EQ(got.back().wparam, kScRestore);
}

// The watched player's tiles are dealt face up into the bottom row, as its
// own client shows them; the others get backs.
TEST_F(Spectator, TheWatchedHandIsDealtFaceUp) {
  ASSERT_TRUE(Dealt());
  std::vector<int> sorted = {0x81, 0x81, 0x42, 0x43, 0x44, 0x23, 0x24, 0x26, 0x27, 0x11, 0x15, 0x15, 0x15, 0x17};
  EXPECT_EQ(Codes(0), sorted);
  for (int i = seat(0).HandStart; i < seat(0).HandStart + seat(0).HandCount; ++i)
    EXPECT_EQ(Slot(seat(0).mj[i].slot).picture->id, 201 + *PictureIndex(4, seat(0).mj[i].code)) << i;
  for (int v = 1; v < 4; ++v) EXPECT_EQ(seat(v).HandCount, 13) << v;
  EXPECT_FALSE(c().MainForm.At("Time_Img").visible);
}

// Each twin blocks the client for its pause: a packet that arrives while it
// waits is taken only once the pause is over, and nothing is lost.
TEST_F(Spectator, EachTwinBlocksForItsPauseAndWhatArrivesMeanwhileIsHandledAfter) {
  ASSERT_TRUE(Dealt());
  struct Case {
    const char* what;
    ServerPacket message;
    int64_t pause_ms;
  };
  const Case cases[] = {
      {"discard", DiscardMsg(2, 0x29), 1000},
      {"pung", ClaimMsg(4, kPung, {0x29, 0x29, 0x29}), 2000},
      {"discard after the pung", DiscardMsg(4, 0x31), 1000},
      {"draw", DrawMsg(8, 0), 800},
  };
  bool send_filler = false, sent = false;
  bool seen_blocked = false;
  t.h.loop.AddSource([&] {
    if (!t.h.loop.Blocked() || !send_filler) return;
    seen_blocked = true;
    send_filler = false;
    sent = t.h.server.Send(Filler());
  }, 10, EventLoop::SourceKind::kWatcher);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    const size_t fillers = ReceivedAt(8).size();
    send_filler = true;
    sent = seen_blocked = false;
    ASSERT_TRUE(t.Deliver(k.message));
    ASSERT_TRUE(seen_blocked && sent);
    const auto before = c().packets.RecvReadPos;
    ASSERT_TRUE(t.h.RunUntil([&] { return c().packets.RecvReadPos != before; }));
    const int64_t taken = ReceivedAt(k.message.type).back();
    const std::vector<int64_t> filler_at = ReceivedAt(8);
    ASSERT_EQ(filler_at.size(), fillers + 1);
    EXPECT_GE(filler_at.back() - taken, k.pause_ms);
  }
}

// A discard: no 报/摆 mark is taken, no wind goes to the placed-wind row,
// no bubble appears; the tile lies in the centre. The watched player's own
// discard leaves its hand, which closes up sorted.
TEST_F(Spectator, ADiscardShowsNoMarksRowOrBubble) {
  ASSERT_TRUE(Dealt());
  // The right seat (mask 2) declares, places and follows the dealer with a wind.
  const int slot = seat(3).mj[seat(3).HandStart + seat(3).HandCount - 1].slot;
  ASSERT_TRUE(t.Deliver(DiscardMsg(2, 0x11, /*mark=*/1, /*kind=*/3)));
  EXPECT_EQ(c().game.LastDiscardSlot, slot);
  EXPECT_EQ(Slot(slot).picture->id, Face(3, 0x11));
  EXPECT_EQ(seat(3).HandCount, 12);
  EXPECT_FALSE(c().play.Declared[3]);
  EXPECT_FALSE(c().play.Placing[3]);
  EXPECT_EQ(c().play.PlacedTotal, 0);
  for (const Element* e : c().MainForm.Array("BaiBao_img")) EXPECT_FALSE(e->visible);
  EXPECT_FALSE(c().MainForm.At("speakFeng").visible);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(c().MainForm.At("tsSpeak", i).visible) << i;

  // The watched player lets one red dragon go.
  ASSERT_TRUE(t.Deliver(DrawMsg(1, 0x12)));
  ASSERT_TRUE(t.Deliver(DiscardMsg(1, 0x15)));
  EXPECT_EQ(Codes(0), (std::vector<int>{0x81, 0x81, 0x42, 0x43, 0x44, 0x23, 0x24, 0x26, 0x27, 0x11, 0x12, 0x15, 0x15, 0x17}));
  const Element& centre = Slot(c().game.LastDiscardSlot);
  EXPECT_EQ(centre.picture->id, Face(0, 0x15));
  EXPECT_EQ(c().game.LastDiscarder, 0);
  const Element& table = c().MainForm.At("Pic1");
  EXPECT_NEAR(centre.left + centre.width / 2, table.width / 2, 30);
  EXPECT_NE(t.h.TraceText().find("15.wav"), std::string::npos) << "the watched player names its tile";
}

// An added kong is announced on a spectator's table for every tile: the red
// dragon with caption 4 and clip "04", the wild tile with 5 and "05", any
// other with 6 and "03", each in the claimer's voice.
TEST_F(Spectator, AddedKongsOfTheRedDragonAndTheWildTileHaveTheirCaptionAndVoice) {
  struct Case {
    int16_t tile;
    int caption_entry;
    const char* clip;
  };
  const Case cases[] = {{0x15, 4, "04.wav"}, {kWild, 5, "05.wav"}, {0x44, 6, "03.wav"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.clip);
    TableScript s{TableScript::Watching{"101"}};
    ASSERT_TRUE(Dealt(s));
    // The left seat (mask 8) sets the tile aside.
    ASSERT_TRUE(s.Deliver(ClaimMsg(8, kAddedKong, {k.tile, k.tile, k.tile})));
    const Element& words = s.c().MainForm.At("Words");
    EXPECT_TRUE(words.visible);
    EXPECT_TRUE(s.c().MainForm.At("Speak", 0).visible);
    EXPECT_EQ(words.picture->id, s.c().pictures.ClaimPictures[k.caption_entry]);
    EXPECT_EQ(LastSound(s), VoicePrefix(s.c(), 1) + k.clip);
    EXPECT_EQ(s.c().game.LastDiscard, k.tile);
  }
}

// A spectator is offered nothing and sends nothing: an offer for the
// watched seat shows no button and starts no countdown; clicks on the hand,
// a right click on the table and Enter in the chat line send no packet;
// the settlement starts no continue countdown, and the continue button
// sends nothing either.
TEST_F(Spectator, NoInputSendsAndTheSettlementHasNoCountdown) {
  ASSERT_TRUE(Dealt());
  const size_t received = t.h.server.ReceivedCount();
  ASSERT_TRUE(t.Deliver(OfferMsg(1, 1 | kPung | 128)));
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(c().MainForm.At("Operation", i).visible) << i;
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskTurnCountdown]);
  const int tile = seat(0).mj[seat(0).HandStart].slot;
  t.Click(Slot(tile));
  t.Click(Slot(tile), kButtonRight);
  t.ClickTable(500, 300, kButtonRight);
  t.h.Do([&](Client& cl) {
    cl.desktop.focus = &cl.MainForm.At("Chat");
    cl.desktop.TypeText("hi");
    cl.desktop.KeyDown(13, 0);
  });
  EXPECT_EQ(seat(0).HandCount, 14) << "nothing was discarded";
  for (uint8_t s : {1, 2, 4, 8}) {
    ServerPacket result;
    result.type = 9;
    result.seat = s;
    result.value[1] = 1;
    ASSERT_TRUE(t.Deliver(result));
  }
  EXPECT_FALSE(c().tick.TaskEnabled[kTaskContinueCountdown]);
  EXPECT_FALSE(c().MainForm.At("Number").visible);
  t.Click(c().MainForm.At("AnNiu", 2));
  t.h.RunFor(20000);
  EXPECT_FALSE(t.h.ended);
  EXPECT_EQ(t.h.server.ReceivedCount(), received);
}

}  // namespace
}  // namespace tess::test
