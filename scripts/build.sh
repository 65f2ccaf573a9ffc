#!/usr/bin/env bash
# Configures and builds into build/ (BUILD_DIR overrides; HOROLUX_SANITIZE=ON adds ASan/UBSan;
# HOROLUX_WERROR=ON stops on any compiler warning).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DHOROLUX_SANITIZE=${HOROLUX_SANITIZE:-OFF} -DHOROLUX_WERROR=${HOROLUX_WERROR:-OFF} >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)" "$@"
