// The client context: every record and display element of one running
// client, created once at start-up and handed to every handler. What the
// program holds process-wide lives here, so that a test can build a fresh
// client next to its scripted server.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "chat/chat_state.h"
#include "core/connection.h"
#include "core/leave.h"
#include "core/lobby_link.h"
#include "core/packet.h"
#include "core/proxy_tunnel.h"
#include "core/tick.h"
#include "platform/event_loop.h"
#include "platform/lobby_channel.h"
#include "platform/single_instance.h"
#include "platform/socket.h"
#include "platform/sound_device.h"
#include "platform/trace.h"
#include "play/play_state.h"
#include "scoring/hand_analysis.h"
#include "scoring/settlement.h"
#include "sound/sound.h"
#include "spectator/snapshot.h"
#include "spectator/spectator_state.h"
#include "table/game_state.h"
#include "table/pictures.h"
#include "ui/elements.h"
#include "ui/message_box.h"
#include "ui/window_frame.h"

namespace tess {

// How this client was started: from the environment in the program, set
// directly by tests.
struct ClientOptions {
  std::string trace_path;       // TESSALY_TRACE
  std::string scene_path;       // written at the end (the program itself dumps through SceneDumpHook)
  bool auto_message_box = false;  // TESSALY_MESSAGEBOX=auto
  std::string program_dir;      // TESSALY_HOME or the executable's folder
  int screen_width = 1024;      // from the display, or TESSALY_SCREEN
  int screen_height = 768;
};

// Calls into subsystems that are wired in by their own modules; an empty
// one does nothing. Each names the operation the tick or a handler asks for.
struct Subsystems {
  // Navigates the notice page to an address (shown once it has loaded).
  std::function<void(Client&, const std::string& url)> NavigateNotice;
};

// The button bar's click latches and hover marks, per button 0-8.
struct ButtonBarState {
  std::array<bool, 9> ButtonLatched{};  // clicks on the button are ignored
  std::array<bool, 9> HoverShown{};
  bool StartShown = true;
};

struct Client {
  Client(EventLoop& loop, const ClientOptions& options);
  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  EventLoop& loop;
  ClientOptions options;
  Trace trace;
  Desktop desktop;
  Form& MainForm;
  MessageBoxHost message_boxes;
  TcpSocket Winsock1;
  Timer TimerBong;
  Timer TimerKeepAlive;
  Timer TimerChat;
  // The main window's end of the lobby channel, bound once the hook is
  // installed at the end of start-up.
  std::unique_ptr<LobbyChannel> window_channel;
  // The sound device; start-up opens the platform's unless a test set one.
  std::unique_ptr<SoundDevice> sound;
  // Held while the program runs: one copy per program directory.
  std::unique_ptr<InstanceLock> instance;

  GameState game;
  PlayState play;
  SettlementState settlement;
  PacketQueues packets;
  TickState tick;
  ConnectionState conn;
  ProxyTunnel proxy;
  LobbyState lobby;
  LeaveState leave;
  ButtonBarState buttons;
  PictureTables pictures;
  SoundState audio;
  WindowFrameState frame;
  ChatState chat;
  Subsystems parts;
  AnalysisState analysis;
  SnapshotState snapshot;
  SpectatorState watch;
};

// Puts `text` on status line `line` (0 or 1) of Sysmsg, traced.
void SetStatusLine(Client& c, int line, const std::string& text);
// Empties both status lines.
void ClearStatusLines(Client& c);
// A message box with an OK button (traced; answered at once in automatic mode).
void MessageBoxOk(Client& c, const std::string& text, const std::string& title = "");

// QueuePacket for `m` with Seat = custom(0).Seat, AuxA = AuxB = 0.
void QueueMessage(Client& c, MessageRecord m);
// The receive step: takes one packet out of RecvRing into info and
// LastPacket and shows a chat line; false when it could not be decoded
// (after the "receive error" message box), so it is not dispatched.
bool DecodeReceived(Client& c);
// What the proxy tunnel needs from this client.
ProxyLink ProxyLinkOf(Client& c);

}  // namespace tess
