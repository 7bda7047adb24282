#!/usr/bin/env bash
# Runs the Windows serial-line test against the Linux indicator simulator: makes the
# simulators' pseudo-terminals, maps them to COM ports in a Wine prefix of the test's own (so that
# no other test sees its ports or its wineserver restarts), runs the test there and ends the
# simulators. The ports are the ones SerialLineTest.cpp lists.
#   serial-line.sh BUILD_DIR TEST_EXE SIMULATOR [test arguments...]
# Exits 77 (skipped) without the simulator, else with the test's code. KEEP_SERIAL_WORK=1 keeps
# the simulators' logs in BUILD_DIR/serial-line.*.
set -euo pipefail
build=$1 test_exe=$2 sim=$3
shift 3
here=$(dirname "$(readlink -f "$0")")
wine_run=$here/../../../scripts/wine-run.sh

if [[ -z $sim || ! -x $sim ]]; then
  echo "skipped: the Linux indicator simulator is not built (${sim:-no path given});" \
    "./test --windows builds it, or configure with -DTARNWELL_HOST_SIM=build/tools/indicator_sim"
  exit 77
fi

export WINEPREFIX=$build/wine-serial
export WINEDEBUG=${WINEDEBUG:--all}
# One run at a time: the ports and the wineserver of the prefix are the run's.
exec 8>"$WINEPREFIX.run.lock"
flock 8

work=$(mktemp -d "$build/serial-line.XXXXXX")
sims=()
finish() {
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${sims[@]}"; do wait "$pid" 2>/dev/null || true; done
  wineserver -k >/dev/null 2>&1 || true
  [[ -n ${KEEP_SERIAL_WORK:-} ]] || rm -rf "$work"
}
trap finish EXIT

# start_sim N ARGS...: a simulator for COMN on $work/lineN, logging to lineN.log and lineN.stats
# (Windows takes a file named COMN.anything for the port itself).
start_sim() {
  local n=$1
  shift
  "$sim" --link "$work/line$n" --log "$work/line$n.log" --stats "$work/line$n.stats" \
    --ready "$work/line$n.ready" "$@" >"$work/line$n.out" 2>&1 &
  sims+=($!)
}
start_sim 1 --baud 921600 --pattern count --wait --count 30000
start_sim 2 --baud 921600 --rate 5000 --pattern count --wait --count 30000 --unplug-every 1.2 \
  --unplug-for 1.6
start_sim 3 --baud 9600 --stay
echo "not a serial device" >"$work/plain-file"
for n in 1 2 3; do
  for ((tries = 0; tries < 600; ++tries)); do
    [[ -s $work/line$n.ready ]] && break
    sleep 0.1
  done
  [[ -s $work/line$n.ready ]] || { echo "the simulator of COM$n did not start:" && cat "$work/line$n.out"; exit 1; }
done

# The prefix is made on first use; the ports are read by the next wineserver.
{
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\n'
  for n in 1 2 3; do printf '"COM%s"="%s"\n' "$n" "$work/line$n"; done
  printf '"COM4"="%s"\n' "$work/plain-file"
} >"$work/ports.reg"
"$wine_run" reg import "Z:${work//\//\\}\\ports.reg" >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver --wait >/dev/null 2>&1 || true

export TARNWELL_SERIAL_DIR="Z:${work//\//\\}"
set +e
"$wine_run" "$test_exe" "$@"
code=$?
set -e
exit "$code"
