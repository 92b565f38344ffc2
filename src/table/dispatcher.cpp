#include "table/dispatcher.h"

#include <exception>

#include "core/client.h"
#include "core/connection.h"
#include "core/leave.h"
#include "core/program_end.h"

namespace tess {
namespace {

using Handler = void (*)(Client&);

struct Entry {
  int type;
  Handler seated;
  Handler spectator;  // nullptr: the seated handler serves both
};

// Type 8 clears a mark nothing reads; type 19 was shown while it was decoded.
void NoVisibleEffect(Client&) {}

// The catalogue of handled server messages. A type missing here is ignored.
constexpr Entry kCatalogue[] = {
    {kTypeNoEffect, NoVisibleEffect, nullptr},
    {kTypePlayerQuit, OnPlayerQuit, nullptr},
    {kTypeLogin, HandleLoginAnswer, nullptr},
    {kTypeChat, NoVisibleEffect, nullptr},
    {kTypePlayerLeft, OnPlayerLeft, nullptr},
    {kTypeOtherExit, OnOtherExit, nullptr},
    {kTypeReconnectReply, HandleReconnectAnswer, nullptr},
};

}  // namespace

void DispatchMessage(Client& c) {
  RefreshConnectionTag(c.packets, c.game.LastPacket);
  const int type = c.game.info.MsgType;
  for (const Entry& e : kCatalogue) {
    if (e.type != type) continue;
    Handler h = c.game.IsSpectator && e.spectator ? e.spectator : e.seated;
    try {
      h(c);
    } catch (const std::exception& fault) {
      FaultExit(c, std::string("fault in the handler of type ") + std::to_string(type) + ": " + fault.what());
    }
    return;
  }
}

}  // namespace tess
