#!/usr/bin/env bash
# The reminder verbs: median time from starting `horolux --remind` to its item being in the
# schedule file, over N runs (default 100), with a running clock and with none; and the
# running clock's resident memory before and after 10,000 reminders sent through its socket
# (by bench/remind_flood.cpp, built as tests/e2e/remind_flood, 16 at a time).
# Usage: bench/measure-remind.sh [runs] [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-100}
BUILD=${2:-build}
BIN=$BUILD/src/horolux
FLOOD=$BUILD/tests/e2e/remind_flood
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

"$BIN" 2>/dev/null &
clock=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/horolux.socket" ] && break; sleep 0.1; done
sleep 2
measure running "clock running"

rss() { awk '/^VmRSS/{print $2}' /proc/$clock/status; }
before=$(rss)
"$FLOOD" "$XDG_RUNTIME_DIR/horolux.socket" 10000 16
sleep 2
after=$(rss)
echo "clock's resident memory: $before KiB before 10,000 reminders, $after KiB after"
echo "schedule file: $(wc -l <"$file") lines, $(wc -c <"$file") bytes"
kill -TERM $clock; wait $clock || true
