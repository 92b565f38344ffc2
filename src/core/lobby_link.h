// The link with the game-centre lobby: a separate program that started the
// client and steers it with numbered window messages over the local lobby
// channel (platform/lobby_channel.h). The lobby window is never cached:
// every operation looks it up again by LobbyTitle.
//
// Incoming: 22 connect, 771 leave request (answered 1126, 1125 or 1024),
// 1125 hand query (answered 1125 or 1024), 1024 leave at once.
// Outgoing posts: 22, 771, 1109, 1126, 1125, 1024. Restore and minimise are
// synchronous sends; a lobby that is not found for them ends the program.
#pragma once

#include <cstdint>
#include <string>

namespace tess {

struct Client;

// Lobby message numbers.
inline constexpr uint32_t kMsgConnect = 22;       // lobby -> client: take the seat; client -> lobby: login about to go / refused
inline constexpr uint32_t kMsgLeaveRequest = 771; // lobby -> client; client -> lobby: first login accepted, tunnel up
inline constexpr uint32_t kMsgHandStarted = 1109; // client -> lobby
inline constexpr uint32_t kMsgHandQuery = 1125;   // lobby -> client; client -> lobby: a hand is being played
inline constexpr uint32_t kMsgLeaveNow = 1024;    // lobby -> client; client -> lobby: left / no hand
inline constexpr uint32_t kMsgLoginPending = 1126;// client -> lobby

struct LobbyState {
  std::string LobbyTitle = "Orvane";
  bool AltDown = false;  // the Alt, C pair that opens the chat log
  bool CDown = false;
};

// True if the lobby window exists now.
bool FindLobby(Client& c);
// Posts n to the lobby if it exists.
void PostToLobby(Client& c, uint32_t n);
// Restores the lobby window; a lobby that is not found ends the program.
void RestoreLobby(Client& c);
// Minimises the lobby window; a lobby that is not found ends the program.
void MinimizeLobby(Client& c);
// Restores the lobby when it exists; never ends the program. For the exits
// that end the program anyway.
void RestoreLobbyIfPresent(Client& c);

// The message hook: acts on 22, 771, 1125 and 1024 from the lobby and
// returns 0; other numbers are answered by the window itself (restore and
// minimise commands sent to the client's window).
uint32_t LobbyMessageHook(Client& c, uint32_t msg, uint32_t wparam, uint32_t lparam);

// The main window minimised, or shown normally again (which runs Form_Resize).
void MinimizeMainWindow(Client& c);
void RestoreMainWindow(Client& c);

// Incoming lobby messages.
void OnConnect(Client& c);
void OnLeaveRequest(Client& c);
void OnHandQuery(Client& c);
void OnLeaveNow(Client& c);

// The hide key F1 (and the timeout limit): minimise both windows.
void HideTable(Client& c);
// The main window is shown again (restored from minimised or first shown).
void Form_Resize(Client& c);
// Key-down of the table pictures (Pic1, Pic2) and the chat line (Chat).
enum class KeySource { kChat, kPic1, kPic2 };
void TableKeyDown(Client& c, int key_code, KeySource source);
// Sets the key-down handlers of Chat, Pic1 and Pic2 to TableKeyDown. A
// module that handles more keys on them (the chat line's Enter) calls
// TableKeyDown from its own handler.
void InstallTableKeys(Client& c);

}  // namespace tess
