#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the static checks,
# the native byte-logic tests and a bounded fuzz run, and the tests on a
# headless Wine desktop against the 32-bit and the x64 build: the x64 build
# natively, the 32-bit build natively or, where the processor cannot run it,
# under emulation (VELMORA_X64_ONLY=1 skips the 32-bit runs everywhere).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/static-checks.sh
ctest --test-dir build/native --output-on-failure
# The two builds' suites run at once, each on a desktop of its own, and are
# shown one after the other; GoogleTest's own report (verbose) shows every
# case, and every skip with its reason. The reproducible builds, which want
# both processors, come after.
suite() {
  ctest --test-dir "build/win$1-tests" --output-on-failure -V "${@:2}" |
    grep -v -e '^UpdateCTestConfiguration' -e '^Parse Config' -e '^ Add test' \
      -e '^Constructing a list' -e '^Updating test list' -e '^Checking test dep' \
      -e ': Working Directory' -e ': Test timeout' -e '^test [0-9]'
}
x64_log=$(mktemp)
trap 'rm -f "$x64_log"' EXIT
suite 64 -E reproducible_build >"$x64_log" 2>&1 &
x64_suite=$!
status=0
suite 32 -E reproducible_build || status=1
wait "$x64_suite" || status=1
cat "$x64_log"
for bits in 32 64; do
  suite "$bits" -R reproducible_build || status=1
done
# The closing lines: which builds were tested, and how, on which release.
release="Debian $(cat /etc/debian_version 2>/dev/null || echo '(unknown)')"
echo "== Builds tested under Wine on $release"
for arch in win32 win64; do
  tests/wine/desktop.sh check "$arch" |
    sed "s/^/$release: /; s/: runs here/: tested/; s/: cannot run here: /: NOT tested: /" || true
done
[ "$status" = 0 ] || echo "$release: some Wine tests FAILED"
exit "$status"
