#!/bin/bash
# Checks that clang-format (Debian's clang-format 14, as .clang-format is
# written for it) leaves every C and C++ file of the project as it is; with
# --fix it formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run --Werror "${files[@]}"
    echo "format: ${#files[@]} files as clang-format writes them"
fi
