#!/usr/bin/env bash
# Two clean builds of the release, in different folders, must give the same
# bytes: the exe and the zip alike.
#   tests/reproducible.sh [TOOLCHAIN-FILE]    (default: the 32-bit tool)
set -euo pipefail
source=$(realpath "$(dirname "$0")/..")
toolchain=${1:-$source/cmake/mingw-i686.cmake}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for build in one two; do
  cmake -S "$source" -B "$work/$build" -DVELMORA_SKIP_TESTS=ON \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
  cmake --build "$work/$build" --target release >/dev/null
done
for file in velmora-*/velmora.exe velmora-*.zip velmora-*.sha256; do
  # The pattern is matched in each release folder.
  # shellcheck disable=SC2086
  one=$(cd "$work/one/release" && sha256sum $file)
  # shellcheck disable=SC2086
  two=$(cd "$work/two/release" && sha256sum $file)
  echo "$one"
  [ "$one" = "$two" ] || { echo "differs: $two"; exit 1; }
done
