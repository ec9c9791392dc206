#!/usr/bin/env bash
# tarvomgr's XMODEM against lrzsz: the backup receives from `sx` (128-byte and
# -k 1K blocks), the sends go to `rx` (CRC with -c, else the 8-bit sum).
# Usage: interop_test.sh TARVOMGR LRZSZ_PHONE
set -u

TARVOMGR=$1
ADAPTER=$2

command -v sx > /dev/null && command -v rx > /dev/null || { echo "lrzsz is not installed"; exit 1; }

work=$(mktemp -d)
phone_pid=
stop_phone() {
  if [ -n "$phone_pid" ]; then
    kill "$phone_pid" 2>/dev/null
    wait "$phone_pid" 2>/dev/null
    phone_pid=
  fi
}
trap 'stop_phone; rm -rf "$work"' EXIT

start_phone() {  # adapter options
  stop_phone
  rm -rf "$work/store" "$work/tty"
  mkdir -p "$work/store"
  "$ADAPTER" --link "$work/tty" --store "$work/store" "$@" > "$work/adapter.out" 2>&1 &
  phone_pid=$!
  for _ in $(seq 100); do
    grep -q tty "$work/adapter.out" 2>/dev/null && return
    sleep 0.05
  done
}

passed=0
failed=0
check() {  # NAME then a command that must succeed
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
    sed 's/^/    lrzsz: /' "$work/store/lrzsz.log" 2>/dev/null | tail -5
    grep -v 'host>  SOH' "$work/trace.txt" | head -14 | sed 's/^/    trace: /' 
  fi
}

backup_from_sx() {  # SIZE [SX-OPTION]
  head -c "$1" /dev/urandom > "$work/book.src"
  printf '\030' >> "$work/book.src"  # ends in CAN
  start_phone --phonebook "$work/book.src" ${2:+--sx-option "$2"}
  "$TARVOMGR" --port "$work/tty" --quiet --trace "$work/trace.txt" backup "$work/out.vcf" &&
    cmp "$work/book.src" "$work/out.vcf"
}

send_to_rx() {  # SIZE [RX-OPTION]
  head -c "$1" /dev/urandom > "$work/cfg.txt"
  printf '\032' >> "$work/cfg.txt"  # ends in SUB
  start_phone --phonebook "$work/cfg.txt" ${2:+--rx-option "$2"}
  "$TARVOMGR" --port "$work/tty" --quiet --trace "$work/trace.txt" config "$work/cfg.txt" &&
    cmp "$work/cfg.txt" "$work/store/mcascfg.txt"
}

check "receive 128-byte blocks from sx" backup_from_sx 3000
check "receive 128-byte blocks from sx, more than 255" backup_from_sx 40000
check "receive 1K blocks from sx -k" backup_from_sx 300000 -k
check "send to rx with CRC" send_to_rx 40000 -c
check "send to rx with the 8-bit sum" send_to_rx 3000

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
