#include "scoring/history_file.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "platform/gbk.h"

namespace tess {

namespace {

std::string Section(int n) { return "juNum:" + std::to_string(n); }
std::string CountKey(int k) { return "count( " + std::to_string(k) + " )"; }
std::string LineKey(int k, int i) { return CountKey(k) + "( " + std::to_string(i) + " )"; }

// The stored line count of list k; nullopt when missing or damaged.
std::optional<int> StoredCount(const classIniFile& file, const std::string& section, int k) {
  std::string text = file.GetIniKey(section, CountKey(k));
  int count = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (count < 0 || count > kMaxHistoryLines) return std::nullopt;
  return count;
}

// Whether a final line "最终分：" + number + two-character unit holds a
// number above 0; a line of any other shape holds none.
bool FinalLineGained(std::string_view line) {
  std::vector<std::string_view> chars = Utf8Chars(line);
  constexpr size_t kPrefix = 4, kUnit = 2;
  if (chars.size() <= kPrefix + kUnit) return false;
  const char* begin = chars[kPrefix].data();
  const char* end = chars[chars.size() - kUnit].data();
  double number = 0;
  auto [stop, error] = std::from_chars(begin, end, number);
  return error == std::errc() && stop == end && number > 0;
}

}  // namespace

void WriteHistoryEntry(classIniFile& file, int n, const ResultLists& lists) {
  const std::string section = Section(n);
  for (int k = 0; k < kResultLists; ++k) {
    const std::vector<std::string>& lines = lists[k];
    file.WriteIniKey(section, CountKey(k), std::to_string(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) file.WriteIniKey(section, LineKey(k, static_cast<int>(i)), lines[i]);
  }
}

void ShowHistoryEntry(const classIniFile& file, int n, ResultView& view) {
  if (n == 0) return;
  const std::string section = Section(n);
  view.StateColour.fill(kColumnTextColour);
  view.IdColour.fill(kOtherNameColour);
  for (int j = 4; j < kResultLists; ++j) {
    if (FinalLineGained(file.GetIniKey(section, LineKey(j, 0)))) view.IdColour[j - 4] = kWinnerNameColour;
  }
  for (int k = 0; k < kResultLists; ++k) {
    std::optional<int> count = StoredCount(file, section, k);
    if (!count) return;
    std::vector<std::string>& lines = view.State[k];
    lines.resize(*count, " ");
    for (int i = 0; i < *count; ++i) {
      std::string line = file.GetIniKey(section, LineKey(k, i));
      lines[i] = line.empty() ? " " : line;
    }
  }
}

}  // namespace tess
