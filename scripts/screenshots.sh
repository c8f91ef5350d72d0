#!/usr/bin/env bash
# Make the README's screenshots, docs/screenshot-main.png and docs/screenshot-search.png: the
# real program on a virtual X server over a small demo data folder, driven by keys as a user
# would. Run it after a change that shows in the window; the PNGs are committed.
#
#   scripts/screenshots.sh [PROGRAM]      (default: build/release/src/corvanta, built as run.sh does)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source-path=SCRIPTDIR source=deps.sh
source "$root/scripts/deps.sh"
corvanta_ensure_packages build run hand

program="${1:-}"
if [[ -z "$program" ]]; then
    build="$root/build/release"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTA_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" >/dev/null
    program="$build/src/corvanta"
fi

work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
cleanup()
{
    if [[ -n "$program_pid" ]]; then kill "$program_pid" 2>/dev/null || true; fi
    if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
for n in $(seq 90 120); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    sleep 1
    xdotool getmouselocation >/dev/null 2>&1 && break
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
done
[[ -n "$xvfb_pid" ]] || { echo "screenshots: no virtual display could be started" >&2; exit 1; }

# The demo: a home folder with a few documents and a data folder that points at them.
home="$work/home"
data="$work/data"
docs="$home/Documents"
mkdir -p "$docs/Taxes" "$docs/Lisbon" "$data/Projects/Taxes 2026" "$data/Projects/Trip to Lisbon"
for f in "Taxes/Receipts 2026.ods" "Taxes/Tax return 2026.pdf" "Taxes/Letter from the tax office.pdf" \
    "Lisbon/Lisbon flights.pdf" "Lisbon/Lisbon hotel booking.pdf" "Lisbon/Packing list.txt"; do
    echo "demo" >"$docs/$f"
done
crlf() { printf '%s\r\n' "$@"; }
crlf "[User]" "Name=Ann" "[Startup Window]" "Display Window=False" \
    "[Screen]" "Height=8400" "Width=14400" "Top=300" "Left=300" >"$data/Corvanta.Ini"
crlf "Garden" "Home office" "Taxes 2026" "Trip to Lisbon" >"$data/Project.List"
crlf "Receipts" "Tax return" "Letters" >"$data/Projects/Taxes 2026/Taxes 2026.List"
: >"$data/Projects/Taxes 2026/Taxes 2026.Files"
printf '%s\t%s\r\n' \
    "Tax return 2026 (PDF)" "$docs/Taxes/Tax return 2026.pdf" \
    "Receipts spreadsheet" "$docs/Taxes/Receipts 2026.ods" \
    "Tax office website" "http://www.example.org/tax" \
    "My accountant" "mailto:accountant@example.com" >"$data/Projects/Taxes 2026/Tax return.Files"
: >"$data/Projects/Taxes 2026/Receipts.Files"
: >"$data/Projects/Taxes 2026/Letters.Files"
crlf "Flights" "Hotel" >"$data/Projects/Trip to Lisbon/Trip to Lisbon.List"

wait_window()
{
    local title=$1 end=$((SECONDS + 60)) id
    while ((SECONDS < end)); do
        id="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | tail -n 1 || true)"
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.3
    done
    echo "screenshots: no window titled '$title'; the program said:" >&2
    cat "$work/program.log" >&2
    return 1
}
keys() { xdotool key --delay 150 "$@"; sleep 0.5; }

HOME="$home" "$program" --data-dir "$data" -style Fusion >"$work/program.log" 2>&1 &
program_pid=$!
main="$(wait_window 'Corvanta Software')"
xdotool windowfocus --sync "$main" 2>/dev/null || true
sleep 1

# Open "Taxes 2026", choose the topic "Tax return" and a pointer in it.
keys Down Down Return
keys Down Right Down
sleep 0.5
import -window "$main" "$root/docs/screenshot-main.png"

# Search for the trip's documents.
keys F9
search="$(wait_window 'Global File Search')"
sleep 0.5
# Look in the demo's home folder, the last place before "other folder" in the list, so that the
# picture shows only the demo's documents.
keys Tab alt+Down End Up Return shift+Tab
xdotool type --delay 60 "lisbon*"
keys Return
wait_window 'Files Found' >/dev/null
sleep 1
import -window "$search" "$root/docs/screenshot-search.png"
keys Escape
keys Escape
echo "screenshots: wrote docs/screenshot-main.png and docs/screenshot-search.png"
