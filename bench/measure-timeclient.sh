#!/usr/bin/env bash
# One exchange with a Time Protocol server on 127.0.0.1 port 37 (xinetd's built-in service,
# started here), timed the same way for our client and for rdate -p: from the connect call
# (the SYN) to the close of that socket (the client's FIN), as strace -ttt sees them. Medians
# of COUNT exchanges each, and their ratio.
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

# Only connect, close and the end of the process stop the program, so both run alike.
trace() { strace -f -ttt --seccomp-bpf -e trace=connect,close,exit_group -o "$@"; }

# Microseconds from each connect to port 37 to the close of its socket (or the process's end,
# which closes it), one a line.
exchanges() {
    awk '
        { t = $2 }
        /connect\(/ && /htons\(37\)/ { match($0, /connect\([0-9]+/); fd = substr($0, RSTART + 8, RLENGTH - 8); start[$1 " " fd] = t; next }
        /close\(/ { match($0, /close\([0-9]+/); k = $1 " " substr($0, RSTART + 6, RLENGTH - 6)
                    if (k in start) { printf "%d\n", (t - start[k]) * 1e6; delete start[k] } next }
        /exit_group\(/ { for (k in start) if (index(k, $1 " ") == 1) { printf "%d\n", (t - start[k]) * 1e6; delete start[k] } }
    ' "$1"
}
median() { sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }

# Our client never sets the clock here; the program is run without the right to, all the same.
trace "$work/ours" setpriv --bounding-set=-sys_time --inh-caps=-sys_time "$BIN" "$COUNT" >/dev/null
for i in $(seq "$COUNT"); do
    trace "$work/theirs.$i" rdate -p 127.0.0.1 >/dev/null
done
ours_n=$(exchanges "$work/ours" | wc -l)
theirs_n=$(for i in $(seq "$COUNT"); do exchanges "$work/theirs.$i"; done | wc -l)
ours=$(exchanges "$work/ours" | median)
theirs=$(for i in $(seq "$COUNT"); do exchanges "$work/theirs.$i"; done | median)

echo "time client, connect to close on the wire: median ${ours} us of $ours_n"
echo "rdate -p 127.0.0.1, connect to close:      median ${theirs} us of $theirs_n"
awk -v a="$ours" -v b="$theirs" 'BEGIN{printf "ratio (ours / rdate): %.2f\n", a / b}'
