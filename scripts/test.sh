#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, then the
# AddressSanitizer+UndefinedBehaviorSanitizer build, then a bounded fuzz run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

# No test needs a display or a sound card.
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

"$top/scripts/setup.sh" "$top/build"
ctest --test-dir "$top/build" --output-on-failure -j "$jobs"

"$top/scripts/setup.sh" "$top/build-san" -DTESSALY_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$top/build-san" --output-on-failure -j "$jobs"

if [ -f "$top/tests/fuzz/CMakeLists.txt" ]; then
  CC=clang CXX=clang++ "$top/scripts/setup.sh" "$top/build-fuzz" -DTESSALY_FUZZ=ON
  ctest --test-dir "$top/build-fuzz" --output-on-failure -L fuzz
fi
