#!/usr/bin/env bash
# Fails when the manual page and the program's --help list different options:
# the tags of the .TP items under OPTIONS against the option column of --help, both
# as "OPTION VALUE" lines (<VALUE> and \fIVALUE\fR read alike).
#   check_help.sh PROGRAM PAGE
set -euo pipefail
program=$1 page=$2

from_help() {
  QT_QPA_PLATFORM=offscreen "$program" --help |
    grep -E '^  [-A-Z]' | sed -E 's/^  //; s/  .*//' |
    sed 's/, /\n/g; s/[<>]//g' | sort -u
}
from_page() {
  awk '/^\.SH/ { options = $2 == "OPTIONS" } item { print; item = 0 } options && /^\.TP/ { item = 1 }' "$page" |
    sed -E 's/^\.[BI]R? //; s/\\f[BIRP]//g; s/\\-/-/g; s/, /\n/g' | sort -u
}

help=$(from_help) listed=$(from_page)
[ -n "$help" ] || { echo "$program --help lists no option" >&2; exit 1; }
if [ "$help" != "$listed" ]; then
  echo "$page and $program --help differ (< --help, > page):" >&2
  diff <(echo "$help") <(echo "$listed") >&2 || true
  exit 1
fi
echo "$(basename "$page"): $(echo "$help" | wc -l) options as in --help"
