#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing; as
# root it installs them, otherwise it names them and stops.
set -eu
packages=(cmake make g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev octave liboctave-dev octave-doctest valgrind libtiff-dev pkg-config libtiff-tools python3-tifffile python3-dev pybind11-dev python3-numpy python3-pytest python3-venv python3-setuptools xvfb xauth fonts-freefont-otf)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Run as root, or: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
