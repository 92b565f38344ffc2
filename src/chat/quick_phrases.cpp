#include "chat/quick_phrases.h"

#include <charconv>

#include "chat/chat_input.h"
#include "chat/chat_log.h"
#include "chat/voice_phrase.h"
#include "sound/sound.h"
#include "core/client.h"
#include "core/ini_file.h"

namespace tess {
namespace {

constexpr const char* kPhraseCaption = "快捷短语";

const char* ListName(PhraseList list) { return list == PhraseList::kText ? "List1" : "List2"; }

void MakeList(Client& c, Form& f, PhraseList list, std::vector<std::string> phrases) {
  Element& e = AddFloatingList(f, ListName(list));
  e.items = std::move(phrases);
  e.visible = false;
  e.on_dbl_click = [&c, list](Element& l) { SendPhrase(c, list, l.list_index); };
}

}  // namespace

std::vector<std::string> ReadPhrases(const std::string& path, const char* section) {
  classIniFile ini;
  ini.INIFileName = path;
  const std::string num = ini.GetIniKey(section, "num");
  int n = 0;
  const auto [end, ec] = std::from_chars(num.data(), num.data() + num.size(), n);
  if (ec != std::errc() || end != num.data() + num.size() || n < 0) n = 0;
  std::vector<std::string> phrases;
  for (int k = 1; k <= std::min(n, kMaxPhrases); ++k) {
    std::string phrase = ini.GetIniKey(section, std::to_string(k));
    if (phrase.empty()) break;
    phrases.push_back(std::move(phrase));
  }
  return phrases;
}

Form& LoadPhraseWindow(Client& c) {
  if (Form* f = c.desktop.FindForm("huifu")) return *f;
  Form& f = AddFloatingChatWindow(c, "huifu", kPhraseCaption);
  const std::string path = c.options.program_dir + "/chat.ini";
  MakeList(c, f, PhraseList::kText, ReadPhrases(path, "Phrase1"));
  MakeList(c, f, PhraseList::kVoice, ReadPhrases(path, "Phrase2"));
  return f;
}

void TogglePhraseList(Client& c, PhraseList list) {
  Form& f = LoadPhraseWindow(c);
  Element& shown = f.At(ListName(list));
  Element& other = f.At(ListName(list == PhraseList::kText ? PhraseList::kVoice : PhraseList::kText));
  if (f.visible && shown.visible) {
    f.visible = false;
    return;
  }
  shown.visible = true;
  other.visible = false;
  LoadTalkWindow(c).visible = false;
  ShowFloatingChatWindow(c, f);
}

void SendPhrase(Client& c, PhraseList list, int index) {
  Form& f = LoadPhraseWindow(c);
  const std::vector<std::string>& phrases = f.At(ListName(list)).items;
  if (index < 0 || index >= static_cast<int>(phrases.size())) return;
  const std::string phrase = phrases[static_cast<size_t>(index)];
  Element& chat = c.MainForm.At("Chat");
  const bool whisper = HoldsWhisperPrefix(c, chat.caption);
  chat.caption.clear();
  chat.caret = 0;
  const int number = index + 1;
  if (list == PhraseList::kVoice) QueueChatLine(c, phrase, whisper, number);
  else QueueChatLine(c, phrase, whisper);
  f.visible = false;
  c.desktop.focus = &chat;
  if (list == PhraseList::kVoice) PlayChatVoice(c, 0, kVoicePhraseLetter, number);
}

}  // namespace tess
