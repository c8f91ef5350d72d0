#!/usr/bin/env bash
# Plays the model-based test with one random seed after another until the time is up; a failing
# seed prints itself (and how to replay it) and ends the run.
# Usage: tests/model/soak.sh [SECONDS (600)] [STEPS PER SEED (2000)]
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/../.."
seconds=${1:-600}
steps=${2:-2000}
binary=${CORVANTA_TEST_MODEL:-build/test/tests/test_model}
if [[ ! -x $binary ]]; then
    echo "no $binary: build the test configuration first (scripts/test.sh)" >&2
    exit 2
fi
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

output=$(mktemp)
trap 'rm -f "$output"' EXIT
end=$((SECONDS + seconds))
runs=0
while ((SECONDS < end)); do
    seed=$(((RANDOM << 15) | RANDOM))
    if ! CORVANTA_MODEL_SEED=$seed CORVANTA_MODEL_STEPS=$steps "$binary" >"$output" 2>&1; then
        cat "$output"
        echo "seed $seed failed after $runs passing seeds of $steps steps" >&2
        exit 1
    fi
    runs=$((runs + 1))
done
echo "$runs seeds of $steps steps each passed"
