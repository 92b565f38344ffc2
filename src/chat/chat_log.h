// The chat log window Talk and what the chat's floating windows share.
//
// Talk is a floating window of the table: made on first use, hidden at
// first, in front of the table (topmost) and translucent (opacity 200 of
// 255) when shown. Its list Text1 holds the log's lines, wrapped to 46
// columns (chat/chat_text.h); a click on its title label Label1 closes it,
// and so does Alt followed by C (no other key between) while the log has
// the focus.
#pragma once

#include <string_view>

namespace tess {

struct Client;
struct Element;
class Form;

// Talk, made hidden on first use.
Form& LoadTalkWindow(Client& c);
// Adds `text` to the log, wrapped.
void AddChatLogLine(Client& c, std::string_view text);
// Scrolls the log to its last line (the list shows it with the page
// above it).
void ScrollLogToLastLine(Client& c);
// Empties the log once it holds more than 100 lines (at every key press in
// Chat, so the log never grows without bound).
void TrimChatLog(Client& c);

// A floating chat window `name`, hidden, with the title label Label1
// showing `caption`; a click on the label hides the window.
Form& AddFloatingChatWindow(Client& c, const char* name, const char* caption);
// A list box filling a floating chat window below its title.
Element& AddFloatingList(Form& f, const char* name);

// Places a floating chat window over the table: its top at 66 % of the
// table window's height and its left at 30 % of its width (60 % and 22 % on
// the reduced layout), then shows it in front.
void ShowFloatingChatWindow(Client& c, Form& f);
// Lbchat, AnNiu(1): shows the log when hidden, hides it when shown.
void ToggleChatLog(Client& c);
// Alt, C on the table: shows the log.
void OpenChatLog(Client& c);

}  // namespace tess
