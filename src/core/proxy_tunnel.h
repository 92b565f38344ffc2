// The SOCKS5 tunnel in front of the game connection (RFC 1928, with the
// user-name/password method of RFC 1929).
//
// With ProxyKind 5 the client's one socket first connects to the proxy.
// While TunnelReady is false, the client's data-arrival handler hands every
// chunk to ProxyDataArrival instead of appending it to RecvRing; the
// handshake answers collect in ProxyBuffer. Once the proxy reports the game
// server connected, TunnelReady is set, the login packet goes out and from
// then on the tunnel is transparent.
//
// Messages sent, each whole and each written to the trace as "proxy_send"
// (the password too: the trace shows the bytes on the wire):
//   greeting        05 02 00 02
//   authentication  01 ulen user plen password   (only if the proxy picks 02)
//   CONNECT         05 01 00 01 a b c d port-high port-low
//
// Contracts and the choices made where the protocol leaves room:
// - The CONNECT request carries an IPv4 address only. A ServerHost that is
//   not a dotted IPv4 address (four decimal parts 0-255) is refused before
//   the proxy is contacted: the status line shows kProxyHostNotIpv4, the
//   socket is left closed and the link watch is switched on with the tick
//   running, so the tick treats it as a lost link. Names are not resolved
//   locally: a proxy setup that names the server is a lobby
//   misconfiguration, and a local answer could differ from what the proxy
//   would reach.
// - An answer is judged only once both of its first two bytes are there,
//   so a proxy that answers one byte at a time is read correctly. A wrong
//   version or code fails at once with its text. A CONNECT answer that
//   succeeds is consumed whole (its bound address has a length given by its
//   address type) before the tunnel is ready; an unknown address type is a
//   failure. Bytes after the CONNECT answer belong to the game server and
//   are returned for RecvRing; bytes after a method or authentication
//   answer are dropped.
// - ProxyBuffer holds at most 1023 unread bytes; the 1024th calls
//   FaultExit (lobby restored, program ended). No other buffer grows with
//   input. User name and password longer than 255 bytes are cut to 255, the
//   most their one-byte lengths can count.
// - A failure shows its message box, then closes the socket; the link watch
//   then finds the link lost. There is no handshake timeout: a proxy that
//   accepts and stays silent keeps the client waiting, like one that never
//   accepts the connection.
// - A newer StartProxy (the lobby's connect or a reconnect arriving while
//   an older one waits) supersedes the older one, which then sends nothing
//   and closes nothing.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event_loop.h"
#include "platform/socket.h"
#include "platform/trace.h"

namespace tess {

inline constexpr int kProxyKindNone = 0;
inline constexpr int kProxyKindSocks5 = 5;
inline constexpr int kProxyBufferSize = 1024;

// Failure texts (message boxes) and status lines.
inline constexpr std::string_view kProxyRequestFailed = "请求代理失败！";
inline constexpr std::string_view kProxyAuthFailed = "代理服务器用户验证失败！";
inline constexpr std::string_view kProxyConnectFailed = "通过代理连接主站失败！";
inline constexpr std::string_view kProxyConnected = "连接代理服务器成功！";
inline constexpr std::string_view kProxyHostNotIpv4 = "服务器地址不是IP地址，无法通过代理连接！";

struct ProxyTunnel {
  // From the command line (fields 6 to 10).
  int ProxyKind = kProxyKindNone;
  std::string ProxyHost;
  uint16_t ProxyPort = 0;
  std::string ProxyUser;
  std::string ProxyPassword;

  // True: received bytes go to RecvRing; false: to ProxyDataArrival.
  bool TunnelReady = true;
  // 0 no handshake, 2 waiting for the method choice, 4 for the
  // authentication answer, 6 for the CONNECT answer; 1, 3 and 5 only while
  // the matching message is being sent.
  uint8_t ProxyStep = 0;
  std::array<uint8_t, kProxyBufferSize> ProxyBuffer{};
  int ProxyWritePos = 0;
  int ProxyReadPos = 0;

  // The game server the CONNECT request names, fixed by StartProxy.
  std::array<uint8_t, 4> ServerAddress{};
  uint16_t ServerPort = 0;
  // Counts StartProxy calls; a waiting call that sees it move gives up.
  uint32_t Attempt = 0;
};

// What the tunnel needs from the client. Every callback must be set.
struct ProxyLink {
  EventLoop& loop;
  TcpSocket& Winsock1;
  Trace& trace;
  // Sysmsg(line) = text (UTF-8); line 0 is the first.
  std::function<void(int line, std::string_view text)> SetSysmsg;
  // A message box with an OK button; returns when it is answered.
  std::function<void(std::string_view text)> ShowMessageBox;
  std::function<void(uint32_t msg)> PostToLobby;
  // LoginPending = true.
  std::function<void()> SetLoginPending;
  // Tick task 5 on (flag set, counter 0).
  std::function<void()> SwitchLinkWatchOn;
  // LoginPacket straight to Winsock1.SendData (bypassing SendRing).
  std::function<void()> SendLoginPacket;
  // TimerBong enabled.
  std::function<void()> EnableTick;
  // Restore the lobby window when it exists and end the program. The
  // tunnel does nothing more after calling it.
  std::function<void(std::string_view why)> FaultExit;
};

// The four parts of a dotted IPv4 address ("192.168.1.20"), or nothing.
std::optional<std::array<uint8_t, 4>> ParseDottedIpv4(std::string_view host);

// Starts the handshake towards ServerHost:ServerPort through ProxyHost:
// clears TunnelReady, connects Winsock1 to the proxy and waits, processing
// events and with no time limit, until it is connected; then sets
// LoginPending, sends the greeting and switches the link watch on. The wait
// also ends when the loop is asked to quit or a newer StartProxy has run;
// then nothing more is done. Refuses a ServerHost that is not dotted IPv4
// (see above).
void StartProxy(ProxyTunnel& t, const ProxyLink& link, const std::string& ServerHost,
                uint16_t ServerPort);

// Sends the message for ProxyStep 1, 3 or 5, advances it to 2, 4 or 6 and
// empties ProxyBuffer. Any other step sends nothing.
void SendProxyStep(ProxyTunnel& t, const ProxyLink& link);

// The client's data-arrival handler calls this for each chunk while
// TunnelReady is false: stores the chunk in ProxyBuffer (overflow ends the
// program through FaultExit), then acts on the proxy's answer (OnProxyBytes).
// Returns the bytes received after the CONNECT answer, for RecvRing; empty
// unless this chunk made the tunnel ready.
std::vector<uint8_t> ProxyDataArrival(ProxyTunnel& t, const ProxyLink& link,
                                      std::span<const uint8_t> chunk);

}  // namespace tess
