#!/usr/bin/env bash
# The program started on data folders damaged by hand, by a crash or by another program: FIFOs in
# place of its own files, and locks that are empty, garbage or left by a copy that ended. Each time
# it takes the folder (the lock names it), never waits on a FIFO, and leaves the FIFOs alone.
#
#   damaged_data_test.sh PROGRAM
set -euo pipefail

program="$1"
work="$(mktemp -d)"
pid=
stop_program()
{
    if [[ -n "$pid" ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        pid=
    fi
}
cleanup()
{
    stop_program
    rm -rf "$work"
}
trap cleanup EXIT

fail()
{
    echo "FAIL ($case): $*" >&2
    cat "$work/log" >&2 || true
    exit 1
}

# Where a thread waits when it opens or reads a FIFO that no one writes.
fifo_waits='^(wait_for_partner|pipe_read|pipe_write|fifo_open)$'

run_case()
{
    case="$1"
    local data="$work/$case"
    mkdir -p "$data/Projects"
    "setup_$case" "$data"
    HOME="$work" XDG_DATA_HOME="$work/xdg" QT_QPA_PLATFORM=offscreen \
        "$program" --data-dir "$data" >"$work/log" 2>&1 &
    pid=$!

    # The lock is taken first: once it is a regular file naming this copy, the folder is ours.
    local taken=
    for _ in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || fail "the program ended"
        if [[ -f "$data/.corvanta.lock" && ! -p "$data/.corvanta.lock" ]] \
            && [[ "$(head -n 1 "$data/.corvanta.lock" 2>/dev/null)" == "$pid" ]]; then
            taken=1
            break
        fi
        sleep 0.1
    done
    [[ -n "$taken" ]] || fail "the lock was not taken over"

    # Then the lists are read; give it time to reach them, then look where every thread waits.
    sleep 3
    kill -0 "$pid" 2>/dev/null || fail "the program ended"
    local wchan
    for wchan_file in /proc/"$pid"/task/*/wchan; do
        wchan="$(cat "$wchan_file" 2>/dev/null || true)"
        if [[ "$wchan" =~ $fifo_waits ]]; then
            fail "a thread waits on a FIFO ($wchan)"
        fi
    done
    for name in "${fifos[@]}"; do
        [[ -p "$data/$name" ]] || fail "$name is no longer a FIFO"
    done
    stop_program
    echo "PASS: $case"
}

fifos=(Corvanta.Ini Project.List Project.Topics Project.Files Paste.Lst)
setup_fifos()
{
    for name in "${fifos[@]}"; do
        mkfifo "$1/$name"
    done
    mkfifo "$1/.corvanta.lock"
}
setup_empty_lock() { : >"$1/.corvanta.lock"; }
setup_garbage_lock() { head -c 300 /dev/urandom >"$1/.corvanta.lock"; }
setup_dead_lock()
{
    # A process id above the system's limit is never a running copy.
    printf '%s\nCorvanta\n%s\n%s\n' "$(($(cat /proc/sys/kernel/pid_max) + 1))" "$(uname -n)" \
        "$(cat /proc/sys/kernel/random/boot_id)" >"$1/.corvanta.lock"
}

run_case fifos
fifos=()
for damaged in empty_lock garbage_lock dead_lock; do
    run_case "$damaged"
done
