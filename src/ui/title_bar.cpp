#include "ui/title_bar.h"

#include "core/client.h"
#include "core/lobby_link.h"
#include "ui/button_bar.h"

namespace tess {
namespace {

// The toolkit's pointer numbers.
constexpr int kArrowPointer = 1;
constexpr int kMovePointer = 15;

enum Look : int { kNormal = 1, kHover = 2, kPressed = 3 };

void ShowLook(Element& button, Look look) { button.SetPicture(button.form->At(button.name, look).picture); }

// The pointer has left the buttons.
void RestoreNormalLooks(Client& c) {
  if (c.frame.ChromeHoverArmed) return;
  c.frame.ChromeHoverArmed = true;
  ShowLook(c.MainForm.At("ImgClose", 0), kNormal);
  ShowLook(c.MainForm.At("ImgMin", 0), kNormal);
}

void HideFloatingWindows(Client& c) {
  for (const char* name : {"Talk", "huifu", "Score", "Hero", "VosSet"})
    if (Form* w = c.desktop.FindForm(name)) w->visible = false;
}

}  // namespace

void InstallTitleBar(Client& c) {
  Form& f = c.MainForm;
  for (const char* name : {"ImgClose", "ImgMin"}) {
    Element& button = f.At(name, 0);
    button.on_mouse_down = [](Element& e, const MouseEvent&) { ShowLook(e, kPressed); };
    button.on_mouse_move = [&c](Element& e, const MouseEvent&) {
      if (!c.frame.ChromeHoverArmed) return;
      ShowLook(e, kHover);
      c.frame.ChromeHoverArmed = false;
    };
    button.on_mouse_up = [](Element& e, const MouseEvent&) { ShowLook(e, kHover); };
  }
  f.At("ImgClose", 0).on_click = [&c](Element&) { OnButtonClick(c, 8); };
  f.At("ImgMin", 0).on_click = [&c](Element&) { MinimizeMainWindow(c); };

  Element& strip = f.At("LbMove");
  strip.on_mouse_move = [&c](Element& e, const MouseEvent&) {
    e.mouse_pointer = kArrowPointer;
    RestoreNormalLooks(c);
  };
  strip.on_mouse_down = [&c](Element& e, const MouseEvent& m) {
    if (m.button != kButtonLeft) return;
    HideFloatingWindows(c);
    e.mouse_pointer = kMovePointer;
    c.desktop.BeginWindowMove(c.MainForm);
  };
  f.on_mouse_move = [&c](Form&, const MouseEvent&) { RestoreNormalLooks(c); };
}

}  // namespace tess
