#!/bin/sh
# Cross-builds the native Windows program and its unit tests with MinGW-w64
# and runs the tests under Wine, in a Wine prefix of their own that is
# thrown away afterwards; then the end-to-end check of corvane.exe against
# the Linux build (tools/windows-end-to-end.sh). Installs the Debian packages
# it needs, but only those that are missing.
set -eu
cd "$(dirname "$0")/.."

# What the Linux build needs (it is the reference of the end-to-end check),
# then the cross compiler, Wine, and the GoogleTest sources.
sh tools/install-deps.sh --windows

start=$(date +%s)
cmake --workflow --preset windows
echo "Windows build and unit tests under Wine: $(( $(date +%s) - start )) s"

# The Linux program that the Windows one is compared with.
start=$(date +%s)
cmake --preset default >/dev/null
cmake --build --preset default --target corvane corvane_wine_terminal_tests
bash tools/windows-end-to-end.sh build/default/src/corvane build/windows/src/corvane.exe
echo "End-to-end checks under Wine: $(( $(date +%s) - start )) s"
