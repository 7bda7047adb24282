#!/usr/bin/env bash
# The real tarnwell.exe under Wine on COM1, a pseudo-terminal of the Linux indicator simulator:
# every frame recorded at 921600 bit/s with the record interval 0, through a full disk (the data
# folder inside a small tmpfs where root may; a mount point itself is no plain folder) while
# reading goes on; Stop, the settings window from the
# cog and its Apply; a closed window (taskkill, as Windows closes it) writing config.ini whole.
#   program.sh BUILD_DIR TARNWELL_EXE OPERATOR_EXE SIMULATOR
# Exits 77 (skipped) without the simulator, 0 when every check held.
set -euo pipefail
build=$1 exe=$2 operator=$3 sim=$4
here=$(dirname "$(readlink -f "$0")")
wine_run=$here/../../../scripts/wine-run.sh
golden=$here/../../config/golden/default_config.ini

if [[ -z $sim || ! -x $sim ]]; then
  echo "skipped: the Linux indicator simulator is not built (${sim:-no path given})"
  exit 77
fi
export WINEPREFIX=$build/wine-program
export WINEDEBUG=${WINEDEBUG:--all}
exec 8>"$WINEPREFIX.run.lock"
flock 8

work=$(mktemp -d "$build/program.XXXXXX")
disk=$work/disk
data=$disk/data
mkdir -p "$disk"
simpid=
finish() {
  [[ -n $simpid ]] && kill "$simpid" 2>/dev/null
  wineserver -k >/dev/null 2>&1 || true
  mountpoint -q "$disk" && umount -l "$disk"
  [[ -n ${KEEP_PROGRAM_WORK:-} ]] || rm -rf "$work"
}
trap finish EXIT
failed=0
check() {  # check WHAT COMMAND...: runs the command, says which check failed
  local what=$1
  shift
  if ! "$@"; then
    echo "FAILED: $what"
    failed=1
  fi
}
# waitfor SECONDS COMMAND...: true once the command holds; never a fixed wait.
waitfor() {
  local until=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < until)) || return 1
    sleep 0.1
  done
}
win() { echo "Z:${1//\//\\}"; }
record() { ls "$data"/Log/*.txt 2>/dev/null | head -1; }
lines() { local f; f=$(record); [[ -n $f ]] && tr -cd '\n' <"$f" | wc -c || echo 0; }
morelines() { (($(lines) > $1)); }
messages() { cat "$work/messages.log" 2>/dev/null || true; }
said() { messages | grep -q "$1"; }

full=false
if mount -t tmpfs -o size=2m,mode=0700 tmpfs "$disk" 2>/dev/null; then full=true; else
  echo "mounting a tmpfs is not permitted here: the disk stays free"
fi
mkdir -p "$data/Log"

# config.ini: port 1 at 921600, every frame recorded from the start, High, English.
awk 'BEGIN { RS = "\r\n"; ORS = "\r\n"
  v[6] = 1; v[7] = 10; v[8] = 0; v[10] = 2; v[15] = 1; v[17] = 1; v[19] = 0; v[32] = 1 }
  NR in v { $0 = v[NR] substr($0, index(substr($0, 2), "'\''") + 1) } { print }' \
  "$golden" >"$data/config.ini"

"$sim" --link "$work/com1" --log "$work/sim.log" --ready "$work/sim.ready" --baud 921600 \
  --rate 500 --pattern count --count 3000 --wait >"$work/sim.out" 2>&1 &
simpid=$!
waitfor 30 test -s "$work/sim.ready" || { cat "$work/sim.out"; exit 1; }
"$wine_run" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$work/com1" /f >/dev/null
wineserver -k >/dev/null 2>&1 || true
wineserver --wait >/dev/null 2>&1 || true

TARNWELL_HOME=$(win "$data") TARNWELL_MESSAGE_LOG=$(win "$work/messages.log") LC_ALL=C \
  "$wine_run" "$exe" >"$work/out" 2>&1 &
program=$!
check "the record file fills" waitfor 120 morelines 500
if $full; then
  cat /dev/zero >"$disk/filler" 2>/dev/null || true
  sent=$(wc -l <"$work/sim.log")
  check "reading goes on while the disk is full" \
    waitfor 60 bash -c "(( \$(wc -l <'$work/sim.log') > $sent + 1000 ))"
  check "the full disk is told" waitfor 30 said "Writing to the record file failed"
  rm -f "$disk/filler"
  check "the free disk is told" waitfor 60 said "Writing to the record file works again"
fi
check "the simulator's frames are all taken" waitfor 120 bash -c "! kill -0 $simpid 2>/dev/null"
wait "$simpid" || check "the simulator ends well" false
simpid=
check "every frame is recorded" waitfor 60 morelines 2998

# Every frame after the first, which the opening may have cut: the start's line carries the
# first reading.
expected=$work/expected
awk -F '\t' 'NR > 1 { v = $NF; gsub(/ /, "", v); printf "%d\t%.2f\n", NR - 1, v }' \
  "$work/sim.log" >"$expected"
tr -d '\r' <"$(record)" | cut -f 1,2 >"$work/recorded"
check "the record holds every frame and nothing else" cmp -s "$expected" "$work/recorded"

check "Stop ticks" "$wine_run" "$operator" click App_Stop
check "Stop shows ticked" bash -c "[[ \$('$wine_run' '$operator' checked App_Stop | tr -d '\r') == 1 ]]"
"$wine_run" "$operator" click App_Stop
check "the cog opens the settings window" "$wine_run" "$operator" click TheSetup
rm -f "$data/config.ini"
check "Apply is pressed" "$wine_run" "$operator" press Apply
check "Apply writes config.ini" waitfor 30 test -s "$data/config.ini"

rm -f "$data/config.ini"
"$wine_run" taskkill /im tarnwell.exe >/dev/null 2>&1 || true
check "the program ends" waitfor 60 bash -c "! kill -0 $program 2>/dev/null"
wait "$program" || check "it ends with 0" false
check "config.ini is whole: 39 lines ended by CR LF" \
  bash -c "[[ \$(grep -c \$'\\r\$' '$data/config.ini') == 39 && \$(wc -l <'$data/config.ini') == 39 ]]"
check "config.ini names the record file" \
  bash -c "sed -n 16p '$data/config.ini' | grep -q \"^\$(basename '$(record)')'\""
if ((failed)); then
  echo "messages:" && messages
  echo "program output:" && cat "$work/out"
fi
exit "$failed"
