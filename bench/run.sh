#!/bin/bash
# Benchmarks of the native sensor against the RFC simulator: a single-system
# run, through librfc32 and through sapnwrfc, each against a C reference
# program that does the same job through the same library, and a static floor
# program that only prints, listing runs of 1 to 10,000 systems, and
# instruction counts under callgrind. Builds its own Release build in
# build/bench and works only below build/bench/work. Prints the results and
# keeps them in build/bench/results.md. These are measurements, not tests:
# nothing here fails on a time.
#
#   bench/run.sh              all sizes (about 3-5 minutes on 2 cores)
#   BENCH_SIZES="1 10 100" bench/run.sh
#   BENCH_LISTINGS=no bench/run.sh   the single-system run only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/bench
work=$build/work
bin=$build/bin
results=$build/results.md
sizes=${BENCH_SIZES:-1 10 100 1000 10000}
listings=${BENCH_LISTINGS:-yes}
started=$SECONDS

for tool in cmake ninja cc hyperfine valgrind callgrind_annotate python3; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench: /usr/bin/time is missing (apt-get install time)" >&2; exit 1; }

step() { echo "bench: $* ($((SECONDS - started)) s)" >&2; }

step "building the Release sensor, the reference and the floor"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWICKERBY_TESTS=OFF >/dev/null
cmake --build "$build" >/dev/null
# A second build for comparison only: the C++ runtime linked dynamically into
# the sensor and the simulator, to show what loading it costs a run.
static=$build/dynamic-runtime
cmake -S . -B "$static" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWICKERBY_TESTS=OFF \
    -DWICKERBY_STATIC_RUNTIME=OFF >/dev/null
cmake --build "$static" >/dev/null
# The reference links the simulator's librfc32.so as the sensor does: beside
# it in bin/, found through RUNPATH $ORIGIN, loaded by the dynamic loader.
cc -O2 -Wall -Wextra -Werror -I src/rfc -I src/platform bench/reference.c bench/reference_run.c -o "$bin/reference" \
    -L "$bin" -lrfc32 -Wl,-rpath,'$ORIGIN'
# The sensor through sapnwrfc: a copy of bin/ with the sensor and only the
# NetWeaver library and its companion beside it, no librfc32, as a machine
# that has only sapnwrfc; the sensor finds it there without an option. The
# reference through sapnwrfc links it the same way from the same folder.
nwbin=$build/nwrfc-bin
rm -rf "$nwbin"
mkdir -p "$nwbin"
cp "$bin/wickerby" "$bin/libsapnwrfc.so" "$bin/libsapnwrfc_companion.so" "$nwbin/"
cc -O2 -Wall -Wextra -Werror -I src/rfc -I src/platform bench/reference_nwrfc.c bench/reference_run.c \
    -o "$nwbin/reference_nwrfc" -L "$nwbin" -lsapnwrfc -Wl,-rpath,'$ORIGIN'
cc -O2 -static -Wall -Wextra -Werror bench/floor.c -o "$build/floor"
# The same program linked dynamically: what loading only the C library costs.
cc -O2 -Wall -Wextra -Werror bench/floor.c -o "$build/floor-dynamic"

rm -rf "$work"
mkdir -p "$work"
# An empty drives folder: the sensor must not find the machine's C:\PRTG_Path.Txt.
export WICKERBY_DRIVES=$work/drives
mkdir -p "$WICKERBY_DRIVES"
unset RFCSIM_SCENARIO RFCSIM_LOG RFC_INI

# --- helpers -----------------------------------------------------------------

# The median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# All run times (seconds) of command INDEX in the hyperfine exports given.
times_of() {
    python3 -c 'import json, sys
for name in sys.argv[2:]:
    for time in json.load(open(name))["results"][int(sys.argv[1])]["times"]:
        print(time)' "$@"
}

ms() { awk -v s="$1" 'BEGIN { printf "%.3f", s * 1000 }'; }
us() { awk -v s="$1" 'BEGIN { printf "%.1f", s * 1000000 }'; }

# Total instructions of a callgrind output file.
total_ir() { awk '/^(summary|totals):/ && !found { print $2; found = 1 }' "$1"; }

