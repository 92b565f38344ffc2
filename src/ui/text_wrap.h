// Line breaking for the text of labels, text boxes and list boxes.
//
// Pure text logic: the caller supplies how wide a run of text is (in
// pixels, from the font), so the rule can be tested without a font.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tess {

// The lines `text` (UTF-8) shows as: broken at every "\n" (a "\r" before it
// is dropped) and, when `max_width` > 0, also where a line would grow wider
// than `max_width`: after the last space that still fits, or else before
// the first character that does not fit (Chinese text has no spaces). Each
// line keeps at least one character, however narrow the box; spaces at a
// wrapped line's end are dropped.
std::vector<std::string> BreakLines(std::string_view text, int max_width,
                                    const std::function<int(std::string_view)>& width_of);

}  // namespace tess
