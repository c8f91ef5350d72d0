#!/usr/bin/env bash
# Build Corvanta (optimised, no tests) and start it; the arguments go to the program.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source-path=SCRIPTDIR source=deps.sh
source "$root/scripts/deps.sh"

corvanta_ensure_packages build run

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTA_TESTS=OFF
cmake --build "$build" -j"$(nproc)"

# --help and --version need no display.
for arg in "$@"; do
    case "$arg" in
    -h | --help | -v | --version) exec "$build/src/corvanta" "$@" ;;
    esac
done

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    args=""
    if (($# > 0)); then
        args=" $(printf '%q ' "$@")"
        args="${args% }"
    fi
    cat >&2 <<EOF
Corvanta is built ($build/src/corvanta), but there is no display:
neither DISPLAY nor WAYLAND_DISPLAY is set.
To start it on a virtual X server, run either
  xvfb-run -a scripts/run.sh$args
or
  Xvfb :99 & DISPLAY=:99 scripts/run.sh$args
EOF
    exit 1
fi

# Not run from the repository root, so relative paths in the arguments keep their meaning.
exec "$build/src/corvanta" "$@"
