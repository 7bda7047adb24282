#!/usr/bin/env bash
# The program stopped (SIGSTOP, as a machine too busy to run it would) while the simulated
# indicator sends 921600 bit/s of counting frames and every frame is recorded. Two writers: one
# that waits while the pseudo-terminal is full ("flow"), as a program feeding a terminal does,
# and one that loses what finds the line full, as a wire would ("wire"). Prints per case the
# frames written whole to the line, those recorded, those the program told it dropped, the
# missing ones nobody counted and recorded values that were never sent. Not a test.
#
#   scripts/stall.sh [-b BUILD] [-s SECONDS] [-a SECONDS] [-d SECONDS] [-o OUT]
#
#   -b  build folder with bin/tarnwell and tools/indicator_sim (default build)
#   -s  how long the program is stopped (default 5)
#   -a  seconds of recording before the stop (default 3)
#   -d  seconds of the stream (default 15)
#   -o  folder for the data folders (default out/stall)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

BUILD=build STOP=5 AFTER=3 DURATION=15 OUT=out/stall
source scripts/run-lib.sh
own_option() {
  case $1 in
    s) STOP=$2 ;;
    a) AFTER=$2 ;;
  esac
}
parse_options "b:s:a:d:o:" 2,15 "$@"
need /usr/bin/time python3
export QT_QPA_PLATFORM=offscreen
rm -rf "$OUT"

stall_case() {
  local name=$1; shift
  local home=$OUT/$name
  # Port 1 at 921600 bit/s, every frame recorded from the start, the standard language file.
  make_home "$home" "7=10 8=0 15=1 19=255 32=1"
  start_sim "$home" --baud 921600 --pattern count --wait --duration "$DURATION" \
    --log "$home/sim.log" "$@"
  start_app "$home"
  sleep "$AFTER"
  kill -STOP "$APP_PID"
  sleep "$STOP"
  kill -CONT "$APP_PID"
  wait "$SIM_PID" || true
  sleep 1
  stop_app
  python3 - "$name" "$home" <<'PY'
import glob, re, sys
name, home = sys.argv[1:]
sent = [f"{float(l.replace(' ', '')):.2f}" for l in open(f"{home}/sim.log")]
lines = []
for path in glob.glob(f"{home}/Log/*"):
    lines += open(path, encoding="latin-1", newline="").read().split("\r\n")[:-1]
values = [l.split("\t")[1] for l in lines]
messages = open(f"{home}/messages.log").read() if glob.glob(f"{home}/messages.log") else ""
counted = sum(int(n) for n in re.findall(r"lost on the line: (\d+)", messages))
sent_set, recorded = set(sent), set(values)
missing = [v for v in sent if v not in recorded]
# The first frame after the opening is dropped without a count: it cannot be told from a tail.
uncounted = len(missing) - counted - (1 if missing and missing[0] == sent[0] else 0)
phantom = [v for v in values if v not in sent_set]
counts = [int(l.split("\t")[0]) for l in lines]
gaps = sum(b - a - 1 for a, b in zip(counts, counts[1:]))
print(f"{name}: frames written whole {len(sent)}, recorded {len(values)}, told dropped {counted}"
      f" (line counts skipped {gaps}), missing and not counted {uncounted},"
      f" recorded but never sent {len(phantom)}")
PY
}

stall_case flow --flow
stall_case wire
