#include "table/new_hand.h"

#include <random>

#include "core/client.h"
#include "core/lobby_link.h"
#include "core/program_end.h"
#include "platform/gbk.h"
#include "table/pictures.h"
#include "table/table_clear.h"

namespace tess {
namespace {

constexpr const char* kPlayerLeftGameOver = "有玩家退出，游戏结束！";
constexpr const char* kRoundWinds = "北西南东北西南";
constexpr int kWallBuildPauseMs = 10;
constexpr int kDiceFramePauseMs = 2;
constexpr int kDiceShownMs = 600;

void ShowElement(Element* e) {
  if (e) e->visible = true;
}

// Shows every stack of the wall, side by side from the first stack on,
// nearer stacks in front of farther ones.
void BuildWall(Client& c) {
  Form& f = c.MainForm;
  PlayEffect(c, kEffectShuffle);
  for (int side = 0; side < 4; ++side) {
    for (int half = 0; half < 2; ++half) ShowTilePicture(c, 34 * side + half, 36 * side + 8);
  }
  for (int i = 1; i <= 16; ++i) {
    for (int side = 0; side < 4; ++side)
      for (int half = 0; half < 2; ++half) {
        Element& e = f.At("MJ_Image", 34 * side + 2 * i + half);
        e.SetPicture(f.At("MJ_Image", 34 * side + half).picture);
        e.visible = true;
      }
    c.loop.WaitProcessing(kWallBuildPauseMs);
  }
  StackWall(c, [](int) { return true; });
  for (int i = 0; i < kPlacedWinds; ++i)
    if (Element* e = f.Find("BaiBao_img", i)) e->visible = false;
  c.play.Declared.fill(false);
  c.play.Placing.fill(false);
  c.play.PlacedCount.fill(0);
  c.tick.HandLocked = false;
  c.play.PlacedTotal = 0;
  PostToLobby(c, kMsgHandStarted);
  c.play.DeclBubbleShown = false;
  c.play.RightPileCount = 0;
  c.play.DiscardLaid = false;
  c.game.Dice = {0, 0};
}

// One throw: the rolling frames, then the faces a and b (1-6), shown 0.6 s.
void ThrowDice(Client& c, int a, int b) {
  Form& f = c.MainForm;
  f.At("Label3").caption.clear();
  PlayEffect(c, kEffectDice);
  Element* dice[2] = {&f.At("Sai_Image", 0), &f.At("Sai_Image", 1)};
  const double lefts[2] = {400, 560};
  for (int i = 0; i < 2; ++i) {
    dice[i]->left = lefts[i] * c.game.ScaleX;
    dice[i]->top = 284 * c.game.ScaleY;
    dice[i]->visible = true;
  }
  std::minstd_rand rng(static_cast<uint32_t>(c.loop.NowMs()));
  const int frames = 20 + static_cast<int>(rng() % 5);
  for (int frame = 0; frame <= frames; ++frame) {
    const int faces[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
      const int entry = frame == frames ? faces[i] - 1 : 6 + static_cast<int>(rng() % 10);
      ShowResourcePicture(c, *dice[i], c.pictures.DicePictures[entry]);
    }
    c.loop.WaitProcessing(kDiceFramePauseMs);
  }
  c.loop.WaitProcessing(kDiceShownMs);
  for (Element* d : dice) d->visible = false;
}

// A die of 0 (or anything outside 1-6) shows and counts as 1.
int Die(int v) { return v >= 1 && v <= 6 ? v : 1; }

}  // namespace

WallBreak BreakWall(int k, int first_throw, int second_throw) {
  const int quarter = ((13 + k - first_throw) % 4 + 4) % 4;
  const int front = ((2 * (17 * quarter + first_throw + second_throw)) % 136 + 136) % 136;
  return {front, (front + 134) % 136};
}

void OnHandStart(Client& c) {
  GameState& g = c.game;
  Form& f = c.MainForm;
  f.At("Label3").caption.clear();
  if (Form* exit = c.desktop.FindForm("frmExit")) exit->visible = false;
  c.leave.OtherExitShown = false;
  if (g.IsSpectator) ClearTableForNextHand(c);
  SwitchTaskOn(c, kTaskBlink);
  c.conn.HadHand = true;
  g.HandInProgress = true;
  c.settlement.HandUnsettled = true;
  for (int v = 0; v < kSeatCount; ++v)
    if (Element* ok = f.Find("OK", v)) ok->visible = false;
  ++g.juNum;
  ClearTable(c);
  BuildWall(c);
  c.analysis.NeedSuitChoice = 1;

  int dealer = -1;
  for (int v = 0; v < kSeatCount && dealer < 0; ++v)
    if (g.custom[v].Seat == g.info.Seat) dealer = v;
  if (dealer < 0) {
    MessageBoxOk(c, kPlayerLeftGameOver);
    RestoreLobby(c);
    EndProgram(c, "new hand for a dealer who is not at the table");
  }
  g.custom[dealer].IsDealer = true;
  const std::array<int, 4> dice = {Die(g.info.value[0]), Die(g.info.value[1]), Die(g.info.value[2]),
                                   Die(g.info.value[3])};
  ThrowDice(c, dice[0], dice[1]);
  ThrowDice(c, dice[2], dice[3]);
  const WallBreak at = BreakWall(dealer, dice[0] + dice[1], dice[2] + dice[3]);
  g.WallFront = static_cast<int16_t>(at.front);
  g.WallBack = static_cast<int16_t>(at.back);
  c.snapshot.BreakFront = g.WallFront;
  g.Dice = {g.info.value[0], g.info.value[1]};

  for (const char* name : {"ZhiNan", "Host", "Zhuang"}) ShowElement(f.Find(name));
  for (auto& suit : g.SeenCount) suit.fill(0);
  for (int i = 1; i < 5; ++i) {
    Element& op = f.At("Operation", i);
    op.visible = false;
    op.enabled = false;
    ShowResourcePicture(c, op, c.pictures.ActionPictures[3 * i]);
  }
}

void OnWildTile(Client& c) {
  c.game.WildTile = static_cast<int16_t>(c.game.info.value[2] & 0xFF);
  c.game.IndicatorTile = static_cast<int16_t>(c.game.info.value[3] & 0xFF);
}

void OnRoundInfo(Client& c) {
  GameState& g = c.game;
  Form& f = c.MainForm;
  for (int i = 0; i < 3; ++i) c.buttons.ButtonLatched[i] = true;
  ClearTableForNextHand(c);
  g.info.Seat &= 0x0F;
  const int alternate[3] = {1, 3, 5};
  for (int i = 0; i < 3; ++i) {
    Element& b = f.At("AnNiu", i);
    b.enabled = false;
    ShowButtonPicture(c, b, alternate[i]);
  }
  // One character of the seven, by the dealer's seat.
  const std::vector<std::string_view> winds = Utf8Chars(kRoundWinds);
  f.At("Zhuang").caption = std::string(winds[SeatIndexOf(g.info.Seat).value_or(0)]);
  ShowElement(f.Find("Host"));
  ShowElement(f.Find("Zhuang"));
  g.DealerSeat = g.info.Seat;
  g.WildTile = g.info.value[2];
  g.IndicatorTile = g.info.value[3];
  g.RoundDice = {g.info.value[0], g.info.value[1]};
}

}  // namespace tess
