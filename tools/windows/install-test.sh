#!/usr/bin/env bash
# Installs zelt-setup.exe silently into a fresh Wine prefix, starts the
# installed zelt.exe with --demo and the "windows" platform plugin and takes a
# screenshot, uninstalls silently and checks that nothing is left behind.
# Runs under an X server (xvfb-run); Wine's server is started in it.
# Usage: install-test.sh ZELT_SETUP_EXE OUT_DIR      (screenshot: OUT_DIR/installed.png)
set -euo pipefail
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") out=$2
rm -rf "$out"; mkdir -p "$out"
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH  # the installed program must find its own DLLs
wineboot -i >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/ZELT-2 GSM"
menu="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/ZELT-2 GSM"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\zelt'
# Everything on drive C: but Wine's own folders and the temporary files.
listing() { (cd "$drive" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print | sort); }
failed=0
check() { if ! eval "$2"; then echo "FAIL install: $1"; failed=1; else echo "ok install: $1"; fi; }

listing > "$out/before.txt"
wine "$setup" /S
check "the program and its files are installed" '[ -f "$folder/zelt.exe" ] && [ -f "$folder/platforms/qwindows.dll" ] && [ -f "$folder/Setup.KVS" ]'
check "the Start menu has the program with its icon" '[ -f "$menu/ZELT-2 GSM.lnk" ] && [ -f "$folder/zelt.ico" ]'
check "the uninstaller is registered" 'wine reg query "$key" /v UninstallString >/dev/null 2>&1'

# zelt-provision.exe is installed beside it and checks a profile with the installed Setup.KVS.
printf '[Settings]\r\nS0=9\r\n' > "$out/profile.ini"
provision_rc=0
(cd "$out" && timeout 120 wine "$folder/zelt-provision.exe" --ports COM9 profile.ini) \
  > /dev/null 2> "$out/provision.err" || provision_rc=$?
check "the installed zelt-provision.exe refuses a profile the device cannot take" \
  '[ "$provision_rc" = 2 ] && grep -q "profile.ini:2: S0=9" "$out/provision.err"'

# Started as the Start menu does: in its own folder.
shot_win="Z:${out//\//\\}\\installed.png"
(cd "$folder" && timeout 120 wine ./zelt.exe -platform windows --demo --screenshot "$shot_win" \
   --screenshot-delay 4000) || true
check "the installed program started with --demo and saved a screenshot" '[ -s "$out/installed.png" ]'

wine "$folder/uninstall.exe" /S
for _ in $(seq 120); do [ -e "$folder" ] || break; sleep 0.5; done
listing > "$out/after.txt"
check "the program folder is gone" '[ ! -e "$folder" ]'
check "the Start menu entries are gone" '[ ! -e "$menu" ]'
check "the uninstall entry is gone" '! wine reg query "$key" >/dev/null 2>&1'
check "nothing else is left on drive C:" 'diff "$out/before.txt" "$out/after.txt"'
exit "$failed"
