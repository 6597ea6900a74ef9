#!/usr/bin/env bash
# Builds the Debian package of the program from the build (cpack -G DEB) and
# puts it into the build folder: quillstock_<version>_<arch>.deb.
# With --check it also runs desktop-file-validate and lintian on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install.sh
bash scripts/build.sh
BUILD_DIR=${BUILD_DIR:-build}
(cd "$BUILD_DIR" && cpack -G DEB)
deb=$(ls -t "$BUILD_DIR"/quillstock_*.deb | head -n 1)
echo "package: $deb"
if [ "${1:-}" = "--check" ]; then
  desktop-file-validate packaging/quillstock.desktop
  if ! command -v lintian >/dev/null 2>&1; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get install -y -qq --no-install-recommends lintian
  fi
  lintian --info "$deb"
fi
