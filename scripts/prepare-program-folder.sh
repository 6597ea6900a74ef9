#!/usr/bin/env bash
# Makes the build's program folder (the folder of the executable) ready to run,
# by the rules an installed program applies to the user's folder at its start:
# the folder REPORTS, an empty inventory database when none is there (never
# overwriting one), and when the settings file names no catalogue, the demo
# catalogue of the folder and a settings file naming it.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
folder="$(cd "$BUILD_DIR/bin" && pwd)"
mkdir -p "$folder/REPORTS"
if [ ! -e "$folder/db_inv.mdb" ]; then
  "$folder/quillstock-mkinv" "$folder/db_inv.mdb"
fi
settings="$folder/Quillstock.ini"
if ! grep -qiE '^[[:space:]]*PATH[[:space:]]*=[[:space:]]*[^[:space:]]' "$settings" 2>/dev/null; then
  demo="$folder/Demo-Katalog.mdb"
  [ -e "$demo" ] || "$folder/quillstock-mkdemo" "$demo"
  printf '[GLOBAL]\r\nPATH=%s\r\n' "$demo" > "$settings"
fi
