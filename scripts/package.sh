#!/usr/bin/env bash
# Builds the Debian package of Alearo in build-package/ and prints the path of
# the .deb, the only line on standard output. On a fresh Debian 12, as root,
# this one command is enough: it first installs what the build needs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-package

{
    scripts/install-deps.sh --package
    # Debian's hardening flags, as its own packages are built with; CMake
    # takes them from the environment when it first configures the build.
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
    export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
    rm -rf "$build"
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
        -DBUILD_TESTING=OFF -DALEARO_BUILD_BENCHMARKS=OFF
    cmake --build "$build" --parallel "$(nproc)"
    (cd "$build" && cpack -G DEB)
} >&2

ls "$PWD/$build"/alearo_*.deb
