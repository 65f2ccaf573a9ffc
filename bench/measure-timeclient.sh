#!/usr/bin/env bash
# One exchange with a Time Protocol server on 127.0.0.1 port 37 (xinetd's built-in service,
# started here): our client from the start of its connection to the correction report, and
# rdate -p doing the same as a whole program; medians of COUNT runs and their ratio.
# Needs root (port 37). Usage: bench/measure-timeclient.sh [COUNT] [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
COUNT=${1:-10}
BUILD=${2:-build}
BIN="$BUILD/bench/nettime/timeclient_exchange"
[ -x "$BIN" ] || { echo "build it first: bash scripts/build.sh --target timeclient_exchange"; exit 1; }
[ "$(id -u)" = 0 ] || { echo "needs root: the server listens on port 37"; exit 1; }

work=$(mktemp -d)
trap 'kill $xinetd 2>/dev/null || true; rm -rf "$work"' EXIT
cat >"$work/xinetd.conf" <<CONF
defaults
{
}
service time
{
    type = INTERNAL
    id = time-stream
    socket_type = stream
    protocol = tcp
    user = root
    wait = no
    bind = 127.0.0.1
    port = 37
    disable = no
}
CONF
xinetd -f "$work/xinetd.conf" -dontfork -pidfile "$work/xinetd.pid" &
xinetd=$!
for _ in $(seq 50); do rdate -p 127.0.0.1 >/dev/null 2>&1 && break; sleep 0.1; done

# Our client never sets the clock here; the program is run without the right to, all the same.
ours=$(setpriv --bounding-set=-sys_time --inh-caps=-sys_time "$BIN" "$COUNT" | awk '/^median/{print $2}')

theirs=()
for _ in $(seq "$COUNT"); do
    start=$(date +%s%N)
    rdate -p 127.0.0.1 >/dev/null
    end=$(date +%s%N)
    theirs+=($(((end - start) / 1000)))
done
rdate_median=$(printf '%s\n' "${theirs[@]}" | sort -n | awk '{a[NR]=$1} END{print a[int(NR/2)+1]}')

echo "time client, start of connection to report: median ${ours} us of $COUNT"
echo "rdate -p 127.0.0.1, whole program:          median ${rdate_median} us of $COUNT"
awk -v a="$ours" -v b="$rdate_median" 'BEGIN{printf "ratio (ours / rdate): %.2f\n", a / b}'
