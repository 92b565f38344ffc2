#include "chat/chat_text.h"

#include "platform/gbk.h"

namespace tess {
namespace {

// In this order: where one entry holds another, the longer one goes first.
constexpr std::string_view kFilteredWords[] = {"法轮功", "他妈的", "她妈的", "它妈的", "婊子养的", "婊子",
                                               "淫",     "色情",   "黄色",   "shit",   "fuck"};

}  // namespace

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

std::string FilterChat(std::string_view text) {
  std::string out(text);
  for (std::string_view name : kFilteredNames) ReplaceAll(out, name, "");
  for (std::string_view word : kFilteredWords) ReplaceAll(out, word, "");
  return out;
}

std::vector<std::string> WrapForLog(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> lines(1);
  size_t width = 0;
  for (std::string_view ch : Utf8Chars(text)) {
    if (width >= kChatLogColumns) {
      lines.push_back(" ");
      width = 0;
    }
    lines.back() += ch;
    width += GbkWidth(ch);
  }
  return lines;
}

std::string TickerText(std::string_view text) { return Utf8Prefix(text, kTickerChars); }

}  // namespace tess
