#!/bin/sh
# Builds the two packages into build/packages and checks what they hold:
# the Debian package of the Linux program (optimised build, "package"
# preset) and the zip of corvane.exe for Windows (MinGW-w64 cross build,
# "windows" preset). The Debian package is also unpacked into a scratch root
# and the program run from there. Installs the Debian packages it needs, but
# only those that are missing.
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh --windows --packages

version=$(sed -n 's/^project(Corvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb="build/packages/corvane_${version}_$(dpkg --print-architecture).deb"
zip="build/packages/corvane-${version}-windows.zip"
rm -f "$deb" "$zip"

cmake --preset package >/dev/null
cmake --build --preset package
cpack --preset deb
cmake --preset windows >/dev/null
cmake --build --preset windows --target corvane
cpack --preset windows-zip

failures=0
check() {  # check DESCRIPTION COMMAND...: the command must succeed
  description=$1
  shift
  if "$@"; then
    echo "ok   $description"
  else
    echo "FAIL $description"
    failures=$((failures + 1))
  fi
}
same() { [ "$1" = "$2" ] || { printf '%s\n--- expected ---\n%s\n' "$1" "$2"; false; }; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/corvane-packages.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

info=$(dpkg-deb --info "$deb")
check "Debian package named corvane, version $version" \
  sh -c 'printf "%s\n" "$1" | grep -qx " Package: corvane" &&
         printf "%s\n" "$1" | grep -qx " Version: $2"' - "$info" "$version"
# The dependencies come from the libraries the program links.
check "Debian package depends on the C library and ncurses" \
  sh -c 'printf "%s\n" "$1" | grep -q "^ Depends: .*libc6.*libncursesw6"' - "$info"
files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
check "Debian package holds the program, the man page and the README, nothing else" \
  same "$files" "./usr/bin/corvane
./usr/share/doc/corvane/README.md
./usr/share/man/man1/corvane.1.gz"

dpkg -x "$deb" "$scratch/root"
check "program of the unpacked Debian package prints its version" \
  same "$("$scratch/root/usr/bin/corvane" --version)" "corvane $version"
check "man page of the Debian package names the version" \
  sh -c 'gzip -dc "$1" | grep -q "^\.TH CORVANE 1 .*\"Corvane $2\""' - \
  "$scratch/root/usr/share/man/man1/corvane.1.gz" "$version"

entries=$(unzip -Z1 "$zip" | sort)
check "Windows zip holds corvane.exe and the README" \
  same "$entries" "corvane-$version-windows/README.txt
corvane-$version-windows/corvane.exe"
check "listing of the Windows zip" unzip -l "$zip"
check "corvane.exe in the zip is a Windows program" \
  same "$(unzip -p "$zip" "corvane-$version-windows/corvane.exe" | head -c 2)" "MZ"

echo "Packages: $deb $zip"
[ "$failures" -eq 0 ]
