#!/bin/sh
# Installs what is missing, builds Corvane and runs every test: the default
# build (warnings as errors), a one-minute run of the two fuzzers,
# the Windows cross build under Wine, the Debian package and the Windows zip
# (built and checked), and the sanitizer build.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh --tests --windows --packages
cmake --workflow --preset default
sh tools/run-fuzz.sh 60
sh tools/run-windows-tests.sh
sh tools/make-packages.sh
cmake --workflow --preset sanitize
