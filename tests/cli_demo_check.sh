#!/bin/bash
# Runs the command-line demo (what scripts/run.sh shows without a desktop) and
# checks that it scanned, read, showed the file and stopped its drives.
# Usage: cli_demo_check.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
out=$("$1/scripts/cli-demo.sh" "$2" 2>&1) || { echo "$out"; echo "FAIL: the demo ended with an error"; exit 1; }
echo "$out"
expect() { grep -qxF -- "$1" <<<"$out" || { echo "FAIL: no line: $1"; exit 1; }; }
expect "Station 001: D200-0.75, software version 1.2"
expect "Station 003: D200-0.75, software version 1.2"
expect "Station 001: D200-0.75, software version 1.2; 111 parameters read into $2/demo/drive1.kpf"
grep -q ' F07  ' <<<"$out" || { echo "FAIL: the file was not shown"; exit 1; }
grep -q 'stopped after' "$2/demo/drive-sim.log" || { echo "FAIL: the drives were not stopped"; exit 1; }
