#!/usr/bin/env bash
# Measures the CPU that reading the serial line costs at 921600 bit/s on Windows (the Windows
# program's serial control under Wine) against Linux (the Linux program's), on this machine in one
# run: each round feeds each side a fixed count of frames from the indicator simulator and takes
# the process's CPU seconds from the first hand-over to the last frame (bench/*/SerialReadLoad).
# Under Wine much of the work of a read is done by the wineserver, whose CPU in the same seconds
# is shown beside it. Rounds alternate between the sides; the medians and their ratio are printed.
# Not a test: it prints figures, it passes nothing.
#
#   scripts/measure-serial-cpu.sh [-n FRAMES] [-r ROUNDS]
#
#   -n  frames per run (default 100000, some 10 s at 921600 bit/s)
#   -r  rounds (default 3)
#
# Needs the Linux build in build/ and the Windows build in build-windows/ (./test and
# ./test --windows make both). The machine's other load skews every figure: look at `uptime`.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
FRAMES=100000 ROUNDS=3
while getopts "n:r:" opt; do
  case $opt in
    n) FRAMES=$OPTARG ;;
    r) ROUNDS=$OPTARG ;;
    *) sed -n '2,16p' "$0" >&2; exit 2 ;;
  esac
done

ninja -C build indicator_sim serial_read_load >/dev/null
ninja -C build-windows serial_read_load >/dev/null
SIM=$ROOT/build/tools/indicator_sim
LINUX_LOAD=$ROOT/build/bench/serial_read_load
WINDOWS_LOAD=$ROOT/build-windows/bench/serial_read_load.exe
export WINEPREFIX=$ROOT/build-windows/wine-measure WINEDEBUG=-all

WORK=$(mktemp -d)
SIM_PID=
finish() {
  [[ -n $SIM_PID ]] && kill "$SIM_PID" 2>/dev/null
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap finish EXIT

# The clock ticks of a process (user and system), from /proc.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
HZ=$(getconf CLK_TCK)

# start_sim LINK: the simulator on LINK, waiting for its reader, FRAMES frames.
start_sim() {
  rm -f "$WORK/sim.ready"
  "$SIM" --link "$1" --baud 921600 --pattern count --wait --count "$FRAMES" \
    --ready "$WORK/sim.ready" >"$WORK/sim.out" 2>&1 &
  SIM_PID=$!
  for _ in $(seq 500); do [[ -s $WORK/sim.ready ]] && break; sleep 0.01; done
}
stop_sim() {
  wait "$SIM_PID" 2>/dev/null || true
  SIM_PID=
}
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2"; }

# The Wine side's port, mapped once; its wineserver is kept running so that its CPU can be read.
mkdir -p "$WORK/data/ports"
scripts/wine-run.sh reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$WORK/wline" /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver --wait >/dev/null 2>&1 || true
wineserver -f -p >/dev/null 2>&1 &
SERVER_PID=$!
scripts/wine-run.sh cmd /c exit >/dev/null 2>&1 || true

linux_cpu=() wine_cpu=() server_cpu=()
echo "frames=$FRAMES rounds=$ROUNDS; $(uptime)"
for round in $(seq "$ROUNDS"); do
  start_sim "$WORK/data/ports/COM1"
  out=$("$LINUX_LOAD" "$WORK/data" 1 "$FRAMES" || true)
  stop_sim
  linux_cpu+=("$(field cpu "$out")")
  echo "round $round Linux: $out"

  start_sim "$WORK/wline"
  before=$(ticks "$SERVER_PID")
  out=$(scripts/wine-run.sh "$WINDOWS_LOAD" 1 "$FRAMES" | tr -d '\r' || true)
  after=$(ticks "$SERVER_PID")
  stop_sim
  wine_cpu+=("$(field cpu "$out")")
  server_cpu+=("$(awk -v t=$((after - before)) -v hz="$HZ" 'BEGIN { printf "%.2f", t / hz }')")
  echo "round $round Wine:  $out wineserver=${server_cpu[-1]}"
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
l=$(median "${linux_cpu[@]}") w=$(median "${wine_cpu[@]}") s=$(median "${server_cpu[@]}")
awk -v l="$l" -v w="$w" -v s="$s" 'BEGIN {
  printf "median CPU seconds: Linux %.3f, Windows under Wine %.3f (+ wineserver %.2f)\n", l, w, s
  if (l > 0) printf "ratio Wine/Linux: %.1f (process), %.1f (with the wineserver)\n", w / l, (w + s) / l
}'
