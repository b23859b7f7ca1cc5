#!/bin/sh
# The command line at work, without a desktop: starts two virtual drives on a
# pseudo-terminal, scans the bus, reads a drive into a parameter file, shows
# the file and stops the drives. Usage: scripts/cli-demo.sh [build folder]
set -e
cd "$(dirname "$0")/.."
build=${1:-build}
sim=$build/tools/kolt-drive-sim
cli=$build/tools/kolt-cli
demo=$build/demo
mkdir -p "$demo"
# The demo's own settings folder (none there: the start values), so the serial
# line does not depend on what the window program last saved.
KOLT_HOME=$demo
export KOLT_HOME

# Gone before the start, so an old run's device is never taken for this one's.
rm -f "$demo/device.txt"
"$sim" --stations 1,3 --model 5 >"$demo/device.txt" 2>"$demo/drive-sim.log" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
trap 'exit 130' INT TERM
tries=0
while [ ! -s "$demo/device.txt" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$sim_pid" 2>/dev/null; then
    echo "The virtual drive did not start:" >&2
    cat "$demo/drive-sim.log" >&2
    exit 1
  fi
  sleep 0.1
done
port=$(head -n 1 "$demo/device.txt")

echo "Virtual drives at stations 1 and 3 (model D200-0.75) on $port; station 2 is empty."
run() {
  echo
  echo "\$ kolt-cli $*"
  "$cli" "$@"
}
# A silent station makes scan's exit status 1; that is the point of the demo.
run scan --port "$port" --stations 1-3 || true
run read --port "$port" --station 1 -o "$demo/drive1.kpf"
run show "$demo/drive1.kpf"
echo
echo "The file stays in $demo/drive1.kpf; 'kolt-cli --help' lists every command."
