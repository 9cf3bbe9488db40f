#!/usr/bin/env bash
# Installs what is needed, then builds and runs the whole test suite twice:
# a normal build and one with AddressSanitizer and UndefinedBehaviorSanitizer.
# Last, a Clang build of the fuzzers runs each of them for a few seconds.
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

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DALEARO_SANITIZE=ON -DALEARO_BUILD_BENCHMARKS=OFF
CC=clang CXX=clang++ run_suite build-fuzz -DALEARO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
