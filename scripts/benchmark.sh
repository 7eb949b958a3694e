#!/usr/bin/env bash
# Prints what a run of the tool costs against plain-C programs doing the least
# the same job needs, on the headless Wine desktop. Figures only, and of a
# build that runs natively: the x64 build where the product runs only under
# emulation.
#   scripts/benchmark.sh [runs] [revision]     (default 101 runs)
# With a git revision, that revision's tool is built the same way and timed
# in the same interleaved runs, as the baseline.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-101}
for bits in 32 64; do rm -f "build/win$bits/velmora_baseline.exe"; done
if [ -n "${2:-}" ]; then
  work=$(mktemp -d)
  trap 'git worktree remove --force "$work/source"; rm -rf "$work"' EXIT
  git worktree add -q --detach "$work/source" "$2"
  for arch in 32:i686 64:x86_64; do
    bits=${arch%%:*} processor=${arch#*:}
    cmake -S "$work/source" -B "$work/win$bits" -DVELMORA_SKIP_TESTS=ON \
      -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$processor.cmake" >/dev/null
    cmake --build "$work/win$bits" --target velmora -j"$(nproc)" >/dev/null
    mkdir -p "build/win$bits"
    cp "$work/win$bits/velmora.exe" "build/win$bits/velmora_baseline.exe"
  done
  echo "Baseline: the tool of $2 ($(git rev-parse --short "$2"))"
fi
VELMORA_NATIVE=1 scripts/on-desktop.sh velmora_bench.exe "$runs"
