#!/usr/bin/env bash
# Installs every Debian package the project needs. Quick when all is already there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3
  mdbtools mdbtools-dev
  pxlib-dev libgsf-1-dev libfreexl-dev
  libicu-dev unixodbc-dev
  libgtest-dev googletest
  xvfb xauth imagemagick x11-utils
  dpkg-dev xdg-utils desktop-file-utils xdotool
  python3 python3-xlrd python3-dbf python3-dbfread
  libreoffice-calc-nogui
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install: all packages present"
  exit 0
fi

echo "install: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
