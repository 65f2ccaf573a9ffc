# What building Horolux and running it need, headless under Xvfb with a screenshot included:
# the packages scripts/start.sh installs. Test tools belong in test.sh.
# Sourced by scripts/install-deps.sh.
packages+=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libx11-dev libgl-dev libpulse-dev libsndfile1-dev
  qt6-l10n-tools          # lrelease, which compiles the translations (and lupdate)
  qt6-translations-l10n   # Qt's own texts (standard buttons, file dialogs) in German and French
  netbase                 # /etc/services, where the time lookup finds its port
  xvfb imagemagick        # the headless display, and the screenshot taken of it
  fonts-dejavu-core       # a font for the date line and the menus
)
