// The connection to the game server: the login packet and its answer, the
// keep-alive, link loss, and the silent reconnect during a hand (up to 16
// attempts, driven by the reconnect window's two timers), whose answer is
// message type 29. Also the notice page whose address the login answer
// carries.
//
// The reconnect window frmReconnect is never shown. Loading it while its
// cycle runs does nothing (the running cycle goes on); a loss after the
// cycle stopped starts a fresh one. Unloading disables its timers, which
// live as long as the client, so a timer may unload its own window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/packet_format.h"
#include "platform/event_loop.h"

namespace tess {

struct Client;

inline constexpr int kMaxReconnectAttempts = 16;

struct ConnectionState {
  std::string ServerHost;
  uint16_t ServerPort = 0;
  Packet LoginPacket{};  // byte 3: 18 login, 28 reconnect
  bool LoginSent = false;
  bool LoginPending = false;
  bool HadHand = false;
  bool Reconnected = false;
  int16_t ReconnectAttempts = 0;
  int16_t SecondsLeft = 0;
  bool BrowserFailed = false;

  // frmReconnect's timers, made with the window when it is first loaded.
  std::unique_ptr<Timer> TimerReconnect;  // 1000 ms
  std::unique_ptr<Timer> TimerCount;      // 3000 ms
};

// The web address shown after the welcome text (CMake's
// TESSALY_SITE_ADDRESS).
extern const char* const kGameCentreAddress;

// Connect directly (ProxyKind 0: a socket still open is closed first) or
// through the proxy (5); other kinds start nothing. Start-up, the lobby's
// connect message and each reconnect attempt use it.
void StartConnection(Client& c);
// Tick task 2: post 22, wait for the socket, send LoginPacket directly.
void SendLogin(Client& c);
// Message type 18.
void HandleLoginAnswer(Client& c);
// Message type 29.
void HandleReconnectAnswer(Client& c);
// One reconnect attempt: the reconnect packet prepared, the socket closed,
// and the connection started as a posted event (the caller returns first).
void Reconnect(Client& c);
// The link was lost during a hand: the reconnect countdown starts.
void OnLinkLostDuringHand(Client& c);
// frmReconnect: load (hidden), its timers and buttons, unload.
void LoadReconnectWindow(Client& c);
void UnloadReconnectWindow(Client& c);
void TimerReconnect_Timer(Client& c);
void TimerCount_Timer(Client& c);
void pbReconnect_Click(Client& c);
void pbCancel_Click(Client& c);
// The SOCKS5 handshake towards the game server (ProxyKind 5).
void StartProxyTunnel(Client& c);

// Makes WebBrowser1 a notice page fetched over HTTP and installs it as
// c.parts.NavigateNotice. Start-up calls it once.
void InstallNoticePage(Client& c);
// The notice page's events: loaded (placed 2 px right of and below Bird, in
// front, shown, unless BrowserFailed) and navigation failed (hidden,
// BrowserFailed set).
void WebBrowser1_DocumentComplete(Client& c);
void WebBrowser1_NavigateError(Client& c);

}  // namespace tess
