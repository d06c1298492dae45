#!/bin/bash
# End-to-end check of the Windows program: the same keys are given on
# standard input to the Linux build and, under Wine, to corvane.exe, each in
# a fresh directory holding the same sources; both runs must end with the
# same exit status and leave exactly the same files with the same bytes.
# Then corvane.exe is run on a pseudo-terminal under Wine, where it must
# show its main screen and end with status 1 on Esc.
#   tools/windows-end-to-end.sh LINUX_CORVANE WINDOWS_CORVANE_EXE
set -u
linux_corvane=$(realpath "$1")
windows_corvane=$(realpath "$2")
here=$(dirname "$(realpath "$0")")

if [ -x /usr/lib/wine/wine64 ]; then wine=/usr/lib/wine/wine64; else wine=wine64; fi
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
# The compiler directory both builds find: C:\BCC55 of the Wine prefix (the
# Linux build maps drive letters through the prefix, as Wine does).
mkdir -p "$WINEPREFIX/drive_c/BCC55/Bin"
: > "$WINEPREFIX/drive_c/BCC55/Bin/Bcc32.exe"

failures=0
checks=0

# The sources every run starts from, plus any files the scenario adds.
make_directory() {
  local directory=$1
  mkdir -p "$directory"
  printf 'int main()\r\n{\r\n  return 0;\r\n}\r\n' > "$directory/hello.cpp"
  printf 'void helper(void) {}\n' > "$directory/util.c"
  printf '#include <windows.h>\nint PASCAL WinMain(HINSTANCE h, HINSTANCE p, LPSTR c, int s)\n' \
    > "$directory/gui.cpp"
}

# scenario NAME KEYS [ARGUMENTS...]; KEYS are printf escapes. A file
# "$scratch/setup" run in each directory first can prepare more files.
scenario() {
  local name=$1 keys=$2
  shift 2
  checks=$((checks + 1))
  local base="$scratch/$checks"
  make_directory "$base/linux/work"
  make_directory "$base/windows/work"
  if [ -n "${setup:-}" ]; then
    (cd "$base/linux/work" && eval "$setup")
    (cd "$base/windows/work" && eval "$setup")
  fi
  (cd "$base/linux/work" && printf "$keys" | timeout 60 "$linux_corvane" "$@" >/dev/null 2>&1)
  local linux_status=$?
  (cd "$base/windows/work" && printf "$keys" | timeout 60 "$wine" "$windows_corvane" "$@" >/dev/null 2>&1)
  local windows_status=$?
  if [ "$linux_status" != "$windows_status" ]; then
    echo "FAIL $name: exit status $linux_status on Linux, $windows_status under Wine"
    failures=$((failures + 1))
  elif ! diff -r "$base/linux/work" "$base/windows/work" >"$base/diff" 2>&1; then
    echo "FAIL $name: the files differ"
    sed 's/^/    /' "$base/diff" | head -40
    failures=$((failures + 1))
  else
    echo "ok   $name (status $linux_status, files: $(cd "$base/windows/work" && ls | tr '\n' ' '))"
  fi
}

enter='\r'
esc='\033'
backspace='\177'
right='\033[C'
compiler="${backspace}C:\\\\BCC55${enter}"

setup=""
scenario "default project written" "${enter}${compiler}"
scenario "options, names and flags edited" \
  "kcf2${backspace}tool${enter}4-DWIN32 -w-par${enter}5-s${enter}${enter}${compiler}"
scenario "sources moved and advanced fields filled" \
  "${right}b${right}1C:\\\\inc;..\\\\inc${enter}3mylib.lib${enter}5app.res${enter}${enter}${compiler}"
scenario "project file renamed" "1${backspace}Other.gen${enter}${enter}${compiler}"
scenario "Esc in the editor writes nothing" "${esc}"
scenario "usage screen" "${enter}" "/?"
scenario "too many arguments" "${enter}" "a.gen" "b.gen"
scenario "script that ends early" ""
scenario "compiler directory asked again, then the default" \
  "${enter}${backspace}C:\\\\nowhere${enter}${backspace}${enter}"
setup='printf "target app.exe\r\nsource util.c\r\noption DLL ON\r\n" > Project.gen'
scenario "existing project loaded" "${enter}${enter}${compiler}"
scenario "existing project declined" "n${enter}${compiler}"
setup='printf "old makefile\r\n" > Makefile.b'
scenario "overwrite declined" "${enter}n"
scenario "overwrite accepted" "${enter}y${compiler}"
setup='mkdir Project.gen'
scenario "project file that cannot be written" "${enter}${enter}"
setup=""

# The interactive console: Wine's console on a pseudo-terminal.
checks=$((checks + 1))
if python3 "$here/wine-pty-check.py" "$wine" "$windows_corvane" "$scratch/pty"; then
  echo "ok   main screen on a terminal, Esc ends with status 1"
else
  echo "FAIL main screen on a terminal"
  failures=$((failures + 1))
fi

echo "$((checks - failures)) of $checks end-to-end checks passed"
[ "$failures" -eq 0 ]
