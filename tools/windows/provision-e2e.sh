#!/usr/bin/env bash
# zelt-provision.exe under Wine against two zelt-sim devices on pseudo-terminals
# mapped to COM6 and COM7: both end verified and hold the profile.
# Usage: provision-e2e.sh ZELT_SIM ZELT_PROVISION_EXE SETUP_KVS   (WINEPREFIX and WINEPATH set)
set -euo pipefail
sim=$1 exe=$2 script=$3
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -f "$WINEPREFIX/dosdevices/com6" "$WINEPREFIX/dosdevices/com7"
  rm -rf "$work"
}
trap cleanup EXIT
win() { echo "Z:${1//\//\\}"; }

for n in 6 7; do
  "$sim" --link "$work/com$n" --poll-ms 20 --image "$work/com$n.bin" > /dev/null 2>&1 &
  pids+=($!)
done
for n in 6 7; do
  for _ in $(seq 100); do [ -e "$work/com$n" ] && break; sleep 0.05; done
  ln -sfn "$(readlink "$work/com$n")" "$WINEPREFIX/dosdevices/com$n"
done
python3 - "$work/profile.ini" <<'PY'
import sys
with open(sys.argv[1], "w", newline="\r\n") as f:
    f.write("[Settings]\n" + "".join(f"S{k}={(1 if k < 7 else 7 + k)}\n" for k in range(64)))
    f.write("[Phones]\nCount=1\nPhone1=79005550001\n[Script]\nHex=41 3B \n")
PY
rc=0
(cd "$work" && timeout 300 wine "$exe" --ports COM6,COM7 --timeout 30 --script "$(win "$script")" \
   --report report.csv "$(win "$work/profile.ini")") || rc=$?
cat "$work/report.csv" 2>/dev/null || true
for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
pids=()
[ "$rc" = 0 ] || { echo "zelt-provision.exe: exit $rc"; exit 1; }
for n in 6 7; do
  python3 - "$work/com$n.bin" <<'PY' || exit 1
import sys
image = open(sys.argv[1], "rb").read()
wanted = bytes(1 if k < 7 else 7 + k for k in range(64))
if image[0x1400:0x1440] != wanted:
    sys.exit(f"{sys.argv[1]}: the settings are {image[0x1400:0x1440].hex()}, not the profile")
PY
done
echo "zelt-provision.exe provisioned COM6 and COM7"
