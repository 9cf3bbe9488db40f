#!/usr/bin/env bash
# Installs what is needed, then builds and runs the whole test suite twice:
# a normal build and one with AddressSanitizer and UndefinedBehaviorSanitizer.
# In between, a Release build without tests makes the Debian package, whose
# contents are checked. Last, a Clang build of the fuzzers runs each of them
# for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" --parallel "$jobs"
    ctest --test-dir "$dir" --output-on-failure --parallel "$jobs"
}

# Benchmarks are off by default; building them here keeps them compiling.
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DALEARO_BUILD_BENCHMARKS=ON
deb=$(scripts/package.sh)
tests/package/check_package_contents.sh "$deb"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DALEARO_SANITIZE=ON
CC=clang CXX=clang++ run_suite build-fuzz -DALEARO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
