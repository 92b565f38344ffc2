// WAVE files for tests: PCM bytes of any layout built from sample levels,
// and writing bytes to a file.
#pragma once

#include <string>
#include <vector>

namespace tess::test {

struct WaveFormat {
  int rate;
  int channels;
  int bits;  // 8 (unsigned) or 16 (signed)
};

// A PCM WAVE file whose frame i has amplitude levels[i] (−1 … 1) on every
// channel.
std::string WaveBytes(WaveFormat f, const std::vector<double>& levels);

void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace tess::test
