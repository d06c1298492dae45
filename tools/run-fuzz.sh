#!/bin/sh
# Builds the libFuzzer target of the project file loader with the "fuzz"
# preset (clang-14) and runs it for a number of seconds (default 60), starting
# from the seed corpus in fuzz/corpus. New inputs it finds go to a scratch
# directory, so the corpus in the repository stays small.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
cmake --preset fuzz
cmake --build --preset fuzz --target project_loader_fuzz
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
./build/fuzz/fuzz/project_loader_fuzz -max_total_time="$seconds" -max_len=65536 \
  -timeout=30 -rss_limit_mb=4096 -artifact_prefix=./build/fuzz/ \
  "$scratch" fuzz/corpus
