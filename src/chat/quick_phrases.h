// The quick-phrase window huifu: text phrases in List1, voice phrases in
// List2, read from "chat.ini" in the program directory when the window is
// made (section Phrase1 for text, Phrase2 for voice: key num = how many,
// keys 1 .. num = the phrases in order). A missing file leaves the lists
// empty; a malformed one is read as far as it goes: num that is no
// number, negative, or larger than the keys present reads the keys that
// are there (at most kMaxPhrases), stopping at the first missing one.
//
// imgword1 and imgword2 show the window with their list (hiding the chat
// log), or hide it when that list is already showing. A double click on a
// phrase sends it at once, as a private remark while Chat holds the prefix
// of one; a voice phrase k also carries the voice fields and plays the
// local player's voice for it. A click on Label1 closes the window.
#pragma once

#include <string>
#include <vector>

namespace tess {

struct Client;
class Form;

enum class PhraseList { kText, kVoice };

inline constexpr int kMaxPhrases = 200;

// The phrases of `section` ("Phrase1", "Phrase2") of the settings file at
// `path`.
std::vector<std::string> ReadPhrases(const std::string& path, const char* section);

// huifu, made hidden (with its lists filled) on first use.
Form& LoadPhraseWindow(Client& c);
void TogglePhraseList(Client& c, PhraseList list);
// A double click on line `index` of `list`.
void SendPhrase(Client& c, PhraseList list, int index);

}  // namespace tess
