// The sound settings window, driven by clicks on its elements: what each
// row shows and switches, OK keeping the changes, Cancel undoing them.
#include "sound/sound_settings.h"

#include <gtest/gtest.h>

#include "core/client.h"
#include "sound/sound_steps.h"

namespace tess::test {
namespace {

constexpr int kOkPicture = 130, kOkLit = 131, kCancelPicture = 132, kCancelLit = 133;
constexpr int kClosePicture = 134, kOpenPicture = 135, kStandardPicture = 136, kDialectPicture = 137;

class SoundSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(h.LogIn());
    // Two men and two women, as the voice assignment leaves them.
    const struct {
      int gender;
      const char* id;
    } seats[] = {{1, "10"}, {0, "20"}, {1, "30"}, {0, "10"}};
    for (int v = 0; v < 4; ++v) {
      c().game.players[v].Gender = static_cast<uint8_t>(seats[v].gender);
      c().game.players[v].VoiceId = seats[v].id;
      c().game.players[v].VoiceByte = seats[v].gender ? 3 : 2;
      c().audio.PlayerVoiceIds[v] = seats[v].id;
    }
  }

  Client& c() { return *h.client; }
  Form& Window() { return *c().desktop.FindForm("VosSet"); }
  Element& Toggle(int row) { return Window().At("Command2", row); }
  Element& Ok() { return Window().At("Command1", 0); }
  Element& Cancel() { return Window().At("Command1", 1); }
  int PictureOf(const Element& e) { return e.picture ? e.picture->id : -1; }
  void Open() {
    ToggleSoundSettings(c());
    ASSERT_TRUE(Window().visible);
  }
  std::vector<std::string> VoiceSets() {
    std::vector<std::string> sets;
    for (const PlayerInfo& p : c().game.players) sets.push_back(p.VoiceSet);
    return sets;
  }

  ClientHarness h;
};

TEST_F(SoundSettingsTest, TheSettingsButtonShowsTheWindowCentredAndHidesItAgain) {
  ToggleSoundSettings(c());
  Form& f = Window();
  EXPECT_TRUE(f.visible);
  EXPECT_DOUBLE_EQ(f.left + f.width / 2, c().MainForm.left + c().MainForm.width / 2);
  EXPECT_DOUBLE_EQ(f.top + f.height / 2, c().MainForm.top + c().MainForm.height / 2);
  EXPECT_EQ(c().desktop.FormsBackToFront().back(), &f);
  ToggleSoundSettings(c());
  EXPECT_FALSE(f.visible);
}

TEST_F(SoundSettingsTest, EachRowShowsTheActionItOffers) {
  Open();
  EXPECT_EQ(PictureOf(Toggle(kRowMusic)), kClosePicture);
  EXPECT_EQ(PictureOf(Toggle(kRowVoices)), kClosePicture);
  EXPECT_EQ(PictureOf(Toggle(kRowSound)), kClosePicture);
  EXPECT_EQ(PictureOf(Toggle(kRowVoiceFamily)), kStandardPicture);
  EXPECT_EQ(PictureOf(Ok()), kOkPicture);
  EXPECT_EQ(PictureOf(Cancel()), kCancelPicture);
  // Changed elsewhere (a device failure, a family switched before): the
  // window shows it when it opens.
  ToggleSoundSettings(c());
  c().audio.SoundOn = false;
  c().audio.MusicOn = false;
  for (PlayerInfo& p : c().game.players) p.VoiceSet = kVoiceFamilyDialect;
  Open();
  EXPECT_EQ(PictureOf(Toggle(kRowMusic)), kOpenPicture);
  EXPECT_EQ(PictureOf(Toggle(kRowVoices)), kClosePicture);
  EXPECT_EQ(PictureOf(Toggle(kRowSound)), kOpenPicture);
  EXPECT_EQ(PictureOf(Toggle(kRowVoiceFamily)), kDialectPicture);
}

TEST_F(SoundSettingsTest, TheClosingButtonsLightUnderThePointer) {
  Open();
  const Form& f = Window();
  auto move_to = [&](const Element& e) {
    c().desktop.MouseMove(f.left + e.FormLeft() + e.width / 2, f.top + e.FormTop() + e.height / 2, 0, 0);
  };
  move_to(Ok());
  EXPECT_EQ(PictureOf(Ok()), kOkLit);
  move_to(Cancel());
  EXPECT_EQ(PictureOf(Cancel()), kCancelLit);
  EXPECT_EQ(PictureOf(Ok()), kOkPicture) << "straight from one to the other";
  c().desktop.MouseMove(f.left + 2, f.top + 2, 0, 0);  // on no element
  EXPECT_EQ(PictureOf(Ok()), kOkPicture);
  EXPECT_EQ(PictureOf(Cancel()), kCancelPicture);
}

