#include "core/startup.h"

#include "chat/chat_input.h"
#include "core/client.h"
#include "core/command_line.h"
#include "core/program_end.h"
#include "platform/single_instance.h"
#include "play/hand_input.h"
#include "table/table_clear.h"
#include "ui/button_bar.h"
#include "ui/profile_card.h"
#include "table/table_layout.h"
#include "ui/table_click.h"
#include "ui/window_frame.h"

namespace tess {
namespace {

void ApplyCommandLine(Client& c, const CommandLine& cl) {
  c.game.IsSpectator = cl.IsSpectator;
  if (cl.IsSpectator) c.game.players[0].UserId = cl.WatchedUserId;
  c.game.custom[0].Name = cl.AccountName;
  c.conn.ServerHost = cl.ServerHost;
  c.conn.ServerPort = cl.ServerPort;
  if (cl.Location) {
    Element& loc = c.MainForm.At("Location");
    loc.caption = *cl.Location;
    loc.font_size = LocationFontSize(loc.font_size, c.game.ScaleX, *cl.Location);
  }
  c.proxy.ProxyKind = cl.ProxyKind;
  c.proxy.ProxyHost = cl.ProxyHost;
  c.proxy.ProxyPort = cl.ProxyPort;
  c.proxy.ProxyUser = cl.ProxyUser;
  c.proxy.ProxyPassword = cl.ProxyPassword;
  c.tick.AutoMode = cl.AutoMode;
}

}  // namespace

void Form_Load(Client& c, const std::string& command_line) {
  // 1. One copy per program directory.
  c.instance = std::make_unique<InstanceLock>(c.options.program_dir);
  if (c.instance->AnotherInstanceRunning()) {
    MessageBoxOk(c, kAlreadyRunning, kWarningTitle);
    RestoreLobby(c);
    EndProgram(c, "already running");
  }
  // 2. Start values.
  RestoreLobby(c);
  c.tick = TickState{};
  c.conn.LoginSent = false;
  c.game.TableCleared = false;
  c.game.juNum = 0;
  c.game.LastDiscardSlot = -1;
  // A first hand that comes without the usual clearing finds the per-hand
  // state as every clearing leaves it.
  ResetHandState(c);
  // 3.-4.
  SetUpMainWindow(c);
  FitWindowToScreen(c);
  ClearAllTasks(c);
  // 5. Sound.
  StartSound(c);
  // 6. Pictures and the empty table.
  FillPictureTables(c.pictures, c.game.ScaleX);
  BuildTable(c);
  InstallTableKeys(c);
  InstallChat(c);
  InstallTableClick(c);
  InstallNoticePage(c);
  // 7. The command line.
  const CommandLine cl = ParseCommandLine(command_line);
  if (cl.status == CommandLineStatus::kEmpty) {
    MessageBoxOk(c, kStartFromLobby, kWarningTitle);
    EndProgram(c, "empty command line");
  }
  if (cl.status == CommandLineStatus::kBadNumber)
    FaultExit(c, "command line field " + std::to_string(cl.bad_field) + " is not a number");
  ApplyCommandLine(c, cl);
  // 8.-9.
  SetStatusLine(c, 0, kConnecting);
  c.TimerBong.SetEnabled(false);
  c.proxy.TunnelReady = true;
  // 10. The login packet.
  auto login = BuildLoginPacket(cl.AccountName, cl.LoginKey);
  if (!login) FaultExit(c, "account name or login key cannot be sent");
  c.conn.LoginPacket = *login;
  // 11. The connection.
  StartConnection(c);
  // 12. The window.
  if (cl.AutoMode) {
    if (cl.Caption) c.MainForm.caption = *cl.Caption;
    c.tick.TurnSeconds = 2;
  }
  c.lobby.LobbyTitle = cl.LobbyTitle.value_or(c.lobby.LobbyTitle);
  if (c.window_channel->Title() != c.MainForm.caption) c.window_channel->Retitle(c.MainForm.caption);
  RestoreMainWindow(c);
  // 13. Table positions.
  SetUpTableElements(c);
  InstallHandInput(c);
  InstallButtonBar(c);
  InstallProfileCard(c);
  SetUpSeatPositions(c.game);
  c.game.custom[0].Seat = 0;
  c.conn.Reconnected = false;
  c.leave.OtherExitShown = false;
  if (c.game.IsSpectator) c.game.juNum = 0;
  // 14. The lobby's messages reach the hook from now on.
  c.window_channel->OnMessage = [&c](const WindowMessage& m) {
    return LobbyMessageHook(c, m.msg, m.wparam, m.lparam);
  };
}

void Form_Unload(Client& c) {
  c.window_channel->OnMessage = nullptr;
  EndSound(c);
  EndProgram(c, "main window closed");
}

}  // namespace tess
