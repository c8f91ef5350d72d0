#!/usr/bin/env bash
# Render the program's icon data/corvanta.svg into the PNG sizes the desktop's icon theme uses.
# The PNGs are committed; run this after changing the SVG.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source-path=SCRIPTDIR source=deps.sh
source "$root/scripts/deps.sh"

corvanta_ensure_packages hand

for size in 16 32 48 64 128 256; do
    folder="$root/data/icons/hicolor/${size}x${size}/apps"
    mkdir -p "$folder"
    rsvg-convert -w "$size" -h "$size" "$root/data/corvanta.svg" -o "$folder/org.example.corvanta.png"
done
echo "icons: rendered into $root/data/icons/hicolor"
