#!/usr/bin/env bash
# The reminder verbs: median time from starting `horolux --remind` to its item being in the
# schedule file, over N runs (default 100), with a running clock and with none; the running
# clock's resident memory before and after 10,000 reminders sent through its socket (by
# bench/remind_flood.cpp, built as tests/e2e/remind_flood, 16 at a time); 200 `--remind` started
# at once with no clock (exit statuses, items in the file); and the clock's peak memory while 64
# callers ask for the listing of a 30,000-item schedule and never read it.
# Usage: bench/measure-remind.sh [runs] [build folder] [remind_flood]
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-100}
BUILD=${2:-build}
BIN=$BUILD/src/horolux
FLOOD=${3:-$BUILD/tests/e2e/remind_flood}
[ -x "$BIN" ] && [ -x "$FLOOD" ] || { echo "build horolux and remind_flood first"; exit 1; }
source bench/headless-session.sh remind
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
clock=
trap 'kill $clock 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
file="$XDG_DATA_HOME/horolux/horolux.dat"
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# Each run adds a reminder of its own and waits until the file holds it.
measure() {
    local times=() i t0 t1
    for i in $(seq "$RUNS"); do
        local text="bench $1 $i"
        t0=$(date +%s%N)
        env -u DISPLAY "$BIN" --remind "2031-01-01 10:00" "$text" >/dev/null
        until grep -qa "Reminder:$text"$'\r' "$file" 2>/dev/null; do sleep 0.001; done
        t1=$(date +%s%N)
        times+=("$(((t1 - t0) / 1000))")
    done
    echo "--remind to the file, $2: median $(median "${times[@]}") us over $RUNS runs"
}

measure none "no clock running"

# 200 at once with no clock: every one must be done, and the file must hold every one.
rm -f "$file"
statuses=$(for i in $(seq 200); do
    (env -u DISPLAY "$BIN" --remind "2031-02-01 10:00" "crowd $i" >/dev/null 2>&1; echo $?) &
done | sort | uniq -c | tr -s ' \n' ' ')
echo "200 --remind at once, no clock: exit statuses (count status):$statuses; items in the file: $(grep -c 'crowd' "$file")"

# The socket lives beside the lock: in the state folder, or in the runtime folder of older builds.
socket=
find_socket() {
    for s in "$HOME/.local/state/horolux/horolux.socket" "$XDG_RUNTIME_DIR/horolux.socket"; do
        [ -S "$s" ] && socket=$s && return 0
    done
    return 1
}
start_clock() {
    "$BIN" 2>/dev/null &
    clock=$!
    for _ in $(seq 100); do find_socket && break; sleep 0.1; done
    sleep 2
}

start_clock
measure running "clock running"

rss() { awk '/^VmRSS/{print $2}' /proc/$clock/status; }
before=$(rss)
"$FLOOD" "$socket" 10000 16
sleep 2
after=$(rss)
echo "clock's resident memory: $before KiB before 10,000 reminders, $after KiB after"
echo "schedule file: $(wc -l <"$file") lines, $(wc -c <"$file") bytes"
kill -TERM $clock; wait $clock || true

# 30,000 items of 900 characters each, then 64 callers that never read the listing.
awk 'BEGIN { t = sprintf("%900s", ""); gsub(/ /, "x", t);
             for (i = 0; i < 30000; i++) printf "%02d%02d4800000Reminder:%d %s\r\n", int(i / 60) % 24, i % 60, i, t }' >"$file"
start_clock
before=$(rss)
echo 5 >/proc/$clock/clear_refs # the peak from here on
"$FLOOD" "$socket" --unread-lists 64 10
peak=$(awk '/^VmHWM/{print $2}' /proc/$clock/status)
echo "64 unread listings of 30,000 items: resident $before KiB before, peak $peak KiB, $(rss) KiB after"
kill -TERM $clock; wait $clock || true
