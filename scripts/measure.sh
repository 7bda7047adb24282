#!/usr/bin/env bash
# Measures the program on the simulated indicator at 921600 bit/s (9-character frames, some
# 10240 a second): CPU share while receiving at refresh level High with 9999 and 100 samples,
# the same while recording every frame, start-up time to the first shown window, and resident
# memory over a long run. Not a test: it prints figures, it passes nothing.
#
#   scripts/measure.sh [-b BUILD] [-d SECONDS] [-m MEMORY_SECONDS] [-o OUT] [-s STARTS] [-x]
#
#   -b  build folder with bin/tarnwell and tools/indicator_sim (default build)
#   -d  seconds of each CPU run (default 30; 0 skips them)
#   -m  seconds of the memory run (default 600; 0 skips it)
#   -o  folder for the program folders, counts and samples (default out/measure)
#   -s  start-ups to time (default 5; 0 skips them)
#   -x  offscreen Qt platform instead of an Xvfb server (start-up time needs Xvfb)
#
# The machine's other load skews every figure: look at `uptime` first.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

BUILD=build DURATION=30 MEMORY=600 OUT=out/measure STARTS=5 OFFSCREEN=0
while getopts "b:d:m:o:s:x" opt; do
  case $opt in
    b) BUILD=$OPTARG ;;
    d) DURATION=$OPTARG ;;
    m) MEMORY=$OPTARG ;;
    o) OUT=$OPTARG ;;
    s) STARTS=$OPTARG ;;
    x) OFFSCREEN=1 ;;
    *) sed -n '2,16p' "$0" >&2; exit 2 ;;
  esac
