#!/usr/bin/env bash
# The program found through PATH and started from a folder that looks like a portable install
# (it holds Project.List) keeps its data in its usual folder: the portable check looks beside
# the executable itself, not in the folder argv[0] seems to name. `--add` chooses the same folder.
#
#   data_folder_test.sh PROGRAM
set -euo pipefail

program="$1"
work="$(mktemp -d)"
pid=
cleanup()
{
    if [[ -n "$pid" ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/started-here" "$work/xdg" "$work/run"
printf 'Not Ours\r\n' >"$work/started-here/Project.List"
printf 'x' >"$work/Letter.odt"
cd "$work/started-here"

(PATH="$(dirname "$program"):$PATH" HOME="$work" XDG_DATA_HOME="$work/xdg" XDG_RUNTIME_DIR="$work/run" \
    exec -a corvanta "$(basename "$program")" --add "$work/Letter.odt") >"$work/add.log" 2>&1 || true
if [[ -e "$work/started-here/Project.Files" ]]; then
    echo "FAIL: --add wrote into the folder it was started from" >&2
    exit 1
fi
if ! grep -q "^Letter.odt	$work/Letter.odt" "$work/xdg/corvanta/Project.Files" 2>/dev/null; then
    echo "FAIL: --add did not add to \$XDG_DATA_HOME/corvanta:" >&2
    cat "$work/add.log" >&2
    exit 1
fi
PATH="$(dirname "$program"):$PATH" HOME="$work" XDG_DATA_HOME="$work/xdg" QT_QPA_PLATFORM=offscreen \
    exec -a corvanta "$(basename "$program")" >"$work/log" 2>&1 &
pid=$!

# The lock is taken before any window: it shows which folder the program chose.
for _ in $(seq 1 300); do
    if [[ -e "$work/xdg/corvanta/.corvanta.lock" || -e "$work/started-here/.corvanta.lock" ]]; then
        break
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "the program ended:" >&2
        cat "$work/log" >&2
        exit 1
    fi
    sleep 0.1
done

if [[ -e "$work/started-here/.corvanta.lock" ]]; then
    echo "FAIL: the program took the folder it was started from as its data folder" >&2
    exit 1
fi
if [[ ! -e "$work/xdg/corvanta/.corvanta.lock" ]]; then
    echo "FAIL: the program did not take \$XDG_DATA_HOME/corvanta" >&2
    exit 1
fi
if [[ "$(cat "$work/started-here/Project.List")" != $'Not Ours\r' ]]; then
    echo "FAIL: the other folder's Project.List changed" >&2
    exit 1
fi
echo "PASS: data folder $work/xdg/corvanta"
