#!/usr/bin/env bash
# Checks the built tools and their sources: each binary's kind, imports and
# resources (version information and manifest), each release zip's contents
# and users' readme, formatting, clang-tidy
# (.clang-tidy) and cppcheck. Needs scripts/build.sh to have run.
set -euo pipefail
cd "$(dirname "$0")/.."
sources=(clipboard common driver host)
copyright=$(grep -m1 '^Copyright' LICENSE)

for build in win32:i686:pei-i386 win64:x86_64:pei-x86-64; do
  IFS=: read -r dir processor format <<<"$build"
  exe=build/$dir/velmora.exe
  echo "== $exe"
  headers=$("$processor-w64-mingw32-objdump" -p "$exe")
  grep -q "file format $format\$" <<<"$headers" || { echo "not a $format image"; exit 1; }
  grep -qE 'Subsystem\s+00000002' <<<"$headers" || { echo "not of the GUI subsystem"; exit 1; }
  imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print toupper($3)}' | sort | tr '\n' ' ')
  echo "imports: $imports"
  [ "$imports" = "KERNEL32.DLL MSVCRT.DLL USER32.DLL " ] || { echo "unexpected imports"; exit 1; }
  # Debian's pefile, which a Python of another installation may lack.
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "build/$dir/CMakeCache.txt")
  /usr/bin/python3 scripts/check-resources.py "$exe" "$version" "$copyright"
  stripped=$(mktemp)
  "$processor-w64-mingw32-strip" -o "$stripped" "$exe"
  echo "stripped size: $(stat -c %s "$stripped") bytes"
  rm -f "$stripped"
  release=build/$dir/release/velmora-$version.zip
  echo "== $release"
  /usr/bin/python3 scripts/check-release.py "$release" "$version"
done

echo "== clang-format"
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror

echo "== clang-tidy (with the compile commands of build/clang-win32)"
find "${sources[@]}" -name '*.cpp' -print0 |
  xargs -0 -n 4 -P "$(nproc)" clang-tidy -p build/clang-win32 --quiet 2>/dev/null

echo "== cppcheck"
# cppcheck 2.11 and later (Debian 13 has 2.17) limit their analysis of
# branches unless told to check exhaustively; 2.10 (Debian 12) has neither
# the levels nor the option.
exhaustive=()
[[ $(cppcheck --help) == *--check-level* ]] && exhaustive=(--check-level=exhaustive)
cppcheck --enable=warning,style,performance,portability --std=c++17 \
  --language=c++ --inline-suppr --error-exitcode=1 --quiet "${exhaustive[@]}" \
  -I . "${sources[@]}"
echo "static checks passed in $SECONDS s"
