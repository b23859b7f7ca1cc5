#!/bin/sh
# Sets up, builds and runs every test.
set -e
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
