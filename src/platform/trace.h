// The inspection trace (TESSALY_TRACE=FILE): one JSON object per line,
// appended and flushed line by line, for users' bug reports and for
// black-box tests. Every line starts {"ms":N,"ev":"…" where ms counts from
// start-up on the loop's clock. A Trace with no file writes nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace tess {

class Trace {
 public:
  // Opens `path` for appending; an empty path (or one that cannot be
  // opened) gives a trace that writes nothing. `clock` must outlive it.
  Trace(const Clock& clock, const std::string& path);
  ~Trace();
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  bool Active() const { return file_ != nullptr; }

  // {"ms":N,"ev":"send","hex":"…"} and likewise "recv", "proxy_send".
  void Bytes(std::string_view ev, const uint8_t* data, size_t n);
  void Bytes(std::string_view ev, const std::vector<uint8_t>& data) { Bytes(ev, data.data(), data.size()); }
  void LobbyIn(uint32_t msg);
  void LobbyOut(uint32_t msg, uint32_t wparam);
  void Status(int line, std::string_view text_utf8);
  void MessageBox(std::string_view text_utf8);
  void Exit(std::string_view why);
  // Any other event: `fields` is the rest of the object, already JSON
  // (for example "\"k\":1"), or empty.
  void Event(std::string_view ev, std::string_view fields);

 private:
  void Line(std::string_view ev, std::string_view fields);
  const Clock& clock_;
  int64_t origin_ms_;
  FILE* file_ = nullptr;
};

}  // namespace tess
