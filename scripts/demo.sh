#!/bin/bash
# Builds the native sensor and runs it on the bundled example against the
# RFC simulator: once plainly, once in console report mode.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null
cd examples
export WICKERBY_DRIVES="$PWD/drives" RFCSIM_SCENARIO="$PWD/rfcsim.ini"
sensor=../build/native/bin/wickerby
echo "== wickerby PRD DIALOG"
"$sensor" PRD DIALOG; echo "(exit code $?)"
echo "== wickerby PRD '#DIALOG'  (console report mode)"
"$sensor" PRD '#DIALOG'; echo "(exit code $?)"
