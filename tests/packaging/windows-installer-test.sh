#!/usr/bin/env bash
# The Windows installer and the portable zip, used as an operator would, under Wine:
#   windows-installer-test.sh <build-windows folder>
# The installer installs silently into Program Files; the installed program, started once,
# keeps its config.ini in the user's AppData\Local\Tarnwell and writes nothing beside itself;
# the silent uninstall removes the program folder and leaves the user's data. The zip, unpacked
# and started, keeps its data beside the program. Everything happens in Wine prefixes of the
# build's own; the machine's own Wine setup is not touched.
set -euo pipefail
build=$(readlink -f "$1")
work=$build/installer-test
rm -rf "$work"
mkdir -p "$work"
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
# The program and the taskkill that closes it are 64-bit; "wine" starts Wine's own tools as
# 32-bit programs where wine32 is installed, and those do not see 64-bit processes.
wine64=/usr/lib/wine/wine64
[[ -x $wine64 ]] || wine64=wine

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# Waits for a condition, checked every 0.2 s, for up to $2 seconds (Wine starts slowly).
wait_for() {
  local what=$1 limit=$2
  for ((i = 0; i < limit * 5; i++)); do
    eval "$what" && return 0
    sleep 0.2
  done
  return 1
}
new_prefix() {
  export WINEPREFIX=$1
  wineboot --init >/dev/null 2>&1
  wineserver --wait
}
# Starts a Windows program, waits until $2 exists, closes it as a user would and waits for it.
run_once() {
  local exe=$1 written=$2
  TARNWELL_MESSAGE_LOG="Z:${work//\//\\}\\messages.log" "$wine64" "$exe" >/dev/null 2>&1 &
  local pid=$!
  wait_for "[[ -s '$written' ]]" 120 || fail "$exe wrote no $written"
  # config.ini is written before the window opens: close again until a window took it.
  for ((tries = 0; tries < 60; tries++)); do
    "$wine64" taskkill /im tarnwell.exe >/dev/null 2>&1 || true
    wait_for "! kill -0 $pid 2>/dev/null" 2 && return 0
  done
  fail "$exe did not end when closed"
}

(cd "$build" && cpack -G "NSIS64;ZIP" -B "$work/package" >/dev/null) || fail "cpack"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
installer=$work/package/tarnwell-$version-win64.exe
zip=$work/package/tarnwell-$version-win64.zip
[[ -f $installer && -f $zip ]] || fail "no installer or zip in $work/package"
echo "installer $(stat -c %s "$installer") bytes, zip $(stat -c %s "$zip") bytes"

new_prefix "$work/wine-installed"
wine "$installer" /S >/dev/null 2>&1 || fail "the silent install failed"
folder="$WINEPREFIX/drive_c/Program Files/Tarnwell"
wait_for "[[ -f '$folder/tarnwell.exe' ]]" 60 || fail "nothing installed in Program Files"
for file in tarnwell.exe tarnwell.ico per-user-data Uninstall.exe en.lng tr.lng ru.lng bg.lng \
  fr.lng gr.lng sp.lng std.lng; do
  [[ -f $folder/$file ]] || fail "$file not installed"
done
installed=$(cd "$folder" && ls -A | sort)
ls "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarnwell/Tarnwell.lnk" \
  >/dev/null || fail "no Start-menu entry"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwell' /v DisplayName \
  >/dev/null 2>&1 || fail "no entry in Apps & features"

data=$(find "$WINEPREFIX/drive_c/users" -maxdepth 2 -type d -name AppData | head -n 1)/Local/Tarnwell
run_once "C:\\Program Files\\Tarnwell\\tarnwell.exe" "$data/config.ini"
[[ $(wc -l <"$data/config.ini") -eq 39 ]] || fail "config.ini in AppData is not whole"
[[ $(cd "$folder" && ls -A | sort) == "$installed" ]] ||
  fail "the installed program wrote beside itself: $(cd "$folder" && ls -A | tr '\n' ' ')"
grep -q 'config.ini file. The configuration file renewed.' "$work/messages.log" ||
  fail "the first start did not renew config.ini"

wine "C:\\Program Files\\Tarnwell\\Uninstall.exe" /S >/dev/null 2>&1 || fail "the silent uninstall failed"
wait_for "[[ ! -e '$folder' ]]" 120 || fail "the program folder stays after the uninstall"
[[ -f $data/config.ini ]] || fail "the uninstall removed the user's data"

new_prefix "$work/wine-portable"
mkdir -p "$work/stick"
(cd "$work/stick" && unzip -q "$zip")
portable=$work/stick/tarnwell-$version-win64
run_once "$portable/tarnwell.exe" "$portable/config.ini"
[[ $(wc -l <"$portable/config.ini") -eq 39 ]] || fail "config.ini beside the portable program is not whole"
[[ -z $(find "$WINEPREFIX/drive_c/users" -path '*AppData/Local/Tarnwell*' -print -quit) ]] ||
  fail "the portable program wrote into AppData"
echo "PASS: installed, used, uninstalled; the zip keeps its data beside the program"
