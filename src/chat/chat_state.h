// What the chat keeps between events: the private remark being typed and
// the Backspace that reached into its prefix. The rate limit (ChatAllowed)
// and the chat button's flashes (ChatFlash) are the tick's (core/tick.h);
// the text of the next chat packet is the packet layer's (OutgoingChat).
#pragma once

#include <cstdint>
#include <string>

namespace tess {

struct ChatState {
  // "你对" + target nick + "说: " while a private remark is being typed.
  std::string WhisperPrefix;
  std::string WhisperNick;     // the target nick inside WhisperPrefix
  uint8_t WhisperTarget = 0;   // SeatMask of the target
  // A Backspace reached into WhisperPrefix: the next change of Chat removes
  // the prefix from SavedChatText, the input line as it was then.
  bool PrefixEdited = false;
  std::string SavedChatText;
  // The last key pressed while the chat log had the focus was Alt.
  bool LogAltDown = false;
};

}  // namespace tess
