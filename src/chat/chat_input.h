// The table's chat controls: the input line Chat, the send button's
// action (AnNiu(0), ui/button_bar.h), private remarks by a click on a
// portrait Tou(1..3), and the chat log's toggle Lbchat.
//
// An outgoing line is the local nick + "说道: " + text; a private remark is
// the local nick + "对" + target nick + "说: " + text with value(1) = the
// target's SeatMask. The packet layer sends it in GBK, cut to 100
// characters. Enter sends at most once per 800 ms (TimerChat) and never for
// a spectator; the send button and the quick phrases have no limit.
#pragma once

#include <optional>
#include <string_view>

namespace tess {

struct Client;

// Sets the handlers of Chat, Lbchat, Tou(1..3),
// imgword1 and imgword2. After BuildTable, which loads the arrays, and
// InstallTableKeys: Chat's key handler hands each key to TableKeyDown
// first.
void InstallChat(Client& c);

// A key pressed in Chat, before the text box acts on it.
void Chat_KeyPress(Client& c, int key_code);
// Chat's text changed by typing.
void Chat_Change(Client& c);
// AnNiu(0): sends the input line now.
void SendButton_Click(Client& c);
// Tou(v), v = 1..3: starts a private remark to that player.
void Tou_Click(Client& c, int v);

// Queues the chat packet for `text`: a private remark to the target of
// WhisperPrefix when `whisper`, else an ordinary line; with the voice
// fields (value(0) = 1, value(2) = 97, value(3) = number) for a voice
// phrase. Empties WhisperPrefix.
void QueueChatLine(Client& c, std::string_view text, bool whisper, std::optional<int> voice_number = std::nullopt);
// Whether `text` holds the prefix of a private remark being typed.
bool HoldsWhisperPrefix(const Client& c, std::string_view text);

}  // namespace tess
