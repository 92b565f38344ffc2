// The silent sound device: plays nothing, records what it was asked.
//
// It stands in where no audio output exists and in client tests, which read
// Calls() to see which sound would have played, looping or not, at which
// volume, and when it was stopped. Files are decoded as the real device does,
// so a missing or corrupt WAVE file gives no buffer and leaves no record.
// Only calls that act on an existing buffer are recorded.
//
// Since nothing sounds, a buffer played once has finished at once
// (IsPlaying is false); a looping buffer plays until stopped.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/sound_device.h"

namespace tess {

struct SoundCall {
  enum Kind { kCreate, kPlay, kStop, kRewind, kVolume, kRelease };
  Kind kind = kCreate;
  SoundBufferId buffer = 0;
  std::string file;      // the WAVE file of the buffer
  bool looping = false;  // kPlay
  int volume = 0;        // kVolume: hundredths of a decibel as asked
};

class SilentSoundDevice final : public SoundDevice {
 public:
  // With `opens` false, Open fails as on a machine without audio output.
  explicit SilentSoundDevice(bool opens = true) : opens_(opens) {}

  bool Open() override;
  void Close() override;
  SoundBufferId CreateBuffer(const std::string& wave_path) override;
  void ReleaseBuffer(SoundBufferId id) override;
  bool Play(SoundBufferId id, bool looping) override;
  void Stop(SoundBufferId id) override;
  void Rewind(SoundBufferId id) override;
  void SetVolume(SoundBufferId id, int hundredths_db) override;
  bool IsPlaying(SoundBufferId id) const override;

  // Everything recorded since construction or ClearCalls, oldest first.
  const std::vector<SoundCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

 private:
  struct Buffer {
    std::string file;
    bool looping_play = false;
  };
  // The buffer named `id`, recording a call of `kind` on it; null (and no
  // record) when there is none.
  Buffer* Record(SoundBufferId id, SoundCall::Kind kind, bool looping = false, int volume = 0);

  bool opens_;
  bool open_ = false;
  SoundBufferId next_id_ = 1;
  std::map<SoundBufferId, Buffer> buffers_;
  std::vector<SoundCall> calls_;
};

}  // namespace tess
