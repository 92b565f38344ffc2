#include "chat/chat_log.h"

#include "chat/chat_text.h"
#include "core/client.h"

namespace tess {
namespace {

constexpr const char* kTalkCaption = "聊天记录";
constexpr size_t kLogLineLimit = 100;
constexpr const char* kClickToClose = "点击关闭";
constexpr double kTranslucent = 200.0 / 255.0;

Element& LogList(Client& c) { return LoadTalkWindow(c).At("Text1"); }

void CloseChatLog(Client& c) { LoadTalkWindow(c).visible = false; }

// Alt then C, with no other key between, while the log has the focus.
void Talk_KeyDown(Client& c, int key_code) {
  ChatState& s = c.chat;
  if (key_code == kKeyC && s.LogAltDown) {
    s.LogAltDown = false;
    CloseChatLog(c);
    return;
  }
  s.LogAltDown = key_code == kKeyAlt;
}

}  // namespace

Form& AddFloatingChatWindow(Client& c, const char* name, const char* caption) {
  Form& f = c.desktop.AddForm(name);
  f.caption = caption;
  f.width = 320;
  f.height = 186;
  f.back_color = 0xF4E8C8;
  f.opacity = kTranslucent;
  Element& title = f.Add(ElementKind::kLabel, "Label1");
  title.caption = caption;
  title.left = 0, title.top = 0, title.width = f.width, title.height = 20;
  title.back_transparent = false;
  title.back_color = 0x6B4E2E;
  title.fore_color = 0xFFFFFF;
  title.font_bold = true;
  title.alignment = AlignText::kCenter;
  title.tooltip = kClickToClose;
  title.on_click = [&f](Element&) { f.visible = false; };
  return f;
}

Element& AddFloatingList(Form& f, const char* name) {
  Element& list = f.Add(ElementKind::kListBox, name);
  list.left = 4, list.top = 22, list.width = f.width - 8, list.height = f.height - 26;
  list.back_transparent = false;
  list.back_color = 0xFFFDF5;
  return list;
}

Form& LoadTalkWindow(Client& c) {
  if (Form* f = c.desktop.FindForm("Talk")) return *f;
  Form& f = AddFloatingChatWindow(c, "Talk", kTalkCaption);
  AddFloatingList(f, "Text1").on_key_down = [&c](Element&, const KeyEvent& k) { Talk_KeyDown(c, k.key_code); };
  return f;
}

void AddChatLogLine(Client& c, std::string_view text) {
  std::vector<std::string>& items = LogList(c).items;
  for (std::string& line : WrapForLog(text)) items.push_back(std::move(line));
}

void ScrollLogToLastLine(Client& c) {
  Element& log = LogList(c);
  if (!log.items.empty()) log.top_index = static_cast<int>(log.items.size()) - 1;
}

void TrimChatLog(Client& c) {
  Element& log = LogList(c);
  if (log.items.size() <= kLogLineLimit) return;
  log.items.clear();
  log.top_index = 0;
  log.list_index = -1;
}

void ShowFloatingChatWindow(Client& c, Form& f) {
  const bool reduced = c.game.ScaleY < 1.0;
  const Form& table = c.MainForm;
  f.top = table.top + table.height * (reduced ? 0.60 : 0.66);
  f.left = table.left + table.width * (reduced ? 0.22 : 0.30);
  KeepInView(c, f);
  f.topmost = true;
  f.visible = true;
  c.desktop.Raise(f);
}

void ToggleChatLog(Client& c) {
  Form& talk = LoadTalkWindow(c);
  if (talk.visible) talk.visible = false;
  else ShowFloatingChatWindow(c, talk);
}

void OpenChatLog(Client& c) { ShowFloatingChatWindow(c, LoadTalkWindow(c)); }

}  // namespace tess
