#include "platform/sound_device.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/silent_sound_device.h"
#include "support/wave_file.h"

namespace tess {
namespace {

using test::WaveBytes;
using test::WaveFormat;
using test::WriteFile;

namespace fs = std::filesystem;

// A scratch folder per test, removed afterwards.
struct SoundTest : ::testing::Test {
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("tess_sound_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    unsetenv("TESSALY_AUDIO");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
};

std::string WriteWave(const std::string& path, const std::vector<double>& levels,
                      WaveFormat f = {kMixRate, 1, 16}) {
  WriteFile(path, WaveBytes(f, levels));
  return path;
}

std::vector<double> Constant(double level, size_t frames) { return std::vector<double>(frames, level); }

// Polls `done` every millisecond for up to 1.5 s.
bool WaitFor(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The SDL device on the disk driver, which writes the mixed output to a
// file at many times real time.
struct DiskDeviceTest : SoundTest {
  std::string out_path;
  std::unique_ptr<SoundDevice> dev;
  void SetUp() override {
    SoundTest::SetUp();
    out_path = Path("mixed.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out_path.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    dev = NewSdlSoundDevice();
    ASSERT_TRUE(dev->Open());
  }
  void TearDown() override {
    dev.reset();  // the driver stops writing before the folder goes
    SoundTest::TearDown();
  }
  uintmax_t OutputBytes() const {
    std::error_code ec;
    uintmax_t n = fs::file_size(out_path, ec);
    return ec ? 0 : n;
  }
  size_t OutputFrames() const { return OutputBytes() / (kMixChannels * sizeof(float)); }
  // Lets at least `frames` more frames of output be written.
  void RunFor(size_t frames) {
    const size_t target = OutputFrames() + frames;
    ASSERT_TRUE(WaitFor([&] { return OutputFrames() >= target; }));
  }
  // Closes the device and returns the left channel of everything it wrote,
  // checking that both channels carried the same.
  std::vector<float> CloseAndRead() {
    dev->Close();
    std::ifstream in(out_path, std::ios::binary);
    std::vector<float> all;
    float s;
    while (in.read(reinterpret_cast<char*>(&s), sizeof s)) all.push_back(s);
    std::vector<float> left;
    for (size_t i = 0; i + 1 < all.size(); i += kMixChannels) {
      EXPECT_EQ(all[i], all[i + 1]) << "frame " << i / kMixChannels;
      left.push_back(all[i]);
    }
    return left;
  }
};

size_t CountNear(const std::vector<float>& v, float level) {
  return std::count_if(v.begin(), v.end(), [&](float s) { return std::fabs(s - level) < 1e-4f; });
}

TEST(VolumeGain, HundredthsOfADecibelToAmplitude) {
  struct Case {
    int hundredths_db;
    float gain;
  } cases[] = {{0, 1.0f}, {-600, 0.50119f}, {-2000, 0.1f}, {-9999, 1.0e-5f},
               {kSilentVolume, 0.0f}, {-20000, 0.0f}, {500, 1.0f}};
  for (const Case& c : cases) EXPECT_NEAR(VolumeGain(c.hundredths_db), c.gain, 1e-5f) << c.hundredths_db;
}

TEST_F(SoundTest, DecodeConvertsEveryPcmLayoutToTheMixFormat) {
  struct Case {
    WaveFormat format;
    size_t frames_out;
  } cases[] = {
      {{44100, 1, 16}, 441}, {{44100, 2, 16}, 441}, {{22050, 1, 16}, 882}, {{11025, 2, 8}, 1764}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.format.rate) + " Hz, " + std::to_string(c.format.channels) + " ch, " +
                 std::to_string(c.format.bits) + " bit");
    auto samples = DecodeWave(WriteWave(Path("in.wav"), Constant(0.5, 441), c.format));
    ASSERT_TRUE(samples);
    ASSERT_EQ(samples->size() % kMixChannels, 0u);
    const size_t frames = samples->size() / kMixChannels;
    EXPECT_NEAR(static_cast<double>(frames), static_cast<double>(c.frames_out), 2.0);
    // Resampling rounds the edges; the body keeps the level on both channels.
    size_t loud = 0;
    for (size_t i = 0; i < frames; ++i) {
      EXPECT_EQ((*samples)[2 * i], (*samples)[2 * i + 1]);
      if ((*samples)[2 * i] > 0.25f) ++loud;
    }
    EXPECT_NEAR(static_cast<double>(loud), static_cast<double>(c.frames_out), 2.0);
    EXPECT_NEAR((*samples)[kMixChannels * (frames / 2)], 0.5f, 5e-3f);  // within the resampler's ripple
  }
}

TEST_F(SoundTest, MissingOrCorruptFilesGiveNoBuffer) {
  const std::string good = WaveBytes({kMixRate, 1, 16}, Constant(0.5, 100));
  std::string unknown_codec = good;
  unknown_codec[20] = 0x34;  // format tag 0x1234
  unknown_codec[21] = 0x12;
  const std::string no_frames = WaveBytes({kMixRate, 1, 16}, {});
  // The header promises 100 frames, the file holds 60.
  const std::string cut_in_data = good.substr(0, good.size() - 80);
  // Larger than any sound of the table: a valid header before a long run
  // of zeros (a sparse file, so the test stays quick).
  const std::string huge_path = Path("huge.wav");
  {
    std::string header = WaveBytes({kMixRate, 1, 16}, {});
    const uint32_t data_bytes = static_cast<uint32_t>(kMaxWaveFileBytes);
    header.replace(40, 4, std::string{static_cast<char>(data_bytes & 0xFF), static_cast<char>((data_bytes >> 8) & 0xFF),
                                      static_cast<char>((data_bytes >> 16) & 0xFF),
                                      static_cast<char>((data_bytes >> 24) & 0xFF)});
    WriteFile(huge_path, header);
    fs::resize_file(huge_path, header.size() + kMaxWaveFileBytes);
  }
  struct Case {
    const char* name;
    const char* bytes;  // null: the file is not there
    size_t size;
  } cases[] = {
      {"missing.wav", nullptr, 0},
      {"empty.wav", "", 0},
      {"text.wav", "not a sound at all\n", 19},
      {"header_only.wav", good.data(), 12},
      {"cut_in_fmt.wav", good.data(), 30},
      {"unknown_codec.wav", unknown_codec.data(), unknown_codec.size()},
      {"no_frames.wav", no_frames.data(), no_frames.size()},
      {"cut_in_data.wav", cut_in_data.data(), cut_in_data.size()},
      {"huge.wav", nullptr, 0},
  };
  auto sdl = NewSdlSoundDevice();
  ASSERT_TRUE(sdl->Open());
  SilentSoundDevice silent;
  ASSERT_TRUE(silent.Open());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Path(c.name);
    if (c.bytes) WriteFile(path, std::string(c.bytes, c.size));
    EXPECT_FALSE(DecodeWave(path));
    EXPECT_EQ(sdl->CreateBuffer(path), 0);
    EXPECT_EQ(silent.CreateBuffer(path), 0);
  }
  EXPECT_TRUE(silent.Calls().empty());
  // The same device still takes a good file afterwards.
  WriteFile(Path("good.wav"), good);
  EXPECT_NE(sdl->CreateBuffer(Path("good.wav")), 0);
}

TEST_F(SoundTest, OpeningWithoutAnAudioOutputFailsQuietly) {
  // "alsa" finds no card on a machine without sound hardware, and alsa-lib
  // would print its own errors; "none" is no driver at all.
  for (const char* driver : {"none", "alsa"}) {
    SCOPED_TRACE(driver);
    setenv("SDL_AUDIODRIVER", driver, 1);
    auto dev = NewSdlSoundDevice();
    ::testing::internal::CaptureStderr();
    const bool opened = dev->Open();
    const std::string printed = ::testing::internal::GetCapturedStderr();
    if (opened) continue;  // this machine has a sound card after all
    EXPECT_EQ(printed, "");
    EXPECT_EQ(dev->CreateBuffer(WriteWave(Path("a.wav"), Constant(0.5, 10))), 0);
    EXPECT_FALSE(dev->Play(1, false));
    dev->Close();
  }
  SilentSoundDevice refusing(false);
  EXPECT_FALSE(refusing.Open());
  EXPECT_EQ(refusing.CreateBuffer(WriteWave(Path("b.wav"), Constant(0.5, 10))), 0);
}

TEST_F(SoundTest, FactoryGivesNoDeviceWithoutOutputAndHonoursTheOverride) {
  struct Case {
    const char* tessaly_audio;  // null: unset
    const char* sdl_driver;
    bool silent;
  } cases[] = {{nullptr, "dummy", false}, {"silent", "dummy", true}, {"silent", "none", true}};
  const std::string wave = WriteWave(Path("a.wav"), Constant(0.5, 10));
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tessaly_audio ? c.tessaly_audio : "-") + "/" + c.sdl_driver);
    if (c.tessaly_audio) {
      setenv("TESSALY_AUDIO", c.tessaly_audio, 1);
    } else {
      unsetenv("TESSALY_AUDIO");
    }
    setenv("SDL_AUDIODRIVER", c.sdl_driver, 1);
    std::unique_ptr<SoundDevice> dev = OpenSoundDevice();
    ASSERT_TRUE(dev);
    EXPECT_EQ(dynamic_cast<SilentSoundDevice*>(dev.get()) != nullptr, c.silent);
    EXPECT_NE(dev->CreateBuffer(wave), 0) << "the device is open";
  }
  unsetenv("TESSALY_AUDIO");
  setenv("SDL_AUDIODRIVER", "none", 1);
  EXPECT_FALSE(OpenSoundDevice()) << "no output: no device";
}

