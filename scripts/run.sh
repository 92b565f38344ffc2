#!/usr/bin/env bash
# Sets up, builds and opens the practice table: the user's window with three
# automatic players. Options go to the launcher (practice/launch.sh), e.g.
#   bash scripts/run.sh --hands 5 --headless --out DIR --seed 7 --port 9000
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" "$top/build"
exec "$top/practice/launch.sh" "$top/build" "$@"
