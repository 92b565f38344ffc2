// The socket side of the packet queues: the only place packets reach the
// socket, so each one is traced as "send" exactly once.
#include <vector>

#include "core/packet.h"
#include "platform/socket.h"
#include "platform/trace.h"

namespace tess {

void SendNextPacket(PacketQueues& q, TickState& tick, TcpSocket& sock, Trace& trace) {
  if (std::optional<Packet> p = TakeSendPacket(q, tick, sock.State() == TcpSocket::kConnected)) {
    SendPacketDirect(sock, trace, *p);
  }
}

void SendPacketDirect(TcpSocket& sock, Trace& trace, const Packet& p) {
  trace.Bytes("send", p.data(), p.size());
  sock.SendData(std::vector<uint8_t>(p.begin(), p.end()));
}

}  // namespace tess