TEST_F(SoundTest, SilentDeviceRecordsWhatWouldHavePlayed) {
  SilentSoundDevice dev;
  ASSERT_TRUE(dev.Open());
  const std::string tune = WriteWave(Path("tune.wav"), Constant(0.5, 10));
  const std::string effect = WriteWave(Path("effect.wav"), Constant(0.5, 10));

  SoundBufferId t = dev.CreateBuffer(tune);
  ASSERT_NE(t, 0);
  EXPECT_TRUE(dev.Play(t, true));
  dev.SetVolume(t, -3000);
  EXPECT_TRUE(dev.IsPlaying(t));
  dev.Stop(t);
  dev.Rewind(t);
  EXPECT_FALSE(dev.IsPlaying(t));
  dev.ReleaseBuffer(t);
  SoundBufferId e = dev.CreateBuffer(effect);
  ASSERT_NE(e, 0);
  EXPECT_TRUE(dev.Play(e, false));
  EXPECT_FALSE(dev.IsPlaying(e)) << "nothing sounds, so a single play is over at once";
  // Calls on buffers that do not exist leave no record.
  EXPECT_FALSE(dev.Play(t, false));
  dev.SetVolume(t, 0);
  dev.Stop(0);

  using K = SoundCall;
  const std::vector<std::tuple<K::Kind, std::string, bool, int>> want = {
      {K::kCreate, tune, false, 0}, {K::kPlay, tune, true, 0},   {K::kVolume, tune, false, -3000},
      {K::kStop, tune, false, 0},   {K::kRewind, tune, false, 0}, {K::kRelease, tune, false, 0},
      {K::kCreate, effect, false, 0}, {K::kPlay, effect, false, 0}};
  std::vector<std::tuple<K::Kind, std::string, bool, int>> got;
  for (const SoundCall& c : dev.Calls()) {
    got.emplace_back(c.kind, c.file, c.looping, c.volume);
    EXPECT_EQ(c.buffer, c.file == tune ? t : e);
  }
  EXPECT_EQ(got, want);

  dev.Close();
  EXPECT_FALSE(dev.Play(e, false)) << "Close releases every buffer";
  EXPECT_EQ(dev.CreateBuffer(tune), 0);
}

