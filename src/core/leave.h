// Leaving the table. The process outlives its tables: when a table ends it
// resets itself to idle, minimises and hands the screen back to the lobby,
// which may seat it again. Also the leave confirmation (frmExit), the notice
// that others left (frmOtherExit), and the server's departure messages
// (types 16, 21, 22).
#pragma once

#include <cstdint>
#include <functional>

namespace tess {

struct Client;

struct LeaveState {
  bool OtherExitShown = false;
  int16_t OthersListed = 0;
};

// Sends the leave packet directly and stops all periodic work; waits 0.4 s
// (0.8 s after a reconnect) processing events. Only when connected.
void SendLeave(Client& c);
// When the socket is connected: the link watch off, then SendLeave.
void LeaveIfConnected(Client& c);
// Every table-related state and display back to idle; socket closed, rings
// emptied, window minimised.
void ResetToIdle(Client& c);
// Gives up the table: the resets (TableCleared off, ResetToIdle,
// ResetHandState, ClearTable, then `after_resets`), then the main window
// minimised and the lobby restored; the program ends if the lobby is gone.
// With lobby_first the main window is minimised and the lobby restored
// before the resets (the link watch, the silence watchdog and the reconnect
// window's Cancel).
void ReturnToLobby(Client& c, bool lobby_first = false, const std::function<void()>& after_resets = {});
// The continue button while OtherExitShown is set (latched or not): the
// history and result boards hidden, then ReturnToLobby, Label3 hidden after
// the resets.
void ContinueAfterOthersLeft(Client& c);
// Exit button, title-bar close, Esc.
void ToggleLeaveConfirmation(Client& c);
// Message types 16, 21, 22.
void OnPlayerQuit(Client& c);
void OnPlayerLeft(Client& c);
void OnOtherExit(Client& c);

}  // namespace tess
