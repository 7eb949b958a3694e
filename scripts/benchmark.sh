#!/usr/bin/env bash
# Prints what a run of the tool costs against plain-C programs doing the least
# the same job needs, on the headless Wine desktop. Figures only.
#   scripts/benchmark.sh [runs]     (default 101)
exec "$(dirname "$0")/on-desktop.sh" velmora_bench.exe "${1:-101}"
