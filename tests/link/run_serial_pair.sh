#!/usr/bin/env bash
# Joins two Wine COM ports back to back through a pty pair and runs the
# Windows serial-port tests on them.
# Usage: run_serial_pair.sh TEST_EXE
set -euo pipefail

exe=$1
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
source "$repo/scripts/lib/wine.sh"
wine_prefix_ready

dir=$(mktemp -d)
socat pty,raw,echo=0,link="$dir/a" pty,raw,echo=0,link="$dir/b" &
socat_pid=$!
cleanup() {
  kill "$socat_pid" 2>/dev/null || true
  rm -f "$WINEPREFIX/dosdevices/com41" "$WINEPREFIX/dosdevices/com42"
  rm -rf "$dir"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "$dir/b" ] && break; sleep 0.1; done

ln -sfn "$(readlink -f "$dir/a")" "$WINEPREFIX/dosdevices/com41"
ln -sfn "$(readlink -f "$dir/b")" "$WINEPREFIX/dosdevices/com42"
TARVO_TEST_PORT=COM41 TARVO_TEST_PEER=COM42 WINEDEBUG=-all \
  "$repo/scripts/wine-run" "$exe" --gtest_brief=1
