#include "ui/text_wrap.h"

namespace tess {
namespace {

// The index just after the UTF-8 character that starts at `i`.
size_t NextChar(std::string_view s, size_t i) {
  ++i;
  while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  return i;
}

void WrapParagraph(std::string_view p, int max_width, const std::function<int(std::string_view)>& width_of,
                   std::vector<std::string>& out) {
  while (!p.empty()) {
    if (max_width <= 0 || width_of(p) <= max_width) {
      out.emplace_back(p);
      return;
    }
    // p is too wide: find the first character that does not fit, and the
    // last space before it.
    size_t overflow = p.size();
    size_t last_space = std::string_view::npos;
    for (size_t i = NextChar(p, 0); i < p.size(); i = NextChar(p, i)) {
      if (p[i] == ' ') last_space = i;
      if (width_of(p.substr(0, NextChar(p, i))) > max_width) {
        overflow = i;
        break;
      }
    }
    size_t cut = last_space != std::string_view::npos ? last_space : overflow;
    std::string_view line = p.substr(0, cut);
    while (line.size() > 1 && line.back() == ' ') line.remove_suffix(1);
    out.emplace_back(line);
    p.remove_prefix(cut);
    while (!p.empty() && p.front() == ' ') p.remove_prefix(1);
  }
}

}  // namespace

std::vector<std::string> BreakLines(std::string_view text, int max_width,
                                    const std::function<int(std::string_view)>& width_of) {
  std::vector<std::string> lines;
  while (true) {
    size_t nl = text.find('\n');
    std::string_view p = text.substr(0, nl);
    if (!p.empty() && p.back() == '\r') p.remove_suffix(1);
    if (p.empty()) lines.emplace_back();
    else WrapParagraph(p, max_width, width_of, lines);
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
  return lines;
}

}  // namespace tess
