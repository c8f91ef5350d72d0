#!/usr/bin/env bash
# Fuzzes every target for SECONDS each (default 60) with libFuzzer, one after the other, in a
# clang build of its own (build/fuzz). Each run starts from the committed corpus; what it finds
# that adds coverage is merged back into tests/fuzz/corpus/<target>. A crash stops the script
# with the failing input under build/fuzz/artifacts/.
#
#   tests/fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/../.."
# shellcheck source-path=SCRIPTDIR source=../../scripts/deps.sh
source scripts/deps.sh
corvanta_ensure_packages build fuzz

seconds="${1:-60}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(list_file settings paste_list desktop_entry mimeapps mount_table)
fi

build=build/fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCORVANTA_FUZZ=ON -DCORVANTA_SANITIZE=ON -DCORVANTA_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
    corpus=tests/fuzz/corpus/$target
    work=$build/corpus/$target
    mkdir -p "$corpus" "$work"
    echo "== $target: ${seconds}s"
    "$build/tests/fuzz/fuzz_$target" "$work" "$corpus" -max_total_time="$seconds" \
        -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1
    # Keep what adds coverage, and no more.
    "$build/tests/fuzz/fuzz_$target" -merge=1 "$corpus" "$work" 2>&1 | tail -n 1
done
