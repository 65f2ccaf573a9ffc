# What the tests, benchmarks and the sanitizer build need on top of start.sh: the packages
# scripts/test.sh installs as well.
# Sourced by scripts/install-deps.sh.
packages+=(
  libbenchmark-dev
  libsm-dev libice-dev     # a session manager of the tests' own
  clang libclang-rt-14-dev
  xauth x11-utils xdotool xdg-utils faketime strace openbox trayer
  pulseaudio pulseaudio-utils sound-theme-freedesktop
  dbus-daemon at-spi2-core
  dunst                   # a real notification server, to look at reminders' actions
  desktop-file-utils appstream lintian
  weston xwayland qt6-wayland
  fonts-liberation
  xinetd rdate            # a time server we did not write, and a client to compare with
)
