#!/bin/bash
# Starts the program on a virtual X screen, once with a parameter file open and
# once with a comparison, and saves pictures of the screen as
# docs/screenshot.png and docs/compare.png.
# Needs xvfb-run and ImageMagick's import (apt: xvfb xauth imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/kolt ] && [ -x build/tools/kolt-cli ] || ./scripts/build.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cli=build/tools/kolt-cli
# A pump drive's settings: a model's defaults with a few changes.
$cli new --model D200-0.75 -o "$work/pump.kpf" >/dev/null
$cli set "$work/pump.kpf" F01=12.5 F02=8.0 F07=60 F13=3 >/dev/null
# A fan drive of the same model, and both against the model's defaults.
$cli new --model D200-0.75 -o "$work/fan.kpf" >/dev/null
$cli set "$work/fan.kpf" F01=20.0 F02=20.0 F08=15 F43=3.0 C02=120 >/dev/null
$cli compare --defaults --model D200-0.75 "$work/pump.kpf" "$work/fan.kpf" -o "$work/pump-fan.kcf" >/dev/null

# shoot FILE PICTURE: the program with FILE open, the screen saved as PICTURE.
shoot() {
  mkdir -p "$(dirname "$2")"
  # XDG_CONFIG_HOME: the sample file stays out of the user's recent-file list.
  KOLT_HOME="$work" XDG_CONFIG_HOME="$work" xvfb-run -a -s '-screen 0 1440x900x24' bash -c '
    build/kolt "$1" &
    pid=$!
    sleep 5            # start-up and the splash (one to two seconds)
    import -window root "$2"
    kill $pid
    wait $pid 2>/dev/null || true
  ' _ "$1" "$2"
  echo "saved $2"
}
shoot "$work/pump.kpf" docs/screenshot.png
shoot "$work/pump-fan.kcf" docs/compare.png