TEST_F(DiskDeviceTest, LoopingBufferRepeatsSampleForSample) {
  std::vector<double> ramp;  // 300 distinct levels, exact in 16 bits and in float
  for (int j = 1; j <= 300; ++j) ramp.push_back(j / 512.0);
  SoundBufferId b = dev->CreateBuffer(WriteWave(Path("ramp.wav"), ramp));
  ASSERT_NE(b, 0);
  ASSERT_TRUE(dev->Play(b, true));
  RunFor(6 * ramp.size() + 2048);
  EXPECT_TRUE(dev->IsPlaying(b));
  std::vector<float> out = CloseAndRead();

  auto start = std::find_if(out.begin(), out.end(), [](float s) { return s != 0.0f; }) - out.begin();
  ASSERT_LE(start + 6 * ramp.size(), out.size());
  for (size_t i = 0; i < 6 * ramp.size(); ++i) {
    ASSERT_FLOAT_EQ(out[start + i], ramp[i % ramp.size()]) << "frame " << i;
  }
}

TEST_F(DiskDeviceTest, SinglePlayEndsAtTheEndAndStartsOverWhenPlayedAgain) {
  SoundBufferId b = dev->CreateBuffer(WriteWave(Path("beep.wav"), Constant(0.5, 441)));
  ASSERT_NE(b, 0);
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(dev->Play(b, false));
    ASSERT_TRUE(WaitFor([&] { return !dev->IsPlaying(b); }));
  }
  RunFor(2048);
  std::vector<float> out = CloseAndRead();
  EXPECT_EQ(CountNear(out, 0.5f), 2 * 441u);
  EXPECT_EQ(CountNear(out, 0.0f) + 2 * 441u, out.size());
}

