#!/bin/bash
# A listing's wall time with and without ,PARALLEL: listings of 10, 50 and
# 200 systems, each answering its call in 0.1 s and in 1 s (the simulator's
# delay), run once each (the times are dominated by the delays, not by
# noise). Also the parent's and a worker's peak memory and the cost of a
# worker's start. Native by default; BENCH_TARGET=win32 runs the Windows
# build under Wine. Prints a Markdown table.
#
#     bench/parallel.sh                     # needs build/native (cmake --preset native)
#     BENCH_SIZES="10 50" bench/parallel.sh
set -euo pipefail
cd "$(dirname "$0")/.."
target=${BENCH_TARGET:-native}
sizes=${BENCH_SIZES:-10 50 200}
work=$(mktemp -d /tmp/wickerby-bench-parallel-XXXXXX)
trap 'rm -rf "$work"' EXIT
if [ "$target" = win32 ]; then
    sensor=("$PWD/tests/wine/wine32" "$PWD/build/win32/bin/wickerby.exe")
else
    sensor=("$PWD/build/native/bin/wickerby")
fi

# Wall time in seconds and the largest resident set (KiB) of the run and
# its workers (GNU time waits for the parent, whose own usage includes the
# workers it waited for).
measure() {
    local directory=$1 parameters=$2
    (cd "$directory" && RFCSIM_SCENARIO="$directory/rfcsim.ini" WICKERBY_DRIVES="$work/drives" \
        /usr/bin/time -f "%e %M" -o "$work/time" "${sensor[@]}" GLOBAL BENCH "$parameters" >"$work/out")
    grep -q "Processed=" "$work/out" || { echo "run failed: $parameters" >&2; cat "$work/out" >&2; exit 1; }
    cat "$work/time"
}

mkdir -p "$work/drives"
echo "| systems | answer | sequential | ,PARALLEL (8) | ,PARALLEL=32 | peak RSS, 32 (KiB) |"
echo "|---:|---:|---:|---:|---:|---:|"
for size in $sizes; do
    for delay in 0.1 1; do
        directory="$work/listing-$size-$delay"
        python3 bench/make_listing.py examples/PRD.P00 "$directory" "$size" --delay "$delay"
        timeout=$(python3 -c "print(int($size * $delay + 60))")
        if python3 -c "import sys; sys.exit(0 if $size * $delay <= 60 else 1)"; then
            read -r sequential _ < <(measure "$directory" ",TIMEOUT=$timeout")
        else
            sequential="(not run: $(python3 -c "print(round($size * $delay))") s)"
        fi
        read -r eight _ < <(measure "$directory" ",TIMEOUT=$timeout,PARALLEL")
        read -r many memory < <(measure "$directory" ",TIMEOUT=$timeout,PARALLEL=32")
        echo "| $size | $delay s | $sequential | $eight | $many | $memory |"
    done
done

# A worker's start: 50 systems that answer at once, with and without workers.
directory="$work/listing-start"
python3 bench/make_listing.py examples/PRD.P00 "$directory" 50
read -r sequential _ < <(measure "$directory" ",TIMEOUT=120")
read -r one _ < <(measure "$directory" ",TIMEOUT=120,PARALLEL=2")
python3 -c "print('\nA worker\'s start, over 50 systems answering at once: %.1f ms (%.2f s sequential, %.2f s with 2 workers)' % ((($one) - ($sequential)) / 50 * 1000 * 2, $sequential, $one))"
