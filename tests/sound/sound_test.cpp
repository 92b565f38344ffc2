// The sound module on a whole client: the start-up tune, the one channel,
// volumes, the voice names of every seat, the chat voice's wait, and what
// happens without files, with bad files and with a device that fails.
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/client.h"
#include "sound/sound_steps.h"

namespace tess::test {
namespace {

const std::string kMusic = "../common/music/";
const std::string kVoices = "../common/mj/";

// A client whose program directory has every effect and the voices of the
// seats used here, each a small valid WAVE file.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common = UsePrivateCommon(h);
    for (const char* name : {"majiang", "dapai", "qupai", "xipai", "zhise", "tishi"})
      WriteFile(common + "/music/" + name + ".wav", SmallWave());
    ASSERT_TRUE(h.LogIn());
    Man(0, "10");
    Woman(1, "20");
  }

  Client& c() { return *h.client; }

  void Man(int v, const std::string& id) {
    c().game.players[v].Gender = 1;
    c().game.players[v].VoiceId = id;
    c().game.players[v].VoiceByte = 3;
  }
  void Woman(int v, const std::string& id) {
    c().game.players[v].Gender = 0;
    c().game.players[v].VoiceId = id;
    c().game.players[v].VoiceByte = 2;
  }
  // A voice file for `name` (relative to the program directory).
  void Provide(const std::string& name) { WriteFile(h.home_dir + "/bin/" + name, SmallWave()); }

  ClientHarness h;
  std::string common;
};

TEST_F(SoundTest, StartUpPlaysTheTuneLoopingAtFullVolume) {
  EXPECT_EQ(SoundsPlayed(h), (std::vector<PlayedSound>{{kMusic + "majiang.wav", true}}));
  const std::vector<SoundCall>& calls = Silent(h).Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, SoundCall::kCreate);
  EXPECT_EQ(calls[0].file, h.home_dir + "/bin/" + kMusic + "majiang.wav");
  EXPECT_EQ(calls[1].kind, SoundCall::kPlay);
  EXPECT_TRUE(calls[1].looping);
  EXPECT_EQ(calls[2].kind, SoundCall::kVolume);
  EXPECT_EQ(calls[2].volume, 0);
  EXPECT_TRUE(Silent(h).IsPlaying(c().audio.CurrentSound));
}

TEST_F(SoundTest, AnyEffectOrVoiceEndsTheTuneForGood) {
  Provide(kVoices + "v00101345.wav");
  Provide(kVoices + "v00101302.wav");
  Provide(kVoices + "v001013a3.wav");
  const std::map<std::string, std::function<void(Client&)>> sounds = {
      {"discard", [](Client& c) { PlayEffect(c, kEffectDiscard); }},
      {"deal", [](Client& c) { PlayEffect(c, kEffectDeal); }},
      {"shuffle", [](Client& c) { PlayEffect(c, kEffectShuffle); }},
      {"dice", [](Client& c) { PlayEffect(c, kEffectDice); }},
      {"countdown", [](Client& c) { PlayEffect(c, kEffectCountdown); }},
      {"tile voice", [](Client& c) { PlayTileVoice(c, 0, 0x85); }},
      {"claim voice", [](Client& c) { PlayClaimVoice(c, 0, kVoicePung); }},
      {"chat voice", [](Client& c) { PlayChatVoice(c, 0, 'a', 3); }},
  };
  for (const auto& [what, play] : sounds) {
    SCOPED_TRACE(what);
    PlaySound(c(), c().audio.SoundFiles[kEffectTune], true);
    const SoundBufferId tune = c().audio.CurrentSound;
    ASSERT_TRUE(Silent(h).IsPlaying(tune));
    play(c());
    EXPECT_NE(c().audio.CurrentSound, tune) << "the sound played";
    EXPECT_FALSE(Silent(h).IsPlaying(tune));
    const size_t mark = TraceMark(h);
    ASSERT_TRUE(h.RunFor(5000));
    EXPECT_FALSE(Silent(h).IsPlaying(tune)) << "it does not come back";
    EXPECT_TRUE(SoundsPlayed(h, mark).empty());
  }
}

TEST_F(SoundTest, VolumeOutsideZeroTo3000ChangesNothing) {
  const struct {
    int v;
    std::optional<int> hundredths_db;
  } cases[] = {{3000, 0}, {0, -3000}, {1234, -1766}, {3001, std::nullopt}, {-1, std::nullopt},
               {30000, std::nullopt}, {INT_MIN, std::nullopt}, {INT_MAX, std::nullopt}};
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.v);
    Silent(h).ClearCalls();
    SetSoundVolume(c(), cs.v);
    if (cs.hundredths_db) {
      ASSERT_EQ(Silent(h).Calls().size(), 1u);
      EXPECT_EQ(Silent(h).Calls()[0].volume, *cs.hundredths_db);
    } else {
      EXPECT_TRUE(Silent(h).Calls().empty());
    }
  }
}

