#include "support/trace_packets.h"

#include <fstream>

#include "ui/mini_json.h"

namespace tess::test {

std::vector<std::vector<uint8_t>> TracedPackets(const std::string& path, const std::string& ev, int type) {
  std::ifstream in(path);
  std::vector<std::vector<uint8_t>> out;
  for (std::string line; std::getline(in, line);) {
    auto json = JsonReader::Parse(line);
    if (!json || (*json)["ev"].text != ev) continue;
    const std::string hex = (*json)["hex"].text;
    if (hex.size() != 544 || std::stoi(hex.substr(6, 2), nullptr, 16) != type) continue;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    out.push_back(bytes);
  }
  return out;
}

}  // namespace tess::test
