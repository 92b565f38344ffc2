#include "chat/voice_phrase.h"

#include "core/client.h"
#include "platform/json.h"

namespace tess {

std::optional<std::string> ChatVoiceFile(const std::string& program_dir, const PlayerInfo& speaker, int letter,
                                         int number) {
  const bool named = (letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z') ||
                     (letter >= '0' && letter <= '9');
  if (!named || number < 0) return std::nullopt;
  return program_dir + "/../common/mj/v" + speaker.VoiceSet + speaker.VoiceId + std::to_string(speaker.Gender) +
         std::to_string(speaker.VoiceByte) + static_cast<char>(letter) + std::to_string(number) + ".wav";
}

void PlayChatVoice(Client& c, const PlayerInfo& speaker, int letter, int number) {
  const std::optional<std::string> file = ChatVoiceFile(c.options.program_dir, speaker, letter, number);
  if (!file) return;
  c.trace.Event("chat_voice", "\"file\":" + JsonQuote(*file));
  // The sound module plays it here: StopSound, PlaySound(*file, false) and
  // the wait of kChatVoiceLimitMs.
}

}  // namespace tess
