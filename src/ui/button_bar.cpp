#include "ui/button_bar.h"

#include "chat/chat_input.h"
#include "chat/chat_log.h"
#include "core/client.h"
#include "core/connection.h"
#include "core/leave.h"
#include "core/lobby_link.h"
#include "platform/url_opener.h"
#include "play/hand_input.h"
#include "scoring/settlement.h"
#include "sound/sound_settings.h"
#include "table/pictures.h"
#include "ui/result_boards.h"

namespace tess {
namespace {

constexpr int kButtons = 9;
constexpr const char* kTooltips[kButtons] = {
    "发送信息，快捷键为回车键", "点击打开聊天窗口", "点击开始新一局游戏",
    "游戏的基本设置",           "最小化窗口，快捷键为F1", "可以查看当前牌局详细结果",
    "可以查看本次游戏的所有牌局详细结果", "点击这里了解游戏规则", "退出游戏",
};
constexpr const char* kRulesPath = "/gameinfo/qarvu/index.php";

// The ButtonPictures entry of button i's normal look; the highlighted look
// is the entry after it.
int NormalPicture(const Client& c, int i) {
  if (i < 2) return 2 * i;
  if (i == 2) return c.game.juNum < 1 && c.buttons.StartShown ? 4 : 6;
  return 2 * i + 2;
}

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
  if (index < 0 || index >= kButtons || c.buttons.ButtonLatched[index]) return;
  switch (index) {
    case 0:
      SendButton_Click(c);
      break;
    case 1:
      ToggleChatLog(c);
      break;
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
    case 7:
      // Without an opener there is nothing to say.
      OpenUrlWithDesktop(RulesPageAddress());
      break;
    case 8:
      ToggleLeaveConfirmation(c);
      break;
  }
}

void OnButtonHover(Client& c, int index) {
  if (index < 0 || index >= kButtons || c.buttons.HoverShown[index]) return;
  c.buttons.HoverShown[index] = true;
  Element& b = c.MainForm.At("AnNiu", index);
  ShowButtonPicture(c, b, NormalPicture(c, index) + 1);
  b.tooltip = kTooltips[index];
}

void OnTableMouseMove(Client& c, double x, double y) {
  for (int i = 0; i < kButtons; ++i) {
    if (!c.buttons.HoverShown[i]) continue;
    c.buttons.HoverShown[i] = false;
    ShowButtonPicture(c, c.MainForm.At("AnNiu", i), NormalPicture(c, i));
  }
  Pic1_MouseMove(c, x, y);
  if (Form* card = c.desktop.FindForm("Information")) card->visible = false;
}

std::string RulesPageAddress() { return std::string("http://") + kGameCentreAddress + kRulesPath; }

void InstallButtonBar(Client& c) {
  for (int i = 0; i < kButtons; ++i) {
    Element& b = c.MainForm.At("AnNiu", i);
    b.on_click = [&c](Element& e) { OnButtonClick(c, e.index); };
    b.on_mouse_move = [&c](Element& e, const MouseEvent&) { OnButtonHover(c, e.index); };
  }
  c.MainForm.At("Pic1").on_mouse_move = [&c](Element&, const MouseEvent& m) { OnTableMouseMove(c, m.x, m.y); };
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
