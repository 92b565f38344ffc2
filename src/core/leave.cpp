#include "core/leave.h"

#include <ctime>
#include <filesystem>

#include "core/client.h"
#include "core/program_end.h"
#include "core/startup.h"
#include "platform/gbk.h"
#include "table/table_clear.h"
#include "ui/resources.h"
#include "ui/window_frame.h"

namespace tess {
namespace {

const char* const kLeaveTitle = "退出";
const char* const kReallyLeave = "您真的要退出吗？";
const char* const kRunningAwayCosts = "游戏正在进行，逃跑会扣分！";
const char* const kLeftTheGame = "退出了游戏！ ";
const char* const kLeaveAndRestart = "请退出重新开始游戏.";
const char* const kLeftGameOver = "退出了游戏！游戏结束！";
const char* const kLeftSpectating = "有用户退出，旁观结束！";
const char* const kTooFewCoins = "金币不够，退出游戏！";
const char* const kOthersAndYouTooFew = "以及您的金币不够，退出游戏！游戏结束！";
const char* const kYouTooFew = "您的金币不够，退出游戏！游戏结束！";
const char* const kOthersTooFew = "的金币不够，退出游戏！游戏结束！";
const char* const kFullWidthComma = "，";
const char* const kPlayer = "玩家";
const char* const kDealerWinds = "北西南东北西南";

Element* On(Client& c, const char* form, const char* name, int index = -1) {
  Form* f = c.desktop.FindForm(form);
  return f ? f->Find(name, index) : nullptr;
}

void Hide(Element* e) {
  if (e) e->visible = false;
}

void Empty(Element* e) {
  if (e) e->caption.clear();
}

void RemovePicture(Element* e) {
  if (e) e->picture.reset();
}

void ClearList(Element* e) {
  if (e) e->items.clear();
}

// Hour ":" minute ":" second, without leading zeros.
std::string TimeOfDay() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return std::to_string(tm.tm_hour) + ":" + std::to_string(tm.tm_min) + ":" + std::to_string(tm.tm_sec);
}

// The profile fields from Nick through Losses back to empty; Account,
// Title and the voice fields stay.
void EmptyProfile(PlayerInfo& p) {
  PlayerInfo blank;
  blank.Account = p.Account;
  blank.Title = p.Title;
  blank.VoiceSet = p.VoiceSet;
  blank.VoiceId = p.VoiceId;
  blank.VoiceByte = p.VoiceByte;
  blank.UserId = p.UserId;
  p = blank;
}

// A seat whose player is gone: portrait, captions and records emptied.
void EmptySeatDisplay(Client& c, int v) {
  RemovePicture(c.MainForm.Find("Tou", v));
  Empty(c.MainForm.Find("Nid", v));
  Empty(c.MainForm.Find("Cash", v));
  Empty(c.MainForm.Find("Level", v));
}

void EmptyLeftSeat(Client& c, int v) {
  Hide(c.MainForm.Find("OK", v));
  EmptySeatDisplay(c, v);
  c.game.custom[v].Name.clear();
  EmptyProfile(c.game.players[v]);
}

std::optional<int> ViewOfBit(Client& c, int bit) { return ViewSeatOf(c.game, bit); }

void StopForEnd(Client& c) {
  SwitchTaskOff(c, kTaskContinueCountdown);
  c.game.HandInProgress = false;
  c.tick.TableBroken = true;
}

Form& LoadExitWindow(Client& c);
Form& LoadOtherExitWindow(Client& c);

// Showing loads the window, which marks it as opened for this table.
void ShowOtherExit(Client& c, const std::string& text) {
  Form& f = LoadOtherExitWindow(c);
  c.leave.OtherExitShown = true;
  f.At("Label1").caption = text;
  f.topmost = true;
  CenteredOverMain(c, f);
  f.visible = true;
  c.desktop.Raise(f);
}

void SpectatorEnds(Client& c) {
  if (!c.game.IsSpectator) return;
  MessageBoxOk(c, kLeftSpectating);
  EndProgram(c, "a player left; watching ends");
}

Form& LoadExitWindow(Client& c) {
  if (Form* f = c.desktop.FindForm("frmExit")) return *f;
  Form& f = c.desktop.AddForm("frmExit");
  f.caption = kLeaveTitle;
  f.width = 260;
  f.height = 150;
  f.back_color = 0xF4E8C8;
  f.opacity = 200.0 / 255.0;
  Element& l1 = f.Add(ElementKind::kLabel, "Label1");
  l1.caption = kReallyLeave;
  l1.left = 20, l1.top = 24, l1.width = 220, l1.height = 20;
  l1.font_size = 10.5;
  Element& l2 = f.Add(ElementKind::kLabel, "Label2");
  l2.caption = kRunningAwayCosts;
  l2.left = 20, l2.top = 52, l2.width = 220, l2.height = 20;
  l2.fore_color = 0xC00000;
  Element& ok = f.Add(ElementKind::kImage, "pbCloseMe");
  ok.left = 40, ok.top = 96, ok.width = 65, ok.height = 30;
  ok.stretch = true;
  ShowResourcePicture(c, ok, c.pictures.DialogPictures[0]);
  ok.on_click = [&c](Element&) {
    LeaveIfConnected(c);
    ReturnToLobby(c, /*lobby_first=*/false, [&c] { c.desktop.FindForm("frmExit")->visible = false; });
  };
  Element& cancel = f.Add(ElementKind::kImage, "pbCancel");
  cancel.left = 155, cancel.top = 96, cancel.width = 65, cancel.height = 30;
  cancel.stretch = true;
  ShowResourcePicture(c, cancel, c.pictures.DialogPictures[2]);
  cancel.on_click = [&c](Element&) { c.desktop.FindForm("frmExit")->visible = false; };
  return f;
}

Form& LoadOtherExitWindow(Client& c) {
  if (Form* f = c.desktop.FindForm("frmOtherExit")) return *f;
  Form& f = c.desktop.AddForm("frmOtherExit");
  f.caption = kLeaveTitle;
  f.width = 300;
  f.height = 150;
  f.back_color = 0xF4E8C8;
  f.opacity = 200.0 / 255.0;
  Element& l1 = f.Add(ElementKind::kLabel, "Label1");
  l1.left = 20, l1.top = 24, l1.width = 260, l1.height = 50;
  l1.word_wrap = true;
  l1.font_size = 10.5;
  Element& ok = f.Add(ElementKind::kImage, "imgOK");
  ok.left = 50, ok.top = 96, ok.width = 70, ok.height = 30;
  ok.stretch = true;
  ShowFormPicture(ok, kFormNoticeOk);
  ok.on_click = [&c](Element&) {
    ReturnToLobby(c, /*lobby_first=*/false, [&c] { c.desktop.FindForm("frmOtherExit")->visible = false; });
  };
  Element& cancel = f.Add(ElementKind::kImage, "imgCancel");
  cancel.left = 180, cancel.top = 96, cancel.width = 70, cancel.height = 30;
  cancel.stretch = true;
  ShowFormPicture(cancel, kFormNoticeCancel);
  cancel.on_click = [&c](Element&) {
    c.leave.OtherExitShown = true;
    c.game.HandInProgress = false;
    SwitchTaskOff(c, kTaskLinkWatch);
    c.desktop.FindForm("frmOtherExit")->visible = false;
  };
  return f;
}

}  // namespace

