#!/bin/sh
# Sets up (apt), builds and starts the program. Without a desktop session (over
# ssh, say) the window program cannot start, so the command line is shown at
# work with a virtual drive instead.
set -e
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
if [ -x build/kolt ] && { [ -n "$DISPLAY" ] || [ -n "$WAYLAND_DISPLAY" ] || [ -n "$QT_QPA_PLATFORM" ]; }; then
  exec build/kolt "$@"
fi
if [ -x build/kolt ]; then
  echo "No desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set): the window program needs one."
  echo "Here is the command-line tool, kolt-cli, at work with a virtual drive instead."
fi
exec ./scripts/cli-demo.sh build
