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
mkdir -p "$run/phone/store" "$run/work-en" "$run/work-ja"
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nN:Sato;Yui;;;\r\nFN:Yui Sato\r\nTEL;TYPE=WORK:+81-3-5555-0123\r\nEND:VCARD\r\n' \
  >"$run/phone/phonebook.vcf"

phone_pid=
com_link="$WINEPREFIX/dosdevices/com7"
cleanup() {
  [ -n "$phone_pid" ] && kill "$phone_pid" 2>/dev/null && wait "$phone_pid" 2>/dev/null
  rm -f "$com_link"
  wine reg delete 'HKLM\Hardware\DeviceMap\SerialComm' /v '\Device\ZELICOM' /f >/dev/null 2>&1 || true
}
trap cleanup EXIT

# Paced like a real line, so a large transfer lasts long enough to watch.
"$phonesim" --link "$run/phone/tty" --store "$run/phone/store" \
  --phonebook "$run/phone/phonebook.vcf" --log "$run/phone/log.jsonl" --rate 40000 \
  >"$run/phone/stdout" 2>"$run/phone/stderr" &
phone_pid=$!
for _ in $(seq 100); do [ -s "$run/phone/stdout" ] && break; sleep 0.05; done
if [ ! -s "$run/phone/stdout" ]; then
  echo "phonesim did not start:"; cat "$run/phone/stderr"; exit 1
fi
ln -sfn "$run/phone/tty" "$com_link"

# The first Wine process starts the server; keeping it keeps HKLM\Hardware.
wine reg delete 'HKLM\Hardware\DeviceMap\SerialComm' /v '\Device\ZELICOM' /f >/dev/null 2>&1 || true
wine_server_keep

status=0
echo "== English"
wine "$driver" "$app" "$run/work-en" "$run/phone" || status=1
echo "== Japanese"
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine "$driver" "$app" "$run/work-ja" "$run/phone" ja || status=1

for shot in "$run"/work-en/*.bmp "$run"/work-ja/*.bmp; do
  [ -f "$shot" ] && convert "$shot" "${shot%.bmp}.png" 2>/dev/null || true
done
echo "screenshots: $run/work-en, $run/work-ja"
exit $status
