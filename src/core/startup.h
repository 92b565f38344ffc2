// Start-up and the end of the main window. The lobby starts the client with
// a command line of "$"-ended fields; Form_Load refuses a second instance,
// sizes the window, loads the pictures and builds the table, reads the
// command line, prepares the login packet, starts the connection (directly
// or through the proxy), shows the window and hooks the lobby's messages.
#pragma once

#include <string>

namespace tess {

struct Client;

inline constexpr const char* kAlreadyRunning = "Tessaly游戏已经运行！";
inline constexpr const char* kStartFromLobby = "本游戏需从游戏大厅中启动！";
inline constexpr const char* kWarningTitle = "警告";
inline constexpr const char* kConnecting = "正在连接服务器...";

// The whole start-up; `command_line` is the process's arguments joined by
// single spaces. Ends the program (ProgramEnd) where start-up fails.
void Form_Load(Client& c, const std::string& command_line);
// The main window closes: unhook, stop the sounds, end the program.
[[noreturn]] void Form_Unload(Client& c);

}  // namespace tess
