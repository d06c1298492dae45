#!/bin/sh
# Cross-builds the native Windows program and its unit tests with MinGW-w64
# and runs the tests under Wine, in a Wine prefix of their own that is
# thrown away afterwards; then the end-to-end tests of the Linux build run
# against corvane.exe under Wine (tools/windows-end-to-end.sh). Installs the
# Debian packages it needs, but only those that are missing.
set -eu
cd "$(dirname "$0")/.."

# What the Linux build needs (it builds the end-to-end tests), then the
# cross compiler, Wine, and the GoogleTest sources.
sh tools/install-deps.sh --windows

start=$(date +%s)
cmake --workflow --preset windows
echo "Windows build and unit tests under Wine: $(( $(date +%s) - start )) s"

# The end-to-end tests, built on Linux, started against corvane.exe.
start=$(date +%s)
cmake --preset default >/dev/null
cmake --build --preset default --target corvane_e2e_tests corvane_wine_terminal_tests
bash tools/windows-end-to-end.sh build/default build/windows/src/corvane.exe
echo "End-to-end checks under Wine: $(( $(date +%s) - start )) s"
