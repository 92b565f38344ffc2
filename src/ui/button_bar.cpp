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
    case 5: {
      Form& score = LoadScoreBoard(c);
      if (score.visible) {
        score.visible = false;
        break;
      }
      // While a hand runs, the last settled one.
      ShowHistoryHand(c, c.game.juNum - (c.settlement.HandUnsettled ? 1 : 0));
      ShowCentred(c, score);
      break;
    }
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
  // The history board: a line pressed in any of its lists is selected in
  // all five; a double click shows that hand in the result board.
  Form& hero = LoadHeroBoard(c);
  std::vector<Element*> lists = {&hero.At("Num")};
  for (int v = 0; v < kSeatCount; ++v) lists.push_back(&hero.At("Grade", v));
  for (Element* list : lists) {
    list->on_click = [lists](Element& pressed) {
      for (Element* l : lists) l->list_index = pressed.list_index;
    };
    list->on_dbl_click = [&c](Element& pressed) {
      if (pressed.list_index < 0) return;
      ShowHistoryHand(c, pressed.list_index + 1);
      ShowCentred(c, LoadScoreBoard(c));
    };
  }
}

}  // namespace tess
