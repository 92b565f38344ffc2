#include "core/program_end.h"

#include "core/client.h"
#include "ui/scene_dump.h"

namespace tess {

void EndProgram(Client& c, const std::string& why) {
  c.trace.Exit(why);
  if (!c.options.scene_path.empty()) WriteSceneFile(c.desktop, c.options.scene_path);
  c.loop.Quit();
  throw ProgramEnd{why};
}

void FaultExit(Client& c, const std::string& why) {
  RestoreLobbyIfPresent(c);
  EndProgram(c, why);
}

}  // namespace tess
