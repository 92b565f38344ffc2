// A small JSON reader for tests that check documents the program writes.
// Parse() returns nullopt on any syntax error or trailing text.
#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tess::test {

struct JsonValue {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject } type = Type::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> fields;

  bool IsNull() const { return type == Type::kNull; }
  // The field `key` of an object; a null value when there is none.
  const JsonValue& operator[](const std::string& key) const {
    static const JsonValue kNone;
    auto it = fields.find(key);
    return it == fields.end() ? kNone : it->second;
  }
  bool Has(const std::string& key) const { return fields.count(key) > 0; }
};

class JsonReader {
 public:
  static std::optional<JsonValue> Parse(std::string_view s) {
    JsonReader r(s);
    JsonValue v;
    if (!r.Value(v)) return std::nullopt;
    r.Space();
    if (r.i_ != s.size()) return std::nullopt;
    return v;
  }

 private:
  explicit JsonReader(std::string_view s) : s_(s) {}

  void Space() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) ++i_;
  }
  bool Eat(char c) {
    Space();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view w) {
    if (s_.substr(i_, w.size()) != w) return false;
    i_ += w.size();
    return true;
  }

  bool Value(JsonValue& v) {
    Space();
    if (i_ >= s_.size()) return false;
    char c = s_[i_];
    if (c == '{') return Object(v);
    if (c == '[') return Array(v);
    if (c == '"') {
      v.type = JsonValue::Type::kString;
      return String(v.text);
    }
    if (Word("null")) return true;
    if (Word("true") || Word("false")) {
      v.type = JsonValue::Type::kBool;
      v.boolean = s_[i_ - 4] == 't';
      return true;
    }
    std::string num(s_.substr(i_, std::min<size_t>(40, s_.size() - i_)));
    char* end = nullptr;
    v.number = std::strtod(num.c_str(), &end);
    if (end == num.c_str()) return false;
    v.type = JsonValue::Type::kNumber;
    i_ += end - num.c_str();
    return true;
  }

  bool Object(JsonValue& v) {
    v.type = JsonValue::Type::kObject;
    ++i_;
    if (Eat('}')) return true;
    do {
      std::string key;
      Space();
      if (i_ >= s_.size() || s_[i_] != '"' || !String(key) || !Eat(':')) return false;
      if (!Value(v.fields[key])) return false;
    } while (Eat(','));
    return Eat('}');
  }

  bool Array(JsonValue& v) {
    v.type = JsonValue::Type::kArray;
    ++i_;
    if (Eat(']')) return true;
    do {
      v.items.emplace_back();
      if (!Value(v.items.back())) return false;
    } while (Eat(','));
    return Eat(']');
  }

  bool String(std::string& out) {
    ++i_;  // opening quote
    while (i_ < s_.size() && s_[i_] != '"') {
      char c = s_[i_++];
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (i_ >= s_.size()) return false;
      char e = s_[i_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'u': {
          if (i_ + 4 > s_.size()) return false;
          unsigned cp = std::strtoul(std::string(s_.substr(i_, 4)).c_str(), nullptr, 16);
          i_ += 4;
          if (cp < 0x80) {
            out += static_cast<char>(cp);
          } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
          } else {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
          }
          break;
        }
        default: return false;
      }
    }
    if (i_ >= s_.size()) return false;
    ++i_;  // closing quote
    return true;
  }

  std::string_view s_;
  size_t i_ = 0;
};

}  // namespace tess::test
