#!/bin/bash
# Installs what building and testing Wickerby needs on Debian 12, as root:
# the native and MinGW-w64 toolchains (32- and 64-bit), GoogleTest, Wine for
# both Windows builds, ccache, and the benchmark and fuzzing tools.
#
# A mirror in the middle of a sync can serve one package index that does not
# match its release file (seen: the security suite's i386 index). The update
# is tried again a few times; if an index still fails, the install goes on
# from what did come down, and if the amd64 and i386 versions then disagree,
# from the main suites alone. Only packages that cannot be installed at all
# make this script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ python3 googletest libgtest-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 wine32-preloader:i386
          qemu-user-static procps ccache clang clang-format libclang-rt-14-dev hyperfine valgrind time zip)
missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done

install_missing() {
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$@" "${missing[@]}"
}

# The sources of the main suites: every source but the security suites, in a
# list of its own with index files of its own, so the system's lists stay as
# they are.
main_suites_options() {
    local dir=/var/tmp/wickerby-apt-main
    rm -rf "$dir" && mkdir -p "$dir/lists/partial"
    {
        [ -f /etc/apt/sources.list ] && grep -v -e '-security' /etc/apt/sources.list | grep -E '^deb ' || true
    } >"$dir/sources.list"
    : >"$dir/main.sources"
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        # deb822 stanzas are separated by blank lines; drop the security suites' stanzas.
        awk 'BEGIN { RS = ""; ORS = "\n\n" } !/Suites:[^\n]*-security/' "$file" >>"$dir/main.sources"
    done
    mkdir -p "$dir/parts" && mv "$dir/main.sources" "$dir/parts/"
    echo "-o Dir::Etc::SourceList=$dir/sources.list -o Dir::Etc::SourceParts=$dir/parts -o Dir::State::Lists=$dir/lists"
}

if [ ${#missing[@]} -gt 0 ]; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    updated=no
    for pause in 10 30 0; do
        if apt-get update -q; then updated=yes; break; fi
        [ "$pause" -gt 0 ] && { echo "setup-debian: a package index failed; trying again in $pause s"; sleep "$pause"; }
    done
    if ! install_missing; then
        [ "$updated" = yes ] && exit 1
        # shellcheck disable=SC2046
        options=$(main_suites_options)
        # shellcheck disable=SC2086
        apt-get $options update -q
        echo "setup-debian: an index of the security suites could not be fetched; installing from the main suites alone"
        # shellcheck disable=SC2086
        install_missing $options
    fi
fi
bash tests/wine/setup-wine32.sh
