#!/usr/bin/env bash
# zelt-sim on a pseudo-terminal, mapped to Wine's COM5, and the Windows
# program's pages reading and writing it through that port.
# Usage: com-port-e2e.sh ZELT_SIM COM_PORT_E2E_EXE   (WINEPREFIX and WINEPATH set)
set -euo pipefail
sim=$1 test_exe=$2
work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -f "$WINEPREFIX/dosdevices/com5"
  rm -rf "$work"
}
trap cleanup EXIT

mkfifo "$work/control"
"$sim" --image "$work/image.bin" < "$work/control" > "$work/sim.out" 2> "$work/sim.err" &
sim_pid=$!
exec 3> "$work/control"  # the simulator's control input stays open
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
port=$(head -1 "$work/sim.out")
[ -c "$port" ] || { echo "zelt-sim gave no port: $(cat "$work/sim.err")"; exit 1; }
ln -sfn "$port" "$WINEPREFIX/dosdevices/com5"
echo "zelt-sim on $port as COM5"

rc=0
(cd "$(dirname "$test_exe")" &&
 ZELT_COM_PORT=COM5 ZELT_SIM_IMAGE="Z:${work//\//\\}\\image.bin" wine "./$(basename "$test_exe")") || rc=$?
echo "stats" >&3
sleep 0.3
echo "zelt-sim: $(tail -1 "$work/sim.out")"
exec 3>&-
exit "$rc"
