#include "platform/silent_sound_device.h"

namespace tess {

bool SilentSoundDevice::Open() {
  open_ = opens_;
  return open_;
}

void SilentSoundDevice::Close() {
  open_ = false;
  buffers_.clear();
}

SoundBufferId SilentSoundDevice::CreateBuffer(const std::string& wave_path) {
  if (!open_ || !DecodeWave(wave_path)) return 0;
  SoundBufferId id = next_id_++;
  buffers_[id] = Buffer{wave_path};
  Record(id, SoundCall::kCreate);
  return id;
}

SilentSoundDevice::Buffer* SilentSoundDevice::Record(SoundBufferId id, SoundCall::Kind kind, bool looping,
                                                     int volume) {
  auto it = buffers_.find(id);
  if (it == buffers_.end()) return nullptr;
  calls_.push_back(SoundCall{kind, id, it->second.file, looping, volume});
  return &it->second;
}

void SilentSoundDevice::ReleaseBuffer(SoundBufferId id) {
  if (Record(id, SoundCall::kRelease)) buffers_.erase(id);
}

bool SilentSoundDevice::Play(SoundBufferId id, bool looping) {
  Buffer* b = Record(id, SoundCall::kPlay, looping);
  if (!b) return false;
  b->looping_play = looping;
  return true;
}

void SilentSoundDevice::Stop(SoundBufferId id) {
  if (Buffer* b = Record(id, SoundCall::kStop)) b->looping_play = false;
}

void SilentSoundDevice::Rewind(SoundBufferId id) { Record(id, SoundCall::kRewind); }

void SilentSoundDevice::SetVolume(SoundBufferId id, int hundredths_db) {
  Record(id, SoundCall::kVolume, false, hundredths_db);
}

bool SilentSoundDevice::IsPlaying(SoundBufferId id) const {
  auto it = buffers_.find(id);
  return it != buffers_.end() && it->second.looping_play;
}

}  // namespace tess
