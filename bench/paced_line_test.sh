#!/usr/bin/env bash
# paced_line carries an lrzsz transfer both ways to its end: the sender gets
# the receiver's last ACK (rx flushes its terminal right after writing it) and
# the file arrives whole. Usage: paced_line_test.sh PACED_LINE
set -u

paced_line=$(realpath "$1")
command -v sx > /dev/null && command -v rx > /dev/null || { echo "lrzsz is not installed"; exit 1; }

work=$(mktemp -d)
far_pid=
stop_far() {
  if [ -n "$far_pid" ]; then
    kill "$far_pid" 2> /dev/null
    wait "$far_pid" 2> /dev/null
    far_pid=
  fi
}
trap 'stop_far; rm -rf "$work"' EXIT
cd "$work" || exit 1
head -c 6000 /dev/urandom > data.bin
failures=0

start_far() {
  stop_far
  rm -f line far.out
  "$paced_line" --link "$work/line" --rate 23000 -- "$@" > far.out 2> far.err &
  far_pid=$!
  for _ in $(seq 100); do
    [ -s far.out ] && return 0
    sleep 0.05
  done
  echo "paced_line did not start: $(cat far.err)"
  exit 1
}

check() {  # name status received-file
  if [ "$2" -ne 0 ]; then
    echo "FAIL $1: the host side ended with status $2"
    failures=$((failures + 1))
  elif ! cmp -s -n 6000 data.bin "$3"; then
    echo "FAIL $1: the file arrived damaged or short"
    failures=$((failures + 1))
  else
    echo "ok $1"
  fi
}

# Six 1K blocks take about 0.3 s on the line; sx waits 10 s for a lost ACK.
for round in 1 2 3 4 5 6; do  # the lost ACK was a race: several tries
  start_far rx -c "sent$round.bin"
  timeout 6 setsid -w -c sx -q data.bin < line > line 2> /dev/null
  status=$?
  wait "$far_pid"
  far_status=$?
  far_pid=
  check "sx -> rx behind the line, round $round" "$status" "sent$round.bin"
  [ "$far_status" -eq 0 ] || { echo "FAIL rx behind the line ended with status $far_status"; failures=$((failures + 1)); }

  start_far sx -k -q "$work/data.bin"
  timeout 6 setsid -w -c rx -c -q "received$round.bin" < line > line 2> /dev/null
  check "sx -k behind the line -> rx, round $round" $? "received$round.bin"
done

[ "$failures" -eq 0 ]
