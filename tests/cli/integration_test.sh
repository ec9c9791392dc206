#!/usr/bin/env bash
# tarvomgr against phonesim over real pseudo-terminals: every operation end to
# end, both languages, the JSON events, and each fault the simulator injects.
# Usage: integration_test.sh TARVOMGR PHONESIM [CASE...]
set -u

TARVOMGR=$1
PHONESIM=$2
shift 2

work=$(mktemp -d)
sim_pid=
cleanup() {
  stop_phone
  rm -rf "$work"
}
trap cleanup EXIT

# ---- helpers ----

case_failed=0
fail() {
  echo "    $*"
  case_failed=1
}

start_phone() {
  stop_phone
  rm -rf "$work/store" "$work/tty"
  mkdir -p "$work/store"
  : > "$work/log.jsonl"
  "$PHONESIM" --link "$work/tty" --store "$work/store" --log "$work/log.jsonl" "$@" \
    > "$work/sim.out" 2> "$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 100); do
    grep -q tty "$work/sim.out" 2>/dev/null && return 0
    sleep 0.05
  done
  fail "phonesim did not start: $(cat "$work/sim.err")"
}

stop_phone() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_pid=
  fi
}

# Runs tarvomgr on the simulated phone; sets $status, output in $work/out and $work/err.
run() {
  "$TARVOMGR" --port "$work/tty" "$@" > "$work/out" 2> "$work/err" < /dev/null
  status=$?
}

expect_status() {
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1; stderr: $(head -c 300 "$work/err")"
}

expect_same() {
  cmp -s "$1" "$2" || fail "$2 differs from $1 ($(stat -c %s "$1" 2>/dev/null) vs $(stat -c %s "$2" 2>/dev/null) bytes)"
}

expect_in() {  # FILE TEXT
  grep -qF -- "$2" "$1" || fail "$(basename "$1") lacks: $2"
}

expect_not_in() {
  ! grep -qF -- "$2" "$1" || fail "$(basename "$1") should not hold: $2"
}

expect_absent() {
  [ ! -e "$1" ] || fail "$1 should not exist"
}

log_count() {  # the number of log events holding TEXT
  grep -cF -- "$1" "$work/log.jsonl"
}

random_file() {  # PATH SIZE [LAST-BYTE-OCTAL]
  head -c "$2" /dev/urandom > "$1"
  if [ -n "${3:-}" ]; then
    truncate -s $(($2 - 1)) "$1"
    printf "\\$3" >> "$1"
  fi
}

# ---- sending: restore, configuration, firmware ----

test_config_arrives_byte_for_byte() {
  random_file "$work/cfg.txt" 3000
  start_phone
  run config "$work/cfg.txt"
  expect_status 0
  expect_same "$work/cfg.txt" "$work/store/mcascfg.txt"
  expect_in "$work/log.jsonl" '"text":"download mcascfg.txt 3000"'
  expect_in "$work/log.jsonl" '"text":"write mcascfg.txt 3000"'
  expect_in "$work/out" "Success to write file."
}

test_restore_takes_the_name_from_the_extension() {
  random_file "$work/book.vcf" 1000 032    # ends in SUB
  random_file "$work/LIST.CSV" 513 030     # ends in CAN
  start_phone
  run restore "$work/book.vcf"
  expect_status 0
  expect_same "$work/book.vcf" "$work/store/backup.vcf"
  run restore "$work/LIST.CSV" --reboot
  expect_status 0
  expect_same "$work/LIST.CSV" "$work/store/backup.csv"
  expect_in "$work/log.jsonl" '"text":"download backup.csv 513"'
  sleep 0.1
  [ "$(log_count '"event":"reboot"')" -eq 1 ] || fail "one reboot expected after --reboot"
}

