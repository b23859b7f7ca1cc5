#!/bin/bash
# Takes the README's pictures of the two monitor windows against the virtual
# drive, on a virtual X screen: docs/monitor-single.png and docs/monitor-all.png.
# Needs xvfb-run (apt: xvfb xauth).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x build/kolt-monitor-shots ] || cmake --build build --target kolt-monitor-shots
mkdir -p docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
XDG_CONFIG_HOME="$work" xvfb-run -a -s '-screen 0 1600x1000x24' \
  build/kolt-monitor-shots docs/monitor-single.png docs/monitor-all.png
echo "saved docs/monitor-single.png docs/monitor-all.png"
