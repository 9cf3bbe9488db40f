#!/usr/bin/env bash
# Installs what is needed, then checks that every source file is as
# clang-format writes it, builds and runs the whole test suite twice (a
# normal build, whose sources then pass clang-tidy, and one with
# AddressSanitizer and UndefinedBehaviorSanitizer), and in between makes the
# Debian package in a Release build without tests and checks its contents.
# Last, a Clang build of the fuzzers runs each of them for a fixed time. The
# tests run with twice as many jobs as there are cores, so that none relies
# on running alone.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" --parallel "$jobs"
    ctest --test-dir "$dir" --output-on-failure --parallel "$((2 * jobs))"
}

git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

# Benchmarks are off by default; building them here keeps them compiling.
run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DALEARO_BUILD_BENCHMARKS=ON
run-clang-tidy -quiet -p build -j "$jobs" \
    "$(pwd)/(engine|settings|output|stats|dice|files|input|cli|ui|tests|bench)/"
deb=$(scripts/package.sh)
tests/package/check_package_contents.sh "$deb"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DALEARO_SANITIZE=ON
CC=clang CXX=clang++ run_suite build-fuzz -DALEARO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
