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

# scenario NAME STATUS FILES KEYS [ARGUMENTS...]: STATUS and FILES (the
# names left in the directory, sorted, separated by spaces) are what the run
# must end with; KEYS are printf escapes. Commands in $setup run in each
# directory first to prepare more files.
scenario() {
  local name=$1 expected_status=$2 expected_files=$3 keys=$4
  shift 4
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
  local files
  files=$(cd "$base/windows/work" && ls | tr '\n' ' ' | sed 's/ $//')
  if [ "$windows_status" != "$expected_status" ] || [ "$files" != "$expected_files" ]; then
    echo "FAIL $name: status $windows_status and files \"$files\" under Wine;" \
      "$expected_status and \"$expected_files\" expected"
    failures=$((failures + 1))
  elif [ "$linux_status" != "$windows_status" ]; then
    echo "FAIL $name: exit status $linux_status on Linux, $windows_status under Wine"
    failures=$((failures + 1))
  elif ! diff -r "$base/linux/work" "$base/windows/work" >"$base/diff" 2>&1; then
    echo "FAIL $name: the files differ"
    sed 's/^/    /' "$base/diff" | head -40
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

enter='\r'
esc='\033'
backspace='\177'
right='\033[C'
compiler="${backspace}C:\\\\BCC55${enter}"

sources="gui.cpp hello.cpp util.c"
written="Makefile.b Project.gen $sources"
setup=""
scenario "default project written" 0 "$written" "${enter}${compiler}"
checks=$((checks + 1))
if grep -q $'^BCDIR = C:\\\\BCC55\r$' "$scratch/1/windows/work/Makefile.b" 2>/dev/null; then
  echo "ok   compiler directory of the Wine prefix in the makefile"
else
  echo "FAIL compiler directory: the makefile does not say BCDIR = C:\\BCC55"
  failures=$((failures + 1))
fi
scenario "options, names and flags edited" 0 "$written" \
  "kcf2${backspace}tool${enter}4-DWIN32 -w-par${enter}5-s${enter}${enter}${compiler}"
scenario "sources moved and advanced fields filled" 0 "$written" \
  "${right}b${right}1C:\\\\inc;..\\\\inc${enter}3mylib.lib${enter}5app.res${enter}${enter}${compiler}"
scenario "project file renamed" 0 "Makefile.b Other.gen $sources" \
  "1${backspace}Other.gen${enter}${enter}${compiler}"
scenario "non-ASCII characters are keys the screens ignore" 0 "Makefile.b Project.genX $sources" \
  "\303\2631X${enter}${enter}${compiler}"
scenario "Esc in the editor writes nothing" 1 "$sources" "${esc}"
scenario "usage screen" 0 "$sources" "${enter}" "/?"
scenario "too many arguments" 1 "$sources" "${enter}" "a.gen" "b.gen"
scenario "script that ends early" 1 "$sources" ""
scenario "compiler directory asked again, then the default" 0 "$written" \
  "${enter}${backspace}C:\\\\nowhere${enter}${backspace}${enter}"
setup='printf "target app.exe\r\nsource util.c\r\noption DLL ON\r\n" > Project.gen'
scenario "existing project loaded" 0 "$written" "${enter}${enter}${compiler}"
scenario "existing project declined" 0 "$written" "n${enter}${compiler}"
setup='printf "old makefile\r\n" > Makefile.b'
scenario "overwrite declined" 0 "$written" "${enter}n"
scenario "overwrite accepted" 0 "$written" "${enter}y${compiler}"
setup='mkdir Project.gen'
scenario "project file that cannot be written" 1 "Project.gen $sources" "${enter}${enter}"
setup=""

# The interactive console: Wine's console on a pseudo-terminal, read back
# through a terminal emulator (the Linux build's libvterm test program).
checks=$((checks + 1))
if CORVANE_WINE="$(command -v "$wine")" CORVANE_WINDOWS_EXE="$windows_corvane" \
    "$(dirname "$linux_corvane")/../tests/e2e/corvane_wine_terminal_tests"; then
  echo "ok   interactive runs on a terminal: main screen and Esc, a whole session, non-ASCII and Alt keys, usage, interrupt"
else
  echo "FAIL interactive runs on a terminal"
  failures=$((failures + 1))
fi

echo "$((checks - failures)) of $checks end-to-end checks passed"
[ "$failures" -eq 0 ]
