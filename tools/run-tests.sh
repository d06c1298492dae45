#!/bin/sh
# Installs what is missing, builds Corvane with both presets and runs every
# test: the default build (warnings as errors) and the sanitizer build.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh --tests
cmake --workflow --preset default
cmake --workflow --preset sanitize