// Every name the voice table builds, for a man (VoiceId 10) in ViewSeat 0
// and a woman (VoiceId 20) in ViewSeat 1.
TEST_F(SoundTest, VoiceNamesFollowTheSeatsProfile) {
  EXPECT_EQ(VoicePrefix(c(), 0), kVoices + "v001013");
  EXPECT_EQ(VoicePrefix(c(), 1), kVoices + "v002002") << "a woman: Gender 0, VoiceByte 2";
  const struct {
    const char* what;
    std::function<void(Client&)> play;
    std::string file;  // empty: nothing plays
  } cases[] = {
      {"dots 5 by the man", [](Client& c) { PlayTileVoice(c, 0, 0x85); }, "v00101345.wav"},
      {"characters 9 by the woman", [](Client& c) { PlayTileVoice(c, 1, 0x49); }, "v00200289.wav"},
      {"bamboo 1", [](Client& c) { PlayTileVoice(c, 1, 0x21); }, "v00200221.wav"},
      {"red dragon", [](Client& c) { PlayTileVoice(c, 0, 0x15); }, "v00101315.wav"},
      {"east", [](Client& c) { PlayTileVoice(c, 0, 0x11); }, "v00101311.wav"},
      {"chow", [](Client& c) { PlayClaimVoice(c, 0, kVoiceChow); }, "v00101301.wav"},
      {"pung", [](Client& c) { PlayClaimVoice(c, 1, kVoicePung); }, "v00200202.wav"},
      {"kong", [](Client& c) { PlayClaimVoice(c, 0, kVoiceKong); }, "v00101303.wav"},
      {"red dragon aside", [](Client& c) { PlayClaimVoice(c, 1, kVoiceRedDragonAside); }, "v00200204.wav"},
      {"wild tile aside", [](Client& c) { PlayClaimVoice(c, 1, kVoiceWildAside); }, "v00200205.wav"},
      {"win", [](Client& c) { PlayClaimVoice(c, 0, kVoiceWin); }, "v00101309.wav"},
      {"chat phrase 3", [](Client& c) { PlayChatVoice(c, 1, 97, 3); }, "v002002a3.wav"},
      {"chat phrase 10", [](Client& c) { PlayChatVoice(c, 0, 97, 10); }, "v001013a10.wav"},
      // Nothing that names no file.
      {"rank 0", [](Client& c) { PlayTileVoice(c, 0, 0x20); }, ""},
      {"rank 10", [](Client& c) { PlayTileVoice(c, 0, 0x2A); }, ""},
      {"two suit bits", [](Client& c) { PlayTileVoice(c, 0, 0x35); }, ""},
      {"code above a byte", [](Client& c) { PlayTileVoice(c, 0, 0x125); }, ""},
      {"no such clip", [](Client& c) { PlayClaimVoice(c, 0, 6); }, ""},
      {"clip 10", [](Client& c) { PlayClaimVoice(c, 0, 10); }, ""},
      {"seat 4", [](Client& c) { PlayTileVoice(c, 4, 0x11); }, ""},
      {"seat -1", [](Client& c) { PlayClaimVoice(c, -1, kVoiceWin); }, ""},
      {"letter /", [](Client& c) { PlayChatVoice(c, 0, '/', 1); }, ""},
      {"letter 0x00", [](Client& c) { PlayChatVoice(c, 0, 0, 1); }, ""},
      {"letter above a byte", [](Client& c) { PlayChatVoice(c, 0, 0x161, 1); }, ""},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    const size_t mark = TraceMark(h);
    cs.play(c());
    const std::vector<PlayedSound> played = SoundsPlayed(h, mark);
    if (cs.file.empty()) {
      EXPECT_TRUE(played.empty());
    } else {
      EXPECT_EQ(played, (std::vector<PlayedSound>{{kVoices + cs.file, false}}));
    }
  }
}

TEST_F(SoundTest, WithSoundOffNoFileIsOpenedThoughNamesAreBuilt) {
  Provide(kVoices + "v00101345.wav");
  c().audio.SoundOn = false;
  Silent(h).ClearCalls();
  const size_t mark = TraceMark(h);
  PlayEffect(c(), kEffectDiscard);
  PlayTileVoice(c(), 0, 0x85);
  PlayClaimVoice(c(), 0, kVoiceWin);
  PlayChatVoice(c(), 0, 'a', 1);
  EXPECT_TRUE(Silent(h).Calls().empty());
  EXPECT_TRUE(SoundsPlayed(h, mark).empty());
  EXPECT_EQ(VoicePrefix(c(), 0), kVoices + "v001013");
}

