#!/usr/bin/env bash
# Installs what is missing, builds, and runs one of the test builds' Windows
# programs on a headless Wine desktop that lasts as long as the program: the
# 32-bit build, the product, natively or under emulation, else the x64 build.
# With VELMORA_NATIVE=1, as for timings, only a build that runs natively.
#   scripts/on-desktop.sh PROGRAM.exe [ARGUMENTS...]
source "$(dirname "$0")/contain.sh"
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
if how=$(tests/wine/desktop.sh check win32) &&
  { [ -z "${VELMORA_NATIVE:-}" ] || [ "$how" = "32-bit build: runs here" ]; }; then
  arch=win32 bits=32
  echo "Using the 32-bit build (build/win32/velmora.exe), the product: this host runs it${how#*runs here}."
elif tests/wine/desktop.sh check win64 >/dev/null; then
  arch=win64 bits=64
  case $how in
  *emulation*) why="runs here only ${how#*runs here }, whose timings say nothing of the product's" ;;
  *) why=${how#32-bit build: } ;;
  esac
  echo "Using the x64 build (build/win64/velmora.exe), the same sources, natively: the 32-bit build $why."
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
