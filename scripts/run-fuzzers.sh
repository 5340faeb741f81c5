#!/bin/bash
# Runs every fuzz target of the "fuzz" preset's build for a fixed time each,
# starting from its seeds and kept crash inputs, and fails when any target
# finds a crash (the input is left in build/fuzz/artifacts/). What a target
# finds new is kept in build/fuzz/corpus/, so a later run goes on from it.
#
#   scripts/run-fuzzers.sh [SECONDS_EACH] [TARGET...]
#
# Build first: cmake --preset fuzz && cmake --build --preset fuzz
set -uo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
shift || true
build=build/fuzz
mkdir -p "$build/artifacts"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/fuzz/fuzz_*; do
    [ -x "$program" ] && targets+=("$(basename "$program" | sed 's/^fuzz_//')")
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets in $build/fuzz: build the fuzz preset first"
  exit 1
fi

status=0
for name in "${targets[@]}"; do
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds=(fuzz/corpus/"$name")
  [ -d "fuzz/crashes/$name" ] && seeds+=("fuzz/crashes/$name")
  log="$build/artifacts/$name.log"
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$name-" "$corpus" "${seeds[@]}" >"$log" 2>&1
  result=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $result -eq 0 ]; then
    echo "fuzz_$name: ${runs:-?} executions in ${seconds} s, no crash"
  else
    echo "fuzz_$name: FAILED (exit $result); the input is in $build/artifacts/, the report:"
    tail -n 60 "$log"
    status=1
  fi
done
exit $status
