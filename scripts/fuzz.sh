#!/usr/bin/env bash
# Runs every libFuzzer target of the parsers for a bounded time, starting from the seeds in
# tests/fuzz/seeds (cases of the unit tables). The corpus grows in <build>/corpus; a crash
# leaves its input in <build>/crashes and makes this script fail.
#   scripts/fuzz.sh [build-dir] [seconds per target]     (make fuzz: build/fuzz 60)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
seconds=${2:-60}
failed=0
mkdir -p "$build/crashes"
for seeds in tests/fuzz/seeds/*/; do
    target=$(basename "$seeds")
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    cp -n "$seeds"* "$corpus"/
    log=$build/fuzz_$target.log
    start=$SECONDS
    "$build/tests/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/crashes/$target-" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    time=$((SECONDS - start))
    if [ $status -eq 0 ]; then
        echo "$target: ${runs:-?} executions in $time s, no crash ($(ls "$corpus" | wc -l) inputs in the corpus)"
    else
        echo "$target: FOUND A CRASH after ${runs:-?} executions; see $log and $build/crashes"
        failed=1
    fi
done
exit $failed
