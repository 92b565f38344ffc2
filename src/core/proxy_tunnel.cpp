#include "core/proxy_tunnel.h"

#include <algorithm>

namespace tess {
namespace {

constexpr uint8_t kSocksVersion = 5;
constexpr uint8_t kMethodNone = 0;
constexpr uint8_t kMethodUserPassword = 2;
constexpr uint8_t kCommandConnect = 1;
constexpr uint8_t kAddressIpv4 = 1;
constexpr uint8_t kAddressName = 3;
constexpr uint8_t kAddressIpv6 = 4;
constexpr uint8_t kAuthVersion = 1;
constexpr uint8_t kAuthSuccess = 0;
constexpr uint8_t kReplySuccess = 0;
constexpr size_t kMaxCredential = 255;

int Pending(const ProxyTunnel& t) {
  return (t.ProxyWritePos - t.ProxyReadPos + kProxyBufferSize) % kProxyBufferSize;
}

// The i-th unread byte.
uint8_t Unread(const ProxyTunnel& t, int i) {
  return t.ProxyBuffer[(t.ProxyReadPos + i) % kProxyBufferSize];
}

void AppendCredential(std::vector<uint8_t>& message, const std::string& text) {
  const size_t n = std::min(text.size(), kMaxCredential);
  message.push_back(static_cast<uint8_t>(n));
  message.insert(message.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

std::vector<uint8_t> ProxyMessage(const ProxyTunnel& t) {
  switch (t.ProxyStep) {
    case 1:
      return {kSocksVersion, 2, kMethodNone, kMethodUserPassword};
    case 3: {
      std::vector<uint8_t> message{kAuthVersion};
      AppendCredential(message, t.ProxyUser);
      AppendCredential(message, t.ProxyPassword);
      return message;
    }
    case 5: {
      const auto& a = t.ServerAddress;
      return {kSocksVersion, kCommandConnect, 0,    kAddressIpv4, a[0], a[1], a[2], a[3],
              static_cast<uint8_t>(t.ServerPort >> 8), static_cast<uint8_t>(t.ServerPort & 0xFF)};
    }
    default:
      return {};
  }
}

// The length of a successful CONNECT answer from what has arrived of it:
// 0 while its address type (and, for a name, the name's length) is still
// missing, -1 for an address type that does not exist.
int ConnectAnswerLength(const ProxyTunnel& t) {
  if (Pending(t) < 4) return 0;
  switch (Unread(t, 3)) {
    case kAddressIpv4:
      return 4 + 4 + 2;
    case kAddressIpv6:
      return 4 + 16 + 2;
    case kAddressName:
      return Pending(t) < 5 ? 0 : 4 + 1 + Unread(t, 4) + 2;
    default:
      return -1;
  }
}

void Fail(ProxyTunnel& t, const ProxyLink& link, std::string_view text) {
  // Bytes that arrive while the box is up are not judged again.
  t.ProxyStep = 0;
  const uint32_t attempt = t.Attempt;
  link.ShowMessageBox(text);
  // A StartProxy run from inside the box owns the socket now.
  if (t.Attempt == attempt) link.Winsock1.Close();
}

void Advance(ProxyTunnel& t, const ProxyLink& link, uint8_t step) {
  t.ProxyStep = step;
  SendProxyStep(t, link);
}

// The tunnel stands: game-server bytes go to RecvRing from now on.
std::vector<uint8_t> TunnelUp(ProxyTunnel& t, const ProxyLink& link, int answer_length) {
  std::vector<uint8_t> rest;
  for (int i = answer_length; i < Pending(t); ++i) rest.push_back(Unread(t, i));
  t.ProxyStep = 0;
  t.TunnelReady = true;
  link.PostToLobby(771);
  link.SetSysmsg(0, kProxyConnected);
  link.SendLoginPacket();
  link.EnableTick();
  return rest;
}

// Acts on the proxy's answer once its first two bytes are in.
std::vector<uint8_t> OnProxyBytes(ProxyTunnel& t, const ProxyLink& link) {
  if (Pending(t) < 2) return {};
  const uint8_t b0 = Unread(t, 0);
  const uint8_t b1 = Unread(t, 1);
  switch (t.ProxyStep) {
    case 2:
      if (b0 == kSocksVersion && (b1 == kMethodNone || b1 == kMethodUserPassword))
        Advance(t, link, b1 == kMethodUserPassword ? 3 : 5);
      else
        Fail(t, link, kProxyRequestFailed);
      return {};
    case 4:
      if (b0 == kAuthVersion && b1 == kAuthSuccess)
        Advance(t, link, 5);
      else
        Fail(t, link, kProxyAuthFailed);
      return {};
    case 6: {
      const int length = b0 == kSocksVersion && b1 == kReplySuccess ? ConnectAnswerLength(t) : -1;
      if (length < 0) {
        Fail(t, link, kProxyConnectFailed);
        return {};
      }
      if (length == 0 || Pending(t) < length) return {};
      return TunnelUp(t, link, length);
    }
    default:
      return {};
  }
}

}  // namespace

std::optional<std::array<uint8_t, 4>> ParseDottedIpv4(std::string_view host) {
  std::array<uint8_t, 4> parts{};
  size_t pos = 0;
  for (size_t part = 0; part < parts.size(); ++part) {
    if (part > 0) {
      if (pos >= host.size() || host[pos] != '.') return std::nullopt;
      ++pos;
    }
    int value = 0;
    int digits = 0;
    while (pos < host.size() && digits < 3 && host[pos] >= '0' && host[pos] <= '9') {
      value = value * 10 + (host[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || value > 255) return std::nullopt;
    parts[part] = static_cast<uint8_t>(value);
  }
  if (pos != host.size()) return std::nullopt;
  return parts;
}

void StartProxy(ProxyTunnel& t, const ProxyLink& link, const std::string& ServerHost,
                uint16_t ServerPort) {
  const uint32_t attempt = ++t.Attempt;
  t.TunnelReady = false;
  t.ProxyStep = 0;

  const auto address = ParseDottedIpv4(ServerHost);
  if (!address) {
    link.Winsock1.Close();
    link.SetSysmsg(1, "");
    link.SetSysmsg(0, kProxyHostNotIpv4);
    link.SwitchLinkWatchOn();
    link.EnableTick();
    return;
  }
  t.ServerAddress = *address;
  t.ServerPort = ServerPort;

  link.Winsock1.RemoteHost = t.ProxyHost;
  link.Winsock1.RemotePort = t.ProxyPort;
  link.Winsock1.Connect();
  link.loop.WaitUntil(
      [&] { return t.Attempt != attempt || link.Winsock1.State() == TcpSocket::kConnected; });
  if (t.Attempt != attempt || link.Winsock1.State() != TcpSocket::kConnected) return;

  link.SetLoginPending();
  t.ProxyWritePos = 0;
  t.ProxyReadPos = 0;
  Advance(t, link, 1);
  link.SwitchLinkWatchOn();
}

void SendProxyStep(ProxyTunnel& t, const ProxyLink& link) {
  if (t.ProxyStep != 1 && t.ProxyStep != 3 && t.ProxyStep != 5) return;
  const std::vector<uint8_t> message = ProxyMessage(t);
  ++t.ProxyStep;
  t.ProxyWritePos = 0;
  t.ProxyReadPos = 0;
  link.trace.Bytes("proxy_send", message);
  link.Winsock1.SendData(message);
}

std::vector<uint8_t> ProxyDataArrival(ProxyTunnel& t, const ProxyLink& link,
                                      std::span<const uint8_t> chunk) {
  for (uint8_t byte : chunk) {
    t.ProxyBuffer[t.ProxyWritePos] = byte;
    t.ProxyWritePos = (t.ProxyWritePos + 1) % kProxyBufferSize;
    if (t.ProxyWritePos == t.ProxyReadPos) {
      link.FaultExit("proxy buffer overflow");
      return {};
    }
  }
  return OnProxyBytes(t, link);
}

}  // namespace tess
