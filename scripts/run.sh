#!/usr/bin/env bash
# Sets everything up and starts the program on the build's program folder.
# Without a display it runs under a virtual one (xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install.sh
bash scripts/build.sh
bash scripts/prepare-program-folder.sh
BUILD_DIR=${BUILD_DIR:-build}
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$BUILD_DIR/bin/quillstock"
else
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$BUILD_DIR/bin/quillstock"
fi