TEST_F(DiskDeviceTest, VolumeScalesTheAmplitude) {
  struct Case {
    int hundredths_db;
    float level;
  } cases[] = {{kFullVolume, 0.5f}, {-600, 0.2506f}, {-2000, 0.05f}, {kSilentVolume, 0.0f}};
  const std::string tone = WriteWave(Path("tone.wav"), Constant(0.5, 500));
  // One case at a time, each for a while. What the file holds from two
  // blocks after Play up to Stop was all mixed while that buffer played.
  struct Span {
    size_t from, to;
  };
  std::vector<Span> spans;
  for (const Case& c : cases) {
    SoundBufferId b = dev->CreateBuffer(tone);
    ASSERT_NE(b, 0);
    dev->SetVolume(b, c.hundredths_db);
    ASSERT_TRUE(dev->Play(b, true));
    const size_t from = OutputFrames() + 2048;
    RunFor(4096);
    spans.push_back({from, OutputFrames()});
    dev->ReleaseBuffer(b);
  }
  std::vector<float> out = CloseAndRead();
  for (size_t n = 0; n < spans.size(); ++n) {
    SCOPED_TRACE(cases[n].hundredths_db);
    ASSERT_LT(spans[n].from, spans[n].to);
    ASSERT_LE(spans[n].to, out.size());
    for (size_t i = spans[n].from; i < spans[n].to; ++i) ASSERT_NEAR(out[i], cases[n].level, 1e-4f) << "frame " << i;
  }
}

TEST_F(DiskDeviceTest, BuffersPlayingTogetherAreMixed) {
  SoundBufferId tune = dev->CreateBuffer(WriteWave(Path("tune.wav"), Constant(0.2, 1000)));
  SoundBufferId effect = dev->CreateBuffer(WriteWave(Path("effect.wav"), Constant(0.3, 441)));
  SoundBufferId loud = dev->CreateBuffer(WriteWave(Path("loud.wav"), Constant(0.9, 300)));
  ASSERT_NE(tune, 0);
  ASSERT_NE(effect, 0);
  ASSERT_NE(loud, 0);
  ASSERT_TRUE(dev->Play(tune, true));
  RunFor(2048);
  ASSERT_TRUE(dev->Play(effect, false));
  ASSERT_TRUE(WaitFor([&] { return !dev->IsPlaying(effect); }));
  ASSERT_TRUE(dev->Play(loud, false));
  ASSERT_TRUE(WaitFor([&] { return !dev->IsPlaying(loud); }));
  RunFor(2048);
  EXPECT_TRUE(dev->IsPlaying(tune)) << "the effects did not end the tune";
  std::vector<float> out = CloseAndRead();
  EXPECT_EQ(CountNear(out, 0.5f), 441u);  // tune + effect
  EXPECT_EQ(CountNear(out, 1.0f), 300u);  // tune + loud, held at full scale
  EXPECT_GT(CountNear(out, 0.2f), 4000u);
}

