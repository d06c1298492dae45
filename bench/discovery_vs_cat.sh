#!/bin/sh
# Times source discovery on 20,000 sources of 4 KiB each against cat reading
# the same files, both with the files in the page cache.
# Usage: bench/discovery_vs_cat.sh [build/release/bench/corvane_bench]
set -eu
bench=${1:-build/release/bench/corvane_bench}
bench=$(cd "$(dirname "$bench")" && pwd)/$(basename "$bench")
dir=$(mktemp -d /tmp/corvane-discovery-XXXXXX)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
i=0
line="int helper(int value) { return value * 3 + 1; }"
block=""
while [ ${#block} -lt 4096 ]; do block="$block$line
"; done
block=$(printf '%s' "$block" | head -c 4095)
while [ $i -lt 20000 ]; do
  ext=cpp; [ $((i % 4)) -eq 0 ] && ext=c
  printf '%s\n' "$block" > "s$i.$ext"
  i=$((i + 1))
done
cat ./* > /dev/null  # warm the cache
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
