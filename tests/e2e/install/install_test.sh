#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the installed files, and
# starts the installed zelt the way a desktop menu does: from a folder it
# cannot write to, with no Setup.KVS of its own.
#   install_test.sh CMAKE BUILD_DIR SOURCE_DIR BINDIR DATADIR
set -euo pipefail
cmake="$1" build="$2" source="$3" bindir="$4" datadir="$5"

work="$(mktemp -d)"
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
prefix="$work/prefix"
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

zelt="$prefix/$bindir/zelt"
script="$prefix/$datadir/zelt/Setup.KVS"
desktop="$prefix/$datadir/applications/zelt.desktop"
icon="$prefix/$datadir/icons/hicolor/scalable/apps/zelt.svg"
[ -x "$zelt" ] || fail "no program at $zelt"
cmp -s "$script" "$source/scripts/Setup.KVS" || fail "Setup.KVS not installed as shipped"
[ -s "$icon" ] || fail "no icon at $icon"
syntax="$prefix/$datadir/org.kde.syntax-highlighting/syntax/kvs.xml"
grep -q '<item>SENDCK</item>' "$syntax" || fail "no syntax definition for .KVS at $syntax"
grep -qx 'Exec=zelt' "$desktop" || fail "desktop entry does not start zelt"
grep -qx 'Icon=zelt' "$desktop" || fail "desktop entry does not name the icon"
grep -qx 'Type=Application' "$desktop" || fail "desktop entry is not an application"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi

# A folder nobody may write to; root writes everywhere but in /proc.
locked="$work/locked"
mkdir "$locked"
chmod 555 "$locked"
if touch "$locked/probe" 2>/dev/null; then rm -f "$locked/probe"; locked=/proc; fi

export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"
data="$XDG_DATA_HOME/zelt"

table_exists() {  # DB TABLE
  [ -s "$1" ] || return 1
  if command -v sqlite3 >/dev/null; then
    [ "$(sqlite3 "$1" "SELECT count(*) FROM sqlite_master WHERE name='$2'")" = 1 ]
  else
    grep -aq "CREATE TABLE IF NOT EXISTS $2 \|CREATE TABLE $2 " "$1"
  fi
}

run_zelt() {  # FOLDER SCREENSHOT
  (cd "$1" && timeout 60 "$zelt" --demo --screenshot "$2") ||
    fail "installed zelt exited with $?"
  [ -s "$2" ] || fail "no screenshot"
}

# The shipped script's START makes the journal table in Tables.db: it ran,
# and it ran in the user's data folder.
run_zelt "$locked" "$work/shot.png"
table_exists "$data/Tables.db" journal || fail "START of the shipped Setup.KVS did not run in $data"
ls "$data"/*Log.Txt >/dev/null 2>&1 || fail "no link log in $data"
if ls "$prefix/$bindir"/*Log.Txt >/dev/null 2>&1; then fail "link log written beside the program"; fi

# The copy read is the installed one, not the source tree's (script lines end in CR LF).
chmod u+w "$script"
printf ':START\r\n CLEARITEMS "CREATE TABLE installed_copy (a TEXT)" ADDITEMS QUERYEXEC\r\n;\r\n' >"$script"
run_zelt "$locked" "$work/shot2.png"
table_exists "$data/Tables.db" installed_copy || fail "the installed Setup.KVS was not the one run"

# Desktop menus start programs in the home folder: nothing is left there.
export HOME="$work/home"
mkdir "$HOME"
run_zelt "$HOME" "$work/shot3.png"
[ -z "$(ls -A "$HOME")" ] || fail "files left in the home folder: $(ls -A "$HOME")"

echo "installed into $prefix; started from $locked; files in $data"
