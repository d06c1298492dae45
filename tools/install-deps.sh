#!/bin/sh
# Installs the Debian packages that building and testing Corvane needs, but
# only those that are missing, so that a second run does nothing.
set -eu
packages="cmake g++ make libgtest-dev libgmock-dev libncurses-dev libvterm-dev libbenchmark-dev pkg-config"
if [ "${1:-}" = "--tests" ]; then
  packages="$packages clang-14 libclang-rt-14-dev"
fi
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
