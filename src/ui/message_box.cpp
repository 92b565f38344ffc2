#include "ui/message_box.h"

#include <algorithm>

namespace tess {

void ShowMessageBox(MessageBoxHost& host, const std::string& text, const std::string& title) {
  host.trace.MessageBox(text);
  if (host.automatic) return;

  Form* box = host.desktop.FindForm("MsgBox");
  if (!box) {
    box = &host.desktop.AddForm("MsgBox");
    box->back_color = 0xF0F0F0;
    box->topmost = true;
    Element& label = box->Add(ElementKind::kLabel, "Prompt");
    label.left = 20;
    label.top = 36;
    label.font_size = 10.5;
    label.word_wrap = true;
    Element& ok = box->Add(ElementKind::kLabel, "OK");
    ok.caption = "确定";
    ok.alignment = AlignText::kCenter;
    ok.back_transparent = false;
    ok.back_color = 0xE1E1E1;
    ok.width = 80;
    ok.height = 26;
    Element& heading = box->Add(ElementKind::kLabel, "Heading");
    heading.left = 10;
    heading.top = 6;
    heading.font_bold = true;
  }
  Element& label = box->At("Prompt");
  Element& ok = box->At("OK");
  // Wide enough for the text at about one em per double-byte character.
  label.caption = text;
  label.width = std::clamp(14.0 * static_cast<double>(text.size()) / 3.0 + 20, 200.0, 560.0);
  label.height = 44;
  box->At("Heading").caption = title;
  box->At("Heading").width = label.width;
  box->At("Heading").height = 20;
  box->width = label.width + 40;
  box->height = 130;
  ok.left = (box->width - ok.width) / 2;
  ok.top = 90;
  box->left = (host.desktop.screen_width - box->width) / 2;
  box->top = (host.desktop.screen_height - box->height) / 2;

  bool pressed = false;
  ok.on_click = [&pressed](Element&) { pressed = true; };
  auto previous_key = box->on_key_down;
  box->on_key_down = [&pressed](Form&, const KeyEvent& k) {
    if (k.key_code == kKeyReturn || k.key_code == kKeySpace || k.key_code == kKeyEscape) pressed = true;
  };
  box->visible = true;
  host.desktop.Raise(*box);
  host.loop.WaitUntil([&] { return pressed; });
  box->visible = false;
  ok.on_click = nullptr;
  box->on_key_down = previous_key;
}

}  // namespace tess
