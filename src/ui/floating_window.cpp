#include "ui/floating_window.h"

#include "core/client.h"
#include "table/pictures.h"

namespace tess {
namespace {

constexpr uint32_t kWindowColour = 0xF4E8C8;
constexpr int kCloseBox = 134;  // the dialog set's close picture

}  // namespace

void DragByAnyPress(Client& c, Form& f, Element& e) {
  e.on_mouse_down = [&c, &f](Element&, const MouseEvent& m) {
    if (m.button == kButtonLeft) c.desktop.BeginWindowMove(f);
  };
}

Form& NewFloatingWindow(Client& c, const char* name, const char* caption, double w, double h) {
  Form& f = c.desktop.AddForm(name);
  f.caption = caption;
  f.width = w * c.game.ScaleX;
  f.height = h * c.game.ScaleY;
  f.back_color = kWindowColour;
  f.opacity = 200.0 / 255.0;
  f.on_mouse_down = [&c](Form& form, const MouseEvent& m) {
    if (m.button == kButtonLeft) c.desktop.BeginWindowMove(form);
  };
  if (*caption) {
    Element& title = f.Add(ElementKind::kLabel, "Caption");
    title.caption = caption;
    title.font_bold = true;
    title.font_size = 11;
    title.left = 12;
    title.top = 6;
    title.width = 200;
    title.height = 20;
    DragByAnyPress(c, f, title);
  }
  Element& close = f.Add(ElementKind::kImage, "Image1");
  close.width = 48 * c.game.ScaleX;
  close.height = 20 * c.game.ScaleY;
  close.left = f.width - close.width - 8;
  close.top = 6;
  close.stretch = true;
  ShowResourcePicture(c, close, kCloseBox);
  close.on_click = [&f](Element&) { f.visible = false; };
  return f;
}

}  // namespace tess
