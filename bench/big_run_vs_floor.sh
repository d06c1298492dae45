#!/bin/sh
# Times Corvane's whole scripted run in a directory of 20,000 sources of
# 4 KiB, none of which defines an entry point (so every one is read), with
# the compiler beside the program: Enter on the main screen saves the
# project file and writes the makefile. Against it, the floor: a small C
# program that does only what any program doing this job must (list the
# directory, read every source once, write two files durably). The programs
# run in turns, the files in the page cache, and the medians are printed
# with each program's ratio to the floor's median.
# Usage: bench/big_run_vs_floor.sh FLOOR.c [RUNS [CORVANE...]]
#   RUNS defaults to 9, CORVANE to build/release/src/corvane; several
#   programs (an older build beside a newer) are measured in the same turns.
#   Each run starts after an untimed pause of CORVANE_BENCH_PAUSE seconds
#   (default 0.2) since the directory last changed (the files of the run
#   before removed), as when a user starts the program; 0 starts at once,
#   and then Corvane lists the directory afresh each time it asks.
set -eu
pause=${CORVANE_BENCH_PAUSE:-0.2}
here=$(cd "$(dirname "$0")" && pwd)
floor_source=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
runs=${2:-9}
[ $# -ge 2 ] && shift 2 || shift $#
[ $# -eq 0 ] && set -- build/release/src/corvane
dir=$(mktemp -d /tmp/corvane-big-run-XXXXXX)
trap 'rm -rf "$dir"' EXIT

# Each program goes into a compiler's Bin directory of its own, beside
# Bcc32.exe, so that no prompt asks for the compiler.
n=0
for program in "$@"; do
  n=$((n + 1))
  mkdir -p "$dir/bcc$n/Bin"
  cp "$program" "$dir/bcc$n/Bin/corvane"
  : > "$dir/bcc$n/Bin/Bcc32.exe"
  : > "$dir/times$n"
done
programs=$n
cc -O2 -o "$dir/floor" "$floor_source"
: > "$dir/times0"

mkdir "$dir/work"
cd "$dir/work"
sh "$here/write_sources.sh"

now() { date +%s%N; }
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Prints the microseconds one run took.
run_once() {
  rm -f Project.gen Makefile.b
  sleep "$pause"
  if [ "$1" -eq 0 ]; then
    start=$(now)
    "$dir/floor" . > /dev/null
    end=$(now)
  else
    start=$(now)
    printf '\r' | WINEPREFIX="$dir/no-wine" "$dir/bcc$1/Bin/corvane" > /dev/null
    end=$(now)
    [ -s Project.gen ] && [ -s Makefile.b ] || { echo "corvane wrote no files" >&2; exit 1; }
  fi
  echo $(( (end - start) / 1000 ))
}

# A first run of each pays for loading the programs.
p=0
while [ $p -le $programs ]; do run_once $p > /dev/null; p=$((p + 1)); done
r=0
while [ $r -lt "$runs" ]; do
  p=0
  while [ $p -le $programs ]; do run_once $p >> "$dir/times$p"; p=$((p + 1)); done
  r=$((r + 1))
done

floor=$(median "$dir/times0")
echo "median of $runs runs in turns, 20,000 sources of 4 KiB:"
awk -v t="$floor" 'BEGIN { printf "  floor   %7.1f ms\n", t / 1000 }'
p=1
for program in "$@"; do
  t=$(median "$dir/times$p")
  awk -v t="$t" -v f="$floor" -v name="$program" \
    'BEGIN { printf "  corvane %7.1f ms  %.2fx the floor  (%s)\n", t / 1000, t / f, name }'
  p=$((p + 1))
done
