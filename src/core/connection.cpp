#include "core/connection.h"

#include "chat/chat_log.h"
#include "core/client.h"
#include "core/program_end.h"
#include "core/proxy_tunnel.h"
#include "ui/notice_page.h"

namespace tess {

const char* const kGameCentreAddress = TESSALY_SITE_ADDRESS;

namespace {

const char* const kAccepted = "连接服务器成功！";
const char* const kWelcome = "欢迎进入Tessaly";
const char* const kStartFailed = "启动游戏失败，请重新在大厅就座后进入游戏！";
const char* const kVerifyFailed = "验证错误，请重新登陆游戏！";
const char* const kReconnecting = "正在重新连接服务器...";
const char* const kReconnectAccepted = "正在重连服务器，请等待...！";
const char* const kReconnectRefused = "重连服务器失败，退出后请重新入座！";
const char* const kReconnectGaveUp = "重连失败，请检查您的网络！";
const char* const kSecondsToReconnect = " 秒后自动重连";

Form* ReconnectWindow(Client& c) { return c.desktop.FindForm("frmReconnect"); }

// Loaded with one of its timers running. A window whose cycle stopped (the
// hand ended meanwhile) is loaded afresh by the next loss.
bool ReconnectCycleRunning(const Client& c) {
  return c.conn.TimerReconnect && (c.conn.TimerReconnect->Enabled() || c.conn.TimerCount->Enabled());
}

void RefreshSecondsLabel(Client& c) {
  if (Form* f = ReconnectWindow(c)) f->At("lbTime").caption = std::to_string(c.conn.SecondsLeft) + kSecondsToReconnect;
}

// The web address in bytes 16-115, up to the first zero byte.
std::string NoticeAddress(const Packet& p) {
  std::string url;
  for (size_t i = kOffBody; i < 116 && p[i] != 0; ++i) url += static_cast<char>(p[i]);
  return url;
}

}  // namespace

void StartProxyTunnel(Client& c) {
  StartProxy(c.proxy, ProxyLinkOf(c), c.conn.ServerHost, c.conn.ServerPort);
}

void StartConnection(Client& c) {
  if (c.proxy.ProxyKind == kProxyKindNone) {
    c.Winsock1.RemoteHost = c.conn.ServerHost;
    c.Winsock1.RemotePort = c.conn.ServerPort;
    // A socket still open (the lobby seats a client that never left) is
    // closed before connecting again.
    if (c.Winsock1.State() != TcpSocket::kClosed) c.Winsock1.Close();
    c.Winsock1.Connect();
    c.TimerBong.SetEnabled(true);
    SwitchTaskOn(c, kTaskLogin);
  } else if (c.proxy.ProxyKind == kProxyKindSocks5) {
    SwitchTaskOff(c, kTaskLogin);
    StartProxyTunnel(c);
  }
}

void SendLogin(Client& c) {
  PostToLobby(c, kMsgConnect);
  c.loop.WaitUntil([&] { return c.Winsock1.State() == TcpSocket::kConnected; });
  c.conn.LoginPending = true;
  SendPacketDirect(c.Winsock1, c.trace, c.conn.LoginPacket);
  c.conn.LoginSent = true;
  SwitchTaskOn(c, kTaskLinkWatch);
  SwitchTaskOff(c, kTaskLogin);
}

void HandleLoginAnswer(Client& c) {
  const MessageRecord& info = c.game.info;
  c.TimerKeepAlive.SetEnabled(true);
  if (Form* notice = c.desktop.FindForm("frmOtherExit")) notice->visible = false;
  c.game.juNum = 0;
  c.buttons.StartShown = true;
  c.conn.LoginPending = false;

  if (info.value[3] == 1) {
    c.tick.TurnTimerAllowed = true;
    const std::string welcome = std::string(kWelcome) + " " + kGameCentreAddress;
    ClearStatusLines(c);
    SetStatusLine(c, 0, kAccepted);
    SetStatusLine(c, 1, welcome);
    AddChatLogLine(c, welcome);
    if (!c.conn.HadHand) {
      PostToLobby(c, kMsgLeaveRequest);
      c.tick.TurnSeconds = c.tick.AutoMode ? 1 : static_cast<int16_t>(info.value[1] & 15);
      c.tick.TimeoutLimit = c.game.LastPacket[9];
      const std::string url = NoticeAddress(c.game.LastPacket);
      if (!url.empty() && c.parts.NavigateNotice) {
        c.parts.NavigateNotice(c, url);
        // A page that failed once is never shown again.
        if (!c.conn.BrowserFailed) c.MainForm.At("WebBrowser1").visible = true;
      }
    }
    return;
  }
  PostToLobby(c, kMsgConnect);
  MessageBoxOk(c, info.value[3] == 2 ? kStartFailed : kVerifyFailed);
  RestoreLobby(c);
  EndProgram(c, info.value[3] == 2 ? "login answer 2: start failed" : "login refused");
}

void HandleReconnectAnswer(Client& c) {
  if (c.game.LastPacket[15] == 1) {
    ClearStatusLines(c);
    SetStatusLine(c, 0, kReconnectAccepted);
    c.tick.TurnTimerAllowed = true;
    c.conn.Reconnected = true;
    // The reconnect packet went out as a login; resumed, the client is at
    // its table again and the lobby's leave request is no longer refused.
    c.conn.LoginPending = false;
    return;
  }
  MessageBoxOk(c, kReconnectRefused);
  RestoreLobby(c);
  EndProgram(c, "reconnect refused");
}

void Reconnect(Client& c) {
  ClearStatusLines(c);
  SetStatusLine(c, 0, kReconnecting);
  c.conn.LoginPacket[kOffType] = kTypeReconnect;
  c.conn.LoginPacket[kOffTag] = c.packets.ConnectionTag[0];
  c.conn.LoginPacket[kOffTag + 1] = c.packets.ConnectionTag[1];
  c.proxy.TunnelReady = true;
  c.Winsock1.Close();
  // The attempt runs as an event of its own, so the reconnect timer that
  // called it returns at once: through the proxy an attempt waits for the
  // proxy connection, and the next attempt must be able to supersede it.
  c.loop.Post([&c] { StartConnection(c); });
}

void OnLinkLostDuringHand(Client& c) { LoadReconnectWindow(c); }

void LoadReconnectWindow(Client& c) {
  if (ReconnectCycleRunning(c)) return;
  Form* f = ReconnectWindow(c);
  if (!f) {
    f = &c.desktop.AddForm("frmReconnect");
    f->width = 240;
    f->height = 110;
    Element& label = f->Add(ElementKind::kLabel, "lbTime");
    label.left = 20;
    label.top = 20;
    label.width = 200;
    label.height = 20;
    Element& again = f->Add(ElementKind::kImage, "pbReconnect");
    again.left = 30;
    again.top = 60;
    again.on_click = [&c](Element&) { pbReconnect_Click(c); };
    Element& cancel = f->Add(ElementKind::kImage, "pbCancel");
    cancel.left = 140;
    cancel.top = 60;
    cancel.on_click = [&c](Element&) { pbCancel_Click(c); };
    c.conn.TimerReconnect = std::make_unique<Timer>(c.loop, "TimerReconnect");
    c.conn.TimerReconnect->SetInterval(1000);
    c.conn.TimerReconnect->OnTimer = [&c] { TimerReconnect_Timer(c); };
    c.conn.TimerCount = std::make_unique<Timer>(c.loop, "TimerCount");
    c.conn.TimerCount->SetInterval(3000);
    c.conn.TimerCount->OnTimer = [&c] { TimerCount_Timer(c); };
  }
  f->opacity = 200.0 / 255.0;
  ShowResourcePicture(c, f->At("pbReconnect"), c.pictures.DialogPictures[0]);
  ShowResourcePicture(c, f->At("pbCancel"), c.pictures.DialogPictures[2]);
  c.conn.ReconnectAttempts = 0;
  c.conn.SecondsLeft = 1;
  RefreshSecondsLabel(c);
  c.conn.TimerReconnect->SetEnabled(true);
  c.conn.TimerCount->SetEnabled(false);
}

void UnloadReconnectWindow(Client& c) {
  Form* f = ReconnectWindow(c);
  if (!f) return;
  f->visible = false;
  c.conn.TimerReconnect->SetEnabled(false);
  c.conn.TimerCount->SetEnabled(false);
}

void TimerReconnect_Timer(Client& c) {
  --c.conn.SecondsLeft;
  RefreshSecondsLabel(c);
  if (c.conn.SecondsLeft >= 1) return;
  c.conn.TimerReconnect->SetEnabled(false);
  c.conn.SecondsLeft = 1;
  RefreshSecondsLabel(c);
  c.conn.TimerCount->SetEnabled(true);
  if (Form* f = ReconnectWindow(c)) f->visible = false;
}

void TimerCount_Timer(Client& c) {
  if (c.Winsock1.State() == TcpSocket::kConnected) {
    UnloadReconnectWindow(c);
    return;
  }
  if (c.conn.ReconnectAttempts >= kMaxReconnectAttempts) {
    MessageBoxOk(c, kReconnectGaveUp);
    RestoreLobby(c);
    EndProgram(c, "reconnect failed 16 times");
  }
  if (c.game.HandInProgress) {
    ++c.conn.ReconnectAttempts;
    Reconnect(c);
  } else {
    c.conn.TimerCount->SetEnabled(false);
  }
}

void pbReconnect_Click(Client& c) {
  c.conn.TimerReconnect->SetEnabled(false);
  c.conn.SecondsLeft = 1;
  RefreshSecondsLabel(c);
  c.conn.TimerCount->SetEnabled(true);
  if (Form* f = ReconnectWindow(c)) f->visible = false;
}

void pbCancel_Click(Client& c) {
  if (c.Winsock1.State() != TcpSocket::kConnected) ReturnToLobby(c, /*lobby_first=*/true);
  UnloadReconnectWindow(c);
}

void InstallNoticePage(Client& c) {
  auto browser = std::make_shared<WebBrowser>(c.loop, c.MainForm.At("WebBrowser1"));
  browser->OnDocumentComplete = [&c] { WebBrowser1_DocumentComplete(c); };
  browser->OnNavigateError = [&c] { WebBrowser1_NavigateError(c); };
  c.parts.NavigateNotice = [browser](Client&, const std::string& url) { browser->Navigate(url); };
}

void WebBrowser1_DocumentComplete(Client& c) {
  if (c.conn.BrowserFailed) return;
  const Element& bird = c.MainForm.At("Bird");
  Element& page = c.MainForm.At("WebBrowser1");
  page.left = bird.left + 2;
  page.top = bird.top + 2;
  c.MainForm.BringToFront(page);
  page.visible = true;
  c.trace.Event("notice_loaded", "");
}

void WebBrowser1_NavigateError(Client& c) {
  c.MainForm.At("WebBrowser1").visible = false;
  c.conn.BrowserFailed = true;
  c.trace.Event("notice_failed", "");
}

}  // namespace tess
