#!/bin/bash
# Runs every fuzz target of the "native-asan" preset's build for a fixed time each,
# starting from its seeds and kept crash inputs, and fails when any target
# finds a crash (the input is left in build/native-asan/artifacts/). What a target
# finds new is kept in build/native-asan/corpus/, so a later run goes on from it.
#
#   scripts/run-fuzzers.sh [SECONDS_EACH] [TARGET...]
#
# Targets run side by side, as many at once as there are processors
# (FUZZ_JOBS sets another number).
#
# Build first: cmake --preset native-asan && cmake --build --preset native-asan
set -uo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
shift || true
build=build/native-asan
mkdir -p "$build/artifacts"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/fuzz/fuzz_*; do
    [ -x "$program" ] && targets+=("$(basename "$program" | sed 's/^fuzz_//')")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets in $build/fuzz: build the native-asan preset first"
  exit 1
fi

# One target: its run, then one line of result; the report follows a crash.
run_target() {
  local name=$1
  local corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  local seeds=(fuzz/corpus/"$name")
  [ -d "fuzz/crashes/$name" ] && seeds+=("fuzz/crashes/$name")
  local log="$build/artifacts/$name.log"
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$name-" "$corpus" "${seeds[@]}" >"$log" 2>&1
  local result=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $result -eq 0 ]; then
    echo "fuzz_$name: ${runs:-?} executions in ${seconds} s, no crash"
  else
    echo "fuzz_$name: FAILED (exit $result); the input is in $build/artifacts/, the report:"
    tail -n 60 "$log"
  fi
  return $result
}

jobs="${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}"
status=0
running=0
for name in "${targets[@]}"; do
  run_target "$name" > "$build/artifacts/$name.result" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
for name in "${targets[@]}"; do cat "$build/artifacts/$name.result"; done
exit $status
