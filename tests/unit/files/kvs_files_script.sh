#!/bin/sh
# kvs writes a file byte by byte, reads it back, copies and deletes it, and
# keeps a settings value; the printed stack must be exactly the expected one.
set -eu
kvs="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$kvs" \
  '65 t.bin WRITEFILE 66 t.bin WRITEFILE 0 t.bin WRITEFILE 300 t.bin WRITEFILE' \
  't.bin LENFILE t.bin OPENFILE DROP READFILE READFILE 2 READFILES CLOSEFILE READFILE' \
  't.bin u.bin COPYFILE t.bin DELETEFILE t.bin EXIST u.bin LENFILE u.bin DELETEFILE u.bin EXIST' \
  's.ini FILENAME Main SECTION "a b" Tel KEY! Tel KEY% none KEY% Tel DELETEKEY Tel KEY%' \
  > out.txt
printf '%s\n' 4 65 66 '\x00,' 0 255 0 4 0 'a b' '' '' > expected.txt
if ! cmp -s out.txt expected.txt; then
  echo "kvs printed:"; cat out.txt; echo "expected:"; cat expected.txt
  exit 1
fi
[ "$(ls)" = "expected.txt
out.txt
s.ini" ] || { echo "unexpected files:"; ls; exit 1; }