void SendLeave(Client& c) {
  SendPacketDirect(c.Winsock1, c.trace, BuildLeavePacket(c.game.custom[0].Seat));
  ClearAllTasks(c);
  c.tick.BubbleShown = false;
  c.TimerBong.SetEnabled(false);
  c.TimerKeepAlive.SetEnabled(false);
  c.loop.WaitProcessing(c.conn.Reconnected ? 800 : 400);
}

void ResetToIdle(Client& c) {
  c.game.HandInProgress = false;
  ClearAllTasks(c);
  c.buttons.ButtonLatched[2] = true;
  c.tick.BubbleShown = false;
  c.TimerBong.SetEnabled(false);
  ++c.tick.IdleResets;
  c.TimerKeepAlive.SetEnabled(false);
  ClearStatusLines(c);
  c.Winsock1.Close();
  c.conn.LoginPending = false;
  c.loop.WaitUntil([&] { return c.Winsock1.State() != TcpSocket::kConnected; });
  for (int v = 0; v < kSeatCount; ++v) {
    EmptySeatDisplay(c, v);
    c.game.custom[v].Name.clear();
    c.game.custom[v].Seat = 0;
    EmptyProfile(c.game.players[v]);
  }
  for (int v = 0; v < kSeatCount; ++v) {
    RemovePicture(On(c, "Hero", "Tou", v));
    Empty(On(c, "Hero", "ID", v));
    Empty(On(c, "Hero", "sumScore", v));
    ClearList(On(c, "Hero", "Num"));
    ClearList(On(c, "Hero", "Grade", v));
    RemovePicture(On(c, "Score", "Tou", v));
    Empty(On(c, "Score", "ID", v));
    Empty(On(c, "Score", "State", v));
    Empty(On(c, "Score", "State", v + 4));
    Hide(c.MainForm.Find("OK", v));
  }
  // The table's windows go with it.
  for (const char* name : {"Hero", "Score", "Information", "VosSet", "Talk", "huifu", "frmExit"})
    if (Form* f = c.desktop.FindForm(name)) f->visible = false;
  for (int v = 0; v < 3; ++v) {
    Hide(c.MainForm.Find("Speak", v));
    Hide(c.MainForm.Find("tsSpeak", v));
  }
  Hide(c.MainForm.Find("speakFeng"));
  Hide(c.MainForm.Find("Words"));
  ClearList(On(c, "Talk", "Text1"));
  EmptyRings(c.packets);
  c.leave.OthersListed = 0;
  c.game.HandInProgress = false;
  for (const char* name : {"Korbi", "KB_Image"}) Hide(c.MainForm.Find(name));
  Hide(c.MainForm.Find("imgKoupai", 0));
  Hide(c.MainForm.Find("imgKoupai", 1));
  Empty(c.MainForm.Find("Label3"));
  c.tick.TimeoutStreak = 0;
  c.buttons.StartShown = true;
  std::error_code ignored;
  std::filesystem::remove(c.options.program_dir + "/info.kb", ignored);
  c.game.TableCleared = false;
  c.game.juNum = 0;
  MinimizeMainWindow(c);
}

