#include "sound/sound.h"

#include <algorithm>

#include "core/client.h"
#include "platform/json.h"

namespace tess {
namespace {

constexpr const char* kMusicDir = "../common/music/";
constexpr const char* kVoiceDir = "../common/mj/";
constexpr const char* kEffectNames[] = {"", "majiang.wav", "dapai.wav", "qupai.wav",
                                        "xipai.wav", "zhise.wav", "tishi.wav"};
// How often the chat voice's end is looked for while events are processed.
constexpr int kChatVoicePollMs = 10;

// The device refused to play: the sound is given up and sound ends for the
// run (until switched on again in the settings window).
void DeviceFailed(Client& c) {
  if (c.sound && c.audio.CurrentSound) c.sound->ReleaseBuffer(c.audio.CurrentSound);
  c.audio.CurrentSound = 0;
  c.audio.SoundOn = false;
}

bool IsSeat(int v) { return v >= 0 && v < kSeatCount; }

// Voices play when sound and the voice switch are on, for a seat on screen.
bool VoicesWanted(const Client& c, int v) { return c.audio.SoundOn && c.audio.VoiceSwitch && IsSeat(v); }

// The suit digit of the voice files: characters (4) and dots (8) change
// places; 0 for a suit mask that names no suit.
int VoiceSuitDigit(int code) {
  switch ((code >> 4) & 0x0F) {
    case 1: return 1;
    case 2: return 2;
    case 4: return 8;
    case 8: return 4;
    default: return 0;
  }
}

bool IsClaimClip(int clip) {
  switch (clip) {
    case kVoiceChow:
    case kVoicePung:
    case kVoiceKong:
    case kVoiceRedDragonAside:
    case kVoiceWildAside:
    case kVoiceWin:
      return true;
    default:
      return false;
  }
}

bool IsFileLetter(int letter) {
  return (letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z') || (letter >= '0' && letter <= '9');
}

}  // namespace

void BuildSoundFiles(Client& c) {
  for (int i = 1; i <= 6; ++i) c.audio.SoundFiles[i] = std::string(kMusicDir) + kEffectNames[i];
  c.audio.VoiceDir = kVoiceDir;
}

void InitSound(Client& c) {
  if (!c.sound) c.sound = OpenSoundDevice();
  if (!c.sound || !c.sound->Open()) DeviceFailed(c);
}

void StartSound(Client& c) {
  c.audio.MusicOn = c.audio.VoiceSwitch = c.audio.SoundOn = true;
  BuildSoundFiles(c);
  InitSound(c);
  if (!c.audio.SoundOn) return;
  StopSound(c);
  PlaySound(c, c.audio.SoundFiles[kEffectTune], /*loop=*/true);
  SetSoundVolume(c, kMaxSoundVolume);
}

void EndSound(Client& c) {
  if (c.audio.MusicOn || c.audio.SoundOn) StopSound(c);
}

void PlaySound(Client& c, const std::string& file, bool loop) {
  c.trace.Event("sound", "\"file\":" + JsonQuote(file) + ",\"loop\":" + (loop ? "true" : "false"));
  if (!c.sound) return;
  if (c.audio.CurrentSound) c.sound->ReleaseBuffer(c.audio.CurrentSound);
  c.audio.CurrentSound = c.sound->CreateBuffer(c.options.program_dir + "/" + file);
  if (!c.audio.CurrentSound) return;  // missing or unreadable: skipped
  if (!c.sound->Play(c.audio.CurrentSound, loop)) DeviceFailed(c);
}

void StopSound(Client& c) {
  c.trace.Event("sound_stop", "");
  if (!c.sound || !c.audio.CurrentSound) return;
  c.sound->Stop(c.audio.CurrentSound);
  c.sound->Rewind(c.audio.CurrentSound);
}

void SetSoundVolume(Client& c, int v) {
  if (v < 0 || v > kMaxSoundVolume || !c.sound) return;
  c.sound->SetVolume(c.audio.CurrentSound, v - kMaxSoundVolume);
}

void PlayEffect(Client& c, int n) {
  if (!c.audio.SoundOn || n < kEffectTune || n > kEffectCountdown) return;
  PlaySound(c, c.audio.SoundFiles[n], false);
}

std::string VoicePrefix(const Client& c, int v) {
  if (!IsSeat(v)) return "";
  const PlayerInfo& p = c.game.players[v];
  return c.audio.VoiceDir + "v" + p.VoiceSet + p.VoiceId + std::to_string(p.Gender) + std::to_string(p.VoiceByte);
}

void PlayTileVoice(Client& c, int v, int code) {
  if (!VoicesWanted(c, v)) return;
  const std::optional<int> rank = Rank(code);
  const int suit = VoiceSuitDigit(code);
  if (!rank || !suit) return;
  PlaySound(c, VoicePrefix(c, v) + std::to_string(suit) + std::to_string(*rank) + ".wav", false);
}

void PlayClaimVoice(Client& c, int v, int clip) {
  if (!VoicesWanted(c, v) || !IsClaimClip(clip)) return;
  PlaySound(c, VoicePrefix(c, v) + "0" + std::to_string(clip) + ".wav", false);
}

void PlayChatVoice(Client& c, int v, int letter, int number) {
  if (!VoicesWanted(c, v) || !IsFileLetter(letter)) return;
  StopSound(c);
  PlaySound(c, VoicePrefix(c, v) + static_cast<char>(letter) + std::to_string(number) + ".wav", false);
  // The voice is heard out, up to the limit; the table goes on meanwhile.
  const int64_t until = c.loop.NowMs() + kChatVoiceWaitMs;
  while (c.sound && c.sound->IsPlaying(c.audio.CurrentSound) && c.loop.NowMs() < until)
    c.loop.WaitProcessing(std::min<int64_t>(kChatVoicePollMs, until - c.loop.NowMs()));
}

}  // namespace tess
