#!/usr/bin/env bash
# kvs --port against zelt-sim on a pseudo-terminal: the settings read, one
# byte changed, written and read back; refused writes; a device that never
# answers.
set -u
kvs="$1"
sim="$2"
dir="$(mktemp -d)"
simpid=""
trap '[ -n "$simpid" ] && kill $simpid 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT
cd "$dir"
failed=0
fail() { echo "FAIL $*"; failed=1; }

start_sim() {  # start_sim [OPTION]...: zelt-sim on $dir/port with $dir/image.bin
  "$sim" --link "$dir/port" --poll-ms 20 --image "$dir/image.bin" "$@" >"$dir/sim.out" &
  simpid=$!
  for _ in $(seq 100); do [ -e "$dir/port" ] && return 0; sleep 0.05; done
  fail "zelt-sim gave no port"
}
stop_sim() {
  kill -CONT $simpid 2>/dev/null
  kill $simpid && wait $simpid
  simpid=""
}
image_hex() {  # image_hex OFFSET COUNT: the image's bytes as spaced hex
  od -An -v -tx1 -j "$1" -N "$2" "$dir/image.bin" | tr 'a-f\n' 'A-F ' | sed 's/  */ /g; s/^ //; s/ $//'
}
read_block() {  # the 16 settings bytes at 1400h + $1 on the stack
  printf '"05 02 AD %s 14 00 " 1 SENDCK 300 WAITREAD 1 2 9 READEV 16 47 SMID' "$1"
}

# The factory image, as zelt-sim saves it at its end.
start_sim
stop_sim
expected="$(for at in 0 16 32 48; do image_hex $((0x1400 + at)) 16; echo; done)"

start_sim
out="$("$kvs" --port "$dir/port" "$(read_block 00)" "$(read_block 10)" "$(read_block 20)" \
  "$(read_block 30)" 2>"$dir/err")"
status=$?
[ $status -eq 0 ] || fail "read: exit $status: $(cat "$dir/err")"
[ "$out" = "$expected" ] || fail "read: got
$out
expected
$expected"

old="$(image_hex $((0x1405)) 1)"
new=$(printf '%02X' $(( (0x$old + 1) % 256 )))
out="$("$kvs" --port "$dir/port" \
  "\"02 02 B0 \" 1 SENDCK \"05 02 6F 05 14 $new \" 1 SENDCK \"02 02 B1 \" 1 SENDCK 300 WAITREAD" \
  "\"04 02 AD 05 14 \" 1 SENDCK 300 WAITREAD 1 2 9 READEV 16 2 SMID WRFAILS" 2>"$dir/err")"
status=$?
[ $status -eq 0 ] || fail "write: exit $status: $(cat "$dir/err")"
[ "$out" = "$(printf '%s\n0' "$new")" ] || fail "read back: got $out, wanted $new and 0"
stop_sim
[ "$(image_hex $((0x1405)) 1)" = "$new" ] || fail "the device holds $(image_hex $((0x1405)) 1), not $new"

# A device refusing 30 % of records: the settings written one byte a record.
line='"02 02 B0 " 1 SENDCK'
for at in $(seq 0 63); do line="$line \"05 02 6F $(printf '%02X' $at) 14 55 \" 1 SENDCK"; done
line="$line \"02 02 B1 \" 1 SENDCK 500 WAITREAD"
start_sim --refuse 0.3
"$kvs" --port "$dir/port" "$line" >"$dir/out" 2>"$dir/err"
status=$?
[ $status -eq 4 ] || fail "refusals: exit $status, wanted 4"
grep -q 'kvs: the device did not take [1-9][0-9]* bytes written to it (WRFAILS)' "$dir/err" ||
  fail "refusals not reported: $(cat "$dir/err")"
stop_sim

# A port where no device ever answers: the port is named.
python3 -c 'import os, pty, sys, time
master, slave = pty.openpty()
os.symlink(os.ttyname(slave), sys.argv[1])
time.sleep(60)' "$dir/silent" &
simpid=$!
for _ in $(seq 100); do [ -e "$dir/silent" ] && break; sleep 0.05; done
"$kvs" --port "$dir/silent" --timeout 1 '1 2 +' >"$dir/out" 2>"$dir/err"
status=$?
[ $status -eq 3 ] || fail "silent port: exit $status, wanted 3"
grep -qF "kvs: no answer from the device on $dir/silent within 1 s" "$dir/err" ||
  fail "silent port: $(cat "$dir/err")"
kill $simpid
simpid=""

[ $failed -eq 0 ] && echo "kvs on a device passed"
exit $failed