TEST_F(SoundTest, TheVoiceSwitchSilencesVoicesButNotEffects) {
  c().audio.VoiceSwitch = false;
  const size_t mark = TraceMark(h);
  PlayTileVoice(c(), 0, 0x85);
  PlayClaimVoice(c(), 0, kVoicePung);
  PlayChatVoice(c(), 0, 'a', 1);
  PlayEffect(c(), kEffectDice);
  EXPECT_EQ(SoundsPlayed(h, mark), (std::vector<PlayedSound>{{kMusic + "zhise.wav", false}}));
}

TEST_F(SoundTest, OnlyTheSixEffectsPlay) {
  const size_t mark = TraceMark(h);
  for (int n : {0, 7, -1, 100}) PlayEffect(c(), n);
  EXPECT_TRUE(SoundsPlayed(h, mark).empty());
  for (int n = kEffectTune; n <= kEffectCountdown; ++n) PlayEffect(c(), n);
  std::vector<PlayedSound> all;
  for (const char* name : {"majiang", "dapai", "qupai", "xipai", "zhise", "tishi"})
    all.push_back({kMusic + name + ".wav", false});
  EXPECT_EQ(SoundsPlayed(h, mark), all);
}

// A device whose buffers play for a set time on the test's virtual clock;
// and which can be made to fail as a lost output does.
class TimedSoundDevice final : public SoundDevice {
 public:
  TimedSoundDevice(EventLoop& loop, int64_t sound_ms) : loop_(loop), sound_ms_(sound_ms) {}
  bool Open() override { return true; }
  void Close() override {}
  SoundBufferId CreateBuffer(const std::string& path) override {
    if (!std::filesystem::exists(path)) return 0;
    ++created;
    return next_++;
  }
  void ReleaseBuffer(SoundBufferId id) override { ends_.erase(id); }
  bool Play(SoundBufferId id, bool) override {
    if (lost) return false;
    ends_[id] = loop_.NowMs() + sound_ms_;
    return true;
  }
  void Stop(SoundBufferId id) override { ends_.erase(id); }
  void Rewind(SoundBufferId) override {}
  void SetVolume(SoundBufferId, int) override {}
  bool IsPlaying(SoundBufferId id) const override {
    auto it = ends_.find(id);
    return it != ends_.end() && loop_.NowMs() < it->second;
  }

  bool lost = false;
  int created = 0;

 private:
  EventLoop& loop_;
  int64_t sound_ms_;
  SoundBufferId next_ = 1;
  std::map<SoundBufferId, int64_t> ends_;
};

TEST_F(SoundTest, AChatVoiceIsHeardOutForAtMostThreeSecondsWithEventsProcessed) {
  Provide(kVoices + "v002002a2.wav");
  for (int64_t voice_ms : {1200, 2990, 5000}) {
    SCOPED_TRACE(voice_ms);
    c().sound = std::make_unique<TimedSoundDevice>(h.loop, voice_ms);
    int timer_runs = 0;
    Timer timer(h.loop, "probe");
    timer.SetInterval(100);
    timer.OnTimer = [&] { ++timer_runs; };
    timer.SetEnabled(true);
    const int64_t start = h.loop.NowMs();
    PlayChatVoice(c(), 1, 'a', 2);
    const int64_t waited = h.loop.NowMs() - start;
    EXPECT_GE(waited, std::min<int64_t>(voice_ms, kChatVoiceWaitMs));
    EXPECT_LE(waited, std::min<int64_t>(voice_ms, kChatVoiceWaitMs) + 10);
    EXPECT_GE(timer_runs, static_cast<int>(waited / 100) - 1) << "events ran during the wait";
  }
  // A file that is not there is not waited for.
  const int64_t start = h.loop.NowMs();
  PlayChatVoice(c(), 1, 'a', 9);
  EXPECT_EQ(h.loop.NowMs(), start);
}

TEST_F(SoundTest, ADeviceThatFailsMidRunTurnsSoundOffAndTheTablePlaysOn) {
  auto device = std::make_unique<TimedSoundDevice>(h.loop, 100);
  TimedSoundDevice& timed = *device;
  c().sound = std::move(device);
  Provide(kVoices + "v00101345.wav");
  PlayEffect(c(), kEffectDiscard);
  ASSERT_TRUE(c().audio.SoundOn);
  timed.lost = true;
  PlayTileVoice(c(), 0, 0x85);
  EXPECT_FALSE(c().audio.SoundOn);
  EXPECT_EQ(c().audio.CurrentSound, 0);
  const int created = timed.created;
  const size_t mark = TraceMark(h);
  PlayEffect(c(), kEffectDice);
  PlayTileVoice(c(), 0, 0x85);
  EXPECT_EQ(timed.created, created) << "silent for the rest of the run";
  EXPECT_TRUE(SoundsPlayed(h, mark).empty());
  // The tick goes on: the countdown counts its last seconds, unheard.
  c().tick.Countdown = 4;
  c().tick.TurnTimerAllowed = true;
  SwitchTaskOn(c(), kTaskTurnCountdown);
  ASSERT_TRUE(h.RunFor(2500));
  EXPECT_LT(c().tick.Countdown, 4);
  EXPECT_TRUE(SoundsPlayed(h, mark).empty());
  EXPECT_FALSE(h.ended);
}

