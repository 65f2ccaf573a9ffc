#!/usr/bin/env bash
# Start-up to the first painted frame under Xvfb (median of N runs, default 10) and the
# resident memory once started. Usage: bench/measure-startup.sh [runs] [path/to/horolux]
# HOROLUX_SETTINGS_FILE=path starts every run with a copy of that settings file.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-10}
BIN=${2:-build/src/horolux}
[ -x "$BIN" ] || { echo "build the program first (bash scripts/build.sh)"; exit 1; }
source bench/headless-session.sh startup
trap 'kill $xvfb 2>/dev/null || true' EXIT
# The program logs its first paint as a line "first-paint MS" on standard error.
export QT_LOGGING_RULES="horolux.timing.info=true" QT_MESSAGE_PATTERN="%{message}"
times=(); rsses=()
for i in $(seq "$RUNS"); do
    if [ -n "${HOROLUX_SETTINGS_FILE:-}" ]; then
        mkdir -p "$XDG_CONFIG_HOME/horolux"
        cp "$HOROLUX_SETTINGS_FILE" "$XDG_CONFIG_HOME/horolux/settings.reg"
    fi
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
