#!/bin/sh
# Builds the two packages into build/packages and checks what they hold:
# the Debian package of the Linux program (optimised build, "package"
# preset) and the zip of corvane.exe for Windows (MinGW-w64 cross build,
# "windows" preset). The Debian package is also checked with lintian, and
# unpacked into a scratch root to run the program from there. Installs the
# Debian packages it needs, but only those that are missing.
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
check "Debian package holds the program, the man page, the README, copyright and changelog" \
  same "$files" "./usr/bin/corvane
./usr/share/doc/corvane/README.md
./usr/share/doc/corvane/changelog.gz
./usr/share/doc/corvane/copyright
./usr/share/man/man1/corvane.1.gz"
# Debian's own checks of a package. No error may remain but the two about
# the maintainer's address, which the project does not have yet: the
# Maintainer field without one (malformed-contact) and the changelog's
# signature line with an empty one (bogus-mail-host-in-debian-changelog).
check "Debian package passes lintian, but for the missing maintainer address" \
  lintian --fail-on error \
  --suppress-tags malformed-contact,bogus-mail-host-in-debian-changelog "$deb"

dpkg -x "$deb" "$scratch/root"
check "program of the unpacked Debian package prints its version" \
  same "$("$scratch/root/usr/bin/corvane" --version)" "corvane $version"
check "man page of the Debian package names the version" \
  sh -c 'gzip -dc "$1" | grep -q "^\.TH CORVANE 1 .*\"Corvane $2\""' - \
  "$scratch/root/usr/share/man/man1/corvane.1.gz" "$version"

entries=$(unzip -Z1 "$zip" | sort)
check "Windows zip holds corvane.exe, the README and the licence" \
  same "$entries" "corvane-$version-windows/LICENSE.txt
corvane-$version-windows/README.txt
corvane-$version-windows/corvane.exe"
check "listing of the Windows zip" unzip -l "$zip"
check "corvane.exe in the zip is a Windows program" \
  same "$(unzip -p "$zip" "corvane-$version-windows/corvane.exe" | head -c 2)" "MZ"

echo "Packages: $deb $zip"
[ "$failures" -eq 0 ]
