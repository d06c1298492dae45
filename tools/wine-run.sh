#!/bin/sh
# Runs one Windows program under Wine without a display and without touching
# the user's own Wine setup: unless WINEPREFIX is given, a fresh prefix is
# made in a temporary directory and removed afterwards. The program's exit
# status is passed on.
#   tools/wine-run.sh program.exe [arguments...]
set -u

if [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
elif command -v wine64 >/dev/null 2>&1; then
  wine=wine64
else
  wine=wine
fi

if command -v wineserver >/dev/null 2>&1; then
  wineserver=wineserver
elif [ -x /usr/lib/wine/wineserver64 ]; then
  wineserver=/usr/lib/wine/wineserver64
else
  wineserver=/usr/lib/wine/wineserver
fi

# No debug chatter, and no offer to install Mono or Gecko into the prefix.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY WAYLAND_DISPLAY

own_prefix=""
if [ -z "${WINEPREFIX:-}" ]; then
  own_prefix="$(mktemp -d "${TMPDIR:-/tmp}/corvane-wine.XXXXXX")"
  export WINEPREFIX="$own_prefix"
  # Set the prefix up first so that its messages do not mix with the
  # program's output.
  "$wine" wineboot --init >/dev/null 2>&1
fi

"$wine" "$@"
status=$?

if [ -n "$own_prefix" ]; then
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
  rm -rf "$own_prefix"
fi
exit $status
