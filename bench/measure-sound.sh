#!/usr/bin/env bash
# Resident memory of the real clock just before and a few seconds after its first sound file
# (an hourly chime at 14:00 under faketime, played into a null sink of a PulseAudio server
# started here). Usage: bench/measure-sound.sh [path/to/horolux]
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=${1:-build/src/horolux}
[ -x "$BIN" ] || { echo "build the program first (bash scripts/build.sh)"; exit 1; }

source bench/headless-session.sh sound
trap 'kill $clock $pulse 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT

# A sound server of our own, so nothing is heard and the machine's server is not used.
pulse_dir="$work/pulse"
mkdir -p "$pulse_dir"
export PULSE_SERVER="unix:$pulse_dir/native"
HOME="$pulse_dir" XDG_RUNTIME_DIR="$pulse_dir" XDG_CONFIG_HOME="$pulse_dir" \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --use-pid-file=false \
  --disable-shm=true --log-level=error -L "module-null-sink sink_name=null" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$pulse_dir/native" &
pulse=$!
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done

# Two seconds of 16-bit mono noise at 22050 Hz.
chime="$work/chime.wav"
{
  printf 'RIFF\xac\x58\x01\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00'
  printf '\x22\x56\x00\x00\x44\xac\x00\x00\x02\x00\x10\x00data\x88\x58\x01\x00'
  head -c 88200 /dev/urandom
} >"$chime"
mkdir -p "$XDG_CONFIG_HOME/horolux"
cat >"$XDG_CONFIG_HOME/horolux/settings.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings]
"Chime"=dword:00000002
"ChimeSound"="$chime"
REG

run=(faketime "2000-01-03 13:59:52" "$BIN")
[ "$(id -u)" = 0 ] && run=(setpriv --bounding-set=-sys_time --inh-caps=-sys_time "${run[@]}")
QT_LOGGING_RULES="horolux.sound.info=true" FAKETIME_DONT_FAKE_MONOTONIC=1 "${run[@]}" >"$work/clock.log" 2>&1 &
clock=$!
pid() { # the program under setpriv and faketime
    local p=$clock c
    for _ in 1 2 3; do
        c=$(cat /proc/$p/task/$p/children 2>/dev/null | awk '{print $1}')
        [ -n "$c" ] || break
        p=$c
    done
    echo "$p"
}
rss() { awk '/^VmRSS/{print $2}' "/proc/$(pid)/status"; }

sleep 6 # settled, a little before 14:00
before=$(rss)
sounds() { grep '^horolux.sound: ' "$work/clock.log" | cut -c16- || true; }
for _ in $(seq 100); do [ -n "$(sounds)" ] && break; sleep 0.1; done
played=no
for _ in $(seq 50); do pactl list short sink-inputs | grep -q . && played=yes && break; sleep 0.1; done
sleep 5 # the two seconds of sound and the server's latency
after=$(rss)
echo "sounds asked for: $(sounds | tr '\n' ' ')"
echo "stream reached the sound server: $played"
awk -v b="$before" -v a="$after" \
    'BEGIN { printf "horolux rss before the first sound file %.1f MiB (%d kB), after %.1f MiB (%d kB)\n", b/1024, b, a/1024, a }'
