#!/usr/bin/env bash
# Builds the Debian package the way Debian builds one, and prints its path: in a build folder
# of its own (build-deb/; PACKAGE_BUILD_DIR overrides), so nothing it installs while packaging
# lands in build/; without tests and benchmarks; with the compiler and linker flags of
# dpkg-buildflags, all hardening included (DEB_BUILD_MAINT_OPTIONS adds to or overrides it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh start
dir=${PACKAGE_BUILD_DIR:-build-deb}
export DEB_BUILD_MAINT_OPTIONS="hardening=+all ${DEB_BUILD_MAINT_OPTIONS:-}"
eval "$(dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS (fortify is one): they go before the compiler's flags, as debhelper
# puts them. Build type None: the flags are dpkg-buildflags' alone. Given on every run, since
# CMake reads CXXFLAGS and LDFLAGS only into a new cache.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" \
  -DHOROLUX_BUILD_TESTS=OFF -DHOROLUX_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)"
rm -f "$dir"/horolux_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$PWD/$dir"/horolux_*.deb
