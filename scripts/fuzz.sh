#!/usr/bin/env bash
# Builds the fuzzers with clang, libFuzzer, AddressSanitizer and UBSan in build-fuzz/ and runs
# each in turn, one process at a time, starting from its corpus in fuzz/corpus/<name>/.
#   scripts/fuzz.sh [-t minutes] [receive|config|language ...]   (default: 10 minutes, all three)
# Prints executions and findings per fuzzer; exits 1 when anything was found. Inputs that
# crashed land in build-fuzz/findings/<name>/; new coverage in build-fuzz/corpus/<name>/.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=10
names=()
while [[ $# -gt 0 ]]; do
  case $1 in
    -t) minutes=$2; shift 2 ;;
    -h | --help) sed -n '2,6s/^# \{0,1\}//p' "$0"; exit 0 ;;
    receive | config | language) names+=("$1"); shift ;;
    *) echo "fuzz.sh: unknown argument $1 (try --help)" >&2; exit 2 ;;
  esac
done
[[ ${#names[@]} -eq 0 ]] && names=(receive config language)
if ! [[ $minutes =~ ^[0-9]+$ && $minutes -gt 0 ]]; then
  echo "fuzz.sh: -t takes a whole number of minutes above 0" >&2
  exit 2
fi

build=build-fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
flags+=" -fno-omit-frame-pointer -O1 -g"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_COMPILER=clang++ \
  "-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null
ninja -C "$build" -j2 "${names[@]/%/_fuzzer}"

declare -A max_len=([receive]=4096 [config]=4096 [language]=8192)
found=0
summary=()
for name in "${names[@]}"; do
  work=$build/corpus/$name
  findings=$build/findings/$name
  log=$build/$name.log
  mkdir -p "$work" "$findings"
  # Findings of earlier runs stay for reading but are not counted again.
  touch "$build/$name.started"
  echo "== $name: $minutes min, log in $log"
  set +e
  UBSAN_OPTIONS=print_stacktrace=1 "$build/fuzz/${name}_fuzzer" "$work" "fuzz/corpus/$name" \
    -max_total_time=$((minutes * 60)) -max_len="${max_len[$name]}" -timeout=10 \
    -dict="fuzz/$name.dict" -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1
  status=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
  crashes=$(find "$findings" -type f -newer "$build/$name.started" | wc -l)
  [[ $status -ne 0 || $crashes -ne 0 ]] && found=1
  summary+=("$name: ${runs:-?} executions, ${rate:-?}/s, ${secs:-?} s, exit $status, $crashes finding(s)")
  grep -E '^(==[0-9]+==ERROR|SUMMARY|check failed|.*runtime error)' "$log" | head -n5 || true
done
printf '%s\n' "${summary[@]}"
exit $found
