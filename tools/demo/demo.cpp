// tessaly_demo: the display layer on its own. Opens the 1024 x 768 table
// window with the table picture, a row of tiles from the built-in picture
// resources, a Chinese status label, a counter and a tile that move every
// 500 ms, and a translucent dialog over the table. The strip at the top
// drags the window; Esc or closing the window ends the demo.
//
// F12 writes a screenshot; TESSALY_SCREENSHOT / TESSALY_SCREENSHOT_AFTER_MS
// and TESSALY_SCENE work as in the client (ui/renderer.h, ui/scene_dump.h).
// TESSALY_DEMO_EXIT_AFTER_MS=N ends the demo after N ms.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "ui/elements.h"
#include "ui/picture_decode.h"
#include "ui/renderer.h"
#include "ui/resources.h"
#include "ui/scene_dump.h"

namespace {

using namespace tess;

// A resource as a picture; nullptr when it is missing.
PictureRef Resource(std::string_view type, int id) {
  auto bytes = FindResource(type, id);
  return DecodePicture(bytes.data(), bytes.size(), id);
}

// The table in two greens, for when the picture set has no table.
PictureRef GeneratedTable(int w, int h) {
  auto p = std::make_shared<Picture>();
  p->width = w, p->height = h;
  p->argb.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool rim = x < 24 || y < 24 || x >= w - 24 || y >= h - 24;
      uint32_t g = rim ? 0x3A : 0x70 + ((x / 32 + y / 32) % 2) * 8;
      p->argb[static_cast<size_t>(y) * w + x] = 0xFF000000u | 0x10u << 16 | g << 8 | 0x30u;
    }
  return p;
}

Element& AddLabel(Form& f, const std::string& name, double l, double t, double w, double h,
                  const std::string& caption, uint32_t color, double points) {
  Element& e = f.Add(ElementKind::kLabel, name);
  e.left = l, e.top = t, e.width = w, e.height = h;
  e.caption = caption;
  e.fore_color = color;
  e.font_size = points;
  return e;
}

}  // namespace

int main() {
  RealClock clock;
  EventLoop loop(clock);
  Desktop desktop;
  SdlRenderer renderer(desktop, loop);
  SceneDumpHook scene(desktop, loop);

  Form& main = desktop.AddForm("MainForm");
  main.caption = "Tessaly";
  main.width = 1024, main.height = 768;
  main.back_color = 0x103010;
  main.visible = true;
  main.on_close_request = [&](Form&) { loop.Quit(); };
  main.on_key_down = [&](Form&, const KeyEvent& k) {
    if (k.key_code == kKeyEscape) loop.Quit();
  };

  Element& pic1 = main.Add(ElementKind::kPictureBox, "Pic1");
  pic1.width = 1024, pic1.height = 768;
  PictureRef table = Resource(kFormResourceType, kFormTableLarge);
  pic1.picture = table ? table : GeneratedTable(1024, 768);

  // Bamboo 1-9 upright (group 0), standing faces (group 4) and backs.
  for (int i = 0; i < 9; ++i) {
    Element& t = main.Add(ElementKind::kImage, "MJ_Image", i);
    t.container = &pic1;
    t.left = 250 + i * 50, t.top = 300, t.width = 50, t.height = 58;
    t.stretch = true;
    t.picture = Resource(kPictureResourceType, 201 + 9 + i);
  }
  for (int i = 0; i < 7; ++i) {
    Element& t = main.Add(ElementKind::kImage, "MJ_Image", 9 + i);
    t.container = &pic1;
    t.left = 250 + i * 50, t.top = 600, t.width = 50, t.height = 77;
    t.stretch = true;
    t.picture = Resource(kPictureResourceType, 345 + i);
  }
  Element& mover = main.Add(ElementKind::kImage, "MJ_Image", 16);
  mover.container = &pic1;
  mover.left = 250, mover.top = 420, mover.width = 50, mover.height = 58;
  mover.stretch = true;
  mover.picture = Resource(kPictureResourceType, 201 + 27 + 4);  // five of dots
  if (!mover.picture) mover.picture = GeneratedTable(50, 58);

  AddLabel(main, "Sysmsg", 312, 696, 400, 20, "正在连接服务器...", 0xFFFF80, 12).container = &pic1;
  Element& counter = AddLabel(main, "Number", 900, 200, 100, 24, "0", 0xFFFFFF, 14);
  counter.container = &pic1;
  counter.alignment = AlignText::kRight;

  Element& strip = AddLabel(main, "LbMove", 0, 0, 1024, 24, "Tessaly (drag here, Esc ends)", 0xFFFFFF, 10);
  strip.back_transparent = false;
  strip.back_color = 0x203850;
  strip.on_mouse_down = [&](Element&, const MouseEvent& m) {
    if (m.button == kButtonLeft) desktop.BeginWindowMove(main);
  };

  Form& dialog = desktop.AddForm("Score");
  dialog.caption = "结果";
  dialog.left = 620, dialog.top = 80, dialog.width = 240, dialog.height = 140;
  dialog.back_color = 0xF0E8D0;
  dialog.opacity = 0.85;
  dialog.visible = true;
  AddLabel(dialog, "Title", 0, 8, 240, 24, "本局结果", 0x802000, 12).alignment = AlignText::kCenter;
  Element& list = dialog.Add(ElementKind::kListBox, "Lines");
  list.left = 10, list.top = 40, list.width = 220, list.height = 90;
  list.back_transparent = false;
  list.items = {"东  +12", "南  -4", "西  -4", "北  -4"};
  list.list_index = 0;

  int ticks = 0;
  Timer timer(loop, "TimerDemo");
  timer.OnTimer = [&] {
    ++ticks;
    counter.caption = std::to_string(ticks);
    mover.left = 250 + (ticks % 9) * 50;
  };
  timer.SetInterval(500);
  timer.SetEnabled(true);

  Timer quit(loop, "TimerQuit");
  if (const char* after = std::getenv("TESSALY_DEMO_EXIT_AFTER_MS")) {
    quit.OnTimer = [&] { loop.Quit(); };
    quit.SetInterval(std::atoi(after));
    quit.SetEnabled(true);
  }

  std::printf("tessaly_demo: video driver \"%s\", screen %d x %d\n", renderer.VideoDriver().c_str(),
              desktop.screen_width, desktop.screen_height);
  loop.Run();
  return 0;
}
