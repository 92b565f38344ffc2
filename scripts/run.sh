#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" "$top/build"
# Without a display the window is drawn offscreen (screenshots still work).
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}; fi
exec "$top/build/tools/demo/tessaly_demo" "$@"
