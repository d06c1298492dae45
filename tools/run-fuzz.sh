#!/bin/sh
# Builds the libFuzzer targets with the "fuzz" preset (clang-14) and runs
# them one after the other, sharing a number of seconds (default 60): the
# project file loader and the key decoder, each starting from its seed
# corpus in fuzz/corpus/<target>. New inputs they find go to a scratch
# directory, so the corpora in the repository stay small.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
cmake --preset fuzz
cmake --build --preset fuzz --target project_loader_fuzz key_decoder_fuzz
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
share=$((seconds / 2))
[ "$share" -gt 0 ] || share=1

fuzz() {
  target="$1"
  max_len="$2"
  mkdir -p "$scratch/$target"
  "./build/fuzz/fuzz/$target" -max_total_time="$share" -max_len="$max_len" \
    -timeout=30 -rss_limit_mb=4096 -artifact_prefix=./build/fuzz/ \
    "$scratch/$target" "fuzz/corpus/$target"
}

fuzz project_loader_fuzz 65536
fuzz key_decoder_fuzz 4096
