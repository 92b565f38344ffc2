#include "profiles.h"

#include <fstream>
#include <sstream>

namespace tess::practice {

Profile DefaultProfile(int seat) {
  static const char* const kNicks[] = {"东风客", "南山樵", "西湖月", "北斗星"};
  static const char* const kAvatars[] = {"m1", "w2", "m3", "w4"};
  static const char* const kPlaces[] = {"杭州", "苏州", "扬州", "福州"};
  Profile p;
  p.nick = kNicks[seat];
  p.avatar = kAvatars[seat];
  p.gender = seat % 2 == 0 ? 1 : 0;
  p.location = kPlaces[seat];
  p.level = "新手";
  p.title = "练习";
  p.user_id = 1000 + static_cast<uint64_t>(seat);
  return p;
}

std::vector<Profile> ParseRoster(const std::string& text) {
  std::vector<Profile> roster;
  for (int seat = 0; seat < 4; ++seat) roster.push_back(DefaultProfile(seat));
  std::istringstream in(text);
  int seat = 0;
  for (std::string line; seat < 4 && std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '|');) f.push_back(field);
    Profile& p = roster[seat++];
    auto take = [&](size_t i, std::string& into) {
      if (i < f.size() && !f[i].empty()) into = f[i];
    };
    take(0, p.nick);
    take(1, p.avatar);
    if (f.size() > 2 && !f[2].empty()) p.gender = f[2] == "0" ? 0 : 1;
    take(3, p.location);
    take(4, p.level);
    take(5, p.title);
    if (f.size() > 6 && !f[6].empty()) p.coins = std::strtoll(f[6].c_str(), nullptr, 10);
  }
  return roster;
}

std::optional<std::vector<Profile>> ReadRoster(const std::string& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  return ParseRoster(text.str());
}

}  // namespace tess::practice
