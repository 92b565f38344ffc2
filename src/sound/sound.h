// Sound effects, voices and the background tune, on one playback channel.
//
// Every sound is a WAVE file beside the program: effects under
// "../common/music/", voices under "../common/mj/", both relative to the
// program directory. PlaySound always releases the sound now playing first,
// so any effect or voice ends the looping tune for good. A missing or
// unreadable file plays nothing and is skipped quietly; a device that
// cannot be used turns SoundOn off. Every PlaySound while SoundOn is set
// is written to the trace ({"ev":"sound","file":F,"loop":B}, F relative to
// the program directory), whether or not the file exists; StopSound writes
// {"ev":"sound_stop"}.
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

struct SoundState {
  bool MusicOn = true;
  bool VoiceSwitch = true;
  bool SoundOn = true;
  // Effect files 1-6, relative to the program directory ("/" separators).
  std::array<std::string, 7> SoundFiles{};
  std::string VoiceDir;  // relative to the program directory, ends in "/"
  SoundBufferId CurrentSound = 0;
};

// Fills SoundFiles and VoiceDir.
void BuildSoundFiles(Client& c);
// Start-up: switches on, files named, and with SoundOn the device opened
// and the tune started at full volume.
void StartSound(Client& c);
// The main window closes: with SoundOn, the sound stops.
void EndSound(Client& c);
// Opens the sound device (the client's own, or the platform's); SoundOn
// off when it cannot be used.
void InitSound(Client& c);

// `file` relative to the program directory.
void PlaySound(Client& c, const std::string& file, bool loop);
void StopSound(Client& c);
// 0..3000 -> -30 dB .. 0 dB on the current sound; other values ignored.
void SetSoundVolume(Client& c, int v);

// Effect `n` (SoundEffect) once, when SoundOn is set.
void PlayEffect(Client& c, int n);
// The voice prefix of ViewSeat v: VoiceDir & "v" & VoiceSet & VoiceId &
// Gender digits & VoiceByte digits.
std::string VoicePrefix(const Client& c, int v);
// ViewSeat v names tile `code` (characters and dots swap their suit digit).
void PlayTileVoice(Client& c, int v, int code);
// ViewSeat v announces a claim (ClaimVoice).
void PlayClaimVoice(Client& c, int v, int clip);

}  // namespace tess
