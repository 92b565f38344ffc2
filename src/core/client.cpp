#include "core/client.h"

#include <exception>

#include "chat/chat_receive.h"
#include "core/program_end.h"
#include "platform/gbk.h"
#include "ui/main_form.h"

namespace tess {
namespace {

// Socket bytes: to the proxy while the tunnel is being set up, else to
// RecvRing.
void OnSocketData(Client& c) {
  std::vector<uint8_t> bytes = c.Winsock1.GetData();
  if (!c.proxy.TunnelReady) {
    // What the proxy leaves over is game data; arrival arms the receive
    // task also when the proxy took every byte.
    bytes = ProxyDataArrival(c.proxy, ProxyLinkOf(c), bytes);
  }
  if (Winsock1_DataArrival(c.packets, c.tick, bytes) == ArrivalResult::kOverflow)
    FaultExit(c, "receive ring overflow");
}

}  // namespace

Client::Client(EventLoop& l, const ClientOptions& o)
    : loop(l),
      options(o),
      trace(l.clock(), o.trace_path),
      MainForm(desktop.AddForm("MainForm")),
      message_boxes{l, desktop, trace, o.auto_message_box},
      Winsock1(l),
      TimerBong(l, "TimerBong"),
      TimerKeepAlive(l, "TimerKeepAlive"),
      TimerChat(l, "TimerChat") {
  desktop.screen_width = o.screen_width;
  desktop.screen_height = o.screen_height;
  DesignMainForm(MainForm);
  TimerBong.SetInterval(kTickMs);
  TimerKeepAlive.SetInterval(kKeepAliveMs);
  TimerChat.SetInterval(kChatPauseMs);
  TimerBong.OnTimer = [this] { TimerBong_Timer(*this); };
  TimerKeepAlive.OnTimer = [this] { TimerKeepAlive_Timer(*this); };
  TimerChat.OnTimer = [this] { TimerChat_Timer(*this); };
  Winsock1.OnDataArrival = [this](size_t) { OnSocketData(*this); };
  // The peer closed: the link watch notices the lost link by polling.
  Winsock1.OnClose = [this] { Winsock1.Close(); };
  window_channel = std::make_unique<LobbyChannel>(l, MainForm.caption);
  MainForm.on_restored = [this](Form&) { Form_Resize(*this); };
}

Client::~Client() = default;

void SetStatusLine(Client& c, int line, const std::string& text) {
  if (line < 0 || line > 1) return;
  c.MainForm.At("Sysmsg", line).caption = text;
  c.trace.Status(line, text);
}

void ClearStatusLines(Client& c) {
  for (int i = 0; i < 2; ++i) c.MainForm.At("Sysmsg", i).caption.clear();
}

void MessageBoxOk(Client& c, const std::string& text, const std::string& title) {
  ShowMessageBox(c.message_boxes, text, title);
}

void QueueMessage(Client& c, MessageRecord m) {
  m.Seat = c.game.custom[0].Seat;
  m.AuxA = m.AuxB = 0;
  QueuePacket(c.packets, c.tick, c.trace, m);
}

bool DecodeReceived(Client& c) {
  DecodeResult r = DecodeNextPacket(c.packets, c.game, c.trace);
  if (r.status == DecodeStatus::kFailed) {
    MessageBoxOk(c, std::string(kRecvErrorText));
    return false;
  }
  if (r.chat) {
    try {
      ShowChatLine(c, *r.chat);
    } catch (const std::exception&) {
      // A chat line that cannot be shown fails as an undecodable packet.
      MessageBoxOk(c, std::string(kRecvErrorText));
      return false;
    }
  }
  return r.status == DecodeStatus::kDecoded;
}

ProxyLink ProxyLinkOf(Client& c) {
  return ProxyLink{
      c.loop,
      c.Winsock1,
      c.trace,
      [&c](int line, std::string_view text) {
        if (line == 0) c.MainForm.At("Sysmsg", 0).caption.clear();
        SetStatusLine(c, line, std::string(text));
      },
      [&c](std::string_view text) { MessageBoxOk(c, std::string(text)); },
      [&c](uint32_t msg) { PostToLobby(c, msg); },
      [&c] { c.conn.LoginPending = true; },
      [&c] { SwitchTaskOn(c, kTaskLinkWatch); },
      [&c] { SendPacketDirect(c.Winsock1, c.trace, c.conn.LoginPacket); },
      [&c] { c.TimerBong.SetEnabled(true); },
      [&c](std::string_view why) { FaultExit(c, std::string(why)); },
  };
}

}  // namespace tess
