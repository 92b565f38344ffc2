// Voice phrases: the recorded voice a quick phrase plays, in the speaker's
// voice. File names follow the voice naming of the sound module: in the
// voice folder (program directory + "/../common/mj/"), "v" + VoiceSet +
// VoiceId + the digits of Gender + the digits of VoiceByte, then the
// phrase's letter, the digits of its number and ".wav".
#pragma once

#include <optional>
#include <string>

namespace tess {

struct Client;
struct PlayerInfo;

// The letter of every quick voice phrase ("a", sent as 97).
inline constexpr int kVoicePhraseLetter = 'a';
// How long the client waits for a chat voice before going on.
inline constexpr int kChatVoiceLimitMs = 3000;

// The voice file of `speaker` for phrase `letter` `number` under
// `program_dir`; nullopt when `letter` is not an ASCII letter or digit (no
// recording is named so) or `number` is negative.
std::optional<std::string> ChatVoiceFile(const std::string& program_dir, const PlayerInfo& speaker, int letter,
                                         int number);

// Stops the current sound and plays the voice of `speaker` for `letter`
// `number`, waiting for it at most kChatVoiceLimitMs. A name that names no
// recording, or a missing file, plays nothing. The file is traced
// ("chat_voice").
void PlayChatVoice(Client& c, const PlayerInfo& speaker, int letter, int number);

}  // namespace tess
