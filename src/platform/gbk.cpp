#include "platform/gbk.h"

#include <iconv.h>

namespace tess {
namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The byte length of the valid UTF-8 character starting at s[i], or 0 when
// the bytes there are no valid character (bad lead, truncated, overlong,
// surrogate or above U+10FFFF).
size_t Utf8CharLen(std::string_view s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const size_t left = s.size() - i;
  const unsigned char c = b(0);
  if (c < 0x80) return 1;
  size_t len;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (left < len || b(1) < lo || b(1) > hi) return 0;
  for (size_t k = 2; k < len; ++k)
    if (!IsContinuation(b(k))) return 0;
  return len;
}

// The length of the character at s[i] as Utf8Chars counts it.
size_t CharStep(std::string_view s, size_t i) {
  const size_t len = Utf8CharLen(s, i);
  return len == 0 ? 1 : len;
}

// One iconv descriptor per direction, opened on first use for this thread.
class Converter {
 public:
  Converter(const char* to, const char* from) {
    cd_ = iconv_open(to, from);
    if (cd_ == kNone) cd_ = iconv_open(AltName(to), AltName(from));
  }
  ~Converter() {
    if (cd_ != kNone) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`; false if the bytes do not convert as a whole.
  bool Convert(std::string_view in, std::string* out) {
    if (cd_ == kNone) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    char buf[16];
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char* dst = buf;
    size_t dst_left = sizeof buf;
    if (iconv(cd_, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1) || src_left != 0)
      return false;
    out->assign(buf, dst);
    return true;
  }

 private:
  static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
  static const char* AltName(const char* name) {
    return std::string_view(name) == "GBK" ? "CP936" : name;
  }
  iconv_t cd_;
};

Converter& ToGbkConverter() {
  thread_local Converter c("GBK", "UTF-8");
  return c;
}

Converter& FromGbkConverter() {
  thread_local Converter c("UTF-8", "GBK");
  return c;
}

// The GBK bytes of one UTF-8 character (or invalid byte), "?" if GBK has no
// place for it.
std::string CharToGbk(std::string_view ch) {
  if (static_cast<unsigned char>(ch[0]) < 0x80) return std::string(ch);
  // Only a double-byte result will do: GBK writes the euro sign as the lone
  // byte 0x80, which a reader would take for a lead byte.
  std::string out;
  if (Utf8CharLen(ch, 0) == ch.size() && ToGbkConverter().Convert(ch, &out) && out.size() == 2)
    return out;
  return "?";
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::string_view ch : Utf8Chars(utf8)) out += CharToGbk(ch);
  return out;
}

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (size_t i = 0; i < gbk.size();) {
    if (static_cast<unsigned char>(gbk[i]) < 0x80) {
      out += gbk[i++];
      continue;
    }
    if (i + 1 >= gbk.size()) {  // a lead byte with no trail byte
      out += kGbkUndecodable;
      break;
    }
    // The pair must decode to exactly one character; otherwise a lead byte
    // that GBK reads alone (0x80) would swallow its trail byte's meaning.
    std::string ch;
    if (FromGbkConverter().Convert(gbk.substr(i, 2), &ch) && !ch.empty() &&
        Utf8CharLen(ch, 0) == ch.size())
      out += ch;
    else
      out += kGbkUndecodable;
    i += 2;
  }
  return out;
}

size_t GbkWidth(std::string_view utf8) { return Utf8ToGbk(utf8).size(); }

std::vector<std::string_view> Utf8Chars(std::string_view utf8) {
  std::vector<std::string_view> chars;
  for (size_t i = 0; i < utf8.size();) {
    const size_t len = CharStep(utf8, i);
    chars.push_back(utf8.substr(i, len));
    i += len;
  }
  return chars;
}

size_t Utf8Length(std::string_view utf8) {
  size_t n = 0;
  for (size_t i = 0; i < utf8.size(); i += CharStep(utf8, i)) ++n;
  return n;
}

std::string Utf8Prefix(std::string_view utf8, size_t n) {
  size_t i = 0;
  for (size_t k = 0; k < n && i < utf8.size(); ++k) i += CharStep(utf8, i);
  return std::string(utf8.substr(0, i));
}

}  // namespace tess
