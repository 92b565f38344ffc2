// The dispatcher: every server message reaches the client through
// DispatchMessage, called by the tick with the decoded `info` and the raw
// LastPacket. It refreshes the connection tag (every type but 29), then
// hands the message to the handler of its type; types 1, 2, 5 and 7 go to
// their spectator twins when the client watches. Handled are types 1-9,
// 14-23, 29, 40 and 41, each by the handler its catalogue entry names;
// other types are ignored silently. Received seats are already reduced to
// their low four bits by the decoder. A fault inside a handler (a bound
// check failing, an inconsistent count) restores the lobby window and ends
// the client.
#pragma once

#include <stdexcept>
#include <string>

namespace tess {

struct Client;

// Thrown by a handler that meets input it cannot act on safely (an index
// out of range, an inconsistent count); the dispatcher turns it into the
// fault exit.
struct HandlerFault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void DispatchMessage(Client& c);

using MessageHandler = void (*)(Client&);
// The catalogue's handler of `type` for a seated or a watching client;
// nullptr for a type without a handler.
MessageHandler HandlerFor(int type, bool watching);

}  // namespace tess
