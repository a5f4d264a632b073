#!/bin/bash
# Installs what building and testing Wickerby needs on Debian 12, as root:
# the native and MinGW-w64 toolchains, GoogleTest, Wine for the 32-bit
# Windows build, and the benchmark and fuzzing tools.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ python3 googletest libgtest-dev
          g++-mingw-w64-i686 wine wine32:i386 wine64 wine32-preloader:i386 qemu-user-static procps
          clang clang-format libclang-rt-14-dev hyperfine valgrind time zip)
missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
bash tests/wine/setup-wine32.sh
