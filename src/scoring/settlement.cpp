#include "scoring/settlement.h"

#include <cmath>
#include <limits>

#include "core/client.h"
#include "core/ini_file.h"
#include "platform/gbk.h"
#include "scoring/history_file.h"
#include "table/dispatcher.h"
#include "table/pictures.h"
#include "table/seats.h"
#include "table/table_clear.h"
#include "ui/result_boards.h"
#include "ui/window_frame.h"

namespace tess {
namespace {

constexpr const char* kClickContinue = "请点击【继续】按钮继续游戏！";
constexpr const char* kDrawnHand = "      黄  庄";
constexpr const char* kFinalScore = "最终分：";
constexpr const char* kHandTotal = "胡牌总分：";
constexpr const char* kRoomBars = "   房间条数:  ";
constexpr const char* kTaxLine = "扣税：3%";
constexpr const char* kDashes = "------------------------------";
constexpr const char* kCoins = "金币";
constexpr const char* kBars = "金条";
constexpr uint32_t kGreen = 0x00FF00;
constexpr int kAutoContinueSeconds = 5, kContinueSeconds = 15;

std::string Pad(const std::string& text, size_t n) {
  const size_t chars = Utf8Chars(text).size();
  return chars >= n ? text : text + std::string(n - chars, ' ');
}

const char* UnitOf(const HandResultRow& row) { return row[1] == 1 ? kCoins : kBars; }

// The seat's level title: GBK pairs of columns 31-46, up to the first 0.
std::string LevelTitle(const HandResultRow& row) {
  std::string gbk;
  for (int k = 0; k <= 14; k += 2) {
    // A lead byte without its trail ends the title too.
    if (row[31 + k] == 0 || row[32 + k] == 0) break;
    gbk += static_cast<char>(row[31 + k] & 0xFF);
    gbk += static_cast<char>(row[32 + k] & 0xFF);
  }
  return GbkToUtf8(gbk);
}

// The 64-bit little-endian result at packet bytes 16..23, negative when its
// top byte is 129 or more; it must fit 32 bits.
int32_t ResultOf(const Packet& p) {
  const bool negative = p[23] >= 129;
  uint64_t v = 0;
  for (int i = 23; i >= 16; --i) v = v << 8 | static_cast<uint8_t>(negative ? ~p[i] : p[i]);
  const int64_t result = negative ? -static_cast<int64_t>(v + 1) : static_cast<int64_t>(v);
  if (result < std::numeric_limits<int32_t>::min() || result > std::numeric_limits<int32_t>::max())
    throw HandlerFault("a hand result that does not fit 32 bits");
  return static_cast<int32_t>(result);
}

classIniFile HistoryFile(const Client& c) {
  classIniFile file;
  file.INIFileName = c.options.program_dir + "/info.kb";
  return file;
}

void WriteHistory(Client& c) {
  classIniFile file = HistoryFile(c);
  WriteHistoryEntry(file, c.game.juNum, c.settlement.view.State);
}

void ShowScoreUnlessHidden(Client& c) {
  Form& score = LoadScoreBoard(c);
  ShowResultView(c);
  if (!c.tick.Hidden) {
    score.visible = true;
    c.desktop.Raise(score);
  }
}

// The prompt to continue after a hand.
void PromptToContinue(Client& c) {
  ClearStatusLines(c);
  SetStatusLine(c, 0, kClickContinue);
  c.buttons.ButtonLatched[2] = false;
  c.game.TableCleared = false;
  SetStatusLine(c, 1, kGameStartsSoon);
}

}  // namespace

void ShowResultView(Client& c) {
  Form& score = LoadScoreBoard(c);
  const ResultView& view = c.settlement.view;
  for (int k = 0; k < kResultLists; ++k) score.At("State", k).items = view.State[k];
  for (int v = 0; v < kSeatCount; ++v) {
    score.At("State", v).fore_color = view.StateColour[v];
    score.At("ID", v).fore_color = view.IdColour[v];
  }
}

void ShowHistoryHand(Client& c, int n) {
  // What another hand left in the board is not this hand's: a hand missing
  // from the file (or the lists after a damaged count) shows empty.
  for (std::vector<std::string>& list : c.settlement.view.State) list.clear();
  ShowHistoryEntry(HistoryFile(c), n, c.settlement.view);
  ShowResultView(c);
}

void ResetHandResults(Client& c) {
  SettlementState& s = c.settlement;
  s.HandMoney.fill(0);
  s.ResultCount = 0;
  for (HandResultRow& row : s.result.HandResult) row[16] = 0;
}

void StartContinueCountdown(Client& c, int seconds) {
  SwitchTaskOn(c, kTaskContinueCountdown);
  c.tick.Countdown = static_cast<int16_t>(seconds);
  Element& number = c.MainForm.At("Number");
  Element& clock = c.MainForm.At("Time_Img");
  number.caption = std::to_string(seconds);
  number.fore_color = kGreen;
  number.visible = clock.visible = true;
  c.MainForm.BringToFront(clock);
  c.MainForm.BringToFront(number);
}

void OnHandResult(Client& c) {
  GameState& g = c.game;
  SettlementState& s = c.settlement;
  CenteredOverMain(c, LoadScoreBoard(c));
  const int v = ViewSeatOf(g, g.info.Seat & 0x0F).value_or(0);
  s.HandUnsettled = false;
  s.view.State[v].clear();
  s.view.State[v + 4].clear();
  int32_t score = ResultOf(g.LastPacket);
  if (g.info.value[1] == 0) score = -score;
  g.custom[v].HandScore = score;
  if (++s.ResultCount != 4) return;
  s.ResultCount = 0;
  for (const SeatState& seat : g.custom)
    if (seat.HandScore != 0) return;  // a won hand: the settlement follows

  g.HandInProgress = false;
  Form& hero = LoadHeroBoard(c);
  hero.At("Num").items.push_back(Pad(std::to_string(g.juNum), 12));
  for (int w = 0; w < kSeatCount; ++w) {
    s.view.IdColour[w] = kWinnerNameColour;
    s.view.StateColour[w] = kColumnTextColour;
    s.view.State[w].push_back(kDrawnHand);
    s.view.State[w + 4].push_back(std::string(kFinalScore) + "0" + kCoins);
    hero.At("Grade", w).items.push_back(Pad("0", 9) + kCoins);
  }
  ShowScoreUnlessHidden(c);
  WriteHistory(c);
  PromptToContinue(c);
  if (!g.IsSpectator) StartContinueCountdown(c, kContinueSeconds);
}

void OnSettlement(Client& c) {
  DecodeSettlement(c.game, c.settlement.result);
  SettleHand(c);
}

void SettleHand(Client& c) {
  GameState& g = c.game;
  SettlementState& s = c.settlement;
  const auto& rows = s.result.HandResult;
  for (auto& list : s.view.State) list.clear();
  Form& f = c.MainForm;
  for (int v = 0; v < kSeatCount; ++v) {
    s.HandMoney[v] = HandMoneyOf(rows[v]);
    s.RunningMoney[v] += s.HandMoney[v];
    g.players[v].Level = LevelTitle(rows[v]);
    f.At("Level", v).caption = g.players[v].Level;
  }
  Form& hero = LoadHeroBoard(c);
  hero.At("Num").items.push_back(Pad(std::to_string(g.juNum), 12));
  for (int v = 0; v < kSeatCount; ++v) s.view.State[v].push_back(kRoomBars + std::to_string(rows[v][0]));
  ShowScoreBreakdown(s.result, s.view);
  for (int v = 0; v < kSeatCount; ++v) s.view.State[v].push_back(kDashes);
  for (int v = 0; v < kSeatCount; ++v) s.view.State[v].push_back(" ");

  bool someone_paid = false;
  for (const HandResultRow& row : rows) someone_paid = someone_paid || row[4] == 1;
  for (int v = 0; v < kSeatCount; ++v) {
    PlayerInfo& p = g.players[v];
    const double money = s.HandMoney[v];
    const std::string unit = UnitOf(rows[v]);
    p.Coins = std::max(0.0, p.Coins + money);
    if (someone_paid) {
      if (rows[v][4] == 1) ++p.Losses;
      else if (v == c.play.WinnerView) ++p.Wins;
    } else if (money > 0) {
      ++p.Wins;
    } else if (money < 0) {
      ++p.Losses;
    }
    p.Points += money;
    if (p.Points < 0) p.Points = 1;
    f.At("Cash", v).caption = FormatAmount(p.Coins) + unit;
    s.view.State[v].push_back(kHandTotal + std::to_string(g.custom[v].HandScore) + unit);
    s.view.State[v].push_back("");
    s.view.State[v + 4].push_back(kFinalScore + FormatAmount(money) + unit);
    hero.At("Grade", v).items.push_back(Pad(FormatAmount(money), 9) + unit);
    hero.At("sumScore", v).caption = FormatAmount(s.RunningMoney[v]) + unit;
  }
  for (int v = 0; v < kSeatCount; ++v) {
    if (s.result.NoTaxFlag != 0) s.view.State[v].push_back("");
    else s.view.State[v].push_back(s.HandMoney[v] > 0 ? kTaxLine : " ");
  }
  for (int v = 0; v < kSeatCount; ++v)
    s.view.State[v].push_back(kFinalScore + FormatAmount(s.HandMoney[v]) + UnitOf(rows[v]));

  Form& score = LoadScoreBoard(c);
  ShowResultView(c);
  if (c.MainForm.window_state != WindowState::kMinimized) {
    score.visible = true;
    c.desktop.Raise(score);
  }
  PromptToContinue(c);
  g.HandInProgress = false;
  s.ReadyPressed = false;
  SwitchTaskOff(c, kTaskTurnCountdown);
  if (!g.IsSpectator) StartContinueCountdown(c, c.tick.AutoMode ? kAutoContinueSeconds : kContinueSeconds);
  WriteHistory(c);
}

void ContinueToNextHand(Client& c) {
  for (const char* name : {"Hero", "Score"})
    if (Form* f = c.desktop.FindForm(name)) f->visible = false;
  if (c.buttons.ButtonLatched[2]) return;
  Form& f = c.MainForm;
  ShowButtonPicture(c, f.At("AnNiu", 2), kContinuePicture);
  Element& ready = f.At("OK", 0);
  ready.visible = true;
  f.BringToFront(ready);
  c.settlement.ReadyPressed = true;
  f.At("Label3").visible = false;
  SwitchTaskOff(c, kTaskContinueCountdown);
  f.At("Time_Img").visible = false;
  f.At("Number").visible = false;
  c.buttons.ButtonLatched[2] = true;
  if (!c.game.TableCleared) ClearTableForNextHand(c);
  MessageRecord m;
  m.MsgType = kTypePlayerQuit;
  m.value[3] = 1;
  QueueMessage(c, m);
}

}  // namespace tess
