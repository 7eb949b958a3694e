#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the static checks,
# the native byte-logic tests and a bounded fuzz run, and the tests on a
# headless Wine desktop against the 32-bit and the x64 build: the x64 build
# natively, the 32-bit build natively or, where the processor cannot run it,
# under emulation (VELMORA_X64_ONLY=1 skips the 32-bit runs everywhere).
# A check that fails does not stop the others; the closing lines name it.
source "$(dirname "$0")/contain.sh"
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Under Wine 10 and qemu-i386 a Wine process ends on a segmentation fault
# as the 32-bit test program ends, and qemu says so in this line (seen on
# Debian 13; which process is not found). It says nothing of the tests: a
# suite that passed leaves it out and counts it, one that failed shows it
# after its report. Any other crash line is shown where it comes.
crash='^([0-9]+: )?qemu: uncaught target signal 11 \(Segmentation fault\) - core dumped$'
suite() {
  local raw="$work/raw$1" status=0 crashes
  ctest --test-dir "build/win$1-tests" --output-on-failure -V "${@:2}" 2>&1 |
    tee "$raw" |
    grep -v -E -e '^UpdateCTestConfiguration' -e '^Parse Config' -e '^ Add test' \
      -e '^Constructing a list' -e '^Updating test list' -e '^Checking test dep' \
      -e ': Working Directory' -e ': Test timeout' -e '^test [0-9]' -e "$crash" ||
    status=$?
  crashes=$(grep -cE "$crash" "$raw" || true)
  if [ "$status" != 0 ]; then
    grep -hE "$crash" "$raw" || true
  elif [ "$crashes" != 0 ]; then
    echo "($crashes line(s) of qemu's 'uncaught target signal 11' at a Wine process's end kept out)"
  fi
  return "$status"
}
failed=()
checks() {
  scripts/static-checks.sh || failed+=("static checks")
  bats tests/scripts || failed+=("the scripts' tests")
  ctest --test-dir build/native --output-on-failure || failed+=("native tests")
  # The two builds' suites run at once, each on a desktop of its own, and are
  # shown one after the other; GoogleTest's own report (verbose) shows every
  # case, and every skip with its reason. The reproducible builds, which want
  # both processors, come after.
  local x64_log=$work/x64.log x64_suite build
  suite 64 -E reproducible_build >"$x64_log" 2>&1 &
  x64_suite=$!
  suite 32 -E reproducible_build || failed+=("the 32-bit build's Wine tests")
  wait "$x64_suite" || failed+=("the x64 build's Wine tests")
  cat "$x64_log"
  for build in 32:32-bit 64:x64; do
    suite "${build%%:*}" -R reproducible_build || failed+=("the ${build#*:} build is not reproducible")
  done
}
work=$(mktemp -d) # in the run's own /tmp, which goes with it
# A build that failed leaves nothing to check but gets its closing lines.
if scripts/build.sh; then checks; else failed+=("the build"); fi
# The closing lines: which builds were tested, and how, on which release
# (testing and sid name theirs with a slash), and what failed.
release="Debian $(cat /etc/debian_version 2>/dev/null || echo '(unknown)')"
echo "== Builds tested under Wine on $release"
for arch in win32 win64; do
  line=$(tests/wine/desktop.sh check "$arch" || true)
  line=${line/: runs here/: tested}
  echo "$release: ${line/: cannot run here: /: NOT tested: }"
done
[ ${#failed[@]} = 0 ] && exit 0
for failure in "${failed[@]}"; do echo "$release: FAILED: $failure"; done
exit 1
