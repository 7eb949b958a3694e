#!/usr/bin/env bash
# Checks the built tools and their sources: each binary's kind, imports and
# resources (version information and manifest), each release zip's contents
# and users' readme, formatting, clang-tidy (.clang-tidy), cppcheck, and every
# shell script with shellcheck, as .shellcheckrc sets it. Needs
# scripts/build.sh to have run. Every check runs; the last lines name each
# one that failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit
sources=(clipboard common driver host)
copyright=$(grep -m1 '^Copyright' LICENSE)
failed=()

binary() {
  local dir=$1 processor=$2 format=$3 exe headers imports version stripped release
  exe=build/$dir/velmora.exe
  echo "== $exe"
  headers=$("$processor-w64-mingw32-objdump" -p "$exe") || return
  grep -q "file format $format\$" <<<"$headers" || { echo "not a $format image"; return 1; }
  grep -qE 'Subsystem\s+00000002' <<<"$headers" || { echo "not of the GUI subsystem"; return 1; }
  imports=$(grep 'DLL Name:' <<<"$headers" | awk '{print toupper($3)}' | sort | tr '\n' ' ')
  echo "imports: $imports"
  [ "$imports" = "KERNEL32.DLL MSVCRT.DLL USER32.DLL " ] || { echo "unexpected imports"; return 1; }
  # Debian's pefile, which a Python of another installation may lack.
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "build/$dir/CMakeCache.txt")
  /usr/bin/python3 scripts/check-resources.py "$exe" "$version" "$copyright" || return
  stripped=$(mktemp)
  "$processor-w64-mingw32-strip" -o "$stripped" "$exe" &&
    echo "stripped size: $(stat -c %s "$stripped") bytes"
  rm -f "$stripped"
  release=build/$dir/release/velmora-$version.zip
  echo "== $release"
  /usr/bin/python3 scripts/check-release.py "$release" "$version"
}
for build in win32:i686:pei-i386 win64:x86_64:pei-x86-64; do
  IFS=: read -r dir processor format <<<"$build"
  binary "$dir" "$processor" "$format" || failed+=("build/$dir/velmora.exe")
done

echo "== clang-format"
git ls-files -z '*.cpp' '*.h' '*.c' | xargs -0 clang-format --dry-run --Werror || failed+=(clang-format)

echo "== clang-tidy (with the compile commands of build/clang-win32)"
find "${sources[@]}" -name '*.cpp' -print0 |
  xargs -0 -n 4 -P "$(nproc)" clang-tidy -p build/clang-win32 --quiet 2>/dev/null ||
  failed+=(clang-tidy)

echo "== cppcheck"
# cppcheck 2.11 and later (Debian 13 has 2.17) limit their analysis of
# branches unless told to check exhaustively; 2.10 (Debian 12) has neither
# the levels nor the option.
exhaustive=()
[[ $(cppcheck --help) == *--check-level* ]] && exhaustive=(--check-level=exhaustive)
cppcheck --enable=warning,style,performance,portability --std=c++17 \
  --language=c++ --inline-suppr --error-exitcode=1 --quiet "${exhaustive[@]}" \
  -I . "${sources[@]}" || failed+=(cppcheck)

echo "== shellcheck (.shellcheckrc)"
start=$SECONDS
mapfile -t scripts < <(git ls-files '*.sh' '*.bats' '*.bash' .ci/run)
shellcheck "${scripts[@]}" || failed+=(shellcheck)
echo "shellcheck: ${#scripts[@]} scripts in $((SECONDS - start)) s"

echo "static checks ended in $SECONDS s"
[ ${#failed[@]} = 0 ] && exit 0
for check in "${failed[@]}"; do echo "static checks: FAILED: $check"; done
exit 1
