#!/usr/bin/env bash
# Soak: the real clock under Xvfb with its clock running 60 times too fast, from Monday
# 3 January 2000 06:00 through HOURS simulated hours (default 49: two midnights, about 50 real
# minutes), with 1,000 schedule items of every kind. Every program item runs a logger that notes
# its item and the simulated time; the reminder pop-ups are closed as they come and counted.
# At the end it compares the firings and the schedule file with an independent model of the
# rules and the program's memory and descriptors with their values after the first hour.
# Usage: bench/soak.sh [HOURS] [path/to/horolux]      (not part of the test command)
#
# Time: faketime speeds up the monotonic clock too (FAKETIME_DONT_FAKE_MONOTONIC is not set).
# With the real monotonic clock Qt's one-second timer would tick once per simulated minute:
# a late tick would skip whole minutes, and the one-second pause after each fired item would
# last a simulated minute, so items would fire late for reasons no user ever meets. Faked, the
# program lives through every simulated second as it would through a real one, only faster.
# FAKETIME_DONT_RESET lets the programs it starts read the same simulated clock.
set -euo pipefail
cd "$(dirname "$0")/.."
HOURS=${1:-49}
BIN=$(realpath "${2:-build/src/horolux}")
[ -x "$BIN" ] || { echo "build the program first (bash scripts/build.sh --target horolux)"; exit 1; }
for tool in Xvfb faketime xdotool setpriv python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/install-deps.sh)"; exit 1; }
done

source bench/headless-session.sh soak
# Its own copy of the program and its sound player, so a rebuild meanwhile changes nothing.
mkdir -p "$work/bin"
cp "$BIN" "$(dirname "$BIN")/horolux-play" "$work/bin/"
BIN="$work/bin/horolux"
clock=""
cleanup() {
    [ -n "$clock" ] && kill "$clock" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export TZ=UTC LANG=C.UTF-8 XDG_RUNTIME_DIR="$work/run"
unset LC_ALL FAKETIME_DONT_FAKE_MONOTONIC WAYLAND_DISPLAY
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

# The schedule and what must become of it.
data="$XDG_DATA_HOME/horolux"
mkdir -p "$data" "$XDG_CONFIG_HOME/horolux"
cp bench/soak/logger.sh "$work/logger.sh"
python3 bench/soak/plan.py "$work" "$work/logger.sh" "$HOURS"
mv "$work/horolux.dat" "$data/horolux.dat"

# Reminders and the hourly chime play a sound file; the sound server named does not exist, so
# nothing is heard and the player's failure path runs every time.
python3 - "$work" <<'EOF'
import sys, wave
for name in ("alarm", "chime"):
    with wave.open("%s/%s.wav" % (sys.argv[1], name), "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(8000)
        w.writeframes(b"\0\0" * 800)
EOF
cat >"$XDG_CONFIG_HOME/horolux/settings.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]
"Alarm"=dword:00000002
"AlarmSound"="$work/alarm.wav"
"Chime"=dword:00000002
"ChimeSound"="$work/chime.wav"
EOF
# Every sound asked for is told in clock.log, which check.py reads.
export PULSE_SERVER="unix:$work/no-sound-server" QT_LOGGING_RULES="horolux.sound.info=true"

# Without the right to set the clock, as every real run of it here.
echo "soak: $HOURS simulated hours from Mon 3 Jan 2000 06:00, about $((HOURS + 1)) real minutes"
FAKETIME_DONT_RESET=1 setpriv --bounding-set=-sys_time --inh-caps=-sys_time \
    faketime -f '@2000-01-03 06:00:00 x60' "$BIN" >"$work/clock.log" 2>&1 &
clock=$!
pid=""
for _ in $(seq 100); do
    pid=$(pgrep -P "$clock" -x horolux || true)
    [ -n "$pid" ] && break
    sleep 0.05
done
[ -n "$pid" ] || { echo "the clock did not start"; cat "$work/clock.log"; exit 1; }

python3 bench/soak/watch.py "$work" "$pid" "$work/expected.json"
wait "$clock" && status=0 || status=$?
clock=""
echo "clock exit status: $status"
[ "$status" = 0 ] || { tail -20 "$work/clock.log"; }
python3 bench/soak/check.py "$work" "$data/horolux.dat" && result=0 || result=$?
echo "soak files: $work"
exit $result