# An exported operation of either RFC library in callgrind_annotate's lines
# (given to awk through its environment, which keeps the backslashes).
operation=':(Rfc|It)[A-Za-z]+ \[[^]]*(librfc32|libsapnwrfc)\.so\]$'

# The instructions spent inside the RFC library (the simulator): the inclusive
# cost of its exported operations, which never call one another.
library_ir() {
    callgrind_annotate --inclusive=yes --threshold=100 "$1" 2>/dev/null |
        operation=$operation awk '$0 ~ ENVIRON["operation"] { gsub(",", "", $1); sum += $1 }
             END { printf "%.0f\n", sum }'
}

# Peak resident memory (KB), the median of five runs of the sensor here.
peak_kb() {
    for _ in 1 2 3 4 5; do
        /usr/bin/time -f %M -o "$work/time.txt" "$bin/wickerby" "$@" >/dev/null
        cat "$work/time.txt"
    done | median
}

# The instructions of the program's own work, after dynamic loading.
program_ir() {
    callgrind_annotate --inclusive=yes --threshold=100 "$1" 2>/dev/null |
        awk '$0 ~ /:run_sensor\(/ && !found { gsub(",", "", $1); print $1; found = 1 }'
}

# Where a run's instructions go, from its callgrind output file: "loading
# library-constructors static-initialisation library own exit total". Loading
# is the dynamic loader's start (mapping, relocation, symbol lookup), the
# library constructors run before the program's start, static initialisation
# is the program's own constructors (everything __libc_start_main does besides
# calling main), library the RFC library's operations, exit the exit handlers
# (destructors, flushing standard output); own is the rest: the program's code
# with the C library functions it calls and their lazy binding.
ir_parts() {
    callgrind_annotate --inclusive=yes --threshold=100 "$1" 2>/dev/null |
        operation=$operation awk -v total="$(total_ir "$1")" '
        function ir(line) { split(line, field, " "); gsub(",", "", field[1]); return field[1] + 0 }
        /:_dl_start \[/ && !loading { loading = ir($0) }
        /:_dl_init \[/ && !init { init = ir($0) }
        /:__libc_start_main[@ ][^[]*\[/ && !start { start = ir($0) }
        /libc_start_call_main\.h:\(below main\) \[/ && !callmain { callmain = ir($0) }
        /exit\.c:exit \[/ && !leaving { leaving = ir($0) }
        $0 ~ ENVIRON["operation"] { library += ir($0) }
        END {
            statics = start - callmain
            printf "%d %d %d %d %d %d %d\n", loading, init, statics, library,
                total - loading - init - statics - library - leaving, leaving, total
        }'
}

callgrind_run() {
    local out=$1; shift
    valgrind --tool=callgrind --callgrind-out-file="$out" "$@" >/dev/null 2>"$out.log"
}

# --- 1. single-system run against the references and the floor ---------------

step "single-system run: hyperfine"
single=$work/single
mkdir -p "$single"
cp examples/PRD.P00 examples/rfcsim.ini "$single/"
cd "$single"
"$bin/wickerby" PRD DIALOG >"$work/sensor.out"
"$static/bin/wickerby" PRD DIALOG >"$work/static.out"
"$build/floor" >"$work/floor.out"
"$bin/reference" PRD DIALOG >"$work/reference.out"
RFCSIM_LOG=$work/nwrfc-sensor.log "$nwbin/wickerby" PRD DIALOG >"$work/nwrfc-sensor.out"
RFCSIM_LOG=$work/nwrfc-reference.log "$nwbin/reference_nwrfc" PRD DIALOG >"$work/nwrfc-reference.out"
sensor_bytes=$(wc -c <"$work/sensor.out")
floor_bytes=$(wc -c <"$work/floor.out")
if [ "$sensor_bytes" != "$floor_bytes" ] || ! grep -q '(PRD) Sys-Queue\[DIA\]' "$work/sensor.out" ||
    ! cmp -s "$work/sensor.out" "$work/static.out"; then
    echo "bench: the sensor printed $sensor_bytes bytes, the floor $floor_bytes; they must print the same document" >&2
    exit 1
fi
if ! cmp -s "$work/sensor.out" "$work/reference.out"; then
    echo "bench: the reference's document differs from the sensor's:" >&2
    diff "$work/sensor.out" "$work/reference.out" >&2 || true
    exit 1
fi
for name in nwrfc-sensor nwrfc-reference; do
    if ! cmp -s "$work/sensor.out" "$work/$name.out"; then
        echo "bench: the document of $name (through sapnwrfc) differs from the sensor's through librfc32:" >&2
        diff "$work/sensor.out" "$work/$name.out" >&2 || true
        exit 1
    fi
done
# The simulator's call log shows which library answered: sapnwrfc's face logs
# RfcOpenConnection, the classic face RfcOpen.
if ! grep -q '^RfcOpenConnection' "$work/nwrfc-sensor.log" || grep -q '^RfcOpen ' "$work/nwrfc-sensor.log"; then
    echo "bench: the sensor beside only sapnwrfc did not call it; its call log:" >&2
    cat "$work/nwrfc-sensor.log" >&2
    exit 1
fi
if ! cmp -s "$work/nwrfc-sensor.log" "$work/nwrfc-reference.log"; then
    echo "bench: the reference through sapnwrfc calls the library otherwise than the sensor:" >&2
    diff "$work/nwrfc-sensor.log" "$work/nwrfc-reference.log" >&2 || true
    exit 1
fi
# Rounds that alternate the programs, so that a change of the machine's load
# during the measurement falls on all of them.
rounds=5
single_runs=250
for round in $(seq $rounds); do
    hyperfine -N --style none --warmup 40 --runs $single_runs --export-json "$work/single-$round.json" \
        "$bin/wickerby PRD DIALOG" "$static/bin/wickerby PRD DIALOG" "$build/floor-dynamic" "$build/floor" \
        "$bin/reference PRD DIALOG" "$nwbin/wickerby PRD DIALOG" "$nwbin/reference_nwrfc PRD DIALOG" \
        >/dev/null 2>>"$work/hyperfine.log"
done
sensor_median=$(times_of 0 "$work"/single-*.json | median)
static_median=$(times_of 1 "$work"/single-*.json | median)
dynamic_median=$(times_of 2 "$work"/single-*.json | median)
floor_median=$(times_of 3 "$work"/single-*.json | median)
reference_median=$(times_of 4 "$work"/single-*.json | median)
nw_median=$(times_of 5 "$work"/single-*.json | median)
nw_reference_median=$(times_of 6 "$work"/single-*.json | median)
# The ratio of a median to the floor's (or to the second argument).
ratio_to_floor() { awk -v a="$1" -v b="${2:-$floor_median}" 'BEGIN { printf "%.2f", a / b }'; }
round_ratios=$(for round in $(seq $rounds); do
    ratio_to_floor "$(times_of 0 "$work/single-$round.json" | median)" \
        "$(times_of 3 "$work/single-$round.json" | median)"
    echo
done | paste -sd' ')
# The ratio of program A to program B per round: "A B".
round_ratios_of() {
    for round in $(seq $rounds); do
        ratio_to_floor "$(times_of "$1" "$work/single-$round.json" | median)" \
            "$(times_of "$2" "$work/single-$round.json" | median)"
        echo
    done | paste -sd' '
}
reference_ratios=$(round_ratios_of 0 4)
nw_reference_ratios=$(round_ratios_of 5 6)

step "single-system run: callgrind"
single_ir=()
for run in 1 2 3; do
    callgrind_run "$work/single-$run.cg" "$bin/wickerby" PRD DIALOG
    single_ir+=("$(total_ir "$work/single-$run.cg")")
done
single_program_ir=$(program_ir "$work/single-1.cg")
single_library_ir=$(library_ir "$work/single-1.cg")
callgrind_run "$work/static.cg" "$static/bin/wickerby" PRD DIALOG
static_ir=$(total_ir "$work/static.cg")
callgrind_run "$work/floor-dynamic.cg" "$build/floor-dynamic"
dynamic_ir=$(total_ir "$work/floor-dynamic.cg")
callgrind_run "$work/floor.cg" "$build/floor"
floor_ir=$(total_ir "$work/floor.cg")
reference_ir=()
for run in 1 2 3; do
    callgrind_run "$work/reference-$run.cg" "$bin/reference" PRD DIALOG
    reference_ir+=("$(total_ir "$work/reference-$run.cg")")
done
nw_ir=()
nw_reference_ir=()
for run in 1 2 3; do
    callgrind_run "$work/nwrfc-single-$run.cg" "$nwbin/wickerby" PRD DIALOG
    nw_ir+=("$(total_ir "$work/nwrfc-single-$run.cg")")
    callgrind_run "$work/nwrfc-reference-$run.cg" "$nwbin/reference_nwrfc" PRD DIALOG
    nw_reference_ir+=("$(total_ir "$work/nwrfc-reference-$run.cg")")
done
nw_program_ir=$(program_ir "$work/nwrfc-single-1.cg")
nw_library_ir=$(library_ir "$work/nwrfc-single-1.cg")
read -r -a sensor_parts <<<"$(ir_parts "$work/single-1.cg")"
read -r -a reference_parts <<<"$(ir_parts "$work/reference-1.cg")"
read -r -a nw_parts <<<"$(ir_parts "$work/nwrfc-single-1.cg")"
read -r -a nw_reference_parts <<<"$(ir_parts "$work/nwrfc-reference-1.cg")"
# The programs' inclusive costs by function, each with the functions it
# calls, for reading where the difference lies.
for name in single-1 reference-1 nwrfc-single-1 nwrfc-reference-1; do
    callgrind_annotate --inclusive=yes --tree=calling --threshold=100 "$work/$name.cg" \
        >"$work/$name-calls.txt" 2>/dev/null
done
cd "$root"

# --- 2. listing runs ---------------------------------------------------------

# Runs per size: about the same time for each.
runs_for() { case $1 in 1 | 10) echo 200 ;; 100) echo 100 ;; 1000) echo 30 ;; *) echo 10 ;; esac; }

declare -A wall peak ir lib
[ "$listings" = no ] && sizes=""
for kind in many one; do
    for n in $sizes; do
        dir=$work/listing-$kind-$n
        step "listing run, $n systems ($kind)"
        python3 bench/make_listing.py examples/PRD.P00 "$dir" "$n" $([ $kind = one ] && echo --one-system)
        cd "$dir"
        "$bin/wickerby" GLOBAL BENCH >"$work/listing.out"
        if ! grep -q "NoSystems=$n, Processed=$n, Failed=0" "$work/listing.out"; then
            echo "bench: the listing run over $n systems did not process them all:" >&2
            grep '<Text>' "$work/listing.out" >&2
            exit 1
        fi
        runs=$(runs_for "$n")
        hyperfine -N --style none --warmup $((runs / 10 + 1)) --runs "$runs" \
            --export-json "$work/listing-$kind-$n.json" "$bin/wickerby GLOBAL BENCH" >/dev/null 2>>"$work/hyperfine.log"
        wall[$kind-$n]=$(times_of 0 "$work/listing-$kind-$n.json" | median)
        peak[$kind-$n]=$(peak_kb GLOBAL BENCH)
        callgrind_run "$work/listing-$kind-$n.cg" "$bin/wickerby" GLOBAL BENCH
        ir[$kind-$n]=$(total_ir "$work/listing-$kind-$n.cg")
        lib[$kind-$n]=$(library_ir "$work/listing-$kind-$n.cg")
        cd "$root"
    done
done

# --- results -----------------------------------------------------------------

first=${sizes%% *}
{
    echo "## Single-system run (\`wickerby PRD DIALOG\`, $sensor_bytes bytes of output)"
    echo
    # The ratio of two numbers.
    ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
    # name, median, Ir, and the median and Ir of the reference through the same library
    row() {
        echo "| $1 | $(ms "$2") ms | $(ratio "$2" "${4:-$reference_median}") | $(ratio "$2" "$floor_median") | $3 | $(ratio "$3" "${5:-${reference_ir[0]}}") |"
    }
    nw_row() { row "$1" "$2" "$3" "$nw_reference_median" "${nw_reference_ir[0]}"; }
    echo "| | median wall time | ratio to its library's reference | ratio to the floor | instructions (Ir) | Ir ratio to its library's reference |"
    echo "|---|---:|---:|---:|---:|---:|"
    row "sensor, Release build, through librfc32" "$sensor_median" "${single_ir[0]}"
    row "sensor, C++ runtime linked dynamically (comparison)" "$static_median" "$static_ir"
    row "reference (C, the same job through librfc32)" "$reference_median" "${reference_ir[0]}"
    nw_row "sensor, Release build, through sapnwrfc (only sapnwrfc beside it)" "$nw_median" "${nw_ir[0]}"
    nw_row "reference through sapnwrfc (C, the same job)" "$nw_reference_median" "${nw_reference_ir[0]}"
    row "the floor linked dynamically (comparison)" "$dynamic_median" "$dynamic_ir"
    row "floor (static C, the same document)" "$floor_median" "$floor_ir"
    echo
    echo "Goals: sensor / reference at most 1.1 in wall time and 1.15 in instructions;"
    echo "sensor / floor at most 1.3. Medians over $rounds alternating rounds of $single_runs runs each;"
    echo "the Release build's ratio to the reference per round: $reference_ratios;"
    echo "to the floor: $round_ratios; through sapnwrfc, to its reference: $nw_reference_ratios."
    echo "Ir of three callgrind runs of the Release build: ${single_ir[*]}; of the reference:"
    echo "${reference_ir[*]}. Of the sensor's, after dynamic loading (\`run_sensor\`): $single_program_ir,"
    echo "of which in the simulator: $single_library_ir."
    echo "Through sapnwrfc, Ir of three runs of the sensor: ${nw_ir[*]}; of its reference: ${nw_reference_ir[*]}."
    echo "Of the sensor's, after dynamic loading: $nw_program_ir, of which in the simulator: $nw_library_ir."
    echo
    echo "Where the instructions go (callgrind, inclusive):"
    echo
    echo "| part | sensor (Ir) | reference (Ir) | sensor - reference | sensor, sapnwrfc (Ir) | reference, sapnwrfc (Ir) | sensor - reference, sapnwrfc |"
    echo "|---|---:|---:|---:|---:|---:|---:|"
    names=("dynamic loading and relocation (\`_dl_start\`)" "library constructors (\`_dl_init\`)"
        "the program's static initialisation" "RFC library operations (\`Rfc*\`, \`It*\`)"
        "the program's own work, with the C library it calls" "exit handlers (\`exit\`)" "total")
    for i in "${!names[@]}"; do
        echo "| ${names[$i]} | ${sensor_parts[$i]} | ${reference_parts[$i]} | $((sensor_parts[i] - reference_parts[i])) |" \
            "${nw_parts[$i]} | ${nw_reference_parts[$i]} | $((nw_parts[i] - nw_reference_parts[i])) |"
    done
    for kind in many one; do
        [ -n "$sizes" ] || break
        echo
        if [ $kind = many ]; then
            echo "## Listing run (\`wickerby GLOBAL BENCH\`), one simulated system per profile"
        else
            echo "## Listing run, every profile naming the same simulated system"
        fi
        echo
        echo "| systems | median wall | wall/system | added wall/system | peak memory | added memory/system | sensor Ir/system | added sensor Ir/system | simulator Ir/system |"
        echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
        for n in $sizes; do
            k=$kind-$n
            awk -v n="$n" -v first="$first" -v w="${wall[$k]}" -v w1="${wall[$kind-$first]}" \
                -v m="${peak[$k]}" -v m1="${peak[$kind-$first]}" -v i="${ir[$k]}" -v l="${lib[$k]}" \
                -v i1="${ir[$kind-$first]}" -v l1="${lib[$kind-$first]}" 'BEGIN {
                added = n > first ? sprintf("%.1f us", (w - w1) / (n - first) * 1e6) : "-"
                grown = n > first ? sprintf("%.0f B", (m - m1) * 1024 / (n - first)) : "-"
                own = n > first ? sprintf("%.0f", ((i - l) - (i1 - l1)) / (n - first)) : "-"
                printf "| %d | %.1f ms | %.1f us | %s | %d KB | %s | %.0f | %s | %.0f |\n",
                       n, w * 1000, w / n * 1e6, added, m, grown, (i - l) / n, own, l / n
            }'
        done
    done
    if [ -n "$sizes" ]; then
        echo
        echo "\"added\" columns: the growth over the $first-system run, divided by the systems added."
        echo "Sensor Ir: all instructions of the process except those inside the RFC library's operations."
    fi
    echo
    echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo),"
    echo "$(awk '/^MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo) memory, load average $(cut -d' ' -f1-3 /proc/loadavg)."
} | tee "$results"
step "done, results in ${results#"$root"/}"
