#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install.sh
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
export QT_QPA_PLATFORM=offscreen
# Tests and benchmarks find the fixtures of the repository unless told otherwise.
export QUILLSTOCK_FIXTURES="${QUILLSTOCK_FIXTURES:-$PWD/tests/fixtures}"
# Benchmarks run here only as a smoke run on the small catalogue.
for bench in "$BUILD_DIR"/bench/*_bench; do
  [ -x "$bench" ] && "$bench" --small
done
cd "$BUILD_DIR"
ctest --output-on-failure -j "${JOBS:-$(nproc)}" "$@"
