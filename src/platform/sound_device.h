// The sound device: WAVE files played through buffers, once or looping.
//
// A buffer is made from one WAVE file and plays it with its own position,
// loop flag and volume; several buffers may play at once and are mixed. The
// device never reports a failure other than through return values: a
// missing, unreadable or corrupt file gives no buffer, a machine without
// audio output fails Open, and nothing is printed either way.
//
// Volumes are in hundredths of a decibel: 0 is the file's own level, −600
// about half the amplitude, −10000 (the lowest) silence.
//
// Every call comes from the user-interface thread. An implementation that
// plays on a thread of its own guards its buffers itself.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tess {

// Names a buffer of one device; 0 is no buffer.
using SoundBufferId = int;

inline constexpr int kFullVolume = 0;
inline constexpr int kSilentVolume = -10000;

// The format every buffer is converted to and the device plays: interleaved
// 32-bit float stereo at 44100 frames per second.
inline constexpr int kMixRate = 44100;
inline constexpr int kMixChannels = 2;

// Calls naming no buffer (0, released, or made before Close) do nothing.
class SoundDevice {
 public:
  virtual ~SoundDevice() = default;

  // Opens the audio output. True when it is ready (also when already open);
  // false, quietly, when no output can be used.
  virtual bool Open() = 0;
  // Stops every buffer, releases them all and closes the output. Harmless
  // when not open.
  virtual void Close() = 0;

  // Makes a buffer from the WAVE file at `wave_path`: stopped, at its start,
  // at full volume. Returns 0 when the device is not open or the file is
  // missing, unreadable or not a WAVE file the device can decode.
  virtual SoundBufferId CreateBuffer(const std::string& wave_path) = 0;
  // Stops the buffer and forgets it; its id names nothing afterwards.
  virtual void ReleaseBuffer(SoundBufferId id) = 0;

  // Plays from the buffer's position: once, stopping at the end and going
  // back to the start, or repeating until stopped. On a playing buffer only
  // the loop flag changes. False for an unknown buffer, a closed device or
  // an output that has been lost since Open (unplugged, failed).
  virtual bool Play(SoundBufferId id, bool looping) = 0;
  // Stops the buffer where it is.
  virtual void Stop(SoundBufferId id) = 0;
  // Moves the buffer back to its start; a playing buffer plays on from there.
  virtual void Rewind(SoundBufferId id) = 0;
  // Sets the buffer's volume in hundredths of a decibel, held to
  // kSilentVolume … kFullVolume.
  virtual void SetVolume(SoundBufferId id, int hundredths_db) = 0;
  // True while the buffer is playing.
  virtual bool IsPlaying(SoundBufferId id) const = 0;
};

// Amplitude factor for a volume in hundredths of a decibel:
// 10^(hundredths_db / 2000), held to the volume range, exactly 0 at
// kSilentVolume.
float VolumeGain(int hundredths_db);

// WAVE files larger than this are not read at all (the tune, the longest
// sound, is a few megabytes).
inline constexpr uintmax_t kMaxWaveFileBytes = 32u << 20;

// Decodes the WAVE file at `path` into the mix format (kMixRate,
// kMixChannels, float), at least one frame. Empty when the file cannot be
// read or decoded, holds no sound, is larger than kMaxWaveFileBytes or is
// cut short inside its sound data.
// Needs no open device.
std::optional<std::vector<float>> DecodeWave(const std::string& path);

// A device on SDL audio (not yet open). It mixes its buffers on SDL's audio
// thread.
std::unique_ptr<SoundDevice> NewSdlSoundDevice();

// The device the client uses, already open: the SDL device, or null when
// it does not open (the client then has no sound). The environment variable
// TESSALY_AUDIO=silent chooses the silent device (silent_sound_device.h)
// without trying SDL.
std::unique_ptr<SoundDevice> OpenSoundDevice();

}  // namespace tess
