// A fresh private folder for a test's files: runtime folders, program
// folders, traces.
#pragma once

#include <string>

namespace tess::test {

// Makes TMPDIR/tessaly-WHAT-XXXXXX (mode 0700) and returns its path, or ""
// when it cannot be made.
std::string MakeTempDir(const std::string& what);

}  // namespace tess::test