TEST(SoundStart, NoDeviceTurnsSoundOffAndPlaysNothing) {
  ClientHarness h;
  h.client->sound = std::make_unique<SilentSoundDevice>(/*opens=*/false);
  ASSERT_TRUE(h.Start(h.PlayerLine()));
  EXPECT_FALSE(h.client->audio.SoundOn);
  EXPECT_TRUE(h.client->audio.MusicOn);
  EXPECT_TRUE(SoundsPlayed(h).empty());
  EXPECT_TRUE(FilesOpened(h).empty());
}

TEST(SoundStart, WithoutTheCommonFolderEverySoundIsSkippedAndNothingElseChanges) {
  ClientHarness h;  // its program directory has no "../common"
  ASSERT_FALSE(std::filesystem::exists(h.home_dir + "/../common/music/majiang.wav"));
  ASSERT_TRUE(h.LogIn());
  Client& c = *h.client;
  c.game.players[2].Gender = 1;
  c.game.players[2].VoiceId = "30";
  c.game.players[2].VoiceByte = 3;
  PlayEffect(c, kEffectShuffle);
  PlayTileVoice(c, 2, 0x33);
  PlayClaimVoice(c, 2, kVoiceKong);
  PlayChatVoice(c, 2, 'a', 4);
  EXPECT_TRUE(FilesOpened(h).empty());
  EXPECT_TRUE(c.audio.SoundOn) << "a missing file is not a device failure";
  EXPECT_EQ(c.audio.CurrentSound, 0);
  // Still traced, by the names the table builds.
  const std::vector<PlayedSound> played = SoundsPlayed(h);
  ASSERT_EQ(played.size(), 4u);  // the tune, the shuffle, the kong, the phrase (0x33 names no tile)
  EXPECT_EQ(played[0].file, kMusic + "majiang.wav");
  EXPECT_EQ(played[2].file, kVoices + "v00301303.wav");
  EXPECT_EQ(played[3].file, kVoices + "v003013a4.wav");
  EXPECT_FALSE(h.ended);
}

TEST_F(SoundTest, BadWaveFilesAreSkippedQuietly) {
  const std::string good = SmallWave();
  std::string unsupported = good;
  unsupported[20] = 0x55;  // MPEG layer 3 format tag
  const std::string path = common + "/music/dapai.wav";
  const struct {
    const char* what;
    std::function<void()> write;
  } cases[] = {
      {"empty", [&] { WriteFile(path, ""); }},
      {"cut in its header", [&] { WriteFile(path, good.substr(0, 30)); }},
      {"cut in its data", [&] { WriteFile(path, good.substr(0, good.size() - 1000)); }},
      {"unsupported format", [&] { WriteFile(path, unsupported); }},
      {"huge", [&] {
         WriteFile(path, good);
         std::filesystem::resize_file(path, kMaxWaveFileBytes + 1);
       }},
      {"a folder", [&] {
         std::filesystem::remove(path);
         std::filesystem::create_directory(path);
       }},
  };
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.what);
    std::filesystem::remove_all(path);
    cs.write();
    Silent(h).ClearCalls();
    PlayEffect(c(), kEffectDiscard);
    EXPECT_TRUE(FilesOpened(h).empty());
    EXPECT_EQ(c().audio.CurrentSound, 0);
    EXPECT_TRUE(c().audio.SoundOn);
  }
  std::filesystem::remove_all(path);
  WriteFile(path, good);
  PlayEffect(c(), kEffectDiscard);
  EXPECT_EQ(FilesOpened(h), std::vector<std::string>{h.home_dir + "/bin/" + kMusic + "dapai.wav"});
}

TEST_F(SoundTest, ClosingTheWindowStopsTheSoundWhileMusicOrSoundIsOn) {
  const struct {
    bool music, sound;
    int stops;
  } cases[] = {{true, true, 1}, {true, false, 1}, {false, true, 1}, {false, false, 0}};
  for (const auto& cs : cases) {
    c().audio.MusicOn = cs.music;
    c().audio.SoundOn = cs.sound;
    const size_t mark = TraceMark(h);
    EndSound(c());
    EXPECT_EQ(SoundStops(h, mark), cs.stops) << cs.music << cs.sound;
  }
}

}  // namespace
}  // namespace tess::test
