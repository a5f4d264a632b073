#!/bin/bash
# Builds the native sensor and runs it on the bundled example against the
# RFC simulator, in a scratch copy of examples/ (runs leave SapRfc.ini and
# Dev_Rfc.Trc behind).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null
bin=$PWD/build/native/bin
run=build/example-run
rm -rf "$run" && mkdir -p "$run" && cp -r examples/. "$run"
# The programs and the simulator lie beside the example's files, as in the
# folder the Windows instructions make: the simulator reads rfcsim.ini from
# the working directory, and a ,PARALLEL listing's workers, each in a folder
# of its own, find it beside the library.
cp "$bin/wickerby" "$bin/wickerby-profile" "$bin/librfc32.so" "$run"
cd "$run"
sensor=$PWD/wickerby
tool=$PWD/wickerby-profile
# WICKERBY_DRIVES keeps the sensor from looking at the machine's own
# C:\PRTG_Path.Txt.
export WICKERBY_DRIVES="$PWD/drives"
show() {
    echo "== wickerby $*"
    set +e; "$sensor" "$@"; code=$?; set -e
    echo "== exit code $code"
}
show PRD DIALOG
show PRD '#DIALOG'
show BIN
show GLOBAL DIALOGS
show GLOBAL DIALOGS ,PARALLEL
# The administrator's tool runs the sensor and tells each step: here a logon
# that SAP refuses, with the library's reason and advice.
echo "== wickerby-profile test SBX"
set +e; "$tool" test SBX; code=$?; set -e
echo "== exit code $code"
