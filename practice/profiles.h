// The players' profiles at the practice table: made up per seat from a
// roster file, or from defaults.
//
// Roster file: one line per seat in seat order, fields separated by "|":
//   nick|avatar|gender|location|level|title|coins
// (UTF-8; gender 0 = woman, 1 = man; empty fields and missing lines take the
// defaults; lines starting with "#" are skipped). The account name is always
// the one the seat logged in with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tess::practice {

struct Profile {
  std::string account;  // as logged in
  std::string nick;     // UTF-8 here, GBK on the wire
  std::string avatar = "m1";
  int gender = 1;
  std::string location;
  std::string level;
  std::string title;
  int64_t points = 1000;
  int64_t credit = 100;
  int64_t coins = 10000;
  uint32_t logins = 1;
  uint32_t disconnects = 0;
  uint32_t wins = 0;
  uint32_t losses = 0;
  uint64_t user_id = 0;
};

// The default profile of seat 0-3.
Profile DefaultProfile(int seat);
// The four seats' profiles from `text` (a roster file's contents).
std::vector<Profile> ParseRoster(const std::string& text);
// The file's roster; nullopt when it cannot be read.
std::optional<std::vector<Profile>> ReadRoster(const std::string& path);

}  // namespace tess::practice
