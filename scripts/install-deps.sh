#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Alearo need,
# and any further packages named as arguments. With --package first, only what
# building the Debian package needs (scripts/package.sh): the program itself
# needs Qt and two header-only libraries.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail

# The program needs Qt (with Qt SQL's SQLite driver for the dice tray), and
# for its statistics the header-only Boost.Math and KISS FFT. CPack reads the
# program's shared libraries with file and dpkg-shlibdeps (from dpkg-dev,
# which build-essential brings).
packaging=(build-essential cmake ninja-build qt6-base-dev libqt6sql6-sqlite libboost-math-dev
    libkissfft-dev file)

if [ "${1:-}" = "--package" ]; then
    shift
    packages=("${packaging[@]}" "$@")
else
    packages=(
        "${packaging[@]}" pkg-config
        qt6-qpa-plugins libgl-dev
        libgtest-dev libgmock-dev libbenchmark-dev
        clang libclang-rt-14-dev clang-tidy clang-format
        fonts-dejavu-core
        poppler-utils desktop-file-utils appstream
        "$@"
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
