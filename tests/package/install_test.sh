#!/usr/bin/env bash
# The Debian package as a user meets it: builds the package from the build
# folder, installs it into this machine with dpkg, starts quillstock as a new
# user under a virtual display, records a book number by keyboard, checks the
# user's inventory database, removes the package and finds the user's data
# still there. Needs root on a Debian system; skipped (exit 77) otherwise, and
# when a quillstock package is installed already (it is left alone).
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in dpkg dpkg-deb cpack Xvfb xdotool xprop runuser useradd desktop-file-validate; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is missing"
done
if dpkg-query -W -f='${Status}' quillstock 2>/dev/null | grep -q 'installed'; then
  skip "a quillstock package is installed on this machine already"
fi

work=$(mktemp -d)
user="qstest$$"
home="/home/$user"
xvfb_pid=""
app_pid=""
installed=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$installed" ] && dpkg -r quillstock >/dev/null 2>&1 || true
  id "$user" >/dev/null 2>&1 && userdel -r "$user" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT
fail() { echo "FAILED: $*"; exit 1; }
step() { echo "== $*"; }

# dpkg refuses to run while another dpkg or apt holds its lock: wait for it.
dpkg_locked() {
  local tries=0
  until "$@" >"$work/dpkg.log" 2>&1; do
    if grep -q "lock" "$work/dpkg.log" && [ $tries -lt 60 ]; then
      tries=$((tries + 1)); sleep 2
    else
      cat "$work/dpkg.log"; return 1
    fi
  done
}

step "package"
(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/quillstock_*.deb)
dpkg-deb -x "$deb" "$work/content"
desktop-file-validate "$work/content/usr/share/applications/quillstock.desktop" || fail "desktop entry"
for size in 16 32 48 256; do
  [ -s "$work/content/usr/share/icons/hicolor/${size}x${size}/apps/quillstock.png" ] || fail "icon $size"
done

step "install $(basename "$deb")"
dpkg_locked dpkg -i "$deb" || fail "dpkg -i"
installed=yes
for tool in quillstock quillstock-sql quillstock-mkinv quillstock-mkdemo; do
  [ -x "/usr/bin/$tool" ] || fail "/usr/bin/$tool missing"
done

step "first start as the new user $user"
useradd -m -s /bin/bash "$user"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(cat "$work/display")"
export DISPLAY="$display"
# A session's runtime folder, inside the home that goes with the user.
runtime="$home/.run"
install -d -m 700 -o "$user" "$runtime"
as_user() {
  runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$display" \
    XDG_RUNTIME_DIR="$runtime" "$@"
}
as_user quillstock >"$work/app.log" 2>&1 &
runuser_pid=$!
win=$(timeout 60 xdotool search --sync --onlyvisible --name '^::: Quillstock' | head -n 1) || { cat "$work/app.log"; fail "no main window"; }
app_pid=$(pgrep -P "$runuser_pid" | head -n 1)

folder="$home/.local/share/quillstock"
for file in Quillstock.ini Demo-Katalog.mdb db_inv.mdb db_Vel.mdb REPORTS; do
  [ -e "$folder/$file" ] || fail "$folder/$file was not made"
done
grep -q "PATH=$folder/Demo-Katalog.mdb" "$folder/Quillstock.ini" || fail "settings file: $(cat "$folder/Quillstock.ini")"
[ "$(stat -c %U "$folder/db_inv.mdb")" = "$user" ] || fail "inventory database not the user's own"
# Task bars match the window to the desktop entry by its class and show its icon.
wm_class=$(xprop -id "$win" WM_CLASS)
[[ "$wm_class" == *'= "quillstock",'* ]] || fail "window class: $wm_class"
[[ "$(xprop -id "$win" _NET_WM_ICON)" == *'Icon ('* ]] || fail "the window has no icon"
if xdotool search --onlyvisible --name '^Quillstock -Toolbox for Veltrano$' >/dev/null 2>&1; then
  fail "a message box is open after the start"
fi

sql() { as_user quillstock-sql "$@"; }
# Polls until a query gives the expected output (the program writes on its own time).
await() {
  local expected=$1; shift
  for _ in $(seq 50); do
    [ "$(sql "$@" | tr -d '\r')" = "$expected" ] && return 0
    sleep 0.2
  done
  return 1
}

step "record a number by keyboard"
number=$(sql "$folder/Demo-Katalog.mdb" \
  "SELECT TOP 1 EXEMPLARNUMMER FROM EXEMPLAR WHERE EXEMPLARNUMMER >= 10000 ORDER BY EXEMPLARNUMMER" \
  | tr -d '\r' | sed -n 2p)
[ -n "$number" ] || fail "no copy number found in the demo catalogue"
xdotool windowfocus --sync "$win"
# Tab "Einstellungen": a new inventory list ("&neue Inventurtabelle anlegen").
xdotool key alt+n
await $'Bezeichnung\nInventur vom: ' "$folder/db_inv.mdb" "SELECT Bezeichnung FROM inventurliste" \
  || fail "no inventory list was made"
# Tab "Inventur": the number and Enter. The number field has the focus after
# the tab change, or one Tab later when the focus was on the tabs.
xdotool key ctrl+Tab
recorded=""
for move in "" Tab; do
  [ -n "$move" ] && xdotool key "$move"
  xdotool type --delay 30 "$number"
  xdotool key Return
  if await $'NR\n'"$number" "$folder/db_inv.mdb" "SELECT NR FROM inventur"; then recorded=yes; break; fi
done
[ -n "$recorded" ] || fail "the number $number was not recorded"
echo "recorded $number"

step "remove the package"
kill "$app_pid"; wait "$runuser_pid" 2>/dev/null || true; app_pid=""
dpkg_locked dpkg -r quillstock || fail "dpkg -r"
installed=""
[ ! -e /usr/bin/quillstock ] || fail "/usr/bin/quillstock left behind"
# The user's folder is theirs: read it back with Python's own SQLite module.
left=$(runuser -u "$user" -- /usr/bin/python3 -c '
import sqlite3, sys
db = sqlite3.connect("file:" + sys.argv[1] + "?mode=ro", uri=True)
print(",".join(str(r[0]) for r in db.execute("SELECT NR FROM inventur")))' "$folder/db_inv.mdb")
[ "$left" = "$number" ] || fail "after removal the inventory database holds '$left'"
[ -f "$folder/Demo-Katalog.mdb" ] && [ -f "$folder/Quillstock.ini" ] || fail "the user's folder was touched"
echo "the user's data outlived the package"
