#!/usr/bin/env bash
# Installs, on Debian 12 as root, whatever the build and the tests still lack:
# both cross compilers, with both thread models, and Wine for the 32-bit and
# the x64 programs, whichever of them this host can run.
set -euo pipefail
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
  wine32:i386 xvfb locales clang libclang-rt-14-dev libgtest-dev googletest
  clang-tidy clang-format cppcheck zip git python3-pefile)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
