# Shared by measure.sh, soak.sh and stall.sh: their options, data folders, the simulator and the
# program as child processes, and the display. Expects ROOT; parse_options sets BUILD and OUT
# (absolute); fills SIM_PID, APP_PID, TIME_PID and XVFB_PID, and collects every child in `pids`
# for the exit trap.
# shellcheck shell=bash

# parse_options LETTERS USAGE ARGS...: the getopts LETTERS of the script; -b BUILD, -d DURATION,
# -o OUT and -x (OFFSCREEN=1) are handled here, any other of its letters by the script's
# own_option LETTER VALUE; an unknown option prints the lines USAGE (a sed range) of the script.
parse_options() {
  local letters=$1 usage=$2 opt OPTIND=1
  shift 2
  while getopts "$letters" opt; do
    case $opt in
      b) BUILD=$OPTARG ;;
      d) DURATION=$OPTARG ;;
      o) OUT=$OPTARG ;;
      x) OFFSCREEN=1 ;;
      \?) sed -n "${usage}p" "$0" >&2; exit 2 ;;
      *) own_option "$opt" "${OPTARG-}" ;;
    esac
  done
  [[ $BUILD = /* ]] || BUILD=$ROOT/$BUILD
  [[ $OUT = /* ]] || OUT=$ROOT/$OUT
  APP=$BUILD/bin/tarnwell
  SIM=$BUILD/tools/indicator_sim
}

TICKS=$(getconf CLK_TCK)
XVFB_PID=
pids=()

cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

# The tools this run needs, with the Debian packages that bring them.
need() {
  for f in "$APP" "$SIM"; do
    [[ -x $f ]] || { echo "$(basename "$0"): $f missing; build targets tarnwell and indicator_sim" >&2; exit 1; }
  done
  for tool in "$@"; do
    command -v "$tool" >/dev/null || {
      echo "$(basename "$0"): $tool missing (Debian packages time, xvfb, x11-utils)" >&2
      exit 1
    }
  done
}

# An Xvfb server for the program's window, or Qt's offscreen platform when $1 is 1.
start_display() {
  if [[ $1 = 1 ]]; then
    export QT_QPA_PLATFORM=offscreen
    return
  fi
  Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$OUT/display" >"$OUT/xvfb.log" 2>&1 &
  XVFB_PID=$!
  pids+=("$XVFB_PID")
  for _ in $(seq 1000); do [[ -s $OUT/display ]] && break; sleep 0.01; done
  [[ -s $OUT/display ]] || { echo "$(basename "$0"): Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(head -1 "$OUT/display")
  export QT_QPA_PLATFORM=xcb
}

# A data folder with a config.ini of the demo settings, with the lines named (1-based) given new
# values: "7=10 11=9999".
make_home() {
  local home=$1; shift
  mkdir -p "$home/ports"
  "$ROOT/scripts/demo-config.sh" | awk -v set="$*" '
    BEGIN { n = split(set, pairs, " "); for (i = 1; i <= n; i++) { split(pairs[i], kv, "="); v[kv[1]] = kv[2] } }
    (NR in v) { cut = index(substr($0, 2), "'\''") + 1; $0 = v[NR] substr($0, cut) }
    { print }' >"$home/config.ini"
}

start_sim() {
  local home=$1; shift
  "$SIM" --link "$home/ports/COM1" --stats "$home/sim.stats" --ready "$home/sim.ready" "$@" \
    >"$home/sim.out" 2>&1 &
  SIM_PID=$!
  pids+=("$SIM_PID")
  for _ in $(seq 500); do [[ -e $home/sim.ready ]] && return 0; sleep 0.01; done
  echo "$(basename "$0"): simulator did not start" >&2
  exit 1
}

# Starts the program under /usr/bin/time; APP_PID is the program itself. Messages go to
# messages.log in the data folder instead of boxes that wait for a click.
start_app() {
  local home=$1
  TARNWELL_HOME=$home TARNWELL_MESSAGE_LOG=$home/messages.log \
    /usr/bin/time -v -o "$home/time.txt" "$APP" >"$home/app.out" 2>&1 &
  TIME_PID=$!
  pids+=("$TIME_PID")
  APP_PID=
  for _ in $(seq 500); do
    APP_PID=$(ps -o pid= --ppid "$TIME_PID" | tr -d ' ' || true)
    [[ -n $APP_PID ]] && return 0
    sleep 0.01
  done
  echo "$(basename "$0"): program did not start" >&2
  exit 1
}

stop_app() {
  kill -TERM "$APP_PID" 2>/dev/null || true
  wait "$TIME_PID" || true
}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
now() { date +%s.%N; }
calc() { awk "BEGIN { printf \"%.${2:-0}f\", $1 }"; }
stat_of() { sed -n "s/^$2=//p" "$1/sim.stats"; }
