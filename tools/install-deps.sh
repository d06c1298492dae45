#!/bin/sh
# Installs the Debian packages that building and testing Corvane needs, but
# only those that are missing, so that a second run does nothing.
#   --tests    also what the fuzzer needs (clang with its runtime)
#   --windows  also the MinGW-w64 cross compiler, GoogleTest's sources and Wine
#   --packages also what building and checking the packages needs (dpkg-dev
#              for the dependencies of the Debian package, unzip, lintian)
set -eu
packages="cmake g++ make pkg-config libgtest-dev libgmock-dev libncurses-dev libvterm-dev libbenchmark-dev"
for option in "$@"; do
  case "$option" in
    --tests) packages="$packages clang-14 libclang-rt-14-dev" ;;
    --windows) packages="$packages g++-mingw-w64-x86-64 googletest wine64 wine" ;;
    --packages) packages="$packages dpkg-dev unzip lintian" ;;
    *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
  esac
done
missing=""
for package in $packages; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing
fi