// The runs of sound in `out`, split at silence.
std::vector<std::vector<float>> Runs(const std::vector<float>& out) {
  std::vector<std::vector<float>> runs;
  bool in_run = false;
  for (float s : out) {
    if (s != 0.0f && !in_run) runs.emplace_back();
    in_run = s != 0.0f;
    if (in_run) runs.back().push_back(s);
  }
  return runs;
}

TEST_F(DiskDeviceTest, StopHoldsThePositionAndRewindGoesBackToTheStart) {
  // Every 16-bit level but 0, each once: 1.5 s, long enough to be stopped
  // part-way, and each frame shows where in the buffer it came from.
  std::vector<float> ramp;
  for (int j = -32767; j <= 32767; ++j) {
    if (j != 0) ramp.push_back(static_cast<float>(j / 32768.0));
  }
  // At 4 ms a block the ramp lasts about 250 ms: a busy machine that holds
  // this thread back a little still stops it part-way.
  dev->Close();
  setenv("SDL_DISKAUDIODELAY", "4", 1);
  ASSERT_TRUE(dev->Open());
  SoundBufferId b = dev->CreateBuffer(WriteWave(Path("ramp.wav"), std::vector<double>(ramp.begin(), ramp.end())));
  ASSERT_NE(b, 0);
  for (int part = 0; part < 2; ++part) {  // play a piece, stop, and again
    ASSERT_TRUE(dev->Play(b, false));
    RunFor(2048);
    dev->Stop(b);
    EXPECT_FALSE(dev->IsPlaying(b));
    RunFor(2048);
  }
  dev->Rewind(b);
  ASSERT_TRUE(dev->Play(b, false));
  ASSERT_TRUE(WaitFor([&] { return !dev->IsPlaying(b); }));
  RunFor(2048);
  std::vector<std::vector<float>> runs = Runs(CloseAndRead());

  // The second piece goes on where the first stopped; after Rewind the whole
  // ramp plays from its first frame.
  ASSERT_EQ(runs.size(), 3u);
  const size_t k = runs[0].size();
  ASSERT_LT(k + runs[1].size(), ramp.size());
  EXPECT_EQ(runs[0], std::vector<float>(ramp.begin(), ramp.begin() + k));
  EXPECT_EQ(runs[1], std::vector<float>(ramp.begin() + k, ramp.begin() + k + runs[1].size()));
  EXPECT_EQ(runs[2], ramp);
}

TEST_F(DiskDeviceTest, ReleasedAndClosedBuffersNameNothing) {
  SoundBufferId b = dev->CreateBuffer(WriteWave(Path("tone.wav"), Constant(0.5, 500)));
  SoundBufferId kept = dev->CreateBuffer(WriteWave(Path("tone2.wav"), Constant(0.5, 500)));
  ASSERT_TRUE(dev->Play(b, true));
  dev->ReleaseBuffer(b);
  EXPECT_FALSE(dev->IsPlaying(b));
  EXPECT_FALSE(dev->Play(b, true));
  EXPECT_FALSE(dev->Play(0, true));
  RunFor(2048);
  dev->Close();
  EXPECT_FALSE(dev->Play(kept, false)) << "Close releases every buffer";
  EXPECT_EQ(dev->CreateBuffer(Path("tone.wav")), 0);
  ASSERT_TRUE(dev->Open()) << "a closed device opens again";
  EXPECT_NE(dev->CreateBuffer(Path("tone.wav")), 0);
}

TEST_F(SoundTest, AnOutputLostWhilePlayingRefusesToPlay) {
  // The disk driver gives the device up when a write fails; /dev/full
  // fails every write, once the first block of output is due.
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
  setenv("SDL_DISKAUDIODELAY", "1", 1);
  std::unique_ptr<SoundDevice> dev = NewSdlSoundDevice();
  ASSERT_TRUE(dev->Open());
  const SoundBufferId b = dev->CreateBuffer(WriteWave(Path("tone.wav"), Constant(0.5, 500)));
  ASSERT_NE(b, 0);
  EXPECT_TRUE(WaitFor([&] { return !dev->Play(b, false); }));
}

}  // namespace
}  // namespace tess
