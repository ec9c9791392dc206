#!/usr/bin/env bash
# Takes the flat-look screenshots under docs/: the gallery dialog with the
# flat look (an edit focused, the default button hot) and without it.
# Usage: tests/flatlook/screenshots.sh BUILD_DIR   (e.g. build/flat-win32)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?usage: screenshots.sh BUILD_DIR}" && pwd)
gallery=$build/tests/flatlook/flatlook_gallery.exe
export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
source "$repo/scripts/lib/wine.sh"
wine_prefix_ready
wine_display_ready

shoot() {  # shoot OUTPUT MODE [gallery options...]
  local out=$1 mode=$2; shift 2
  local ready; ready=$(mktemp -u)
  wine "$gallery" "$mode" --ready "$(winepath -w "$ready")" --seconds 30 "$@" &
  local pid=$!
  for _ in $(seq 300); do [ -s "$ready" ] && break; sleep 0.1; done
  [ -s "$ready" ] || { echo "gallery did not come up" >&2; wait "$pid"; exit 1; }
  read -r x y w h < "$ready"
  import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
  rm -f "$ready"  # the gallery ends, restoring the system colours
  wait "$pid"
  echo "wrote $out"
}

# 120: the edit field; 101: the default push button (see gallery.h).
shoot "$repo/docs/flatlook-on.png" flat --focus 120 --hover 101
shoot "$repo/docs/flatlook-off.png" plain --focus 120 --hover 101
