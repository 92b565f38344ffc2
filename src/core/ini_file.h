// Settings files: the section-and-key text files of the program directory
// ("[section]" lines open sections, "key=value" lines inside them hold
// values). Text is UTF-8 here and code page 936 (GBK) in the file.
//
// One classIniFile per use: set INIFileName (a path as the file system
// takes it), then read or write. Every call reads the file afresh.
//  - Section and key lookups ignore ASCII letter case. Blanks (spaces,
//    tabs) around names and values do not count, in the file or in the
//    names passed in. Lines before the first section, comment lines (first
//    non-blank ";") and lines without "=" hold no keys. When a section or a
//    key appears more than once, only the first counts, for reading and
//    writing alike.
//  - GetIniKey gives the value without its surrounding blanks, cut to its
//    first 1023 bytes in the file (a double-byte character the cut would
//    split is dropped whole; the cut may end in a blank, which stays), with
//    zero bytes removed. A missing or unreadable file, section or key, and
//    a key with an empty value, all give empty text.
//  - WriteIniKey replaces the first value of the key, or adds the key after
//    the last key of its section, or adds the section at the end of the
//    file. Every other byte stays as it was: comments, order, blank lines,
//    other sections and each line's own ending. Added lines end as the
//    file's first line does; a new file, or one without a line break, gets
//    CRLF.
//  - What the format cannot hold is refused, not escaped or replaced: a
//    line break (CR or LF) or a zero byte in a section, key or value, "]" in
//    a section, "=" in a key, a key starting with "[" or ";", and an empty
//    section or key. So a value can never start a new key or section. A
//    refused write changes nothing and returns false; a lookup with such a
//    name gives empty text.
//  - A write replaces the file whole: the new text goes to INIFileName +
//    ".tmp" (a leftover from a crash is overwritten), is flushed to disk and
//    renamed over the old file, whose permission bits it keeps. Any failure
//    (old file unreadable, temporary file not creatable, disk full) leaves
//    the old file untouched, removes the temporary file and returns false.
//    Callers may ignore the result: the value is then simply missing.
#pragma once

#include <string>
#include <string_view>

namespace tess {

class classIniFile {
 public:
  // Full path of the file; set before any read or write.
  std::string INIFileName;

  // Stores `value` under `section` and `key`, creating what is missing.
  // Returns false, with the file unchanged, when refused or when the file
  // cannot be rewritten.
  bool WriteIniKey(std::string_view section, std::string_view key, std::string_view value);
  // The stored value, or empty text.
  std::string GetIniKey(std::string_view section, std::string_view key) const;
};

}  // namespace tess
