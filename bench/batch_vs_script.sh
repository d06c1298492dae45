#!/bin/sh
# Times regenerating the makefile in a directory of 20,000 sources, the
# project file and the makefile there already: `corvane --batch` against the
# scripted keys that do the same on the screens (Enter at the load question,
# Enter on the main screen, y to overwrite, the compiler directory). Each is
# run 9 times with the files in the page cache; the median, the fastest and
# the slowest are printed in milliseconds.
# Usage: bench/batch_vs_script.sh [corvane [corvane to time the keys with]]
# (the second defaults to the first: name an older build to compare with it).
set -eu
here=$(pwd)
absolute() { case $1 in /*) echo "$1" ;; *) echo "$here/$1" ;; esac; }
corvane=$(absolute "${1:-build/release/src/corvane}")
scripted=$(absolute "${2:-$corvane}")
dir=$(mktemp -d /tmp/corvane-batch-XXXXXX)
trap 'rm -rf "$dir"' EXIT

# A Wine prefix of its own holding C:\BCC55\Bin\Bcc32.exe, looked up as Wine
# looks drive letters up.
export WINEPREFIX="$dir/wine" HOME="$dir"
mkdir -p "$WINEPREFIX/dosdevices" "$WINEPREFIX/drive_c/BCC55/Bin"
ln -s "$WINEPREFIX/drive_c" "$WINEPREFIX/dosdevices/c:"
: > "$WINEPREFIX/drive_c/BCC55/Bin/Bcc32.exe"

mkdir "$dir/work"
cd "$dir/work"
i=0
while [ $i -lt 20000 ]; do
  ext=cpp; [ $((i % 4)) -eq 0 ] && ext=c
  if [ $i -eq 0 ]; then echo 'int main(void) { return 0; }'; else echo 'int helper(int x) { return x; }'; fi \
    > "$(printf 's%05d.%s' $i $ext)"
  i=$((i + 1))
done
"$corvane" --batch --compiler='C:\BCC55' >/dev/null
keys='\r\ry\177C:\\BCC55\r'

now() { date +%s%N; }
# Runs the command 9 times; prints the median, the fastest and the slowest.
timed() {
  times=""
  for run in 1 2 3 4 5 6 7 8 9; do
    start=$(now)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    end=$(now)
    times="$times $(( (end - start) / 1000000 ))"
  done
  set -- $(printf '%s\n' $times | sort -n)
  echo "median $5 ms (fastest $1, slowest $9)"
}
script() { printf "$keys" | "$scripted"; }
echo "scripted keys: $(timed script)"
echo "--batch:       $(timed "$corvane" --batch)"