done
[[ $BUILD = /* ]] || BUILD=$ROOT/$BUILD
[[ $OUT = /* ]] || OUT=$ROOT/$OUT
source scripts/run-lib.sh
need /usr/bin/time Xvfb xwininfo

rm -rf "$OUT"
mkdir -p "$OUT"
SUMMARY=$OUT/summary.txt
: >"$SUMMARY"
say() { echo "$*" | tee -a "$SUMMARY"; }

start_display "$OFFSCREEN"

# One run of DURATION seconds on the full-speed stream. The simulator starts its clock when the
# program opens the port (--wait), so every frame not delivered was refused by a full line:
# the program fell behind.
cpu_run() {
  local name=$1 samples=$2 record=$3
  local home=$OUT/$name
  if [[ $record = 1 ]]; then
    make_home "$home" 7=10 8=0 10=2 11="$samples" 15=1 32=1
  else
    make_home "$home" 7=10 10=2 11="$samples" 15=0 32=0
  fi
  start_sim "$home" --baud 921600 --wait --duration "$DURATION"
  start_app "$home"
  # CPU is read between 2 s after the start and 1 s before the stream ends.
  sleep 2
  local c1 t1 c2 t2 x1=0 x2=0
  c1=$(cpu_ticks "$APP_PID") t1=$(now)
  [[ -n $XVFB_PID ]] && x1=$(cpu_ticks "$XVFB_PID")
  sleep "$((DURATION - 3))"
  c2=$(cpu_ticks "$APP_PID") t2=$(now)
  [[ -n $XVFB_PID ]] && x2=$(cpu_ticks "$XVFB_PID")
  wait "$SIM_PID" || true
  sleep 0.5
  stop_app
  local share written undelivered lines=0
  share=$(calc "100 * ($c2 - $c1) / $TICKS / ($t2 - $t1)" 1)
  written=$(stat_of "$home" frames_written)
  undelivered=$(stat_of "$home" frames_undelivered)
  if [[ $record = 1 ]]; then
    lines=$(cat "$home"/Log/* 2>/dev/null | wc -l)
  fi
  local whole rss
  whole=$(sed -n 's/.*Percent of CPU this job got: //p' "$home/time.txt")
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$home/time.txt")
  local xshare=none
  [[ -n $XVFB_PID ]] && xshare=$(calc "100 * ($x2 - $x1) / $TICKS / ($t2 - $t1)" 1)%
  printf '%-14s cpu %5s%% of one core (whole run %s, X server %s)  frames %s/s  not taken %s  max RSS %s kB' \
    "$name" "$share" "$whole" "$xshare" "$(calc "$written / $DURATION")" "$undelivered" "$rss" |
    tee -a "$SUMMARY"
  if [[ $record = 1 ]]; then
    # The first line is the start's own, before any frame.
    printf '  record lines %s/s, frames written %s, recorded %s, lost %s' \
      "$(calc "($lines - 1) / $DURATION")" "$written" "$((lines - 1))" \
      "$((written - lines + 1))" | tee -a "$SUMMARY"
  fi
  echo | tee -a "$SUMMARY"
  [[ -s $home/messages.log ]] && say "  messages: $(tr '\n' ' ' <"$home/messages.log")"
  return 0
}

# Exec to the main window being viewable on the X server, polled with xwininfo.
startup_runs() {
  local home=$OUT/startup
  make_home "$home" 7=3 15=0 32=0
  start_sim "$home" --baud 9600
  local times=()
  for i in $(seq "$STARTS"); do
    local t0 t1 id=
    t0=$(now)
    start_app "$home"
    for _ in $(seq 2000); do
      id=$(xwininfo -root -tree 2>/dev/null | awk '/"Vornel-> Tarnwell/ { print $1; exit }')
      if [[ -n $id ]] && xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        break
      fi
      id=
      sleep 0.005
    done
    t1=$(now)
    stop_app
    [[ -n $id ]] || { say "start-up $i: no window within 10 s"; continue; }
    times+=("$(calc "($t1 - $t0) * 1000")")
  done
  kill "$SIM_PID" 2>/dev/null || true
  wait "$SIM_PID" 2>/dev/null || true
  say "start-up to window shown (ms, $STARTS runs): $(printf '%s ' "${times[@]}")" \
    "median $(printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')"
}

# Resident memory every 5 s on the full-speed stream with the largest history.
memory_run() {
  local home=$OUT/memory
  make_home "$home" 7=10 10=2 11=9999 15=0 32=0
  start_sim "$home" --baud 921600 --wait --duration "$MEMORY"
  start_app "$home"
  echo "seconds,rss_kb" >"$home/rss.csv"
  local start
  start=$(now)
  while kill -0 "$SIM_PID" 2>/dev/null; do
    local rss
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$APP_PID/status" 2>/dev/null) || break
    echo "$(calc "$(now) - $start"),$rss" >>"$home/rss.csv"
    sleep 5
  done
  stop_app
  local ran
  ran=$(stat_of "$home" seconds)
  if [[ $(calc "$ran < $MEMORY - 1") = 1 ]]; then say "  the simulator ended after ${ran}s (a signal?)"; fi
  say "memory over ${ran:-?}s of ${MEMORY}s (kB): $(awk -F, 'NR > 1 { if (NR == 2) f = $2; if ($1 >= 10 && !w) { w = $2 } if ($2 > m) m = $2; l = $2 }
    END { printf "first %d, at 10 s %d, last %d, max %d, growth after 10 s %d", f, w, l, m, l - w }' "$home/rss.csv")"
  say "  samples: $home/rss.csv"
}

say "measure.sh $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load:$(uptime | sed 's/.*load average://')"
say "display: $([[ $OFFSCREEN = 1 ]] && echo offscreen || echo "Xvfb $DISPLAY")"
if [[ $DURATION != 0 ]]; then
  cpu_run receive-9999 9999 0
  cpu_run receive-100 100 0
  cpu_run record-9999 9999 1
  cpu_run record-100 100 1
fi
if [[ $OFFSCREEN = 0 && $STARTS != 0 ]]; then startup_runs; fi
if [[ $MEMORY != 0 ]]; then memory_run; fi
say "load after: $(uptime | sed 's/.*load average://')"
