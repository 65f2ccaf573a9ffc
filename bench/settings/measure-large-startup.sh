#!/usr/bin/env bash
# Start-up to the first painted frame with a settings file of 100,000 values (4.1 MB, close to
# the 4 MiB the program reads), against the same start-up with no settings file.
# Usage: bench/settings/measure-large-startup.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
RUNS=${1:-10}
MAKER=build/bench/settings/bench_settings
[ -x "$MAKER" ] || { echo "build bench_settings first (bash scripts/build.sh)"; exit 1; }
file=$(mktemp /tmp/horolux-large-settings.XXXXXX)
trap 'rm -f "$file"' EXIT
"$MAKER" --make-file "$file" 100000
echo "== no settings file"
bash bench/measure-startup.sh "$RUNS"
echo "== settings file of 100,000 values ($(stat -c %s "$file") bytes)"
HOROLUX_SETTINGS_FILE=$file bash bench/measure-startup.sh "$RUNS"
