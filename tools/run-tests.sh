#!/bin/sh
# Installs what is missing, builds Corvane and runs every test: the default
# build (warnings as errors), the sanitizer build, and a one-minute run of the
# project-file fuzzer.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh --tests
cmake --workflow --preset default
cmake --workflow --preset sanitize
sh tools/run-fuzz.sh 60
