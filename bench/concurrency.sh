#!/bin/bash
# Sensors at once in one working directory: 2, 4 and 8 processes, each
# running the sensor again and again (configured destinations, a direct
# system and failing calls in turn), for the native build and the Windows
# build under Wine. Prints, per build and count, the runs, the faults
# (spurious failures, lost trace findings, output that is not XML) and the
# findings that quote another system's failure. Usage:
#   bench/concurrency.sh [RUNS-PER-COUNT] [BUILD-DIR ...]
# RUNS-PER-COUNT (default 200) is spread over the processes; the build
# directories default to build/native and build/win32.
set -uo pipefail
cd "$(dirname "$0")/.."
total=${1:-200}
shift || true
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(build/native build/win32)

echo "| build | processes | runs | faults | another system's finding |"
echo "|---|---|---|---|---|"
for build in "${builds[@]}"; do
    target=native
    [ -e "$build/bin/wickerby.exe" ] && target=win32
    for workers in 2 4 8; do
        line=$(python3 tests/concurrency.py --target "$target" --bin "$build/bin" \
                   --workers "$workers" --runs $(( (total + workers - 1) / workers )) | tail -n 1)
        runs=$(sed -E 's/.* ([0-9]+) runs:.*/\1/' <<<"$line")
        faults=$(sed -E 's/.*runs: ([0-9]+) faults.*/\1/' <<<"$line")
        foreign=$(sed -E 's/.*faults, ([0-9]+) findings.*/\1/' <<<"$line")
        echo "| $build | $workers | $runs | $faults | $foreign |"
    done
done
