// The generated sound assets through the client: every file the voice
// table names exists and decodes, and on SDL's disk driver (which writes
// the mixed output to a file) a discard voice really sounds and ends the
// tune for good.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "core/client.h"
#include "platform/sound_device.h"
#include "sound/sound.h"
#include "sound/sound_steps.h"

namespace tess::test {
namespace {

// The assets the build generated.
const std::string kCommonDir = TESS_COMMON_DIR;

// A program directory of the harness's own (one client per directory)
// whose "../common" is the generated one.
void UseBuiltAssets(ClientHarness& h) {
  UsePrivateCommon(h);
  std::filesystem::remove_all(h.home_dir + "/common");
  std::filesystem::create_directory_symlink(kCommonDir, h.home_dir + "/common");
}

// The five voices the table assigns: Gender, VoiceId, VoiceByte.
struct Voice {
  uint8_t gender;
  const char* id;
  uint8_t byte;
};
constexpr Voice kVoices[] = {{1, "10", 3}, {1, "30", 3}, {0, "10", 2}, {0, "20", 2}, {0, "30", 2}};
constexpr int kChatPhrases = 6;  // the voice phrases of chat.ini

std::vector<int> AllTileCodes() {
  std::vector<int> codes;
  for (int rank = 1; rank <= 7; ++rank) codes.push_back(0x10 + rank);
  for (int suit : {0x20, 0x40, 0x80})
    for (int rank = 1; rank <= 9; ++rank) codes.push_back(suit + rank);
  return codes;
}

void Speak(Client& c, const Voice& voice) {
  PlayerInfo& p = c.game.players[0];
  p.Gender = voice.gender;
  p.VoiceId = voice.id;
  p.VoiceByte = voice.byte;
}

TEST(SoundAssets, EveryFileTheTableNamesIsThereAndDecodes) {
  ClientHarness h;
  UseBuiltAssets(h);
  ASSERT_TRUE(h.Start(h.PlayerLine()));
  Client& c = *h.client;
  Silent(h).ClearCalls();
  int named = 0;
  for (int n = kEffectTune; n <= kEffectCountdown; ++n, ++named) PlayEffect(c, n);
  for (const char* family : {kVoiceFamilyStandard, kVoiceFamilyDialect}) {
    c.game.players[0].VoiceSet = family;
    for (const Voice& voice : kVoices) {
      Speak(c, voice);
      for (int code : AllTileCodes()) PlayTileVoice(c, 0, code);
      for (int clip : {kVoiceChow, kVoicePung, kVoiceKong, kVoiceRedDragonAside, kVoiceWildAside, kVoiceWin})
        PlayClaimVoice(c, 0, clip);
      for (int k = 1; k <= kChatPhrases; ++k) PlayChatVoice(c, 0, 'a', k);
      named += 34 + 6 + kChatPhrases;
    }
  }
  const std::vector<std::string> opened = FilesOpened(h);
  EXPECT_EQ(opened.size(), static_cast<size_t>(named));
  EXPECT_EQ(std::set<std::string>(opened.begin(), opened.end()).size(), opened.size());
}

TEST(SoundAssets, EveryVoiceSpeaksDifferently) {
  // The same word by each voice of each family: no two alike.
  std::vector<std::vector<float>> words;
  for (const char* family : {kVoiceFamilyStandard, kVoiceFamilyDialect}) {
    for (const Voice& voice : kVoices) {
      const std::string file = kCommonDir + "/mj/v" + family + voice.id + std::to_string(voice.gender) +
                               std::to_string(voice.byte) + "45.wav";
      std::optional<std::vector<float>> samples = DecodeWave(file);
      ASSERT_TRUE(samples) << file;
      for (const std::vector<float>& other : words) EXPECT_NE(*samples, other) << file;
      words.push_back(std::move(*samples));
    }
  }
}

// The client on SDL's disk driver.
class DiskOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    out_path = h.home_dir + "/mixed.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out_path.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    h.client->sound = NewSdlSoundDevice();
    UseBuiltAssets(h);
  }
  void TearDown() override { h.client->sound.reset(); }

  size_t OutputFrames() const {
    std::error_code ec;
    const uintmax_t bytes = std::filesystem::file_size(out_path, ec);
    return ec ? 0 : bytes / (kMixChannels * sizeof(float));
  }
  // Waits in real time (the driver's thread writes) for `frames` more frames.
  void LetPlay(size_t frames) {
    const size_t target = OutputFrames() + frames;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (OutputFrames() < target && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_GE(OutputFrames(), target);
  }
  // The left channel of everything written, after closing the device.
  std::vector<float> CloseAndRead() {
    h.client->sound->Close();
    std::ifstream in(out_path, std::ios::binary);
    std::vector<float> left;
    float frame[kMixChannels];
    while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) left.push_back(frame[0]);
    return left;
  }

  ClientHarness h;
  std::string out_path;
};

std::vector<float> LeftOf(const std::vector<float>& interleaved) {
  std::vector<float> left;
  for (size_t i = 0; i < interleaved.size(); i += kMixChannels) left.push_back(interleaved[i]);
  return left;
}

// Where `part` first appears in `all`, sample for sample.
std::optional<size_t> Find(const std::vector<float>& all, const std::vector<float>& part) {
  auto at = std::search(all.begin(), all.end(), part.begin(), part.end());
  if (at == all.end()) return std::nullopt;
  return static_cast<size_t>(at - all.begin());
}

TEST_F(DiskOutputTest, ADiscardVoiceReallySoundsAndTheTuneStopsForGood) {
  ASSERT_TRUE(h.Start(h.PlayerLine()));
  Client& c = *h.client;
  ASSERT_TRUE(c.audio.SoundOn);
  LetPlay(kMixRate / 2);  // half a second of the tune
  Speak(c, kVoices[0]);
  PlayTileVoice(c, 0, 0x85);  // dots 5
  const SoundBufferId voice = c.audio.CurrentSound;
  ASSERT_NE(voice, 0);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (c.sound->IsPlaying(voice) && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  LetPlay(kMixRate / 2);  // and half a second after it
  const std::vector<float> out = CloseAndRead();

  const std::vector<float> tune = LeftOf(*DecodeWave(kCommonDir + "/music/majiang.wav"));
  const std::vector<float> spoken = LeftOf(*DecodeWave(kCommonDir + "/mj/v00101345.wav"));
  // The tune from its start, at full volume, until the voice cuts in.
  const std::optional<size_t> tune_at = Find(out, std::vector<float>(tune.begin(), tune.begin() + kMixRate / 4));
  ASSERT_TRUE(tune_at) << "the tune's first quarter second is in the output";
  // The voice whole, and after it nothing: the tune does not come back.
  const std::optional<size_t> voice_at = Find(out, spoken);
  ASSERT_TRUE(voice_at) << "the voice's samples are in the output";
  EXPECT_GT(*voice_at, *tune_at + kMixRate / 4);
  EXPECT_GT(std::count_if(spoken.begin(), spoken.end(), [](float s) { return std::abs(s) > 0.05f; }), 1000);
  const size_t after = *voice_at + spoken.size();
  ASSERT_GT(out.size(), after + kMixRate / 4);
  EXPECT_EQ(std::count(out.begin() + static_cast<std::ptrdiff_t>(after), out.end(), 0.0f),
            static_cast<std::ptrdiff_t>(out.size() - after));
}

}  // namespace
}  // namespace tess::test
