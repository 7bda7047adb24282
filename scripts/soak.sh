#!/usr/bin/env bash
# A long run on the simulated indicator at 921600 bit/s with every frame recorded (LogTime 0):
# the device is pulled and plugged in again every few minutes, and the record folder's file
# system is filled once and freed again. At the end every frame the simulator delivered must be
# in the record file or counted as lost by the program's own messages; resident memory must stay
# flat; the program must live through it and end on SIGTERM. Not a test: it prints figures and
# exits 1 when a check fails.
#
#   scripts/soak.sh [-b BUILD] [-d SECONDS] [-u SECONDS] [-f SECONDS] [-F SECONDS] [-o OUT] [-x]
#
#   -b  build folder with bin/tarnwell and tools/indicator_sim (default build)
#   -d  seconds of the stream (default 1800)
#   -u  pull the device out every this many seconds, for 3 s (default 300)
#   -f  fill the record file system this many seconds in (default half the run)
#   -F  keep it full this long (default 20)
#   -o  folder for the data folder, logs and samples (default out/soak)
#   -x  offscreen Qt platform instead of an Xvfb server
#
# The record folder is a small tmpfs of its own, so this needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

BUILD=build DURATION=1800 UNPLUG=300 FILL_AT= FILL_FOR=20 OUT=out/soak OFFSCREEN=0
source scripts/run-lib.sh
own_option() {
  case $1 in
    u) UNPLUG=$2 ;;
    f) FILL_AT=$2 ;;
    F) FILL_FOR=$2 ;;
  esac
}
parse_options "b:d:u:f:F:o:x" 2,19 "$@"
FILL_AT=${FILL_AT:-$((DURATION / 2))}
[[ $(id -u) = 0 ]] || { echo "soak.sh: mounting the record folder's tmpfs needs root" >&2; exit 1; }
need /usr/bin/time python3
[[ $OFFSCREEN = 1 ]] || need Xvfb

HOME_DIR=$OUT/home
LOG_DIR=$HOME_DIR/Log
if mountpoint -q "$LOG_DIR" 2>/dev/null; then umount "$LOG_DIR"; fi
rm -rf "$OUT"
mkdir -p "$LOG_DIR"
SUMMARY=$OUT/summary.txt
: >"$SUMMARY"
say() { echo "$*" | tee -a "$SUMMARY"; }

# Room for the whole run's lines (some 45 bytes for each of up to 10240 frames a second) and
# more; the filling takes whatever is left.
TMPFS_MB=$((DURATION * 10240 * 45 / 1000000 * 3 / 2 + 64))
mount -t tmpfs -o "size=${TMPFS_MB}m,mode=0755" tarnwell-soak "$LOG_DIR"
unmount_log() { umount "$LOG_DIR" 2>/dev/null || true; }
trap 'cleanup; unmount_log' EXIT

start_display "$OFFSCREEN"

# 921600 bit/s, refresh High, 1000 samples, recording every frame from the start, a new file,
# no threshold, dead band or stability time. Counting frames "+10000000" can be told apart.
make_home "$HOME_DIR" 4=12 7=10 8=0 10=2 11=1000 15=1 17=1 18=0 32=1 38=-100000 39=0
say "soak.sh $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load:$(uptime | sed 's/.*load average://')"
say "stream ${DURATION}s at 921600 bit/s, device pulled every ${UNPLUG}s for 3 s," \
  "record file system (${TMPFS_MB} MB tmpfs) full from ${FILL_AT}s for ${FILL_FOR}s," \
  "display $([[ $OFFSCREEN = 1 ]] && echo offscreen || echo "Xvfb $DISPLAY")"

start_sim "$HOME_DIR" --baud 921600 --pattern count --value 10000000 --decimals 0 --width 8 \
  --wait --duration "$DURATION" --unplug-every "$UNPLUG" --unplug-for 3 --log "$HOME_DIR/sim.log"
start_app "$HOME_DIR"