void LeaveIfConnected(Client& c) {
  if (c.Winsock1.State() != TcpSocket::kConnected) return;
  SwitchTaskOff(c, kTaskLinkWatch);
  c.tick.TaskCounter[kTaskLinkWatch] = 0;
  SendLeave(c);
}

void ReturnToLobby(Client& c, bool lobby_first, const std::function<void()>& after_resets) {
  auto resets = [&] {
    c.game.TableCleared = false;
    ResetToIdle(c);
    ResetHandState(c);
    ClearTable(c);
    if (after_resets) after_resets();
  };
  if (lobby_first) {
    MinimizeMainWindow(c);
    RestoreLobby(c);
    resets();
    return;
  }
  resets();
  if (!FindLobby(c)) EndProgram(c, "lobby window not found");
  MinimizeMainWindow(c);
  RestoreLobby(c);
}

void ContinueAfterOthersLeft(Client& c) {
  for (const char* name : {"Hero", "Score"})
    if (Form* f = c.desktop.FindForm(name)) f->visible = false;
  ReturnToLobby(c, /*lobby_first=*/false, [&c] { Hide(c.MainForm.Find("Label3")); });
}

void ToggleLeaveConfirmation(Client& c) {
  Form& f = LoadExitWindow(c);
  if (f.visible) {
    f.visible = false;
    return;
  }
  CenteredOverMain(c, f);
  f.At("Label2").visible = c.game.HandInProgress && !c.game.IsSpectator;
  f.visible = true;
  c.desktop.Raise(f);
}

