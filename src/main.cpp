// tessaly: the table client. The lobby starts it with its "$"-field command
// line; the process runs until the program ends (ProgramEnd).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "core/client.h"
#include "core/program_end.h"
#include "core/startup.h"
#include "platform/program_dir.h"
#include "platform/signal_watch.h"
#include "ui/renderer.h"
#include "ui/scene_dump.h"

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// TESSALY_SCREEN=WxH overrides the display's size.
bool ScreenOverride(int* w, int* h) {
  const std::string s = Env("TESSALY_SCREEN");
  return !s.empty() && std::sscanf(s.c_str(), "%dx%d", w, h) == 2 && *w > 0 && *h > 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string command_line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }

  tess::RealClock clock;
  tess::EventLoop loop(clock);
  tess::ClientOptions options;
  options.trace_path = Env("TESSALY_TRACE");
  options.auto_message_box = Env("TESSALY_MESSAGEBOX") == "auto";
  options.program_dir = tess::ProgramDir();

  tess::Client client(loop, options);
  tess::SdlRenderer renderer(client.desktop, loop);
  int w = 0, h = 0;
  if (ScreenOverride(&w, &h)) {
    client.desktop.screen_width = w;
    client.desktop.screen_height = h;
  }
  client.MainForm.on_close_request = [&client](tess::Form&) { tess::Form_Unload(client); };
  tess::SceneDumpHook scene(client.desktop, loop);
  // Being told to stop (a shutdown, Ctrl+C in a terminal) ends the program
  // as any other end does, with its exit line.
  tess::SignalWatch stop(loop, {SIGTERM, SIGINT, SIGHUP}, [&client](int signal) {
    tess::EndProgram(client, std::string("signal ") + strsignal(signal));
  });
  // TESSALY_SHOTS=PREFIX: each SIGUSR2 saves PREFIX-1.png, PREFIX-2.png, …
  // (a launcher takes the table at the moments it chooses).
  const std::string shots = Env("TESSALY_SHOTS");
  int shot_number = 0;
  tess::SignalWatch shot(loop, {SIGUSR2}, [&](int) {
    if (shots.empty()) return;
    const std::string path = shots + "-" + std::to_string(++shot_number) + ".png";
    if (!renderer.SaveScreenshot(path)) std::fprintf(stderr, "tessaly: cannot write screenshot %s\n", path.c_str());
  });
  try {
    tess::Form_Load(client, command_line);
    loop.Run();
  } catch (const tess::ProgramEnd&) {
  } catch (const std::exception& fault) {
    // A fault no handler caught: restore the lobby and end, never abort.
    try {
      tess::FaultExit(client, std::string("fault: ") + fault.what());
    } catch (const tess::ProgramEnd&) {
    }
  }
  return 0;
}
