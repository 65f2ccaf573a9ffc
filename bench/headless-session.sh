# Sourced by the measuring scripts: a private HOME and XDG folders under $work, and an Xvfb
# display of its own (stopped by the caller's EXIT trap through $xvfb).
work=$(mktemp -d "/tmp/horolux-$1.XXXXXX")
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
