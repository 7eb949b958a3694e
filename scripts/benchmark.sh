#!/usr/bin/env bash
# Prints what a run of the tool costs against plain-C programs doing the least
# the same job needs, on the headless Wine desktop. Figures only.
#   scripts/benchmark.sh [runs]     (default 101)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh >/dev/null
desktop=build/win32/desktop
tests/wine/desktop.sh start "$desktop"
trap 'tests/wine/desktop.sh stop "$desktop"' EXIT
tests/wine/desktop.sh run "$desktop" build/win32/velmora_bench.exe "${1:-101}"
