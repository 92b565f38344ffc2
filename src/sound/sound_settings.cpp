#include "sound/sound_settings.h"

#include "core/client.h"

namespace tess {
namespace {

constexpr const char* kFormName = "VosSet";
constexpr const char* kCaption = "声音设置";
constexpr const char* kRowTitles[kSoundSettingsRows] = {"背景音乐", "语音播报", "游戏音效", "语音种类"};

// DialogPictures entries.
constexpr int kOk = 0, kCancel = 2, kTurnOff = 4, kTurnOn = 5, kStandardVoice = 6, kDialectVoice = 7;
constexpr int kOkButton = 0, kCancelButton = 1;

constexpr double kRowTop = 24, kRowStep = 40;

Form& Window(Client& c) { return *c.desktop.FindForm(kFormName); }

bool SpeaksDialect(const Client& c) { return c.game.players[0].VoiceSet == kVoiceFamilyDialect; }

// The row's picture for the state it is in now.
void ShowRowPicture(Client& c, int row) {
  int entry = 0;
  switch (row) {
    case kRowMusic: entry = c.audio.MusicOn ? kTurnOff : kTurnOn; break;
    case kRowVoices: entry = c.audio.VoiceSwitch ? kTurnOff : kTurnOn; break;
    case kRowSound: entry = c.audio.SoundOn ? kTurnOff : kTurnOn; break;
    default: entry = SpeaksDialect(c) ? kDialectVoice : kStandardVoice; break;
  }
  ShowResourcePicture(c, Window(c).At("Command2", row), c.pictures.DialogPictures[entry]);
}

// The tune on again starts from its beginning at full volume; off, the
// channel stops.
void SwitchMusic(Client& c) {
  c.audio.MusicOn = !c.audio.MusicOn;
  if (c.audio.MusicOn) {
    PlaySound(c, c.audio.SoundFiles[kEffectTune], /*loop=*/true);
    SetSoundVolume(c, kMaxSoundVolume);
  } else {
    StopSound(c);
  }
}

void SwitchVoiceFamily(Client& c) {
  const char* family = SpeaksDialect(c) ? kVoiceFamilyStandard : kVoiceFamilyDialect;
  for (PlayerInfo& p : c.game.players) p.VoiceSet = family;
  BuildSoundFiles(c);
}

// What a row's toggle changes, also used by Cancel to change it back.
void SwitchRow(Client& c, int row) {
  switch (row) {
    case kRowMusic: SwitchMusic(c); break;
    case kRowVoices: c.audio.VoiceSwitch = !c.audio.VoiceSwitch; break;
    case kRowSound: c.audio.SoundOn = !c.audio.SoundOn; break;
    default: SwitchVoiceFamily(c); break;
  }
}

void OnToggle(Client& c, int row) {
  SwitchRow(c, row);
  c.audio.Pending[row] = !c.audio.Pending[row];
  ShowRowPicture(c, row);
}

void Close(Client& c) {
  c.audio.Pending.fill(false);
  Window(c).visible = false;
}

void OnCancel(Client& c) {
  for (int row = 0; row < kSoundSettingsRows; ++row)
    if (c.audio.Pending[row]) SwitchRow(c, row);
  for (int v = 0; v < kSeatCount; ++v)
    if (c.game.players[v].Gender != 0) c.game.players[v].VoiceId = c.audio.PlayerVoiceIds[v];
  Close(c);
}

// The closing buttons' pictures: the one under the pointer (`lit`, or -1
// for none) highlighted, the other normal.
void LightClosingButtons(Client& c, int lit) {
  Form& f = Window(c);
  ShowResourcePicture(c, f.At("Command1", kOkButton), c.pictures.DialogPictures[kOk + (lit == kOkButton)]);
  ShowResourcePicture(c, f.At("Command1", kCancelButton),
                      c.pictures.DialogPictures[kCancel + (lit == kCancelButton)]);
}

void AddClosingButton(Client& c, Form& f, int index, double left) {
  Element& b = f.Add(ElementKind::kImage, "Command1", index);
  b.left = left, b.top = kRowTop + kSoundSettingsRows * kRowStep + 4, b.width = 70, b.height = 29;
  b.stretch = true;
  b.mouse_pointer = 99;
  b.on_mouse_move = [&c, index](Element&, const MouseEvent&) { LightClosingButtons(c, index); };
}

Form& LoadWindow(Client& c) {
  if (Form* f = c.desktop.FindForm(kFormName)) return *f;
  Form& f = c.desktop.AddForm(kFormName);
  f.caption = kCaption;
  f.width = 260;
  f.height = kRowTop + kSoundSettingsRows * kRowStep + 56;
  f.back_color = 0xF4E8C8;
  f.topmost = true;
  for (int row = 0; row < kSoundSettingsRows; ++row) {
    const double top = kRowTop + row * kRowStep;
    Element& title = f.Add(ElementKind::kLabel, "Label1", row);
    title.caption = kRowTitles[row];
    title.left = 32, title.top = top + 5, title.width = 100, title.height = 18;
    title.font_size = 10.5;
    Element& toggle = f.Add(ElementKind::kImage, "Command2", row);
    toggle.left = 160, toggle.top = top, toggle.width = 64, toggle.height = 26;
    toggle.stretch = true;
    toggle.mouse_pointer = 99;
    toggle.on_click = [&c, row](Element&) { OnToggle(c, row); };
  }
  AddClosingButton(c, f, kOkButton, 40);
  AddClosingButton(c, f, kCancelButton, 150);
  LightClosingButtons(c, -1);
  f.At("Command1", kOkButton).on_click = [&c](Element&) { Close(c); };
  f.At("Command1", kCancelButton).on_click = [&c](Element&) { OnCancel(c); };
  f.on_mouse_move = [&c](Form&, const MouseEvent&) { LightClosingButtons(c, -1); };
  return f;
}

}  // namespace

void ToggleSoundSettings(Client& c) {
  Form& f = LoadWindow(c);
  if (f.visible) {
    f.visible = false;
    return;
  }
  for (int row = 0; row < kSoundSettingsRows; ++row) ShowRowPicture(c, row);
  CenteredOverMain(c, f);
  f.visible = true;
  c.desktop.Raise(f);
}

}  // namespace tess
