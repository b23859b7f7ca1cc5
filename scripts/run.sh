#!/bin/sh
# Sets up (apt), builds and starts the program.
set -e
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
if [ -x build/kolt ]; then
  exec build/kolt "$@"
fi
# Without the window program, show what the command line makes of a new parameter file.
sample=build/sample.kpf
build/tools/kolt-cli new --model D200-0.75 -o "$sample"
build/tools/kolt-cli show "$sample"
