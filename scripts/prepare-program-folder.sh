#!/usr/bin/env bash
# Makes the build's program folder (the folder of the executable) ready to run:
# a settings file pointing at the sample catalogue when there is none yet.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
folder="$BUILD_DIR/bin"
mkdir -p "$folder/REPORTS"
sample="$(cd .. && pwd)/shared/fixtures/catalogue/veltrano.mdb"
if [ ! -f "$folder/Quillstock.ini" ] && [ -f "$sample" ]; then
  printf '[GLOBAL]\r\nPATH=%s\r\n' "$sample" > "$folder/Quillstock.ini"
fi
if [ -x "$folder/quillstock-mkinv" ] && [ ! -e "$folder/db_inv.mdb" ]; then
  "$folder/quillstock-mkinv" "$folder/db_inv.mdb"
fi