void OnPlayerQuit(Client& c) {
  const MessageRecord& info = c.game.info;
  const int seat = info.Seat & 15;
  const int form = info.value[3];
  if (form == 0) return;
  if (form == 1) {
    if (seat == 15) return;
    const int leavers = ~seat & 15;
    const int highest = leavers & 8 ? 8 : leavers & 4 ? 4 : leavers & 2 ? 2 : 1;
    StopForEnd(c);
    if (ViewOfBit(c, highest) == 0) {
      // The local player is the one leaving: closing the main window ends it.
      c.Winsock1.Close();
      Form_Unload(c);
    }
    c.game.TableCleared = false;
    std::string names;
    for (int bit : {1, 2, 4, 8}) {
      if (!(leavers & bit)) continue;
      if (auto v = ViewOfBit(c, bit)) names += c.game.players[*v].Nick;
      names += ",";
      --c.leave.OthersListed;
    }
    for (int v = 1; v < kSeatCount; ++v) EmptyLeftSeat(c, v);
    ClearStatusLines(c);
    SetStatusLine(c, 0, names + kLeftTheGame + TimeOfDay());
    SetStatusLine(c, 1, names + kLeaveAndRestart);
    if (Form* hero = c.desktop.FindForm("Hero")) hero->visible = true;
    c.loop.Sleep(2000);
    c.game.juNum = 0;
    ShowOtherExit(c, std::string(kPlayer) + names + kLeftGameOver);
    SpectatorEnds(c);
    return;
  }
  if (form == 2) {
    auto index = SeatIndexOf(seat);
    if (!index) return;
    if (Element* z = c.MainForm.Find("Zhuang")) z->caption = Utf8Chars(kDealerWinds).at(*index);
    for (int v = 0; v < kSeatCount; ++v) {
      if (c.game.custom[v].Seat == seat) {
        c.game.custom[v].IsDealer = true;
        break;
      }
    }
    return;
  }
  // Players without coins.
  const int lacking = ~seat & 15;
  c.game.juNum = 0;
  c.game.HandInProgress = false;
  c.tick.TableBroken = true;
  const int own_bit = c.game.custom[0].Seat;
  std::string others;
  for (int bit : {1, 2, 4, 8}) {
    if (!(lacking & bit) || bit == own_bit) continue;
    if (auto v = ViewOfBit(c, bit)) others += c.game.players[*v].Nick;
    others += kFullWidthComma;
  }
  if (!others.empty()) others = kPlayer + others.substr(0, others.size() - std::string(kFullWidthComma).size());
  const std::string self = (lacking & own_bit) ? kFullWidthComma + c.game.custom[0].Name : "";
  SetStatusLine(c, 0, !others.empty() ? others + self + kTooFewCoins : kPlayer + self + kTooFewCoins);
  SwitchTaskOff(c, kTaskContinueCountdown);
  for (int v = 1; v < kSeatCount; ++v) {
    if (!(lacking & c.game.custom[v].Seat)) continue;
    c.game.TableCleared = false;
    --c.leave.OthersListed;
    EmptyLeftSeat(c, v);
  }
  if (c.MainForm.window_state != WindowState::kMinimized)
    if (Form* score = c.desktop.FindForm("Score")) score->visible = true;
  SwitchTaskOff(c, kTaskLinkWatch);
  c.Winsock1.Close();
  c.loop.Sleep(2000);
  std::string notice = !others.empty() && !self.empty() ? others + kOthersAndYouTooFew
                       : !self.empty()                  ? std::string(kYouTooFew)
                                                        : others + kOthersTooFew;
  ShowOtherExit(c, notice);
  SpectatorEnds(c);
}

void OnPlayerLeft(Client& c) {
  const std::string name = ReadByteText(c.game.LastPacket, kOffBody, kNameEnd);
  if (name == c.game.custom[0].Name) EndProgram(c, "the local player left (type 21)");
  SwitchTaskOff(c, kTaskContinueCountdown);
  for (int v = 1; v < kSeatCount; ++v) {
    if (name.empty() || name != c.game.custom[v].Name) continue;
    c.game.TableCleared = false;
    --c.leave.OthersListed;
    const std::string nick = c.game.players[v].Nick;
    Hide(c.MainForm.Find("OK", v));
    EmptySeatDisplay(c, v);
    SetStatusLine(c, 0, nick + "退出了游戏 " + TimeOfDay());
    c.game.custom[v].Name.clear();
    EmptyProfile(c.game.players[v]);
  }
  SpectatorEnds(c);
}

void OnOtherExit(Client& c) {
  SwitchTaskOff(c, kTaskLinkWatch);
  SwitchTaskOff(c, kTaskContinueCountdown);
  c.game.HandInProgress = false;
  c.loop.Sleep(2000);
  c.tick.TableBroken = true;
  const std::string text = ReadGbkText(c.game.LastPacket, kOffBody, 216);
  for (int v = 0; v < kSeatCount; ++v) RemovePicture(c.MainForm.Find("Tou", v));
  ShowOtherExit(c, text);
}

}  // namespace tess
