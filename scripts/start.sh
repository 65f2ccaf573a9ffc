#!/usr/bin/env bash
# Builds Horolux and starts the clock. Without a display it runs the clock under Xvfb
# (with its own temporary settings), saves a screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh start
bash scripts/build.sh --target horolux
BIN="$PWD/${BUILD_DIR:-build}/src/horolux"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${HOROLUX_HEADLESS:-}" ]; then
  exec "$BIN"
fi

work=$(mktemp -d /tmp/horolux-demo.XXXXXX)
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
# Its own runtime folder too: a clock already running for this user elsewhere would otherwise
# answer instead (one copy runs per user).
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# Xvfb picks a free display itself and writes its number once it accepts clients: a number
# picked here could be another server's, and the screenshot would then show that one.
Xvfb -displayfd 3 -screen 0 640x400x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ] || ! kill -0 "$xvfb" 2>/dev/null; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
display=":$(cat "$work/display")"
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$BIN" >"$work/horolux.log" 2>&1 &
clock=$!
sleep 3
DISPLAY="$display" import -window root -crop 220x120+0+120 "$work/horolux.png"
kill -TERM "$clock"
wait "$clock" && status=0 || status=$?
echo "Horolux ran headless under Xvfb (exit status $status after SIGTERM)."
echo "Screenshot of the clock: $work/horolux.png"
