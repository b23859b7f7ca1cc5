#!/bin/bash
# Takes the README's picture of a trend window against the virtual drive, on a
# virtual X screen: docs/trend.png (about 30 seconds of a drive ramping up,
# stopping, running in reverse and tripping). Needs xvfb-run (apt: xvfb xauth).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target kolt-monitor-shots >/dev/null
mkdir -p docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
XDG_CONFIG_HOME="$work" xvfb-run -a -s '-screen 0 1600x1000x24' build/kolt-monitor-shots --trend docs/trend.png
echo "saved docs/trend.png"
