// The sound settings window VosSet: four rows, each with its toggle button
// Command2(row) — the background tune, the spoken voices, effects and
// voices together, and the voice family — and the closing buttons
// Command1(0) OK and Command1(1) Cancel.
//
// The on/off rows show the action they offer (Close while the option is
// on, Open while it is off); the voice-family row shows the language the
// voices speak now. Each toggle takes effect at once and inverts its row's
// pending mark; Cancel undoes every row whose mark is set and gives the
// men back their VoiceId from PlayerVoiceIds; both closing buttons clear
// the marks and hide the window.
#pragma once

namespace tess {

struct Client;

// The settings button of the button bar: shows the window centred on the
// table (made on first use), or hides it when it is showing.
void ToggleSoundSettings(Client& c);

}  // namespace tess