# Every 5 s: resident memory, CPU, the record file's size and whether the program is alive.
SAMPLES=$OUT/samples.csv
echo "seconds,rss_kb,cpu_ticks,record_bytes,log_fs_used_kb" >"$SAMPLES"
start=$(now)
filled=0 freed=0 alive=1
while kill -0 "$SIM_PID" 2>/dev/null; do
  t=$(calc "$(now) - $start")
  if ! kill -0 "$APP_PID" 2>/dev/null; then alive=0; break; fi
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$APP_PID/status" 2>/dev/null || echo 0)
  ticks=$(cpu_ticks "$APP_PID" 2>/dev/null || echo 0)
  bytes=$(find "$LOG_DIR" -name '*.txt' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  used=$(df -k --output=used "$LOG_DIR" | tail -1 | tr -d ' ')
  echo "$t,$rss,$ticks,$bytes,$used" >>"$SAMPLES"
  if [[ $filled = 0 && $(calc "($t >= $FILL_AT)") = 1 ]]; then
    # Writes until the file system refuses: the program's next line meets a full disk.
    cat /dev/zero >"$LOG_DIR/filler" 2>/dev/null || true
    filled=1 fill_started=$t
    say "  ${t}s: record file system full ($(df -h --output=avail "$LOG_DIR" | tail -1 | tr -d ' ') free)"
  elif [[ $filled = 1 && $freed = 0 && $(calc "($t >= $fill_started + $FILL_FOR)") = 1 ]]; then
    rm -f "$LOG_DIR/filler"
    freed=1
    say "  ${t}s: record file system freed"
  fi
  sleep 5
done
wait "$SIM_PID" || true
sleep 2

# The program must still be there, and must end within 10 s when asked.
exit_code=none hung=0
if kill -0 "$APP_PID" 2>/dev/null; then
  kill -TERM "$APP_PID"
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$APP_PID" 2>/dev/null; then
    hung=1
    kill -KILL "$APP_PID" 2>/dev/null || true
  fi
  wait "$TIME_PID" && exit_code=0 || exit_code=$?
else
  alive=0
  wait "$TIME_PID" && exit_code=0 || exit_code=$?
fi
cp -f "$LOG_DIR"/*.txt "$OUT/" 2>/dev/null || true

python3 - "$HOME_DIR" "$LOG_DIR" "$SAMPLES" "$TICKS" "$alive" "$hung" "$exit_code" \
  "$FILL_AT" "$FILL_FOR" <<'PY' | tee -a "$SUMMARY"
import glob, re, sys

home, log_dir, samples, ticks, alive, hung, exit_code, fill_at, fill_for = sys.argv[1:]
fill_at, fill_for = float(fill_at), float(fill_for)
stats = dict(l.strip().split("=", 1) for l in open(f"{home}/sim.stats") if "=" in l)
written = int(stats["frames_written"])
taken_back = int(stats["frames_taken_back"])
# After each opening (the start and every plugging in) the first frame is dropped: the program
# cannot tell it from the end of one sent before.
openings = 1 + int(stats["unplugs"])
sent = [int(l) for l in open(f"{home}/sim.log")]
sent_set = set(sent)

# The record lines: count, value, date, time, milliseconds.
lines = []
for path in sorted(glob.glob(f"{log_dir}/*.txt")):
    with open(path, "rb") as f:
        lines += f.read().decode("latin-1").split("\r\n")[:-1]
counts, values, malformed = [], [], 0
for line in lines:
    fields = line.split("\t")
    try:
        counts.append(int(fields[0]))
        values.append(int(fields[1]))
    except (ValueError, IndexError):
        malformed += 1
recorded = [v for v in values if v in sent_set]
phantom = [v for v in values if v not in sent_set]
duplicates = len(recorded) - len(set(recorded))
in_order = all(a < b for a, b in zip(recorded, recorded[1:]))
# Lines lost inside the program leave gaps in the line count; the messages give their number.
count_gaps = sum(b - a - 1 for a, b in zip(counts, counts[1:]) if b > a + 1)
messages = open(f"{home}/messages.log", encoding="latin-1").read() if glob.glob(f"{home}/messages.log") else ""
# Frames the program dropped where characters may have been lost skip their counts as well.
reported = sum(int(n) for n in re.findall(r"(?:Record lines lost|lost on the line): (\d+)", messages))
missing = len(sent_set - set(recorded))
unexplained = missing - reported - taken_back - openings

rows = [l.strip().split(",") for l in open(samples)][1:]
rows = [(float(t), int(r), int(c)) for t, r, c, *_ in rows if int(r) > 0]
# Memory is judged apart before the disk was full and after it was freed: the lines kept
# meanwhile (up to the queue's limit) leave the heap that much larger.
def rss_at(t0, t1):
    return [r for t, r, _ in rows if t0 <= t < t1]
before = rss_at(min(60, fill_at / 2), fill_at) or [rows[0][1]]
after = rss_at(fill_at + fill_for + min(60, fill_for), float("inf")) or [rows[-1][1]]
growth = max(before[-1] - before[0], after[-1] - after[0])
cpu = (rows[-1][2] - rows[0][2]) / int(ticks) / (rows[-1][0] - rows[0][0]) * 100 if len(rows) > 1 else 0

print(f"frames delivered whole {written}, of them unread when the device was pulled {taken_back}")
print(f"record lines {len(lines)}, frames recorded {len(recorded)}, missing {missing}"
      f" ({openings} first frames after an opening)")
print(f"program's own count of lines lost {reported}, gaps in the line numbers {count_gaps}")
print(f"missing and not counted {unexplained}, recorded values never sent {len(phantom)} {phantom[:5]},"
      f" recorded twice {duplicates}, in order {in_order}, malformed lines {malformed}")
print(f"resident memory (kB): at the start {rows[0][1]}; before the filling {before[0]} -> {before[-1]};"
      f" a minute after the freeing to the end {after[0]} -> {after[-1]}; max {max(r for _, r, _ in rows)}")
print(f"cpu {cpu:.1f}% of one core over the run")
msg_kinds = {}
for m in messages.splitlines():
    text = m.split("\t", 1)[-1]
    key = re.sub(r"[: ]+[^:]*$", "", text) if "lost" not in text else re.sub(r": \d+$", "", text)
    msg_kinds[key] = msg_kinds.get(key, 0) + 1
print("messages: " + ("; ".join(f"{k} x{n}" for k, n in msg_kinds.items()) or "none"))
print(f"program alive to the end {alive == '1'}, ended on SIGTERM {hung == '0'}, exit code {exit_code}")

ok = (alive == "1" and hung == "0" and exit_code == "0" and unexplained <= 0 and not phantom
      and duplicates == 0 and in_order and malformed == 0 and count_gaps == reported
      and growth < 4 * 1024)
print("soak: " + ("PASS" if ok else "FAIL"))
sys.exit(0 if ok else 1)
PY
