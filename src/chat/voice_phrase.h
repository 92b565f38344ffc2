// Voice phrases: a quick phrase from the voice list travels with the
// letter and number of its recording; the sound module plays it in the
// speaker's voice (PlayChatVoice).
#pragma once

namespace tess {

// The letter of every quick voice phrase ("a", sent as 97).
inline constexpr int kVoicePhraseLetter = 'a';

}  // namespace tess
