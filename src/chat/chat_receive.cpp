#include "chat/chat_receive.h"

#include "chat/chat_log.h"
#include "chat/chat_text.h"
#include "sound/sound.h"
#include "core/client.h"
#include "table/dispatcher.h"

namespace tess {
namespace {

constexpr std::string_view kYou = "你";
constexpr std::string_view kSystemNotice = "系统提示";
constexpr int16_t kFlashesForALine = 8;

// The newest line goes below the one before it; the older moves up.
void PutOnTicker(Client& c, const std::string& line) {
  Element& older = c.MainForm.At("Sysmsg", 0);
  Element& newer = c.MainForm.At("Sysmsg", 1);
  if (!newer.caption.empty()) {
    SetStatusLine(c, 0, newer.caption);
    SetStatusLine(c, 1, line);
  } else {
    SetStatusLine(c, older.caption.empty() ? 0 : 1, line);
  }
}

}  // namespace

void ShowChatLine(Client& c, const ChatLine& line) {
  if (!line.sender_view) throw HandlerFault("chat line from no seat");
  const int seat = *line.sender_view;
  const MessageRecord& info = c.game.info;
  if (info.value[0] == 1 && seat != 0) PlayChatVoice(c, seat, info.value[2], info.value[3]);

  std::string text = line.text;
  const PlayerInfo& me = c.game.players[0];
  // An empty nick names nobody: nothing of the line is taken for it.
  if (!me.Nick.empty()) {
    ReplaceAll(text, "[" + me.Title + "]" + me.Nick, kYou);
    if (!text.starts_with(kSystemNotice))
      if (size_t at = text.find(me.Nick); at != std::string::npos) text.replace(at, me.Nick.size(), kYou);
  }
  text = FilterChat(text);

  AddChatLogLine(c, text);
  ScrollLogToLastLine(c);
  PutOnTicker(c, TickerText(text));
  if (seat != 0) c.tick.ChatFlash = kFlashesForALine;
}

}  // namespace tess
