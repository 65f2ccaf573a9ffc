#!/usr/bin/env bash
# Runs one fuzz target for a while: fuzz/run.sh TARGET [SECONDS] [BUILD_DIR]
# New inputs collect in BUILD_DIR/fuzz/work/TARGET; the kept seeds are only read. A finding is
# written there as crash-*, leak-* or timeout-*; fix it, then add it to fuzz/corpus/TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1
seconds=${2:-600}
build=${3:-build-asan}
work="$build/fuzz/work/$target"
mkdir -p "$work"
export LANG=C.UTF-8 LC_ALL=C.UTF-8
exec "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/" "$work" "fuzz/corpus/$target"
