#include "platform/sound_device.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "platform/silent_sound_device.h"

namespace tess {

float VolumeGain(int hundredths_db) {
  if (hundredths_db <= kSilentVolume) return 0.0f;
  return static_cast<float>(std::pow(10.0, std::min(hundredths_db, kFullVolume) / 2000.0));
}

std::optional<std::vector<float>> DecodeWave(const std::string& path) {
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxWaveFileBytes) return std::nullopt;
  // A file cut short in its sound data is refused, not played in part.
  SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
  SDL_AudioSpec spec;
  Uint8* data = nullptr;
  Uint32 len = 0;
  if (!SDL_LoadWAV(path.c_str(), &spec, &data, &len)) return std::nullopt;
  SDL_AudioCVT cvt;
  // SDL converts in place, needs len_mult times the input as room and counts
  // it in an int.
  if (len == 0 ||
      SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS, kMixChannels, kMixRate) < 0 ||
      static_cast<size_t>(len) * static_cast<size_t>(cvt.len_mult) > static_cast<size_t>(INT_MAX)) {
    SDL_FreeWAV(data);
    return std::nullopt;
  }
  std::vector<Uint8> work(static_cast<size_t>(len) * static_cast<size_t>(cvt.len_mult));
  std::memcpy(work.data(), data, len);
  SDL_FreeWAV(data);
  cvt.buf = work.data();
  cvt.len = static_cast<int>(len);
  if (SDL_ConvertAudio(&cvt) < 0) return std::nullopt;
  const size_t frames = static_cast<size_t>(cvt.len_cvt) / (sizeof(float) * kMixChannels);
  if (frames == 0) return std::nullopt;
  std::vector<float> samples(frames * kMixChannels);
  std::memcpy(samples.data(), work.data(), samples.size() * sizeof(float));
  return samples;
}

namespace {

// alsa-lib writes its own complaints to stderr when no sound card exists
// (SDL tries it last). A handler that drops them keeps such a machine quiet;
// it is set on the copy of the library SDL has loaded, if any.
extern "C" void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void QuietAlsa() {
  void* lib = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
  if (!lib) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  if (auto set = reinterpret_cast<SetHandler>(dlsym(lib, "snd_lib_error_set_handler"))) set(DropAlsaMessage);
  dlclose(lib);
}

struct Voice {
  std::vector<float> samples;  // interleaved, kMixChannels per frame; never empty
  size_t frame = 0;            // next frame to play
  bool playing = false;
  bool looping = false;
  float gain = 1.0f;
};

// Holds SDL's lock on the device: the audio callback does not run meanwhile.
class AudioLock {
 public:
  explicit AudioLock(SDL_AudioDeviceID device) : device_(device) { SDL_LockAudioDevice(device_); }
  ~AudioLock() { SDL_UnlockAudioDevice(device_); }
  AudioLock(const AudioLock&) = delete;
  AudioLock& operator=(const AudioLock&) = delete;

 private:
  SDL_AudioDeviceID device_;
};

class SdlSoundDevice final : public SoundDevice {
 public:
  ~SdlSoundDevice() override { Close(); }

  bool Open() override {
    if (device_ != 0) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (std::strcmp(SDL_GetCurrentAudioDriver(), "alsa") == 0) QuietAlsa();
    SDL_AudioSpec want{};
    want.freq = kMixRate;
    want.format = AUDIO_F32SYS;
    want.channels = kMixChannels;
    want.samples = 1024;
    want.callback = &SdlSoundDevice::Mix;
    want.userdata = this;
    // No changes allowed: SDL converts to whatever the hardware takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (device_ == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  void Close() override {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);  // waits for the audio thread to end
    device_ = 0;
    voices_.clear();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  SoundBufferId CreateBuffer(const std::string& wave_path) override {
    if (device_ == 0) return 0;
    std::optional<std::vector<float>> samples = DecodeWave(wave_path);
    if (!samples) return 0;
    SoundBufferId id = next_id_++;
    AudioLock lock(device_);
    voices_[id].samples = std::move(*samples);
    return id;
  }

  void ReleaseBuffer(SoundBufferId id) override {
    if (device_ == 0) return;
    AudioLock lock(device_);
    voices_.erase(id);
  }

  bool Play(SoundBufferId id, bool looping) override {
    // SDL marks a device it has lost (a failed write, an unplugged card)
    // as stopped; it never plays again.
    if (device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) return false;
    return WithVoice(id, [&](Voice& v) {
      v.playing = true;
      v.looping = looping;
    });
  }

  void Stop(SoundBufferId id) override {
    WithVoice(id, [](Voice& v) { v.playing = false; });
  }

  void Rewind(SoundBufferId id) override {
    WithVoice(id, [](Voice& v) { v.frame = 0; });
  }

  void SetVolume(SoundBufferId id, int hundredths_db) override {
    const float gain = VolumeGain(hundredths_db);
    WithVoice(id, [&](Voice& v) { v.gain = gain; });
  }

  bool IsPlaying(SoundBufferId id) const override {
    if (device_ == 0) return false;
    AudioLock lock(device_);
    auto it = voices_.find(id);
    return it != voices_.end() && it->second.playing;
  }

 private:
  // Runs `change` on the voice `id` under the audio lock; false when there
  // is no such voice.
  template <typename Change>
  bool WithVoice(SoundBufferId id, Change change) {
    if (device_ == 0) return false;
    AudioLock lock(device_);
    auto it = voices_.find(id);
    if (it == voices_.end()) return false;
    change(it->second);
    return true;
  }

  // SDL's audio callback (its own thread, device locked): the sum of every
  // playing voice, clipped to full scale.
  static void Mix(void* userdata, Uint8* stream, int len) {
    auto* self = static_cast<SdlSoundDevice*>(userdata);
    float* out = reinterpret_cast<float*>(stream);
    const size_t out_frames = static_cast<size_t>(len) / (sizeof(float) * kMixChannels);
    std::fill(out, out + out_frames * kMixChannels, 0.0f);
    for (auto& [id, v] : self->voices_) {
      const size_t frames = v.samples.size() / kMixChannels;
      size_t done = 0;
      while (v.playing && done < out_frames) {
        const size_t n = std::min(out_frames - done, frames - v.frame);
        const float* in = v.samples.data() + v.frame * kMixChannels;
        float* to = out + done * kMixChannels;
        for (size_t i = 0; i < n * kMixChannels; ++i) to[i] += in[i] * v.gain;
        v.frame += n;
        done += n;
        if (v.frame == frames) {  // the end: wrap, or stop at the start
          v.frame = 0;
          v.playing = v.looping;
        }
      }
    }
    for (size_t i = 0; i < out_frames * kMixChannels; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
  }

  SDL_AudioDeviceID device_ = 0;
  SoundBufferId next_id_ = 1;
  std::map<SoundBufferId, Voice> voices_;  // read by Mix: change only under AudioLock
};

}  // namespace

std::unique_ptr<SoundDevice> NewSdlSoundDevice() { return std::make_unique<SdlSoundDevice>(); }

std::unique_ptr<SoundDevice> OpenSoundDevice() {
  const char* choice = std::getenv("TESSALY_AUDIO");
  if (choice && std::strcmp(choice, "silent") == 0) {
    auto silent = std::make_unique<SilentSoundDevice>();
    silent->Open();
    return silent;
  }
  std::unique_ptr<SoundDevice> sdl = NewSdlSoundDevice();
  if (!sdl->Open()) return nullptr;
  return sdl;
}

}  // namespace tess
