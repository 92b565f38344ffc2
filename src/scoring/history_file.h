// The history file of the current table: after every settled hand the eight
// lists of the result window are saved, line by line, in the settings file
// "/info.kb" of the program directory, so that the result of any earlier
// hand can be shown again. One section "juNum:N" per hand; in it, for list
// k = 0..7, the key "count( k )" holds its number of lines and the keys
// "count( k )( i )" its lines. The reset to idle deletes the file.
//
// Values come back as the settings class returns them: without leading and
// trailing blanks, so a restored line may differ from the saved one there.
#pragma once

#include "core/ini_file.h"
#include "scoring/result_view.h"

namespace tess {

// A stored list longer than this is taken for a damaged entry.
inline constexpr int kMaxHistoryLines = 100;

// Saves the eight lists under section "juNum:" + n: each list's count, then
// its lines. Failed writes are ignored; the hand is then not available later.
void WriteHistoryEntry(classIniFile& file, int n, const ResultLists& lists);

// Loads the lists of hand n back into `view` (n = 0: nothing happens). The
// columns' text turns black, the names green, a name red when its seat's
// final line holds a number above 0. Each list then holds exactly its stored
// count of lines, an empty line as one space. Reading stops at the first
// count that is missing or not a whole number 0..kMaxHistoryLines, leaving
// that list and the later ones as they were.
void ShowHistoryEntry(const classIniFile& file, int n, ResultView& view);

}  // namespace tess
