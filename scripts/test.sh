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

# The packet decoder under libFuzzer, for a bounded number of runs.
CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_FUZZ=ON
cmake --build "$top/build-fuzz" --target decode_fuzz
mkdir -p "$top/build-fuzz/corpus"
"$top/build-fuzz/tests/fuzz/decode_fuzz" -runs=50000 -max_total_time=60 "$top/build-fuzz/corpus"
echo "fuzz: decode_fuzz ended without a fault"
