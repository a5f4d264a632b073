#!/bin/bash
# Makes the release package with both Windows builds: wickerby.exe (32-bit)
# and wickerby64.exe (64-bit) in EXEXML/, their tools in tools/, the RFC
# simulator of each width in examples/simulator/ and examples/simulator64/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target wickerby wickerby-profile rfc32 sapnwrfc sapnwrfc_companion
cmake --preset win32 -DWICKERBY_WIN64_BIN="$PWD/build/win64/bin" >/dev/null
cmake --build --preset win32
(cd build/win32 && cpack)
