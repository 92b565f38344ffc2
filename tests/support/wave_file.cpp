#include "support/wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace tess::test {

namespace {

void Put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string WaveBytes(WaveFormat f, const std::vector<double>& levels) {
  std::string data;
  for (double level : levels) {
    for (int c = 0; c < f.channels; ++c) {
      if (f.bits == 8) {
        Put(data, static_cast<uint32_t>(std::lround(128 + level * 128)), 1);
      } else {
        long v = std::lround(level * 32768);
        Put(data, static_cast<uint16_t>(static_cast<int16_t>(std::min(v, 32767L))), 2);
      }
    }
  }
  const int block = f.channels * f.bits / 8;
  std::string out = "RIFF";
  Put(out, static_cast<uint32_t>(36 + data.size()), 4);
  out += "WAVEfmt ";
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, f.channels, 2);
  Put(out, f.rate, 4);
  Put(out, f.rate * block, 4);
  Put(out, block, 2);
  Put(out, f.bits, 2);
  out += "data";
  Put(out, static_cast<uint32_t>(data.size()), 4);
  return out + data;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace tess::test
