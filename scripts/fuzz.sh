#!/bin/bash
# Builds the fuzz preset and runs every libFuzzer target for a bounded time
# (default 20 seconds each) on a scratch copy of its seed corpus under
# build/fuzz. Inputs kept in fuzz/crashes/ are run first as regression
# inputs. Exits non-zero when any target crashes or reports a sanitizer error.
#
#   bash scripts/fuzz.sh [SECONDS_PER_TARGET]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
case "$seconds" in
    '' | *[!0-9]*) echo "usage: $0 [SECONDS_PER_TARGET]" >&2; exit 2 ;;
esac

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz || exit 1

bin=build/fuzz/bin
scratch=build/fuzz/runs
rm -rf "$scratch"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()

for source in fuzz/*_fuzzer.cpp; do
    target=$(basename "$source" .cpp)
    name=${target%_fuzzer}
    work="$scratch/$name"
    mkdir -p "$work/corpus" "$work/artifacts"
    if [ -d "fuzz/corpus/$name" ]; then cp fuzz/corpus/"$name"/* "$work/corpus/"; fi

    for input in fuzz/crashes/"$name"-*; do
        [ -e "$input" ] || continue
        if ! "$bin/$target" "$input" >"$work/regression.log" 2>&1; then
            echo "FAIL $target: regression input $input"
            tail -n 30 "$work/regression.log"
            failed+=("$target (regression $input)")
        fi
    done

    "$bin/$target" "$work/corpus" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/" >"$work/fuzz.log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/fuzz.log")
    coverage=$(grep -o 'cov: [0-9]*' "$work/fuzz.log" | tail -n 1)
    if [ "$status" -ne 0 ]; then
        echo "FAIL $target (exit $status); log: $work/fuzz.log"
        grep -m 1 -A 25 -E '^==[0-9]+==ERROR|runtime error|fuzz property violated|ERROR: libFuzzer' "$work/fuzz.log"
        ls "$work"/artifacts/* 2>/dev/null
        failed+=("$target")
    else
        echo "ok   $target: ${runs:-?} runs, ${speed:-?} exec/s, ${coverage:-cov: ?}"
    fi
done

if [ "${#failed[@]}" -ne 0 ]; then
    echo "fuzzing found problems in: ${failed[*]}"
    exit 1
fi
echo "all fuzz targets ran ${seconds}s each without a finding"
