#!/bin/sh
# Writes 20,000 sources of 4 KiB each into the current directory, every
# fourth a .c file, none of which defines an entry point, and reads them
# once so that they are in the page cache. The measurements of the
# discovery and of the whole run share this directory's shape.
set -eu
line="int helper(int value) { return value * 3 + 1; }"
block=""
while [ ${#block} -lt 4096 ]; do block="$block$line
"; done
block=$(printf '%s' "$block" | head -c 4095)
i=0
while [ $i -lt 20000 ]; do
  ext=cpp; [ $((i % 4)) -eq 0 ] && ext=c
  printf '%s\n' "$block" > "s$i.$ext"
  i=$((i + 1))
done
cat ./* > /dev/null
