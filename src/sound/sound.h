// Sound effects, voices and the background tune, on one playback channel.
//
// Every sound is a WAVE file beside the program: effects under
// "../common/music/", voices under "../common/mj/", both relative to the
// program directory. PlaySound always releases the sound now playing first,
// so any effect or voice ends the looping tune for good. A missing or
// unreadable file plays nothing and is skipped quietly; a device that
// cannot be used, or fails while playing, turns SoundOn off and the table
// plays on in silence.
//
// Every PlaySound is written to the trace ({"ev":"sound","file":F,
// "loop":B}, F relative to the program directory with "/" separators),
// whether or not the file exists; StopSound writes {"ev":"sound_stop"}.
// Effects and voices are played only while SoundOn is set (the Play*
// calls below test it), voices only while VoiceSwitch is set too; the tune
// follows MusicOn when it is switched in the settings window
// (sound/sound_settings.h).
#pragma once

#include <array>
#include <string>

#include "platform/sound_device.h"

namespace tess {

struct Client;

// SoundFiles entries, by the number callers use.
enum SoundEffect : int {
  kEffectTune = 1,       // "majiang.wav", looping
  kEffectDiscard = 2,    // "dapai.wav"
  kEffectDeal = 3,       // "qupai.wav"
  kEffectShuffle = 4,    // "xipai.wav"
  kEffectDice = 5,       // "zhise.wav"
  kEffectCountdown = 6,  // "tishi.wav"
};

// The voice clips of a claim (the digits after the player's voice prefix).
enum ClaimVoice : int {
  kVoiceChow = 1,
  kVoicePung = 2,
  kVoiceKong = 3,
  kVoiceRedDragonAside = 4,
  kVoiceWildAside = 5,
  kVoiceWin = 9,
};

inline constexpr int kMaxSoundVolume = 3000;
// The longest wait for a chat voice to end, in milliseconds.
inline constexpr int kChatVoiceWaitMs = 3000;
// The two voice families a player's VoiceSet names.
inline constexpr const char* kVoiceFamilyStandard = "00";
inline constexpr const char* kVoiceFamilyDialect = "27";

// Rows of the settings window.
enum SoundSettingsRow : int { kRowMusic = 0, kRowVoices = 1, kRowSound = 2, kRowVoiceFamily = 3 };
inline constexpr int kSoundSettingsRows = 4;

struct SoundState {
  bool MusicOn = true;
  bool VoiceSwitch = true;  // spoken voices (tiles, claims, chat) wanted
  bool SoundOn = true;
  // Effect files 1-6, relative to the program directory ("/" separators).
  std::array<std::string, 7> SoundFiles{};
  std::string VoiceDir;  // relative to the program directory, ends in "/"
  SoundBufferId CurrentSound = 0;
  // Each ViewSeat's VoiceId as the voice assignment gave it at table
  // set-up; the settings window's Cancel takes the men's back from here.
  std::array<std::string, 4> PlayerVoiceIds{};
  // The settings window's rows toggled since it was last closed.
  std::array<bool, kSoundSettingsRows> Pending{};
};

// Fills SoundFiles and VoiceDir.
void BuildSoundFiles(Client& c);
// Start-up: the three switches on, the files named, the device opened and,
// while SoundOn holds, the tune started looping at full volume.
void StartSound(Client& c);
// The main window closes: the sound stops while music or sound is on.
void EndSound(Client& c);
// Opens the sound device (the client's own, or the platform's); SoundOn
// off when there is none or it cannot be opened.
void InitSound(Client& c);

// Releases the current sound and plays `file` (relative to the program
// directory) once or looping. A file that cannot be had plays nothing; a
// device that refuses to play turns SoundOn off.
void PlaySound(Client& c, const std::string& file, bool loop);
// Stops the current sound and rewinds it.
void StopSound(Client& c);
// 0..3000 -> -30 dB .. 0 dB on the current sound; other values ignored.
void SetSoundVolume(Client& c, int v);

// Effect `n` (SoundEffect) once, when SoundOn is set; other n play nothing.
void PlayEffect(Client& c, int n);
// The voice prefix of ViewSeat v: VoiceDir & "v" & VoiceSet & VoiceId &
// Gender digits & VoiceByte digits; empty for v outside 0-3.
std::string VoicePrefix(const Client& c, int v);
// ViewSeat v names tile `code` (characters and dots swap their suit digit:
// 1 honours, 2 bamboo, 4 dots, 8 characters). Not a tile: nothing.
void PlayTileVoice(Client& c, int v, int code);
// ViewSeat v announces a claim (ClaimVoice); other clips play nothing.
void PlayClaimVoice(Client& c, int v, int clip);
// ViewSeat v says voice phrase `number` of letter `letter` (a character
// code, 97 = "a"): the current sound stopped, the file prefix & letter &
// number & ".wav" played, then events processed until it ends, at most
// kChatVoiceWaitMs. A letter other than an ASCII letter or digit names no
// file and plays nothing.
void PlayChatVoice(Client& c, int v, int letter, int number);

}  // namespace tess
