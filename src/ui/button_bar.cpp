#include "ui/button_bar.h"

#include "core/client.h"
#include "core/leave.h"
#include "core/lobby_link.h"
#include "scoring/settlement.h"
#include "sound/sound_settings.h"
#include "ui/result_boards.h"

namespace tess {
namespace {

// Shows `f` centred over the table, or hides it when it is on show.
void ToggleBoard(Client& c, Form& f) {
  if (f.visible) {
    f.visible = false;
    return;
  }
  ShowCentred(c, f);
}

}  // namespace

void OnButtonClick(Client& c, int index) {
  if (index == 2 && c.leave.OtherExitShown) {
    ContinueAfterOthersLeft(c);
    return;
  }
  if (index < 0 || index > 8 || c.buttons.ButtonLatched[index]) return;
  switch (index) {
    case 2:
      c.buttons.StartShown = false;
      ContinueToNextHand(c);
      break;
    case 3:
      ToggleSoundSettings(c);
      break;
    case 4:
      HideTable(c);
      break;
    case 5:
      ShowResultView(c);
      ToggleBoard(c, LoadScoreBoard(c));
      break;
    case 6:
      ToggleBoard(c, LoadHeroBoard(c));
      break;
    case 8:
      ToggleLeaveConfirmation(c);
      break;
  }
}

void InstallButtonBar(Client& c) {
  for (int i = 2; i < 9; ++i)
    c.MainForm.At("AnNiu", i).on_click = [&c](Element& b) { OnButtonClick(c, b.index); };
}

}  // namespace tess
