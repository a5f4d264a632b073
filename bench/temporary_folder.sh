#!/bin/bash
# What a crowded temporary folder costs a configured-destination run (the
# run that makes a private folder and sweeps what killed runs left):
# `wickerby BIN` with an empty temporary folder against one holding 20,000
# entries of others, half of them named like the sensor's own folders
# (wickerby-<digits>-...), as any local user can make them in a shared
# temporary folder. hyperfine, no shell, 3 rounds of 200 runs alternating
# the two, after 30 warm-up runs each. Needs build/native.
#
#     bench/temporary_folder.sh
#     BENCH_ENTRIES=50000 bench/temporary_folder.sh
set -euo pipefail
cd "$(dirname "$0")/.."
entries=${BENCH_ENTRIES:-20000}
sensor="$PWD/build/native/bin/wickerby"
work=$(mktemp -d /tmp/wickerby-bench-tmp-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/work" "$work/drives" "$work/empty" "$work/crowded"
cp examples/BIN.P00 examples/SapRfc.BIN examples/rfcsim.ini "$work/work/"
python3 - "$work/crowded" "$entries" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    # Half like the sensor's folders, half anything else; files and folders.
    name = f"wickerby-{100000 + i}-notes" if i % 2 else f"other-{i}.tmp"
    path = os.path.join(folder, name)
    if i % 4 == 1:
        os.mkdir(path)
    else:
        open(path, "w").close()
PY
cd "$work/work"
"$sensor" BIN >/dev/null
export WICKERBY_DRIVES="$work/drives"
for round in 1 2 3; do
    hyperfine -N --style none --warmup 30 --runs 200 --export-json "$work/round$round.json" \
        -n empty "env TMPDIR=$work/empty $sensor BIN" \
        -n crowded "env TMPDIR=$work/crowded $sensor BIN" >/dev/null 2>&1
done
# Beside the sensor's own folder, every entry of the others is still there.
[ "$(ls "$work/crowded" | grep -cv '^wickerby-private-')" -eq "$entries" ] || { echo "entries of others were removed" >&2; exit 1; }
python3 - "$work" <<'PY'
import json, statistics, sys, glob
times = {}
for path in sorted(glob.glob(sys.argv[1] + "/round*.json")):
    for result in json.load(open(path))["results"]:
        times.setdefault(result["command"], []).extend(result["times"])
empty = statistics.median(times["empty"]) * 1000
crowded = statistics.median(times["crowded"]) * 1000
print("| temporary folder | median (ms) |")
print("|---|---:|")
print(f"| empty | {empty:.2f} |")
print(f"| {len(glob.glob(sys.argv[1] + '/crowded/[!w]*')) + len(glob.glob(sys.argv[1] + '/crowded/wickerby-1*'))} entries of others | {crowded:.2f} |")
print(f"\ncrowded / empty: {crowded / empty:.3f}")
PY
