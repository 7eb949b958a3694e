#!/usr/bin/env bash
# Installs what is missing, builds, and shows the tool collecting two
# selections from the stand-in editor on a headless desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
desktop=build/win32/desktop
tests/wine/desktop.sh start "$desktop"
trap 'tests/wine/desktop.sh stop "$desktop"' EXIT
tests/wine/desktop.sh run "$desktop" build/win32/velmora_demo.exe
