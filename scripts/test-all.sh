#!/bin/bash
# Builds every preset and runs every test: the Windows builds under Wine
# (32-bit, and 64-bit under wine64), the sanitizer build, then the native
# build, whose CTest summary ends the output.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=(win32 win64 asan native)
for preset in "${presets[@]}"; do
    cmake --preset "$preset" -DWICKERBY_WERROR=ON >/dev/null
    cmake --build --preset "$preset"
done
if tests/wine/wine32 --runs-under-emulation; then
    echo "win32: Wine runs under emulation here (qemu-user); the checks of waits between threads are skipped" \
         "on this build and run on win64 (tests/README.md)"
fi
for preset in "${presets[@]}"; do
    ctest --preset "$preset" -j2
done
# Nothing the tests started may outlive them: no listing's worker and no
# crash debugger of Wine.
sleep 1
if left=$(pgrep -fa -- '<wickerby worker>|winedbg'); then
    echo "left running after the tests:"
    echo "$left"
    exit 1
fi
