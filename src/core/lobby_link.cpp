#include "core/lobby_link.h"

#include "core/client.h"
#include "table/table_clear.h"
#include "core/program_end.h"
#include "core/proxy_tunnel.h"

namespace tess {
namespace {

bool SendCommand(Client& c, uint32_t command) {
  c.trace.LobbyOut(kWmSysCommand, command);
  uint32_t result = 0;
  return c.window_channel->Send(c.lobby.LobbyTitle, WindowMessage{kWmSysCommand, command, 0}, &result);
}

void HideForm(Client& c, const char* name) {
  if (Form* f = c.desktop.FindForm(name)) f->visible = false;
}

}  // namespace

bool FindLobby(Client& c) { return c.window_channel->WindowExists(c.lobby.LobbyTitle); }

void PostToLobby(Client& c, uint32_t n) {
  if (!FindLobby(c)) return;
  c.trace.LobbyOut(n, 0);
  c.window_channel->Post(c.lobby.LobbyTitle, WindowMessage{n, 0, 0});
}

void RestoreLobby(Client& c) {
  if (!FindLobby(c) || !SendCommand(c, kScRestore)) EndProgram(c, "lobby window not found");
}

void MinimizeLobby(Client& c) {
  if (!FindLobby(c) || !SendCommand(c, kScMinimize)) EndProgram(c, "lobby window not found");
}

void RestoreLobbyIfPresent(Client& c) {
  if (FindLobby(c)) SendCommand(c, kScRestore);
}

void MinimizeMainWindow(Client& c) { c.MainForm.window_state = WindowState::kMinimized; }

void RestoreMainWindow(Client& c) {
  c.MainForm.visible = true;
  c.MainForm.window_state = WindowState::kNormal;
  Form_Resize(c);
}

uint32_t LobbyMessageHook(Client& c, uint32_t msg, uint32_t wparam, uint32_t) {
  c.trace.LobbyIn(msg);
  switch (msg) {
    case kMsgConnect: OnConnect(c); break;
    case kMsgLeaveRequest: OnLeaveRequest(c); break;
    case kMsgHandQuery: OnHandQuery(c); break;
    case kMsgLeaveNow: OnLeaveNow(c); break;
    case kWmSysCommand:
      // What the window system does with these for any window.
      if (wparam == kScMinimize) MinimizeMainWindow(c);
      else if (wparam == kScRestore) RestoreMainWindow(c);
      break;
    default: break;
  }
  return 0;
}

void OnConnect(Client& c) {
  c.proxy.TunnelReady = true;
  c.conn.LoginPending = true;
  c.conn.LoginPacket[kOffType] = kTypeLogin;
  StartConnection(c);
  c.buttons.ButtonLatched[2] = false;
  if (Element* start = c.MainForm.Find("AnNiu", 2)) ShowButtonPicture(c, *start, 4);
  c.MainForm.At("Time_Img").visible = false;
  c.MainForm.At("Number").visible = false;
}

void OnLeaveRequest(Client& c) {
  if (!FindLobby(c)) return;
  if (c.conn.LoginPending) {
    PostToLobby(c, kMsgLoginPending);
    return;
  }
  if (c.game.HandInProgress) {
    PostToLobby(c, kMsgHandQuery);
    return;
  }
  LeaveIfConnected(c);
  ResetToIdle(c);
  ClearTable(c);
  PostToLobby(c, kMsgLeaveNow);
}

void OnHandQuery(Client& c) {
  if (!FindLobby(c)) return;
  PostToLobby(c, c.game.HandInProgress ? kMsgHandQuery : kMsgLeaveNow);
}

void OnLeaveNow(Client& c) {
  LeaveIfConnected(c);
  ResetToIdle(c);
}

void HideTable(Client& c) {
  c.tick.Hidden = true;
  for (const char* name : {"Information", "Talk", "VosSet", "frmExit", "Hero", "Score"}) HideForm(c, name);
  c.tick.TurnSeconds = 0;
  MinimizeMainWindow(c);
  MinimizeLobby(c);
}

void Form_Resize(Client& c) {
  if (c.MainForm.window_state == WindowState::kMinimized) return;
  c.desktop.Raise(c.MainForm);
  if (c.tick.Hidden) {
    c.tick.TurnSeconds = c.tick.AutoMode ? 1 : 8;
    c.tick.Hidden = false;
  }
  if (Element* chat = c.MainForm.Find("Chat")) c.desktop.focus = chat;
  MinimizeLobby(c);
  c.tick.TimeoutStreak = 0;
}

void InstallTableKeys(Client& c) {
  const std::pair<const char*, KeySource> sources[] = {
      {"Chat", KeySource::kChat}, {"Pic1", KeySource::kPic1}, {"Pic2", KeySource::kPic2}};
  for (const auto& [name, source] : sources)
    c.MainForm.At(name).on_key_down = [&c, source](Element&, const KeyEvent& k) {
      TableKeyDown(c, k.key_code, source);
    };
}

void TableKeyDown(Client& c, int key_code, KeySource source) {
  if (key_code == kKeyF1) HideTable(c);
  if (source == KeySource::kChat) return;
  if (key_code == kKeyEscape) ToggleLeaveConfirmation(c);
  if (key_code == kKeyAlt) {
    c.lobby.AltDown = true;
  } else if (key_code == kKeyC) {
    c.lobby.CDown = true;
  } else {
    c.lobby.AltDown = c.lobby.CDown = false;
  }
  if (c.lobby.AltDown && c.lobby.CDown) {
    c.lobby.AltDown = c.lobby.CDown = false;
    if (c.parts.OpenChatLog) c.parts.OpenChatLog(c);
  }
  if (source == KeySource::kPic2 && key_code != kKeyEscape)
    if (Element* chat = c.MainForm.Find("Chat")) c.desktop.focus = chat;
}

}  // namespace tess
