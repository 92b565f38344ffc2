// A received chat line on the table: the sender's voice for a voice
// phrase, the local player's own names turned into "你", the word filter,
// the chat log and the two-line ticker Sysmsg, and the chat button's flash
// for another player's line.
#pragma once

namespace tess {

struct Client;
struct ChatLine;

// Shows `line` (decoded from the type-19 packet now in info). Throws
// HandlerFault when the line names no sender (the local seat is out of
// range); the receive step then shows the receive-error message.
void ShowChatLine(Client& c, const ChatLine& line);

}  // namespace tess
