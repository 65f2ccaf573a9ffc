#!/usr/bin/env bash
# Runs the clock and the floor (a bare Qt window of the same size whose one-second timer shows
# the time, bench/floor) side by side on one Xvfb display for a while, and prints for each its
# processor use, wake-ups a second per thread (voluntary context switches: each is a sleep that
# ended) and in all, resident and anonymous memory, then the clock's figures as ratios of the
# floor's. Usage: bench/measure-idle.sh [seconds] [runs] [build folder]; HOROLUX_BIN measures
# another build of the clock beside the same floor.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_RUN=${1:-60}
RUNS=${2:-1}
BUILD=${3:-build}
BIN=${HOROLUX_BIN:-$BUILD/src/horolux}
FLOOR=$BUILD/bench/floor/horolux-floor
for f in "$BIN" "$FLOOR"; do
    [ -x "$f" ] || { echo "build $f first (bash scripts/build.sh)"; exit 1; }
done

source bench/headless-session.sh idle
trap 'kill $clock $floor 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export XDG_RUNTIME_DIR="$work/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# One line a thread: "name cpu-ns wakeups"; the name is the thread's own, numbered when taken.
threads() {
    local t
    for t in /proc/$1/task/*; do
        printf '%s %s %s\n' "$(tr ' ' '_' <"$t/comm")" "$(awk '{print $1}' "$t/schedstat")" \
            "$(awk '/^voluntary_ctxt_switches/{print $2}' "$t/status")"
    done | awk '{ n[$1]++; name = n[$1] > 1 ? $1 "#" n[$1] : $1; print name, $2, $3 }' | sort
}
memory() { awk '/^VmRSS/{r=$2} /^RssAnon/{a=$2} END{print r, a}' "/proc/$1/status"; }

# Prints one process's figures; its totals go to the named file for the ratios.
report() { # label before after rss anon totals-file
    join -a 2 -e 0 -o 0,1.2,1.3,2.2,2.3 "$2" "$3" | awk -v l="$1" -v s="$SECONDS_TO_RUN" \
        -v r="$4" -v a="$5" -v out="$6" '
        { ns += $4 - $2; w += $5 - $3; lines[NR] = sprintf("    %-18s %6.2f wake-ups/s", $1, ($5 - $3) / s) }
        END {
            printf "%-8s cpu %.4f%%  wake-ups/s %.2f  rss %.1f MiB  anon %.1f MiB\n", l, 100 * ns / 1e9 / s, w / s, r / 1024, a / 1024
            for (i = 1; i <= NR; i++) print lines[i]
            print ns, w, r, a > out
        }'
}

for run in $(seq "$RUNS"); do
    "$BIN" >"$work/clock.log" 2>&1 &
    clock=$!
    "$FLOOR" >"$work/floor.log" 2>&1 &
    floor=$!
    sleep 5 # both settle after start-up
    threads $clock >"$work/c0"; threads $floor >"$work/f0"
    sleep "$SECONDS_TO_RUN"
    threads $clock >"$work/c1"; threads $floor >"$work/f1"
    read -r cr ca < <(memory $clock); read -r fr fa < <(memory $floor)
    echo "run $run of $RUNS, $SECONDS_TO_RUN s:"
    report horolux "$work/c0" "$work/c1" "$cr" "$ca" "$work/ct"
    report floor "$work/f0" "$work/f1" "$fr" "$fa" "$work/ft"
    read -r cns cw crss canon <"$work/ct"; read -r fns fw frss fanon <"$work/ft"
    awk -v a="$cns" -v b="$fns" -v x="$cw" -v y="$fw" -v r="$crss" -v q="$frss" -v m="$canon" -v n="$fanon" \
        'BEGIN { printf "ratio horolux/floor: cpu %s  wake-ups %.2f  rss %.2f  anon %+.1f MiB (%.2f)\n",
                 (b > 0 ? sprintf("%.2f", a / b) : "n/a"), (y > 0 ? x / y : 0), r / q, (m - n) / 1024, m / n }'
    kill $clock $floor 2>/dev/null || true
    wait $clock $floor 2>/dev/null || true
done
