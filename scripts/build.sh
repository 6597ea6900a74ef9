#!/usr/bin/env bash
# Configures and builds the project into build/ (or $BUILD_DIR).
# Uses ccache when the machine has it (quicker rebuilds; never required).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-$(nproc)}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "${launcher[@]}"
fi
cmake --build "$BUILD_DIR" -j "$JOBS"
