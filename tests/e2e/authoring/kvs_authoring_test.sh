#!/usr/bin/env bash
# kvs as a page author runs it: the checker on a broken Setup.KVS, the trace,
# and the generated reference and syntax file.
set -u
kvs="$1"
source_dir="$2"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
cd "$dir"
failed=0
fail() { echo "FAIL $*"; failed=1; }

# A broken page: one problem of each kind that a typo makes, exit 1.
printf ':START\r\n TREE RUN "Готово" STAUTS\r\n;\r\n:TREE\r\n CLEARTREE "Главная" TEXT "PAGE_HOEM RUN" ONCHANGE ADDTREE\r\n;\r\n:PAGE_HOME\r\n SCLEAR 1 IF "Главная" TEXT LABEL\r\n;\r\n:MAIN\r\n;\r\n:MAINS\r\n;\r\n:TREECLICK\r\n;\r\n:WAIT\r\n;\r\n:ONSTARTWAIT\r\n;\r\n:ONSTOPWAIT\r\n;\r\n:CLOSEQUERY\r\n 255\r\n;\r\n:ONCONNECT\r\n;\r\n:ONLINKLOST\r\n;\r\n:ONCANCEL\r\n;\r\n' \
  | iconv -f UTF-8 -t CP1251 > Broken.KVS
expected='Broken.KVS:2: error: START: unknown word STAUTS; did you mean STATUS?
Broken.KVS:5: error: TREE: in the ONCHANGE script: RUN of PAGE_HOEM: no such definition; did you mean PAGE_HOME?
Broken.KVS:7: warning: definition PAGE_HOME is never run from anywhere
Broken.KVS:8: error: PAGE_HOME: IF without FI: when it is false the rest of the line is skipped'
out="$("$kvs" --check Broken.KVS 2>&1)"
status=$?
if [ $status -ne 1 ] || [ "$out" != "$expected" ]; then
  fail "broken script (exit $status):"; printf 'expected:\n%s\nactual:\n%s\n' "$expected" "$out"
fi

# Without a file name: Setup.KVS of the working folder; a missing file is exit 2.
out="$("$kvs" --check 2>&1)"
[ $? -eq 2 ] && [ "$out" = "Setup.KVS: cannot be read" ] || fail "missing Setup.KVS: $out"

# The trace: every step with the stack after it, top last.
expected='1            | 1
DUP          | 1 1
"a b"        | 1 1 "a b"
DROP         | 1 1
+            | 2
2'
out="$("$kvs" --trace '1 DUP "a b" DROP +' 2>&1)"
[ "$out" = "$expected" ] || { fail "trace:"; printf 'expected:\n%s\nactual:\n%s\n' "$expected" "$out"; }

# docs/words.md is what the registrations say now.
"$kvs" --words-md words.md || fail "--words-md"
if ! diff -u "$source_dir/docs/words.md" words.md >diff.txt; then
  fail "docs/words.md is out of date; run: cmake --build build --target words-doc"
  head -40 diff.txt
fi

# The guide's links into the reference land on a word or a group.
python3 - "$source_dir/docs/script-language.md" words.md <<'PY' || fail "links into words.md"
import re, sys
guide, words = open(sys.argv[1], encoding='utf-8').read(), open(sys.argv[2], encoding='utf-8').read()
targets = set(re.findall(r'id="([^"]+)"', words))
for heading in re.findall(r'^## (.+)$', words, re.M):
    targets.add(re.sub(r'[^a-z0-9 -]', '', heading.lower()).replace(' ', '-'))
links = re.findall(r'\(words\.md#([^)]+)\)', guide)
assert links, 'no links'
missing = [l for l in links if l not in targets]
assert not missing, missing
PY

# The syntax definition is well-formed XML naming every word.
"$kvs" --syntax kvs.xml || fail "--syntax"
python3 - kvs.xml <<'PY' || fail "kvs.xml"
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
items = {i.text for i in root.iter('item')}
assert root.get('extensions') == '*.KVS;*.kvs', root.get('extensions')
for word in ('RUN', 'IF', 'SMID', 'ONCHANGE', 'SENDCK', 'QUERY1', '%', '<>'):
    assert word in items, word
PY

# Where KSyntaxHighlighting's own highlighter is installed, it loads the
# definition and marks each kind of text.
if command -v kate-syntax-highlighter >/dev/null; then
  mkdir -p share/org.kde.syntax-highlighting/syntax
  cp kvs.xml share/org.kde.syntax-highlighting/syntax/
  printf 'notes\n:X\n 1 IF "a b" STATUS { note } FI\n;\n' > sample.KVS
  XDG_DATA_DIRS="$dir/share:${XDG_DATA_DIRS:-/usr/share}" kate-syntax-highlighter \
    -s "ZELT KVS" -f ansi --syntax-trace format sample.KVS >highlighted.txt 2>highlight-errors.txt
  for kind in Note Definition Number Flow String Word Comment; do
    grep -q "$kind" highlighted.txt || fail "highlighting shows no $kind"
  done
  [ -s highlight-errors.txt ] && { fail "highlighter:"; cat highlight-errors.txt; }
fi

# kvs alone, with no display and no Qt GUI library, checks and writes the
# reference: the lines above ran it so.
if command -v ldd >/dev/null && ldd "$kvs" 2>/dev/null | grep -q 'Qt6\(Gui\|Widgets\)'; then
  fail "kvs loads a Qt GUI library"
fi

[ $failed -eq 0 ] && echo "kvs authoring tools passed"
exit $failed
