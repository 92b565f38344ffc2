#include "platform/trace.h"

#include "platform/json.h"

namespace tess {

Trace::Trace(const Clock& clock, const std::string& path)
    : clock_(clock), origin_ms_(clock.NowMs()) {
  if (!path.empty()) file_ = std::fopen(path.c_str(), "a");
}

Trace::~Trace() {
  if (file_) std::fclose(file_);
}

void Trace::Line(std::string_view ev, std::string_view fields) {
  if (!file_) return;
  std::string line = "{\"ms\":" + std::to_string(clock_.NowMs() - origin_ms_) +
                     ",\"ev\":" + JsonQuote(ev);
  if (!fields.empty()) {
    line += ',';
    line += fields;
  }
  line += "}\n";
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

void Trace::Bytes(std::string_view ev, const uint8_t* data, size_t n) {
  if (!file_) return;
  static const char kHex[] = "0123456789abcdef";
  std::string f = "\"hex\":\"";
  f.reserve(f.size() + 2 * n + 1);
  for (size_t i = 0; i < n; ++i) {
    f += kHex[data[i] >> 4];
    f += kHex[data[i] & 15];
  }
  f += '"';
  Line(ev, f);
}

void Trace::LobbyIn(uint32_t msg) { Line("lobby_in", "\"msg\":" + std::to_string(msg)); }

void Trace::LobbyOut(uint32_t msg, uint32_t wparam) {
  Line("lobby_out", "\"msg\":" + std::to_string(msg) + ",\"wparam\":" + std::to_string(wparam));
}

void Trace::Status(int line, std::string_view text_utf8) {
  Line("status", "\"line\":" + std::to_string(line) + ",\"text\":" + JsonQuote(text_utf8));
}

void Trace::MessageBox(std::string_view text_utf8) { Line("msgbox", "\"text\":" + JsonQuote(text_utf8)); }

void Trace::Exit(std::string_view why) { Line("exit", "\"why\":" + JsonQuote(why)); }

void Trace::Event(std::string_view ev, std::string_view fields) { Line(ev, fields); }

}  // namespace tess
