#!/usr/bin/env bash
# Build the debug configuration with the sanitizers and warnings as errors, then run every test.
# The benchmarks are built so that they keep compiling; they are never run here.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
# shellcheck source-path=SCRIPTDIR source=deps.sh
source scripts/deps.sh

corvanta_ensure_packages build run

cmake -S . -B build/test \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCORVANTA_TESTS=ON \
    -DCORVANTA_SANITIZE=ON \
    -DCORVANTA_WERROR=ON \
    -DCORVANTA_BENCH=ON
cmake --build build/test -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Qt keeps some allocations until exit on purpose; LeakSanitizer would report them as leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

status=0
ctest --test-dir build/test --output-on-failure || status=$?
exit "$status"
