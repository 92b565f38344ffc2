#include "core/command_line.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "platform/gbk.h"

namespace tess {

namespace {

constexpr int kMaxFields = 13;
constexpr size_t kNameBytes = 16;
constexpr size_t kOffLoginKey = 32;

std::string_view TrimSpaces(std::string_view s) {
  size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

// A whole number in [min, max], spaces around it allowed.
std::optional<int> ParseWhole(std::string_view field, int min, int max) {
  std::string_view s = TrimSpaces(field);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (value < min || value > max) return std::nullopt;
  return value;
}

template <typename T>
bool StoreWhole(std::string_view field, int min, int max, T& out) {
  std::optional<int> value = ParseWhole(field, min, max);
  if (value) out = static_cast<T>(*value);
  return value.has_value();
}

CommandLine BadNumber(CommandLine cl, int field) {
  cl.status = CommandLineStatus::kBadNumber;
  cl.bad_field = field;
  return cl;
}

bool EqualsOne(std::string_view field) {
  std::string_view s = TrimSpaces(field);
  double value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return !s.empty() && ec == std::errc() && end == s.data() + s.size() && value == 1;
}

// The number at the start of `s` (after spaces); 0 when there is none.
double LeadingNumber(std::string_view s) {
  s = TrimSpaces(s);
  double value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() ? value : 0;
}

bool AllSingleByte(std::string_view gbk) {
  for (char ch : gbk) {
    if (static_cast<uint8_t>(ch) >= 0x80) return false;
  }
  return true;
}

}  // namespace

CommandLine ParseCommandLine(std::string_view text) {
  CommandLine cl;
  std::string_view s = TrimSpaces(text);
  if (s.empty()) {
    cl.status = CommandLineStatus::kEmpty;
    return cl;
  }
  cl.IsSpectator = s.back() != '$';

  std::optional<std::string> title_field;
  std::optional<std::string> caption_field;
  for (int k = 1; k <= kMaxFields; ++k) {
    size_t dollar = s.find('$');
    if (dollar == std::string_view::npos) break;
    std::string_view field = s.substr(0, dollar);
    s.remove_prefix(dollar + 1);
    cl.fields_taken = k;

    switch (k) {
      case 1: cl.AccountName = field; break;
      case 2: cl.LoginKey = field; break;
      case 3: cl.ServerHost = field; break;
      case 4: if (!StoreWhole(field, 0, 65535, cl.ServerPort)) return BadNumber(cl, k); break;
      case 5:
        cl.Location = std::string(field);
        if (cl.IsSpectator) cl.WatchedUserId = LeadingNumber(s);
        break;
      case 6: if (!StoreWhole(field, INT16_MIN, INT16_MAX, cl.ProxyKind)) return BadNumber(cl, k); break;
      case 7: cl.ProxyHost = field; break;
      case 8: if (!StoreWhole(field, 0, 65535, cl.ProxyPort)) return BadNumber(cl, k); break;
      case 9: cl.ProxyUser = field; break;
      case 10: cl.ProxyPassword = field; break;
      case 11: cl.AutoMode = EqualsOne(field); break;
      case 12: title_field = std::string(field); break;
      case 13: caption_field = std::string(field); break;
    }
  }

  if (cl.AutoMode) {
    cl.LobbyTitle = title_field;
    cl.Caption = caption_field;
  } else {
    cl.LobbyTitle = std::string(kDefaultLobbyTitle);
  }
  return cl;
}

double LocationFontSize(double current_size, float scale, std::string_view location) {
  double size = scale < 1.0f ? 10.0 : current_size;
  if (Utf8Length(location) > 10) size -= 2;
  return size;
}

std::optional<Packet> BuildLoginPacket(std::string_view account, std::string_view key) {
  std::string name = Utf8ToGbk(account);
  std::string login_key = Utf8ToGbk(key);
  if (!AllSingleByte(name) || !AllSingleByte(login_key)) return std::nullopt;
  if (name.size() > kNameBytes || login_key.size() > kOffTag - kOffLoginKey) return std::nullopt;
  Packet p{};
  p[kOffType] = kTypeLogin;
  std::copy(name.begin(), name.end(), p.begin() + kOffBody);
  std::copy(login_key.begin(), login_key.end(), p.begin() + kOffLoginKey);
  return p;
}

}  // namespace tess
