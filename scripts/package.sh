#!/usr/bin/env bash
# Build the optimised configuration (as run.sh does) and make the Debian package
# build/release/corvanta_VERSION_ARCH.deb from it; install it with apt install ./that-file.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source-path=SCRIPTDIR source=deps.sh
source "$root/scripts/deps.sh"

corvanta_ensure_packages build

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTA_TESTS=OFF
cmake --build "$build" -j"$(nproc)"

rm -f "$build"/corvanta_*.deb
(cd "$build" && cpack -G DEB)

deb="$(find "$build" -maxdepth 1 -name 'corvanta_*.deb' | head -n 1)"
echo
echo "Made $deb"
echo "Install it with:  sudo apt install ${deb/#"$PWD"\//./}"