// One row toggled, then Cancel: the row's effect at once, its picture, its
// pending mark, and everything back afterwards.
TEST_F(SoundSettingsTest, CancelUndoesEachRow) {
  const struct {
    int row;
    std::function<bool(Client&)> changed;  // true once the toggle took effect
    int picture_after;
  } rows[] = {
      {kRowMusic, [](Client& c) { return !c.audio.MusicOn; }, kOpenPicture},
      {kRowVoices, [](Client& c) { return !c.audio.VoiceSwitch; }, kOpenPicture},
      {kRowSound, [](Client& c) { return !c.audio.SoundOn; }, kOpenPicture},
      {kRowVoiceFamily, [](Client& c) { return c.game.players[2].VoiceSet == kVoiceFamilyDialect; },
       kDialectPicture},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.row);
    Open();
    Click(h, Toggle(r.row));
    EXPECT_TRUE(r.changed(c()));
    EXPECT_EQ(PictureOf(Toggle(r.row)), r.picture_after);
    EXPECT_TRUE(c().audio.Pending[r.row]);
    Click(h, Cancel());
    EXPECT_FALSE(Window().visible);
    EXPECT_FALSE(r.changed(c()));
    EXPECT_EQ(c().audio.Pending, (std::array<bool, kSoundSettingsRows>{}));
    EXPECT_TRUE(c().audio.MusicOn && c().audio.VoiceSwitch && c().audio.SoundOn);
    EXPECT_EQ(VoiceSets(), std::vector<std::string>(4, kVoiceFamilyStandard));
    EXPECT_EQ(c().audio.VoiceDir, "../common/mj/");
  }
}

TEST_F(SoundSettingsTest, TheTuneStopsAndCancelStartsItAgainLoopingAtFullVolume) {
  const std::string tune = UsePrivateCommon(h) + "/music/majiang.wav";
  WriteFile(tune, SmallWave());
  PlaySound(c(), c().audio.SoundFiles[kEffectTune], true);
  ASSERT_TRUE(Silent(h).IsPlaying(c().audio.CurrentSound));
  Open();
  size_t mark = TraceMark(h);
  Click(h, Toggle(kRowMusic));
  EXPECT_EQ(SoundStops(h, mark), 1);
  EXPECT_FALSE(Silent(h).IsPlaying(c().audio.CurrentSound));
  mark = TraceMark(h);
  Silent(h).ClearCalls();
  Click(h, Cancel());
  EXPECT_EQ(SoundsPlayed(h, mark), (std::vector<PlayedSound>{{"../common/music/majiang.wav", true}}));
  EXPECT_TRUE(Silent(h).IsPlaying(c().audio.CurrentSound));
  ASSERT_FALSE(Silent(h).Calls().empty());
  EXPECT_EQ(Silent(h).Calls().back().kind, SoundCall::kVolume);
  EXPECT_EQ(Silent(h).Calls().back().volume, 0) << "full volume";
}

TEST_F(SoundSettingsTest, ARowToggledTwiceIsNotUndoneAndOkKeepsTheChanges) {
  Open();
  Click(h, Toggle(kRowVoices));
  Click(h, Toggle(kRowVoices));
  EXPECT_FALSE(c().audio.Pending[kRowVoices]);
  Click(h, Toggle(kRowSound));
  Click(h, Toggle(kRowVoiceFamily));
  Click(h, Ok());
  EXPECT_FALSE(Window().visible);
  EXPECT_EQ(c().audio.Pending, (std::array<bool, kSoundSettingsRows>{}));
  EXPECT_TRUE(c().audio.VoiceSwitch);
  EXPECT_FALSE(c().audio.SoundOn);
  EXPECT_EQ(VoiceSets(), std::vector<std::string>(4, kVoiceFamilyDialect));
  // Opened again, Cancel has nothing to undo.
  Open();
  Click(h, Cancel());
  EXPECT_FALSE(c().audio.SoundOn);
  EXPECT_EQ(VoiceSets(), std::vector<std::string>(4, kVoiceFamilyDialect));
  // The voices now speak the other family.
  c().audio.SoundOn = true;
  const size_t mark = TraceMark(h);
  PlayTileVoice(c(), 1, 0x49);
  EXPECT_EQ(SoundsPlayed(h, mark), (std::vector<PlayedSound>{{"../common/mj/v27200289.wav", false}}));
}

TEST_F(SoundSettingsTest, CancelGivesTheMenTheirAssignedVoicesBack) {
  c().game.players[0].VoiceId = "99";
  c().game.players[1].VoiceId = "99";
  c().game.players[2].VoiceId = "99";
  Open();
  Click(h, Cancel());
  EXPECT_EQ(c().game.players[0].VoiceId, "10");
  EXPECT_EQ(c().game.players[2].VoiceId, "30");
  EXPECT_EQ(c().game.players[1].VoiceId, "99") << "women keep theirs";
}

TEST_F(SoundSettingsTest, SoundSwitchedBackOnAfterADeviceFailurePlaysAgain) {
  c().audio.SoundOn = false;  // as a failed device leaves it
  Open();
  EXPECT_EQ(PictureOf(Toggle(kRowSound)), kOpenPicture);
  Click(h, Toggle(kRowSound));
  Click(h, Ok());
  const size_t mark = TraceMark(h);
  PlayEffect(c(), kEffectDiscard);
  EXPECT_EQ(SoundsPlayed(h, mark), (std::vector<PlayedSound>{{"../common/music/dapai.wav", false}}));
}

}  // namespace
}  // namespace tess::test
