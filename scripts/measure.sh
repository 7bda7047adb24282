#!/usr/bin/env bash
# Measures the program on the simulated indicator and sets it against its floor, `cat` of a
# second line fed identically, in the same seconds: CPU share receiving 921600 bit/s (9-character
# frames, some 10240 a second) at refresh level High with 100 and 9999 samples, the same with
# every frame recorded (lost frames and how the record lines' times keep up are shown), and at an
# ordinary rate (9600 bit/s, 100 frames a second, Mid, 100 samples); the rounds are interleaved
# and their medians printed. Then start-up time to the first shown window and resident memory
# over a long run. Not a test: it prints figures, it passes nothing.
#
#   scripts/measure.sh [-b BUILD] [-d SECONDS] [-r ROUNDS] [-m MEMORY_SECONDS] [-o OUT]
#                      [-s STARTS] [-x]
#
#   -b  build folder with bin/tarnwell and tools/indicator_sim (default build)
#   -d  seconds of each CPU run (default 30; 0 skips them)
#   -r  rounds of the CPU runs (default 3)
#   -m  seconds of the memory run (default 600; 0 skips it)
#   -o  folder for the data folders, counts and samples (default out/measure)
#   -s  start-ups to time (default 5; 0 skips them)
#   -x  offscreen Qt platform instead of an Xvfb server (start-up time needs Xvfb)
#
# The machine's other load skews every figure: look at `uptime` first.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

BUILD=build DURATION=30 MEMORY=600 OUT=out/measure STARTS=5 OFFSCREEN=0 ROUNDS=3
source scripts/run-lib.sh
own_option() {
  case $1 in
    m) MEMORY=$2 ;;
    r) ROUNDS=$2 ;;
    s) STARTS=$2 ;;
  esac
}
parse_options "b:d:m:o:r:s:x" 2,21 "$@"
need /usr/bin/time Xvfb xwininfo stty

rm -rf "$OUT"
mkdir -p "$OUT"
SUMMARY=$OUT/summary.txt
: >"$SUMMARY"
say() { echo "$*" | tee -a "$SUMMARY"; }

start_display "$OFFSCREEN"

# The floor: `cat` of a second simulated line, fed as the program's is and read in the same
# seconds, in raw mode as the program sets its port. Fills FLOOR_PID.
start_floor() {
  local dir=$1/floor; shift
  mkdir -p "$dir"
  "$SIM" --link "$dir/line" --stats "$dir/sim.stats" --ready "$dir/sim.ready" "$@" >"$dir/sim.out" 2>&1 &
  FLOOR_SIM_PID=$!
  pids+=("$FLOOR_SIM_PID")
  for _ in $(seq 500); do [[ -e $dir/sim.ready ]] && break; sleep 0.01; done
  (stty raw -echo && exec cat) <"$dir/line" >/dev/null 2>&1 &
  FLOOR_PID=$!
  pids+=("$FLOOR_PID")
}

