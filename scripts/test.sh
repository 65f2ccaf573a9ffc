#!/usr/bin/env bash
# Installs the packages, builds everything and runs every test; then builds again with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang, with the fuzz targets) and runs the
# whole suite there too, each fuzz target briefly over its seeds included.
# SANITIZE=0 skips the second run. Both builds stop on any compiler warning.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh start test
HOROLUX_WERROR=ON bash scripts/build.sh
# The reminder walk takes minutes a seed: this run walks seed 1, the sanitizer run seed 17
# (ctest alone walks both).
(cd "${BUILD_DIR:-build}" && HOROLUX_REMINDER_WALK_SEED=1 ctest --output-on-failure -j2 --timeout 600)

if [ "${SANITIZE:-1}" = 0 ]; then exit 0; fi
asan_dir=${SANITIZE_BUILD_DIR:-build-asan}
cmake -S . -B "$asan_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DHOROLUX_FUZZ=ON -DHOROLUX_BUILD_BENCH=OFF -DHOROLUX_WERROR=ON >/dev/null
cmake --build "$asan_dir" -j"$(nproc)"
# faketime's library is preloaded in front of the sanitizer runtime; the suppressions name
# the libraries' own allocations that live as long as the process.
export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export HOROLUX_REMINDER_WALK_SEED=17
cd "$asan_dir"
ctest --output-on-failure -j2 --timeout 900
