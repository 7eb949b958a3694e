#!/usr/bin/env bash
# Installs what is missing, builds, and runs one of the test builds' Windows
# programs on a headless Wine desktop that lasts as long as the program: the
# 32-bit build where this host runs it, else the x64 build.
#   scripts/on-desktop.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
if why=$(tests/wine/desktop.sh check win32); then
  arch=win32 bits=32
  echo "Using the 32-bit build (build/win32/velmora.exe), the product: this host runs it."
elif tests/wine/desktop.sh check win64 >/dev/null; then
  arch=win64 bits=64
  echo "Using the x64 build (build/win64/velmora.exe), the same sources: the 32-bit build ${why#32-bit build: }."
else
  echo "No Wine can run here: $(tests/wine/desktop.sh check win64)" >&2
  exit 1
fi
desktop=build/win$bits-tests/desktop
tests/wine/desktop.sh start "$arch" "$desktop"
trap 'tests/wine/desktop.sh stop "$arch" "$desktop"' EXIT
program=$1
shift
tests/wine/desktop.sh run "$arch" "$desktop" "build/win$bits-tests/$program" \
  --tool-dir="$PWD/build/win$bits" "$@"
