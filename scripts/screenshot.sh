#!/bin/bash
# Starts the program on a virtual X screen with a parameter file open and
# saves a picture of the screen as docs/screenshot.png.
# Needs xvfb-run and ImageMagick's import (apt: xvfb xauth imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/kolt ] && [ -x build/tools/kolt-cli ] || ./scripts/build.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A pump drive's settings: a model's defaults with a few changes.
build/tools/kolt-cli new --model D200-0.75 -o "$work/pump.kpf" >/dev/null
build/tools/kolt-cli set "$work/pump.kpf" F01=12.5 F02=8.0 F07=60 F13=3 >/dev/null
out=${1:-docs/screenshot.png}
mkdir -p "$(dirname "$out")"
# XDG_CONFIG_HOME: the sample file stays out of the user's recent-file list.
KOLT_HOME="$work" XDG_CONFIG_HOME="$work" xvfb-run -a -s '-screen 0 1440x900x24' bash -c '
  build/kolt "$1" &
  pid=$!
  sleep 5            # start-up and the splash (one to two seconds)
  import -window root "$2"
  kill $pid
  wait $pid 2>/dev/null || true
' _ "$work/pump.kpf" "$out"
echo "saved $out"
