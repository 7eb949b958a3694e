#!/usr/bin/env bash
# Installs what is missing, builds, and runs one of the built Windows programs
# on a headless Wine desktop that lasts as long as the program.
#   scripts/on-desktop.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
desktop=build/win32/desktop
tests/wine/desktop.sh start "$desktop"
trap 'tests/wine/desktop.sh stop "$desktop"' EXIT
program=$1
shift
tests/wine/desktop.sh run "$desktop" "build/win32/$program" "$@"
