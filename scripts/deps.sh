#!/bin/sh
# Installs what building, testing and running the program needs (Debian 12).
set -e
SUDO=""
if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi
# openbox manages the windows of the tests that need focus and stacking (tests/gui/under_window_manager.sh).
# clang-14 and its runtimes build and run the fuzz targets (scripts/fuzz.sh, run by CI).
# ser2net stands in for a serial device server in the network port tests and bench/net_bench.
PKGS="build-essential cmake libgtest-dev libgmock-dev qt6-base-dev qt6-base-dev-tools qt6-charts-dev libgl1-mesa-dev qt6-qpa-plugins xvfb xauth openbox desktop-file-utils shared-mime-info fonts-liberation poppler-utils clang-14 libclang-rt-14-dev ser2net"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
fi
