// Joining the table and starting a hand, through the scripted server: seat
// names, profiles, ready marks, the new hand, the wild tile and the round
// information.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/client.h"
#include "support/table_script.h"
#include "table/new_hand.h"
#include "table/seats.h"

namespace tess::test {
namespace {

ProfileFields Profile(const std::string& account, uint8_t gender = 1) {
  ProfileFields f;
  f.account = account;
  f.nick = account + "昵称";
  f.title = "高手";
  f.coins = 2500;
  f.level = "雀圣";
  f.avatar = gender ? "m3" : "w2";
  f.gender = gender;
  return f;
}

void ExpectSeated(TableScript& t, const std::array<std::string, 4>& by_view, const std::array<uint8_t, 4>& masks) {
  for (int v = 0; v < 4; ++v) {
    SCOPED_TRACE(v);
    EXPECT_EQ(t.c().game.custom[v].Name, by_view[v]);
    EXPECT_EQ(t.c().game.custom[v].Seat, masks[v]);
  }
}

TEST(Joining, NamesThenProfilesSeatEveryoneAndSetUpTheTable) {
  TableScript t;
  // alice holds seat mask 2 (index 1): bob 4 is her right, carol 8 opposite, dave 1 left.
  for (auto [seat, name] : {std::pair<uint8_t, const char*>{1, "dave"}, {2, "alice"}, {4, "bob"}, {8, "carol"}})
    ASSERT_TRUE(t.Deliver(SeatNameMsg(seat, name)));
  ExpectSeated(t, {"alice", "dave", "carol", "bob"}, {2, 1, 8, 4});
  EXPECT_TRUE(t.c().buttons.ButtonLatched[2]);

  ASSERT_TRUE(t.Deliver(ProfileMsg(15, Profile("alice"))));
  ASSERT_TRUE(t.Deliver(ProfileMsg(1, Profile("dave", 0))));
  ASSERT_TRUE(t.Deliver(ProfileMsg(8, Profile("carol"))));
  EXPECT_EQ(t.c().game.SeatCounter, 3);
  ASSERT_TRUE(t.Deliver(ProfileMsg(4, Profile("bob"))));
  EXPECT_EQ(t.c().game.SeatCounter, 5);

  const Form& f = t.c().MainForm;
  EXPECT_EQ(f.At("Nid", 1).caption, "[高手] dave昵称");
  EXPECT_EQ(f.At("Cash", 2).caption, "2500金币");
  EXPECT_EQ(f.At("Level", 3).caption, "雀圣");
  ASSERT_TRUE(f.At("Tou", 1).picture);
  EXPECT_EQ(f.At("Tou", 1).picture->id, 402);  // "w2": women's portrait 2
  EXPECT_EQ(f.At("Tou", 2).picture->id, 193);  // "m3"
  // The result and history boards name the seats too.
  for (const char* board : {"Score", "Hero"}) {
    const Form* b = t.c().desktop.FindForm(board);
    ASSERT_TRUE(b) << board;
    EXPECT_EQ(b->At("ID", 1).caption, "dave昵称") << board;
    EXPECT_EQ(b->At("Tou", 1).picture->id, 402) << board;
    EXPECT_FALSE(b->visible) << board;
  }
  EXPECT_FALSE(t.c().buttons.ButtonLatched[5]);
  // The compass for seat index 1; the seat-wind tiles are gone again.
  ASSERT_TRUE(f.At("ZhiNan").picture);
  EXPECT_EQ(f.At("ZhiNan").picture->id, 127);
  for (int slot = 0; slot < 4; ++slot) EXPECT_FALSE(f.At("MJ_Image", slot).visible);
  // Voices: men 3/"10" or "30", the woman 2/"10".."30", copied for the settings.
  for (int v = 0; v < 4; ++v) {
    const PlayerInfo& p = t.c().game.players[v];
    EXPECT_EQ(p.VoiceByte, v == 1 ? 2 : 3) << v;
    EXPECT_NE(p.VoiceId, "") << v;
    EXPECT_EQ(t.c().audio.PlayerVoiceIds[v], p.VoiceId);
  }
}

TEST(Joining, ProvisionalProfilesBeforeTheNamesTakeTheFreePlacesAndBringTheTableUp) {
  TableScript t;
  ASSERT_TRUE(t.Deliver(ProfileMsg(0, Profile("bob"))));
  ASSERT_TRUE(t.Deliver(ProfileMsg(0, Profile("bob"))));  // already shown: ignored
  ASSERT_TRUE(t.Deliver(ProfileMsg(0, Profile("carol"))));
  EXPECT_EQ(t.c().leave.OthersListed, 2);
  EXPECT_FALSE(t.c().game.TableCleared);
  ASSERT_TRUE(t.Deliver(ProfileMsg(0, Profile("dave"))));
  const Form& f = t.c().MainForm;
  EXPECT_EQ(f.At("Nid", 1).caption, "[高手] bob昵称");
  EXPECT_EQ(f.At("Nid", 2).caption, "[高手] carol昵称");
  EXPECT_EQ(f.At("Nid", 3).caption, "[高手] dave昵称");
  EXPECT_TRUE(t.c().game.TableCleared);
  EXPECT_EQ(f.At("Sysmsg", 0).caption, "游戏将在15秒内开始");

  // Then the names and the profiles by seat: everyone lands in their real place.
  ASSERT_TRUE(t.SeatAt(1));
  ExpectSeated(t, {"alice", "dave", "carol", "bob"}, {1, 8, 4, 2});
  EXPECT_EQ(f.At("Nid", 1).caption, "[新手] dave昵称");
  EXPECT_EQ(f.At("Nid", 3).caption, "[新手] bob昵称");
  EXPECT_EQ(t.c().game.SeatCounter, 5);
}

TEST(Joining, AFourthNameSetWithoutTheLocalAccountAssignsNoSeat) {
  TableScript t;
  for (auto [seat, name] : {std::pair<uint8_t, const char*>{1, "p1"}, {2, "p2"}, {4, "p3"}, {8, "p4"}})
    ASSERT_TRUE(t.Deliver(SeatNameMsg(seat, name)));
  ExpectSeated(t, {"alice", "", "", ""}, {0, 0, 0, 0});
}

TEST(Joining, BadProfilesTouchNothing) {
  TableScript t;
  ASSERT_TRUE(t.SeatAt(1));
  const std::string before = t.c().MainForm.At("Nid", 1).caption;
  ServerPacket two_seats = ProfileMsg(3, Profile("mallory"));  // names no single seat
  ASSERT_TRUE(t.Deliver(two_seats));
  ProfileFields unterminated = Profile("bob");
  unterminated.nick = std::string(40, 'x');  // fills the field to its end, no zero byte
  ASSERT_TRUE(t.Deliver(ProfileMsg(2, unterminated)));
  EXPECT_EQ(t.c().game.players[3].Nick, std::string(32, 'x'));
  EXPECT_EQ(t.c().MainForm.At("Nid", 1).caption, before);
  EXPECT_FALSE(t.h.ended);
}

TEST(Joining, ProfileNumbersAreLittleEndianAndTextsGbk) {
  ProfileFields f = Profile("bob");
  f.location = "成都";
  f.points = 0x0102030405060708ull;
  f.credit = 99;
  f.logins = -3;
  f.wins = 70000;
  f.user_id = 123456789012ull;
  f.avatar = "";
  ServerPacket p = ProfileMsg(2, f);
  Packet raw{};
  const PacketBytes bytes = Encode(p);
  std::copy(bytes.begin(), bytes.end(), raw.begin());
  const PlayerInfo info = DecodeProfile(raw);
  EXPECT_EQ(info.Nick, "bob昵称");
  EXPECT_EQ(info.Location, "成都");
  EXPECT_EQ(info.Avatar, "m1");
  EXPECT_EQ(info.Points, static_cast<double>(0x0102030405060708ull));
  EXPECT_EQ(info.Credit, 99);
  EXPECT_EQ(info.Logins, -3);
  EXPECT_EQ(info.Wins, 70000);
  EXPECT_EQ(info.UserId, 123456789012.0);
  EXPECT_EQ(info.Account, "bob");
  EXPECT_EQ(info.Title, "高手");
}

TEST(Joining, TwoPlayersOfAGenderNeverShareAVoiceNumber) {
  TableScript t;
  ASSERT_TRUE(t.SeatAt(1));
  for (int64_t clock = 0; clock < 40; ++clock) {
    t.h.clock.AdvanceTo(t.h.clock.NowMs() + 1);
    for (auto& p : t.c().game.players) p.Gender = 1;
    t.c().game.players[2].Gender = 0;
    AssignVoices(t.c());
    EXPECT_EQ(std::count(t.c().game.MaleVoiceUsed.begin(), t.c().game.MaleVoiceUsed.end(), true), 3);
    EXPECT_EQ(std::count(t.c().game.FemaleVoiceUsed.begin(), t.c().game.FemaleVoiceUsed.end(), true), 1);
  }
}

TEST(Joining, ReadyMarksAndTheClearingOnceEveryoneElseIsReady) {
  TableScript t;
  ASSERT_TRUE(t.SeatAt(1));
  auto ready = [](const std::string& name) {
    ServerPacket p;
    p.type = 23;
    p.value[0] = 1;
    p.Text(16, name);
    return p;
  };
  const Form& f = t.c().MainForm;
  ASSERT_TRUE(t.Deliver(ready("carol")));
  EXPECT_TRUE(f.At("OK", 2).visible);
  t.c().conn.HadHand = true;
  t.c().game.TableCleared = false;
  ASSERT_TRUE(t.Deliver(ready("dave")));
  EXPECT_FALSE(t.c().game.TableCleared);
  ASSERT_TRUE(t.Deliver(ready("bob")));
  EXPECT_TRUE(t.c().game.TableCleared);
  EXPECT_EQ(f.At("AnNiu", 2).picture->id, t.c().pictures.ButtonPictures[6]);
}

TEST(NewHand, WallBreakCases) {
  struct Case {
    int dealer;
    std::array<int, 4> dice;
    int front, back;
  };
  for (const Case& k : {Case{0, {1, 1, 1, 1}, 110, 108}, Case{3, {6, 6, 6, 6}, 48, 46}, Case{1, {1, 1, 1, 1}, 8, 6},
                        Case{2, {3, 4, 5, 6}, 36, 34}}) {
    const WallBreak b = BreakWall(k.dealer, k.dice[0] + k.dice[1], k.dice[2] + k.dice[3]);
    EXPECT_EQ(b.front, k.front) << k.dealer;
    EXPECT_EQ(b.back, k.back) << k.dealer;
  }
}

TEST(NewHand, MarksTheDealerBuildsTheWallAndThrowsTheDice) {
  TableScript t;
  ASSERT_TRUE(t.SeatAt(1));
  const size_t lobby_before = t.h.lobby->Numbers().size();
  ASSERT_TRUE(t.Deliver(HandStartMsg(1, {0, 0, 0, 0})));  // the local player deals; dice of 0 count as 1
  const GameState& g = t.c().game;
  EXPECT_TRUE(g.custom[0].IsDealer);
  EXPECT_TRUE(g.HandInProgress);
  EXPECT_EQ(g.juNum, 1);
  EXPECT_EQ(g.WallFront, 110);
  EXPECT_EQ(g.WallBack, 108);
  EXPECT_EQ(g.Dice, (std::array<int16_t, 2>{0, 0}));
  const Form& f = t.c().MainForm;
  for (int slot = 0; slot < kTileSlots; ++slot) {
    const Element& e = f.At("MJ_Image", slot);
    ASSERT_TRUE(e.visible && e.picture) << slot;
    EXPECT_EQ(e.picture->id, 201 + 36 * (slot / 34) + 8) << slot;  // the side's lying back
  }
  // Side 0, stack 3: lower tile at (809 - 3 * 36, 476), upper 22 lower.
  EXPECT_EQ(f.At("MJ_Image", 6).left, 701);
  EXPECT_EQ(f.At("MJ_Image", 7).top, 498);
  // On the left side a nearer (lower) stack covers a farther one.
  EXPECT_GT(f.ZOf(f.At("MJ_Image", 34)), f.ZOf(f.At("MJ_Image", 36)));
  EXPECT_FALSE(f.At("Sai_Image", 0).visible);
  EXPECT_EQ(f.At("Sai_Image", 0).picture->id, 161);  // face 1 last shown
  EXPECT_TRUE(f.At("ZhiNan").visible);
  for (int i = 1; i < 5; ++i) EXPECT_FALSE(f.At("Operation", i).visible);
  const auto posts = t.h.lobby->Numbers();
  EXPECT_NE(std::find(posts.begin() + static_cast<long>(lobby_before), posts.end(), 1109u), posts.end());
  const std::string trace = t.h.TraceText();
  EXPECT_NE(trace.find("xipai.wav"), std::string::npos);
  EXPECT_NE(trace.find("zhise.wav"), std::string::npos);
}

TEST(NewHand, ADealerWhoIsNotAtTheTableEndsTheGame) {
  TableScript t;
  ASSERT_TRUE(t.SeatAt(1));
  EXPECT_FALSE(t.Deliver(HandStartMsg(0, {1, 1, 1, 1})));
  ASSERT_TRUE(t.h.ended);
  EXPECT_NE(t.h.TraceText().find("有玩家退出，游戏结束！"), std::string::npos);
}

TEST(NewHand, WildTileAndRoundInformation) {
  TableScript t;
  ASSERT_TRUE(t.SeatAt(1));
  ASSERT_TRUE(t.Deliver(WildTileMsg(0x125, 0x24)));
  EXPECT_EQ(t.c().game.WildTile, 0x25);
  EXPECT_EQ(t.c().game.IndicatorTile, 0x24);
  ServerPacket round;
  round.type = 41;
  round.seat = 4;
  round.value = {3, 5, 0x18, 0x17};
  ASSERT_TRUE(t.Deliver(round));
  const Form& f = t.c().MainForm;
  EXPECT_EQ(f.At("Zhuang").caption, "南");
  EXPECT_TRUE(f.At("Zhuang").visible);
  EXPECT_EQ(t.c().game.DealerSeat, 4);
  EXPECT_EQ(t.c().game.RoundDice, (std::array<int16_t, 2>{3, 5}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(t.c().buttons.ButtonLatched[i]);
    EXPECT_FALSE(f.At("AnNiu", i).enabled);
  }
  EXPECT_TRUE(t.c().game.TableCleared);
}

}  // namespace
}  // namespace tess::test
