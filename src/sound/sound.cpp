#include "sound/sound.h"

#include "core/client.h"

namespace tess {
namespace {

constexpr const char* kEffectNames[] = {"", "majiang.wav", "dapai.wav", "qupai.wav",
                                        "xipai.wav", "zhise.wav", "tishi.wav"};

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (char ch : s) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return out + "\"";
}

// A device call that reports failure ends sound for the run.
void DeviceFailed(Client& c) {
  c.audio.SoundOn = false;
  c.audio.CurrentSound = 0;
}

}  // namespace

void BuildSoundFiles(Client& c) {
  for (int i = 1; i <= 6; ++i) c.audio.SoundFiles[i] = std::string("../common/music/") + kEffectNames[i];
  c.audio.VoiceDir = "../common/mj/";
}

void InitSound(Client& c) {
  if (!c.sound) c.sound = OpenSoundDevice();
  if (!c.sound || !c.sound->Open()) DeviceFailed(c);
}

void StartSound(Client& c) {
  c.audio.MusicOn = c.audio.VoiceSwitch = c.audio.SoundOn = true;
  BuildSoundFiles(c);
  if (!c.audio.SoundOn) return;
  InitSound(c);
  if (!c.audio.SoundOn) return;
  StopSound(c);
  PlaySound(c, c.audio.SoundFiles[kEffectTune], /*loop=*/true);
  SetSoundVolume(c, kMaxSoundVolume);
}

void EndSound(Client& c) {
  if (c.audio.SoundOn) StopSound(c);
}

void PlaySound(Client& c, const std::string& file, bool loop) {
  c.trace.Event("sound", "\"file\":" + JsonString(file) + ",\"loop\":" + (loop ? "true" : "false"));
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
  if (!c.audio.SoundOn || n < 1 || n > 6) return;
  PlaySound(c, c.audio.SoundFiles[n], false);
}

std::string VoicePrefix(const Client& c, int v) {
  const PlayerInfo& p = c.game.players[v & 3];
  return c.audio.VoiceDir + "v" + p.VoiceSet + p.VoiceId + std::to_string(p.Gender) + std::to_string(p.VoiceByte);
}

void PlayTileVoice(Client& c, int v, int code) {
  if (!c.audio.SoundOn) return;
  auto rank = Rank(code);
  if (!rank) return;
  // The voice files number characters 8 and dots 4.
  int suit = (code >> 4) & 0x0F;
  if (suit == 4) suit = 8;
  else if (suit == 8) suit = 4;
  PlaySound(c, VoicePrefix(c, v) + std::to_string(suit) + std::to_string(*rank) + ".wav", false);
}

void PlayClaimVoice(Client& c, int v, int clip) {
  if (!c.audio.SoundOn) return;
  PlaySound(c, VoicePrefix(c, v) + "0" + std::to_string(clip) + ".wav", false);
}

}  // namespace tess
