#include "platform/json.h"

#include <cstdio>

namespace tess {
namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0.
size_t Utf8Len(std::string_view s, size_t i) {
  auto b = static_cast<unsigned char>(s[i]);
  size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

std::string JsonQuote(std::string_view s) {
  std::string out = "\"";
  for (size_t i = 0; i < s.size();) {
    char c = s[i];
    size_t n = Utf8Len(s, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (n > 1) {
      out.append(s.substr(i, n));
      i += n;
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += c;
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

}  // namespace tess
