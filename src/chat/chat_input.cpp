#include "chat/chat_input.h"

#include "chat/chat_log.h"
#include "chat/quick_phrases.h"
#include "chat/voice_phrase.h"
#include "core/client.h"
#include "core/lobby_link.h"
#include "platform/gbk.h"

namespace tess {
namespace {

constexpr const char* kSaid = "说道: ";
constexpr const char* kTo = "对";
constexpr const char* kSays = "说: ";
constexpr const char* kYouTo = "你对";
constexpr const char* kTooFast = "（发送消息太快！）";

std::string_view TrimSpaces(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// `text` without its first `n` characters.
std::string DropChars(std::string_view text, size_t n) { return std::string(text.substr(Utf8Prefix(text, n).size())); }

Element& ChatBox(Client& c) { return c.MainForm.At("Chat"); }

void SetChatText(Element& chat, std::string text) {
  chat.caption = std::move(text);
  chat.caret = Utf8Length(chat.caption);
}

// Takes the input line out of Chat and sends it: nothing for an empty line
// or one that is only the private remark's prefix.
void SendInputLine(Client& c) {
  Element& chat = ChatBox(c);
  std::string text = chat.caption;
  SetChatText(chat, "");
  // Both trimmed: the prefix ends in a space, which a trimmed line never does.
  if (text.empty() || TrimSpaces(text) == TrimSpaces(c.chat.WhisperPrefix)) return;
  const bool whisper = HoldsWhisperPrefix(c, text);
  if (whisper) text = DropChars(text, Utf8Length(c.chat.WhisperPrefix));
  QueueChatLine(c, text, whisper);
}

}  // namespace

bool HoldsWhisperPrefix(const Client& c, std::string_view text) {
  return !c.chat.WhisperPrefix.empty() && text.find(c.chat.WhisperPrefix) != std::string_view::npos;
}

void QueueChatLine(Client& c, std::string_view text, bool whisper, std::optional<int> voice_number) {
  ChatState& s = c.chat;
  const std::string& nick = c.game.players[0].Nick;
  MessageRecord m;
  m.MsgType = kTypeChat;
  if (whisper) {
    c.packets.OutgoingChat = nick + kTo + s.WhisperNick + kSays + std::string(text);
    m.value[1] = s.WhisperTarget;
  } else {
    c.packets.OutgoingChat = nick + kSaid + std::string(text);
  }
  if (voice_number) {
    m.value[0] = 1;
    m.value[2] = kVoicePhraseLetter;
    m.value[3] = static_cast<int16_t>(*voice_number);
  }
  s.WhisperPrefix.clear();
  s.WhisperNick.clear();
  QueueMessage(c, m);
}

void Chat_KeyPress(Client& c, int key_code) {
  TrimChatLog(c);
  ChatState& s = c.chat;
  if (key_code == kKeyReturn) {
    if (c.game.IsSpectator) return;
    if (c.tick.ChatAllowed) {
      c.tick.ChatAllowed = false;
      c.TimerChat.SetEnabled(true);
      SendInputLine(c);
    } else if (!ChatBox(c).caption.empty()) {
      AddChatLogLine(c, kTooFast);
      SetChatText(ChatBox(c), "");
      ScrollLogToLastLine(c);
    }
  } else if (key_code == kKeyBack && !s.WhisperPrefix.empty()) {
    const Element& chat = ChatBox(c);
    s.SavedChatText = chat.caption;
    if (std::min(chat.caret, Utf8Length(chat.caption)) <= Utf8Length(s.WhisperPrefix)) s.PrefixEdited = true;
  }
}

void Chat_Change(Client& c) {
  ChatState& s = c.chat;
  if (!s.PrefixEdited) return;
  s.PrefixEdited = false;
  SetChatText(ChatBox(c), DropChars(s.SavedChatText, Utf8Length(s.WhisperPrefix)));
  s.WhisperPrefix.clear();
  s.WhisperNick.clear();
  s.WhisperTarget = 0;
}

void SendButton_Click(Client& c) { SendInputLine(c); }

void Tou_Click(Client& c, int v) {
  if (!c.tick.TurnTimerAllowed || v < 1 || v >= kSeatCount) return;
  const std::string& nick = c.game.players[v].Nick;
  if (nick.empty()) return;
  ChatState& s = c.chat;
  Element& chat = ChatBox(c);
  std::string rest = chat.caption;
  if (HoldsWhisperPrefix(c, rest)) rest = DropChars(rest, Utf8Length(s.WhisperPrefix));
  s.WhisperPrefix = kYouTo + nick + kSays;
  s.WhisperNick = nick;
  s.WhisperTarget = c.game.custom[v].Seat;
  SetChatText(chat, s.WhisperPrefix + rest);
  c.desktop.focus = &chat;
}

void InstallChat(Client& c) {
  Form& f = c.MainForm;
  Element& chat = f.At("Chat");
  chat.on_key_down = [&c](Element&, const KeyEvent& k) {
    TableKeyDown(c, k.key_code, KeySource::kChat);
    Chat_KeyPress(c, k.key_code);
  };
  chat.on_change = [&c](Element&) { Chat_Change(c); };
  f.At("Lbchat").on_click = [&c](Element&) { ToggleChatLog(c); };
  for (int v = 1; v < kSeatCount; ++v) f.At("Tou", v).on_click = [&c, v](Element&) { Tou_Click(c, v); };
  f.At("imgword1").on_click = [&c](Element&) { TogglePhraseList(c, PhraseList::kText); };
  f.At("imgword2").on_click = [&c](Element&) { TogglePhraseList(c, PhraseList::kVoice); };
}

}  // namespace tess
