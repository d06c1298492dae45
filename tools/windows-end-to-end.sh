#!/bin/bash
# End-to-end checks of the Windows program: the end-to-end tests of the
# Linux build run against corvane.exe under Wine (CORVANE_LAUNCHER and
# CORVANE_PROGRAM name Wine and the program), in a Wine prefix of their own
# that is thrown away afterwards. The scripted runs give it keys on standard
# input and check its exit status and every byte of the files it leaves; the
# terminal runs show it on a pseudo-terminal through Wine's console.
#   tools/windows-end-to-end.sh LINUX_BUILD_DIRECTORY WINDOWS_CORVANE_EXE
set -u
tests=$(realpath "$1")/tests/e2e
windows_corvane=$(realpath "$2")

if [ -x /usr/lib/wine/wine64 ]; then wine=/usr/lib/wine/wine64; else wine=$(command -v wine64); fi
if command -v wineserver >/dev/null 2>&1; then wineserver=wineserver
else wineserver=/usr/lib/wine/wineserver64; fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/corvane-e2e.XXXXXX")
export WINEPREFIX="$scratch/prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$wineserver" -k >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT

"$wine" wineboot --init >/dev/null 2>&1

export CORVANE_LAUNCHER="$wine" CORVANE_PROGRAM="$windows_corvane"
failures=0
for program in corvane_e2e_tests corvane_wine_terminal_tests; do
  if "$tests/$program"; then
    echo "ok   $program against corvane.exe under Wine"
  else
    echo "FAIL $program against corvane.exe under Wine"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