test_firmware_of_more_than_255_blocks() {
  random_file "$work/new.zip" 40000 032
  start_phone
  run firmware "$work/new.zip" --yes
  expect_status 0
  expect_same "$work/new.zip" "$work/store/firmapp.zip"
  expect_in "$work/out" "Upgrading firmware."
  expect_in "$work/out" "Success firmware upgrade"
  expect_in "$work/log.jsonl" '"text":"download firmapp.zip 40000"'
}

test_firmware_needs_confirmation() {
  random_file "$work/new.zip" 500
  start_phone
  run firmware "$work/new.zip"
  expect_status 2
  [ "$(log_count download)" -eq 0 ] || fail "nothing may be sent without confirmation"
}

test_sum_mode_and_a_naked_block() {
  random_file "$work/cfg.txt" 2000
  start_phone --poll-nak --nak-at-block 3
  run config "$work/cfg.txt"
  expect_status 0
  expect_same "$work/cfg.txt" "$work/store/mcascfg.txt"
}

test_unrelated_lines_and_a_slow_write_result() {
  random_file "$work/cfg.txt" 700
  start_phone --noise-lines 3 --write-delay 2500
  run config "$work/cfg.txt"
  expect_status 0
  expect_same "$work/cfg.txt" "$work/store/mcascfg.txt"
}

test_wrong_download_result() {
  random_file "$work/cfg.txt" 300
  start_phone --download-result 299
  run config "$work/cfg.txt"
  expect_status 1
  expect_in "$work/out" "Fail to transmit."
  expect_absent "$work/store/mcascfg.txt"
}

test_failed_write() {
  random_file "$work/cfg.txt" 300
  start_phone --write-result 3
  run config "$work/cfg.txt"
  expect_status 1
  expect_in "$work/out" "Fail to write."
}

test_phone_cancels_a_send() {
  random_file "$work/book.vcf" 2000
  start_phone --cancel-at-block 4
  run restore "$work/book.vcf"
  expect_status 1
  expect_in "$work/out" "Cancelled transmission."
  expect_absent "$work/store/backup.vcf"
}

test_silent_write_result_hits_the_stall_timeout() {
  random_file "$work/cfg.txt" 300
  start_phone --silent write
  local start=$SECONDS
  run --stall-timeout 2 config "$work/cfg.txt"
  expect_status 1
  expect_in "$work/err" "sent nothing for 2 s"
  [ $((SECONDS - start)) -le 6 ] || fail "the stall time-out took $((SECONDS - start)) s"
}

test_unusable_files_are_refused_before_the_phone_is_asked() {
  start_phone
  : > "$work/empty.vcf"
  run restore "$work/empty.vcf";   expect_status 2; expect_in "$work/err" "Fail to open file."
  run restore "$work/missing.vcf"; expect_status 2
  run restore "$work/notes.txt";   expect_status 2; expect_in "$work/err" "Unavailable File"
  run backup "$work/book.txt";     expect_status 2
  run firmware "$work/image.bin" --yes; expect_status 2
  [ "$(log_count '"event":"line"')" -eq 0 ] || fail "the phone was asked for something"
}

# ---- receiving: the phone-book backup ----

test_backup_of_3000_bytes() {
  random_file "$work/book.src" 3000
  start_phone --phonebook "$work/book.src" --block-size 128
  run backup "$work/out.vcf"
  expect_status 0
  expect_same "$work/book.src" "$work/out.vcf"
  expect_in "$work/log.jsonl" '"text":"backup backup.vcf 0"'
}

test_backup_of_many_1k_blocks_ending_in_can() {
  random_file "$work/book.src" 300000 030
  start_phone --phonebook "$work/book.src"
  run backup "$work/out.CSV"
  expect_status 0
  expect_same "$work/book.src" "$work/out.CSV"
  expect_in "$work/log.jsonl" '"text":"backup backup.csv 0"'
}

test_backup_of_more_than_255_short_blocks() {
  random_file "$work/book.src" 40000 032
  start_phone --phonebook "$work/book.src" --block-size 128 --noise-lines 2
  run backup "$work/out.vcf"
  expect_status 0
  expect_same "$work/book.src" "$work/out.vcf"
}

