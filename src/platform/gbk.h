// Text encoding: UTF-8 inside the client, code page 936 (GBK) on the wire
// and in files.
//
// In GBK a byte below 0x80 is one character and a byte of 0x80 or more
// starts a double-byte character (lead byte, then trail byte). Conversions
// never fail and never read past the end of their input:
//  - to GBK, a character GBK cannot hold (or a byte that is not valid UTF-8)
//    becomes "?", one byte; so does a character that GBK would write as a
//    single byte of 0x80 or more, since that byte would read as a lead byte;
//  - from GBK, a lead byte and the byte after it that form no character, and
//    a lead byte that is the last byte of the run, become U+FFFD.
// Zero bytes are ordinary characters in both directions; callers that want
// text up to the first zero cut it themselves. The converters are opened
// once per thread and reused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tess {

// The replacement for an undecodable GBK character: U+FFFD in UTF-8.
inline constexpr std::string_view kGbkUndecodable = "\xEF\xBF\xBD";

std::string Utf8ToGbk(std::string_view utf8);
std::string GbkToUtf8(std::string_view gbk);

// The number of GBK bytes `utf8` takes: 1 per single-byte character
// (including each "?"), 2 per double-byte one. Equals Utf8ToGbk(utf8).size().
size_t GbkWidth(std::string_view utf8);

// The characters of `utf8`, each as its own bytes; a byte that is not part
// of a valid UTF-8 sequence is one character of its own.
std::vector<std::string_view> Utf8Chars(std::string_view utf8);
// The number of characters, counted as Utf8Chars does.
size_t Utf8Length(std::string_view utf8);
// The first `n` characters of `utf8` (all of it when it is shorter).
std::string Utf8Prefix(std::string_view utf8, size_t n);

}  // namespace tess
