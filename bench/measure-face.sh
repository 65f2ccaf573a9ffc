#!/usr/bin/env bash
# Measures the real clock under Xvfb for a while (60 s by default) beside conky configured to
# show the same things once a second (time, disk, processor, memory and paging figures with
# bars), and prints each one's average processor use, context switches per second and
# resident memory, with the ratios. Usage: bench/measure-face.sh [seconds] [path/to/horolux]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_RUN=${1:-60}
BIN=${2:-build/src/horolux}
[ -x "$BIN" ] || { echo "build the program first (bash scripts/build.sh)"; exit 1; }
command -v conky >/dev/null || { SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo; $SUDO apt-get install -y -qq conky-std >/dev/null; }

source bench/headless-session.sh measure
trap 'kill $xvfb 2>/dev/null || true; kill $clock $conky 2>/dev/null || true' EXIT

cat >"$work/conky.conf" <<'CONF'
conky.config = {
    out_to_x = true, own_window = true, own_window_type = 'normal',
    update_interval = 1, double_buffer = true, background = false,
    minimum_width = 180, maximum_width = 180, use_xft = false,
    default_color = 'cyan', own_window_colour = 'black',
}
conky.text = [[
${time %H:%M} ${time %A %d %B %Y}
DSK ${fs_used_perc /}% ${fs_bar 6,60 /}
CPU ${cpu}% ${cpubar 6,60}
MEM ${memperc}% ${membar 6,60}
PF ${swapperc}% ${swapbar 6,60}
]]
CONF

"$BIN" >"$work/clock.log" 2>&1 &
clock=$!
conky -q -c "$work/conky.conf" >"$work/conky.log" 2>&1 &
conky=$!
sleep 3 # both settle after start-up

snapshot() { # pid -> "cpu-nanoseconds ctxsw", summed over all threads
    local ns=0 sw=0 t
    for t in /proc/$1/task/*; do
        ns=$((ns + $(awk '{print $1}' "$t/schedstat")))
        sw=$((sw + $(awk '/^voluntary_ctxt_switches/{v=$2} /^nonvoluntary_ctxt_switches/{n=$2} END{print v+n}' "$t/status")))
    done
    echo "$ns $sw"
}
rss() { awk '/^VmRSS/{print $2}' "/proc/$1/status"; }

read -r c0 x0 < <(snapshot $clock); read -r k0 y0 < <(snapshot $conky)
sleep "$SECONDS_TO_RUN"
read -r c1 x1 < <(snapshot $clock); read -r k1 y1 < <(snapshot $conky)
report() { # name ns ctx rss
    awk -v n="$1" -v t="$2" -v c="$3" -v r="$4" -v s="$SECONDS_TO_RUN" \
        'BEGIN { printf "%-8s cpu %.4f%%  ctxsw/s %.2f  rss %.1f MiB\n", n, 100*t/1e9/s, c/s, r/1024 }'
}
cr=$(rss $clock); kr=$(rss $conky)
report horolux $((c1 - c0)) $((x1 - x0)) "$cr"
report conky $((k1 - k0)) $((y1 - y0)) "$kr"
awk -v a=$((c1 - c0)) -v b=$((k1 - k0)) -v x=$((x1 - x0)) -v y=$((y1 - y0)) -v r="$cr" -v q="$kr" \
    'BEGIN { printf "ratio horolux/conky: cpu %s  ctxsw %.2f  rss %.2f\n", (b > 0 ? sprintf("%.2f", a/b) : "n/a"), (y > 0 ? x/y : 0), r/q }'