test_failed_backup_leaves_the_old_file() {
  random_file "$work/book.src" 5000
  printf 'the old phone book\n' > "$work/out.vcf"
  cp "$work/out.vcf" "$work/old.vcf"
  for fault in "--corrupt-block 2" "--cancel-at-block 3" "--eot-after-blocks 2"; do
    # shellcheck disable=SC2086
    start_phone --phonebook "$work/book.src" $fault
    run backup "$work/out.vcf"
    expect_status 1
    expect_same "$work/old.vcf" "$work/out.vcf"
  done
  ls "$work" | grep -q '\.part' && fail "a temporary file was left behind"
  return 0
}

test_short_announced_size() {
  random_file "$work/book.src" 3000
  start_phone --phonebook "$work/book.src" --announce-size 100
  run backup "$work/out.vcf"
  expect_status 0
  head -c 100 "$work/book.src" > "$work/first100"
  expect_same "$work/first100" "$work/out.vcf"
}

test_empty_or_hostile_announced_size() {
  start_phone --announce-size 0
  run backup "$work/out.vcf"
  expect_status 1
  expect_in "$work/out" "Fail, Phone Book has no entries."
  expect_absent "$work/out.vcf"
  start_phone --announce-size 99999999999
  run backup "$work/out.vcf"
  expect_status 1
  expect_absent "$work/out.vcf"
}

test_silence_in_a_block_hits_the_stall_timeout() {
  random_file "$work/book.src" 5000
  start_phone --phonebook "$work/book.src" --silence-at-block 3
  run --stall-timeout 2 backup "$work/out.vcf"
  expect_status 1
  expect_in "$work/err" "sent nothing"
  expect_absent "$work/out.vcf"
}

# ---- phone number, reboot, languages, JSON ----

test_phone_number() {
  start_phone
  run phone-number
  expect_status 0
  expect_in "$work/out" "Start Phone Number configuration."
  expect_in "$work/out" "Success transmission."
  start_phone --command-result 1
  run phone-number
  expect_status 1
  expect_in "$work/out" "Phone does not response."
  [ "$(log_count '"text":"network restart 1"')" -eq 5 ] || fail "five attempts expected"
}

test_phone_number_real_timeout() {
  start_phone --silent command
  run phone-number
  expect_status 1
  expect_in "$work/out" "Please re-connect USB cable."
}

test_reboot() {
  start_phone
  run reboot
  expect_status 0
  sleep 0.1
  expect_in "$work/log.jsonl" '"event":"reboot"'
}

test_japanese_by_option_and_by_locale() {
  start_phone
  run --lang ja phone-number
  expect_status 0
  expect_in "$work/out" "内線番号設定を開始します。"
  expect_in "$work/out" "電話機の設定が完了しました。"
  LANG=ja_JP.UTF-8 LC_ALL= LC_MESSAGES= "$TARVOMGR" --port "$work/tty" phone-number > "$work/out" 2>&1
  expect_in "$work/out" "電話機の設定が完了しました。"
  LANG=ja_JP.UTF-8 "$TARVOMGR" --port "$work/tty" --lang en phone-number > "$work/out" 2>&1
  expect_in "$work/out" "Success transmission."
}

test_json_events() {
  random_file "$work/book.vcf" 300
  start_phone
  run --json restore "$work/book.vcf"
  expect_status 0
  python3 - "$work/out" <<'EOF' || fail "JSON events: $(cat "$work/out")"
import json, sys
events = [json.loads(line) for line in open(sys.argv[1])]
kinds = [e["event"] for e in events]
assert events[0] == {"event": "status", "id": 104, "text": "Wait Sync."}, events[0]
assert {"event": "progress", "bytes": 300, "total": 300} in events
assert any(e.get("id") == 114 for e in events)
assert events[-1] == {"event": "done", "success": True}, events[-1]
EOF
  start_phone --phonebook "$work/book.vcf"
  run --json --lang ja backup "$work/out.vcf"
  python3 - "$work/out" <<'EOF' || fail "JSON backup events: $(cat "$work/out")"
import json, sys
events = [json.loads(line) for line in open(sys.argv[1])]
assert {"event": "size", "bytes": 300} in events
assert {"event": "status", "id": 104, "text": "同期中"} in events
assert events[-1] == {"event": "done", "success": True}
EOF
}