# One run of DURATION seconds of the program and its floor on the same stream: a case name,
# samples, 1 to record every frame, then the config.ini lines and the simulator's options. The
# simulators start their clocks when the port is opened (--wait), so every frame not delivered
# was refused by a full line: the reader fell behind. Appends "name program floor ratio" to
# $OUT/cpu.txt.
cpu_run() {
  local name=$1 samples=$2 record=$3 lines=$4; shift 4
  local home=$OUT/$name
  rm -rf "$home"
  if [[ $record = 1 ]]; then
    make_home "$home" 8=0 11="$samples" 15=1 32=1 $lines
  else
    make_home "$home" 11="$samples" 15=0 32=0 $lines
  fi
  local times=()
  [[ $record = 1 ]] && times=(--log "$home/sent.txt" --log-times)
  start_sim "$home" --wait --duration "$DURATION" "${times[@]}" "$@"
  start_floor "$home" --wait --duration "$DURATION" "$@"
  start_app "$home"
  # CPU is read between 2 s after the start and 1 s before the stream ends.
  sleep 2
  local c1 t1 c2 t2 f1 f2 x1=0 x2=0
  c1=$(cpu_ticks "$APP_PID") f1=$(cpu_ticks "$FLOOR_PID") t1=$(now)
  [[ -n $XVFB_PID ]] && x1=$(cpu_ticks "$XVFB_PID")
  sleep "$((DURATION - 3))"
  c2=$(cpu_ticks "$APP_PID") f2=$(cpu_ticks "$FLOOR_PID") t2=$(now)
  [[ -n $XVFB_PID ]] && x2=$(cpu_ticks "$XVFB_PID")
  wait "$SIM_PID" || true
  wait "$FLOOR_SIM_PID" || true
  sleep 0.5
  stop_app
  kill "$FLOOR_PID" 2>/dev/null || true
  local share floor ratio written undelivered floorlost
  share=$(calc "100 * ($c2 - $c1) / $TICKS / ($t2 - $t1)" 2)
  floor=$(calc "100 * ($f2 - $f1) / $TICKS / ($t2 - $t1)" 2)
  ratio=$(calc "($f2 > $f1) ? ($c2 - $c1) / ($f2 - $f1) : 0" 2)
  written=$(stat_of "$home" frames_written)
  undelivered=$(stat_of "$home" frames_undelivered)
  floorlost=$(sed -n 's/^frames_undelivered=//p' "$home/floor/sim.stats")
  local xshare=none
  [[ -n $XVFB_PID ]] && xshare=$(calc "100 * ($x2 - $x1) / $TICKS / ($t2 - $t1)" 1)%
  printf '%-13s cpu %6s%%  cat %6s%%  ratio %5s  (X server %s)  frames %s/s  not taken %s (cat %s)' \
    "$name" "$share" "$floor" "$ratio" "$xshare" "$(calc "$written / $DURATION")" "$undelivered" \
    "$floorlost" | tee -a "$SUMMARY"
  if [[ $record = 1 ]]; then
    # The first frame after the opening is dropped: it cannot be told from the end of one.
    local count
    count=$(cat "$home"/Log/* 2>/dev/null | wc -l)
    printf '  recorded %s of %s, lost %s besides the first, %s' "$count" "$written" \
      "$((written - count - 1))" "$(lateness "$home/sent.txt" "$home"/Log/*)" | tee -a "$SUMMARY"
  fi
  echo | tee -a "$SUMMARY"
  [[ -s $home/messages.log ]] && say "  messages: $(tr '\n' ' ' <"$home/messages.log")"
  echo "$name $share $floor $ratio" >>"$OUT/cpu.txt"
  return 0
}

# How late the record lines' times are: each line's time against the time its frame was written
# to the line, which the simulator logs beside each frame (the counting pattern makes every
# value, and so every frame, distinct). A line's milliseconds are cut, not rounded, so up to 1 ms
# early is the field's own.
lateness() {
  tr -d '\r' <"$2" | awk -F'\t' '
    FNR == NR { v = $2; gsub(/[^-+0-9.]/, "", v); sent[sprintf("%.2f", v)] = $1; next }
    ((key = sprintf("%.2f", $2)) in sent) {
      split($4, t, ":"); ms = ((t[1] * 60 + t[2]) * 60 + t[3]) * 1000 + $5
      d = ms - sent[key]; if (d < early) early = d
      late = d > 0 ? int(d) : 0; n++; c[late]++; if (late > max) max = late }
    END { for (i = 0; i <= max; i++) { s += c[i]; if (s >= n * 0.99) break }
      printf "record lines late by at most %d ms (99%% by %d ms or less), early by at most %.1f ms, of %d matched", max, i, early < 0 ? -early : 0, n }' \
    "$1" -
}

# The cases of the table, once each: full speed (7=10) at High (10=2) with 100 and 9999
# samples, recording every frame, and an ordinary rate (9600 bit/s, 100 frames a second) at Mid.
# The counting pattern makes every frame distinct; its frames are as long as the others.
FULL=(--baud 921600 --pattern count)
cpu_round() {
  cpu_run receive-100 100 0 "7=10 10=2" "${FULL[@]}"
  cpu_run receive-9999 9999 0 "7=10 10=2" "${FULL[@]}"
  cpu_run record-100 100 1 "7=10 10=2" "${FULL[@]}"
  cpu_run ordinary-100 100 0 "7=3 10=1" --baud 9600 --rate 100
}

# Medians over the rounds, per case.
cpu_table() {
  say ""
  say "medians of $ROUNDS rounds (CPU of one core, program / cat of the same stream):"
  awk '{ n[$1]++; p[$1, n[$1]] = $2; f[$1, n[$1]] = $3; r[$1, n[$1]] = $4; if (!($1 in seen)) { seen[$1]; order[++k] = $1 } }
    function med(a, c, m,   i, j, t, v) { for (i = 1; i <= m; i++) v[i] = a[c, i]
      for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
      return m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2 }
    END { printf "%-13s %9s %9s %7s\n", "case", "program", "cat", "ratio"
      for (i = 1; i <= k; i++) { c = order[i]
        printf "%-13s %8.2f%% %8.2f%% %7.2f\n", c, med(p, c, n[c]), med(f, c, n[c]), med(r, c, n[c]) } }' \
    "$OUT/cpu.txt" | tee -a "$SUMMARY"
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
  for round in $(seq "$ROUNDS"); do
    say "round $round"
    cpu_round
  done
  cpu_table
fi
if [[ $OFFSCREEN = 0 && $STARTS != 0 ]]; then startup_runs; fi
if [[ $MEMORY != 0 ]]; then memory_run; fi
say "load after: $(uptime | sed 's/.*load average://')"
