// Minimal JSON text helpers for the trace log and the scene dump.
#pragma once

#include <string>
#include <string_view>

namespace tess {

// `s` (UTF-8) as a JSON string literal, quotes included. Control characters
// are escaped as \uXXXX; bytes that are not valid UTF-8 become U+FFFD.
std::string JsonQuote(std::string_view s);

}  // namespace tess
