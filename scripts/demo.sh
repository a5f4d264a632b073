#!/bin/bash
# Builds the native sensor and runs it on the bundled example against the
# RFC simulator, in a scratch copy of examples/ (runs leave SapRfc.ini and
# Dev_Rfc.Trc behind).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null
sensor=$PWD/build/native/bin/wickerby
tool=$PWD/build/native/bin/wickerby-profile
run=build/example-run
rm -rf "$run" && mkdir -p "$run" && cp -r examples/. "$run" && cd "$run"
# The simulator reads rfcsim.ini from the working directory; WICKERBY_DRIVES
# keeps the sensor from looking at the machine's own C:\PRTG_Path.Txt.
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
# The administrator's tool runs the sensor and tells each step: here a logon
# that SAP refuses, with the library's reason and advice.
echo "== wickerby-profile test SBX"
set +e; "$tool" test SBX; code=$?; set -e
echo "== exit code $code"
