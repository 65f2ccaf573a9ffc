#!/usr/bin/env bash
# Installs the packages Horolux needs on Debian 12, from the lists in scripts/deps/ named as
# arguments: start (building and running), test (the tests' tools); none names both.
set -euo pipefail
cd "$(dirname "$0")/deps"
lists=("$@")
if [ ${#lists[@]} -eq 0 ]; then lists=(start test); fi
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
packages=()
for list in "${lists[@]}"; do
  source "./$list.sh"
done
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
