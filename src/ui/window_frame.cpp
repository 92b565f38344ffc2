#include "ui/window_frame.h"

#include "core/client.h"

namespace tess {

void FitWindowToScreen(Client& c) {
  Form& f = c.MainForm;
  Element& pic1 = f.At("Pic1");
  const int sw = c.desktop.screen_width, sh = c.desktop.screen_height;
  if (sh <= 768) {
    f.height = sh;
    f.top = 0;
    pic1.height = f.height;
    pic1.top = 0;
  } else {
    f.height = 796;
    f.top = 0;
    PaintFrame(c);
    pic1.height = f.height - 28;
    pic1.top = 20;
  }
  if (sw <= 1024) {
    f.width = sw;
    f.left = 0;
    pic1.width = f.width;
    pic1.left = 0;
  } else {
    f.width = 1040;
    f.left = 0;
    PaintFrame(c);
    pic1.width = f.width - 16;
    pic1.left = 8;
  }
  if (sh < 768 || sw < 1024) {
    c.game.ScaleX = c.game.ScaleY = kReducedScale;
    pic1.picture = f.At("Pic2").picture;
    f.SendToBack(pic1);
    Element& host = f.At("Host");
    host.left = 6;
    host.top = 192;
    Element& dealer = f.At("Zhuang");
    dealer.left = 45;
    dealer.top = 192;
    for (int i = 0; i < 2; ++i) f.At("Sysmsg", i).font_size = 8;
  } else {
    c.game.ScaleX = c.game.ScaleY = 1.0f;
  }
}

void PaintFrame(Client&) {}

}  // namespace tess
