#!/bin/bash
# Builds every preset and runs every test: the Windows build under Wine, the
# sanitizer build, then the native build, whose CTest summary ends the output.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in win32 asan native; do
    cmake --preset "$preset" -DWICKERBY_WERROR=ON >/dev/null
    cmake --build --preset "$preset"
done
ctest --preset win32
ctest --preset asan
ctest --preset native
