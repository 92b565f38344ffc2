#include "core/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/gbk.h"

namespace tess {
namespace {

constexpr size_t kNpos = std::string_view::npos;

// A read gives at most this many bytes of value: the platform's buffer of
// 1024 bytes less its terminating zero.
constexpr size_t kValueLimit = 1023;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Position of the single-byte character `c` in GBK text. The trail byte of
// a double-byte character can equal an ASCII byte such as "]" and is
// skipped.
size_t FindGbkChar(std::string_view gbk, char c) {
  for (size_t i = 0; i < gbk.size(); ++i) {
    if (gbk[i] == c) return i;
    if (IsLeadByte(gbk[i])) ++i;
  }
  return kNpos;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Names in GBK, equal but for ASCII letter case; double-byte characters
// (whose trail bytes may look like letters) must match exactly.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(a[i])) {
      if (a[i] != b[i]) return false;
      if (++i < a.size() && a[i] != b[i]) return false;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

bool HasBreakOrZero(std::string_view s) { return s.find_first_of(std::string_view("\r\n\0", 3)) != kNpos; }

// Whether a GBK section and key can be written and looked up (see the
// header for the rules).
bool ValidNames(std::string_view section, std::string_view key) {
  return !section.empty() && !key.empty() && !HasBreakOrZero(section) && !HasBreakOrZero(key) &&
         FindGbkChar(section, ']') == kNpos && key.find('=') == kNpos && key.front() != '[' &&
         key.front() != ';';
}

// The first `limit` bytes of GBK text, less a double-byte character the cut
// would split.
std::string_view CutGbk(std::string_view gbk, size_t limit) {
  size_t end = 0;
  while (end < gbk.size()) {
    const size_t width = IsLeadByte(gbk[end]) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return gbk.substr(0, end);
}

struct Line {
  size_t begin;  // first byte
  size_t end;    // end of its text, before "\r\n" or "\n"
  size_t next;   // first byte of the following line
};

Line LineAt(std::string_view text, size_t begin) {
  const size_t lf = text.find('\n', begin);
  Line line{begin, lf == kNpos ? text.size() : lf, lf == kNpos ? text.size() : lf + 1};
  if (line.end > begin && text[line.end - 1] == '\r') --line.end;
  return line;
}

// Where a key is, or would go, in a file's text.
struct KeyPlace {
  bool section_found = false;
  bool key_found = false;
  size_t value_begin = 0;  // key found: its value, blanks after "=" skipped
  size_t value_end = 0;    // key found: the end of the line's text
  size_t insert_at = 0;    // section found, key not: after its last key line
};

KeyPlace FindKey(std::string_view text, std::string_view section, std::string_view key) {
  KeyPlace place;
  bool inside = false;
  for (size_t pos = 0; pos < text.size();) {
    const Line line = LineAt(text, pos);
    pos = line.next;
    const std::string_view content = text.substr(line.begin, line.end - line.begin);
    const std::string_view trimmed = TrimBlanks(content);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    const size_t close = trimmed.front() == '[' ? FindGbkChar(trimmed, ']') : kNpos;
    if (close != kNpos) {
      if (inside) break;  // the end of the first section of that name
      inside = SameName(TrimBlanks(trimmed.substr(1, close - 1)), section);
      if (inside) {
        place.section_found = true;
        place.insert_at = line.next;
      }
      continue;
    }
    const size_t eq = content.find('=');
    if (!inside || eq == kNpos) continue;
    place.insert_at = line.next;
    if (!SameName(TrimBlanks(content.substr(0, eq)), key)) continue;
    size_t value = eq + 1;
    while (value < content.size() && IsBlank(content[value])) ++value;
    place.key_found = true;
    place.value_begin = line.begin + value;
    place.value_end = line.end;
    break;
  }
  return place;
}

// The line ending of the file's first line; CRLF when it has none.
std::string_view LineEnding(std::string_view text) {
  const size_t lf = text.find('\n');
  return lf != kNpos && (lf == 0 || text[lf - 1] != '\r') ? "\n" : "\r\n";
}

enum class ReadResult { kRead, kMissing, kFailed };

ReadResult ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    text.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  return n == 0 ? ReadResult::kRead : ReadResult::kFailed;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Flushes the rename to disk; the new file is in place whether or not this
// succeeds, so its result does not matter.
void SyncDirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Replaces the file at `path` with `text` through a temporary file beside
// it, so that the old file stays whole until the new one is on disk.
bool ReplaceFile(const std::string& path, std::string_view text) {
  const std::string temp = path + ".tmp";
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  int fd = open(temp.c_str(), kFlags, 0666);
  if (fd < 0 && errno == EEXIST && unlink(temp.c_str()) == 0) fd = open(temp.c_str(), kFlags, 0666);
  if (fd < 0) return false;
  struct stat old;
  bool ok = stat(path.c_str(), &old) != 0 || fchmod(fd, old.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, text) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    unlink(temp.c_str());
    return false;
  }
  SyncDirectoryOf(path);
  return true;
}

}  // namespace

bool classIniFile::WriteIniKey(std::string_view section, std::string_view key, std::string_view value) {
  const std::string gbk_section = Utf8ToGbk(TrimBlanks(section));
  const std::string gbk_key = Utf8ToGbk(TrimBlanks(key));
  const std::string gbk_value = Utf8ToGbk(value);
  if (!ValidNames(gbk_section, gbk_key) || HasBreakOrZero(gbk_value)) return false;

  std::string text;
  if (ReadWholeFile(INIFileName, text) == ReadResult::kFailed) return false;
  const KeyPlace place = FindKey(text, gbk_section, gbk_key);
  if (place.key_found) {
    text.replace(place.value_begin, place.value_end - place.value_begin, gbk_value);
  } else {
    const std::string eol(LineEnding(text));
    std::string lines = place.section_found ? "" : "[" + gbk_section + "]" + eol;
    lines += gbk_key + "=" + gbk_value + eol;
    const size_t at = place.section_found ? place.insert_at : text.size();
    if (at == text.size() && !text.empty() && text.back() != '\n') lines.insert(0, eol);
    text.insert(at, lines);
  }
  return ReplaceFile(INIFileName, text);
}

std::string classIniFile::GetIniKey(std::string_view section, std::string_view key) const {
  const std::string gbk_section = Utf8ToGbk(TrimBlanks(section));
  const std::string gbk_key = Utf8ToGbk(TrimBlanks(key));
  if (!ValidNames(gbk_section, gbk_key)) return {};
  std::string text;
  if (ReadWholeFile(INIFileName, text) != ReadResult::kRead) return {};
  const KeyPlace place = FindKey(text, gbk_section, gbk_key);
  if (!place.key_found) return {};
  const std::string_view stored =
      std::string_view(text).substr(place.value_begin, place.value_end - place.value_begin);
  std::string value(CutGbk(TrimBlanks(stored), kValueLimit));
  std::erase(value, '\0');
  return GbkToUtf8(value);
}

}  // namespace tess
