#!/usr/bin/env bash
# Start-up to the first painted frame under Xvfb (median of N runs, default 10) and the
# resident memory once started. Usage: bench/measure-startup.sh [runs] [path/to/horolux]
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-10}
BIN=${2:-build/src/horolux}
[ -x "$BIN" ] || { echo "build the program first (bash scripts/build.sh)"; exit 1; }
work=$(mktemp -d /tmp/horolux-startup.XXXXXX)
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb HOROLUX_REPORT_FIRST_PAINT=1
times=(); rsses=()
for i in $(seq "$RUNS"); do
    t0=$(date +%s%3N)
    "$BIN" 2>"$work/err.$i" &
    pid=$!
    for _ in $(seq 200); do grep -q first-paint "$work/err.$i" && break; sleep 0.01; done
    t1=$(awk '/first-paint/{print $2; exit}' "$work/err.$i")
    sleep 2
    rsses+=("$(awk '/^VmRSS/{print $2}' /proc/$pid/status)")
    kill -TERM $pid; wait $pid || true
    times+=("$((t1 - t0))")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
echo "start-up to first paint (ms): ${times[*]}"
echo "median: $(median "${times[@]}") ms"
echo "resident memory after start-up: median $(( $(median "${rsses[@]}") / 1024 )) MiB (${rsses[*]} KiB)"