test_trace_file() {
  start_phone
  run --trace "$work/trace.txt" phone-number
  expect_status 0
  expect_in "$work/trace.txt" 'host>  "network restart 1\n"'
  expect_in "$work/trace.txt" 'phone> "result command 0\n"'
}

# ---- ports, interrupts and unplugging ----

test_port_selection() {
  start_phone
  TARVOMGR_PORT="$work/tty" "$TARVOMGR" port > "$work/out" 2>&1
  expect_in "$work/out" "$work/tty"
  TARVOMGR_PORT="$work/tty" "$TARVOMGR" phone-number > "$work/out" 2>&1 || fail "TARVOMGR_PORT not used"
  "$TARVOMGR" --port "$work/nothing-here" phone-number > "$work/out" 2> "$work/err"
  status=$?
  expect_status 3
  expect_in "$work/err" "Fail to initialize port."
  if ! ls /dev/ttyACM* > /dev/null 2>&1; then
    env -u TARVOMGR_PORT "$TARVOMGR" port > "$work/out" 2> "$work/err"
    status=$?
    expect_status 1
    expect_in "$work/err" "no phone attached"
  fi
}

test_busy_port() {
  random_file "$work/big.zip" 60000
  start_phone --rate 10000
  "$TARVOMGR" --port "$work/tty" firmware "$work/big.zip" --yes > /dev/null 2>&1 &
  local first=$!
  sleep 0.5
  run phone-number
  expect_status 3
  kill -INT "$first"
  wait "$first"
}

test_ctrl_c_sends_the_cancel_sequence() {
  random_file "$work/big.vcf" 60000
  start_phone --rate 10000
  "$TARVOMGR" --port "$work/tty" restore "$work/big.vcf" > "$work/out" 2> "$work/err" < /dev/null &
  local pid=$!
  sleep 1
  kill -INT "$pid"
  wait "$pid"
  status=$?
  expect_status 130
  sleep 0.3
  expect_in "$work/log.jsonl" '"event":"cancel"'
  expect_absent "$work/store/backup.vcf"
}

test_unplugged_phone() {
  random_file "$work/book.src" 60000
  printf 'kept\n' > "$work/out.vcf"
  start_phone --phonebook "$work/book.src" --rate 10000
  "$TARVOMGR" --port "$work/tty" backup "$work/out.vcf" > "$work/out" 2> "$work/err" < /dev/null &
  local pid=$!
  sleep 1
  stop_phone
  local start=$SECONDS
  wait "$pid"
  status=$?
  expect_status 1
  expect_in "$work/err" "phone disconnected"
  [ $((SECONDS - start)) -le 2 ] || fail "noticed the unplugging after $((SECONDS - start)) s"
  [ "$(cat "$work/out.vcf")" = kept ] || fail "the old backup was changed"
}

# ---- runner ----

cases=("$@")
if [ ${#cases[@]} -eq 0 ]; then
  mapfile -t cases < <(declare -F | awk '{print $3}' | grep '^test_')
fi
passed=0
failed=0
for name in "${cases[@]}"; do
  case_failed=0
  started=$SECONDS
  "$name"
  stop_phone
  if [ "$case_failed" -eq 0 ]; then
    passed=$((passed + 1))
    echo "ok   $name ($((SECONDS - started)) s)"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
  rm -rf "${work:?}"/*
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
