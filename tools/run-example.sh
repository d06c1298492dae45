#!/bin/sh
# Installs what is missing, builds Corvane and runs it in the example
# directory that the repository ships.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target corvane
cd example
exec ../build/default/src/corvane "$@"
