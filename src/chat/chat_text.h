// Text rules of chat lines, free of any window: the word filter, the
// wrapping of a line into the chat log and its cut for the ticker. Text is
// UTF-8; widths count as the line's GBK bytes do on the wire (1 column for
// a single-byte character, 2 for a double-byte one).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tess {

inline constexpr size_t kChatLogColumns = 46;
inline constexpr size_t kTickerChars = 45;

// The four personal names the filter removes (before the words below).
inline constexpr std::array<std::string_view, 4> kFilteredNames = {"Quorvin Malthe", "Ysolde Brack",
                                                                   "Tamsin Orrel", "Fenwick Dray"};

// Replaces every occurrence of `from` (not empty) by `to`, in one pass from
// the front: text that a replacement puts together is not looked at again.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

// Removes every occurrence of each filtered entry, in list order (the four
// names, then the words), matching exactly and case-sensitively; an entry
// that contains another comes first ("婊子养的" before "婊子").
std::string FilterChat(std::string_view text);

// The chat-log lines of `text`: only what lies before its first zero
// character counts. Characters are added to a line until its width reaches
// 46 columns or more; the next character starts a new line. Every line
// after the first starts with one space (not counted in the width). Every
// character is in exactly one line; empty text gives one empty line.
std::vector<std::string> WrapForLog(std::string_view text);

// The first 45 characters of `text`, for the ticker.
std::string TickerText(std::string_view text);

}  // namespace tess
