// tessaly-lobby: a stand-in for the game-centre lobby, for developers,
// tests and users without the real one. It owns a window title on the
// lobby channel, prints every message it receives, answers the restore and
// minimise commands, and posts the lobby's messages to the client on
// command.
//
//   tessaly-lobby [--title T] [--client C]
//     T: the lobby's window title (default "Orvane")
//     C: the client's window title (default "Tessaly")
//   commands on standard input, one a line:
//     22 | 771 | 1125 | 1024   post that message to the client
//     quit                      leave
// At the end of standard input it goes on answering until it is killed.
// Output lines: "recv N [W]" for every message (W: wParam of a command),
// "sent N" / "no-client N" for every post, "ready" once the title is bound.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/lobby_channel.h"

namespace {

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::string title = "Orvane", client = "Tessaly";
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string flag = argv[i];
    if (flag == "--title") title = argv[i + 1];
    else if (flag == "--client") client = argv[i + 1];
  }
  tess::RealClock clock;
  tess::EventLoop loop(clock);
  tess::LobbyChannel channel(loop, title);
  if (!channel.Bound()) {
    std::fprintf(stderr, "tessaly-lobby: the title \"%s\" is taken\n", title.c_str());
    return 1;
  }
  channel.OnMessage = [](const tess::WindowMessage& m) -> uint32_t {
    if (m.msg == tess::kWmSysCommand) Say("recv " + std::to_string(m.msg) + " " + std::to_string(m.wparam));
    else Say("recv " + std::to_string(m.msg));
    return 0;
  };

  std::string pending;
  int stdin_watch = 0;
  stdin_watch = loop.WatchFd(STDIN_FILENO, tess::kIoReadable, [&](int) {
    char buf[256];
    ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {  // no more commands: go on answering until killed
      loop.UnwatchFd(stdin_watch);
      return;
    }
    pending.append(buf, static_cast<size_t>(n));
    for (size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
      std::string line = pending.substr(0, eol);
      pending.erase(0, eol + 1);
      if (line == "quit") {
        loop.Quit();
        return;
      }
      char* end = nullptr;
      unsigned long msg = std::strtoul(line.c_str(), &end, 10);
      if (line.empty() || *end != '\0') continue;
      bool ok = channel.Post(client, tess::WindowMessage{static_cast<uint32_t>(msg), 0, 0});
      Say(std::string(ok ? "sent " : "no-client ") + std::to_string(msg));
    }
  });
  Say("ready");
  loop.Run();
  return 0;
}
