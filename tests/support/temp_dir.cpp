#include "support/temp_dir.h"

#include <stdlib.h>

#include <filesystem>

namespace tess::test {

std::string MakeTempDir(const std::string& what) {
  std::string pattern = std::filesystem::temp_directory_path() / ("tessaly-" + what + "-XXXXXX");
  return mkdtemp(pattern.data()) ? pattern : "";
}

}  // namespace tess::test
