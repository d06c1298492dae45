#!/bin/sh
# Times source discovery on 20,000 sources of 4 KiB each against cat reading
# the same files, both with the files in the page cache.
# Usage: bench/discovery_vs_cat.sh [build/release/bench/corvane_bench]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bench=${1:-build/release/bench/corvane_bench}
bench=$(cd "$(dirname "$bench")" && pwd)/$(basename "$bench")
dir=$(mktemp -d /tmp/corvane-discovery-XXXXXX)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
sh "$here/write_sources.sh"
best=""
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  cat ./* > /dev/null
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
echo "cat of 20,000 files: best of 5 runs ${best} ms"
CORVANE_BENCH_DIR="$dir" "$bench" --benchmark_filter=ScanSources
