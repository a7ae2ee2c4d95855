#!/usr/bin/env bash
# Runs kvs as a script author would and compares its output exactly.
set -u
kvs="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
cd "$dir"
failed=0

expect() {  # expect NAME EXPECTED_STDOUT COMMAND...
  local name="$1" expected="$2"
  shift 2
  local actual
  actual="$("$@" 2>"$dir/stderr")"
  local status=$?
  if [ "$actual" != "$expected" ] || [ $status -ne 0 ]; then
    echo "FAIL $name: exit $status"
    printf 'expected:\n%s\nactual:\n%s\n' "$expected" "$actual"
    failed=1
  fi
}

expect nested-if "3" "$kvs" '0 IF 0 IF 1 FI 2 ELSE 3 FI'
expect wrap "-2147483648" "$kvs" '2147483647 1 +'
printf ':X\r\n 1 \r\n;\r\n' > Setup.KVS
expect run "$(printf '1\n2')" "$kvs" 'X RUN 2'
expect stdin "$(printf '3\n1')" sh -c "printf '1 2 +\r\nX RUN\n' | '$kvs'"
expect utf8 "$(printf 'Жук\\x5C\\x0A\n3')" "$kvs" '"Жук\" 10 CHR &' 'Жук LEN'

"$kvs" '5 .' 'DROP DROP' >/dev/null 2>"$dir/stderr"
if ! grep -q '^event: На стеке:5 [0-9][0-9]\.[0-9][0-9]-' "$dir/stderr" ||
   ! grep -q '^status: Ошибка:Стек пуст$' "$dir/stderr"; then
  echo "FAIL stderr:"; cat "$dir/stderr"; failed=1
fi

# A window word is no word of kvs: pushed as a text, and named on standard error.
expect window-word "$(printf 'LABEL\n2\nLABEL')" "$kvs" 'LABEL 2 LABEL'
if [ "$(cat "$dir/stderr")" != 'kvs: LABEL (Window: placing controls) runs in zelt only; kvs has no window and pushes it as a text' ]; then
  echo "FAIL window word:"; cat "$dir/stderr"; failed=1
fi

[ $failed -eq 0 ] && echo "kvs examples passed"
exit $failed
