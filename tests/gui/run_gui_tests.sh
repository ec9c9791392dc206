#!/usr/bin/env bash
# The GUI suite: phonesim on a pseudo-terminal that Wine sees as COM7, then
# the driver runs TarvoMgr.exe in English and in Japanese.
# Usage: run_gui_tests.sh TarvoMgr.exe gui_driver.exe PHONESIM RUNDIR
# Exits 77 (skipped) when PHONESIM has not been built.
set -euo pipefail

app=$1 driver=$2 phonesim=$3 run=$4
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

if [ ! -x "$phonesim" ]; then
  echo "SKIPPED: no phone simulator at $phonesim; build the native preset first" \
       "(or set TARVO_PHONESIM)"
  exit 77
fi

export WINEPREFIX=${WINEPREFIX:-$repo/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
source "$repo/scripts/lib/wine.sh"
wine_prefix_ready
wine_display_ready

rm -rf "$run"
mkdir -p "$run/phone/store" "$run/faulty/store" "$run/work-en" "$run/work-ja"
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nN:Sato;Yui;;;\r\nFN:Yui Sato\r\nTEL;TYPE=WORK:+81-3-5555-0123\r\nEND:VCARD\r\n' \
  >"$run/phone/phonebook.vcf"
# Long enough for the second block that the faulty phone cancels.
for i in $(seq 40); do cat "$run/phone/phonebook.vcf"; done >"$run/faulty/phonebook.vcf"

pids=()
links=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  for link in "${links[@]}"; do rm -f "$link"; done
  wine reg delete 'HKLM\Hardware\DeviceMap\SerialComm' /v '\Device\ZELICOM' /f >/dev/null 2>&1 || true
}
trap cleanup EXIT

# start_phone DIR COMn [fault options]: phonesim on a pty that Wine sees as COMn.
start_phone() {
  local dir=$1 com=$2
  shift 2
  # Paced like a real line, so a large transfer lasts long enough to watch.
  "$phonesim" --link "$dir/tty" --store "$dir/store" --phonebook "$dir/phonebook.vcf" \
    --log "$dir/log.jsonl" --rate 40000 "$@" >"$dir/stdout" 2>"$dir/stderr" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$dir/stdout" ] && break; sleep 0.05; done
  if [ ! -s "$dir/stdout" ]; then
    echo "phonesim did not start:"; cat "$dir/stderr"; exit 1
  fi
  links+=("$WINEPREFIX/dosdevices/$com")
  ln -sfn "$dir/tty" "$WINEPREFIX/dosdevices/$com"
}
start_phone "$run/phone" com7
start_phone "$run/faulty" com8 --cancel-at-block 2

# The first Wine process starts the server; keeping it keeps HKLM\Hardware.
wine reg delete 'HKLM\Hardware\DeviceMap\SerialComm' /v '\Device\ZELICOM' /f >/dev/null 2>&1 || true
wine_server_keep

status=0
echo "== English"
wine "$driver" "$app" "$run/work-en" "$run/phone" "$run/faulty" || status=1
echo "== Japanese"
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine "$driver" "$app" "$run/work-ja" "$run/phone" ja || status=1

for shot in "$run"/work-en/*.bmp "$run"/work-ja/*.bmp; do
  [ -f "$shot" ] && convert "$shot" "${shot%.bmp}.png" 2>/dev/null || true
done
echo "screenshots: $run/work-en, $run/work-ja"
exit $status
