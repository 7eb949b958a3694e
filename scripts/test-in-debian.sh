#!/usr/bin/env bash
# Runs the test command, scripts/test.sh, in a fresh root of a Debian
# release, so that a host of one supported release also proves the other:
#   scripts/test-in-debian.sh 12|13 [--after FILE]
# The root is made with mmdebstrap from the mirror this host's own release
# comes from, holds a clean clone of this checkout's HEAD, and installs
# everything else itself, as a new machine would. It runs in private mount
# and process namespaces entered through pivot_root rather than chroot (a
# chrooted process may make no user namespace, which the 32-bit tests need on
# a host that runs no 32-bit code), so that its mounts never show on the host
# and every process in it ends with it. The root is removed on every path.
# Exits with the test command's status.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/debian.sh
release=${1:-} after=
[ "${2:-}" = --after ] && after=${3:?--after takes a file}
case $release in
12) suite=bookworm ;;
13) suite=trixie ;;
*) echo "usage: scripts/test-in-debian.sh 12|13 [--after FILE]" >&2; exit 2 ;;
esac
[ "$(id -u)" = 0 ] || { echo "test-in-debian.sh: run it as root" >&2; exit 2; }
dpkg -s mmdebstrap >/dev/null 2>&1 || apt_install mmdebstrap
mirror=$(debian_mirror "$(debian_suite)")
[ -n "$mirror" ] || { echo "test-in-debian.sh: no Debian mirror in this host's apt sources" >&2; exit 1; }

root=$(mktemp -d /var/tmp/velmora-debian$release.XXXXXX)
running=
cleanup() {
  set +e # every step, whatever the one before gave
  # The process namespace's first process takes every other one with it.
  if [ -n "$running" ]; then
    kill -KILL "$running" 2>/dev/null
    wait "$running" 2>/dev/null
  fi
  # mmdebstrap unmounts its own mounts, unless it was stopped half-way.
  findmnt -rn -o TARGET | grep "^$root/" | sort -r | xargs -r umount -l
  rm -rf --one-file-system "$root"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

echo "== Debian $release ($suite): making a fresh root from $mirror"
start=$SECONDS
mmdebstrap --quiet --mode=root --variant=minbase --include=ca-certificates \
  --aptopt='Acquire::Retries "5"' "$suite" "$root" "$mirror" >/dev/null
# The retries stay for the test command's own installs.
echo 'Acquire::Retries "5";' >"$root/etc/apt/apt.conf.d/80velmora-retries"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
git clone --quiet --no-hardlinks "$PWD" "$root/work/velmora"
echo "root ready in $((SECONDS - start)) s"

# Runs a command in the root, in namespaces of its own: their first process
# mounts what a system has, turns the root into /, and runs the command with
# a clean environment.
inside() {
  unshare --mount --pid --fork --kill-child --propagation private bash -euc '
    root=$1 command=$2
    mount --bind "$root" "$root"
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
    mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
    cd "$root"
    mkdir -p .host
    pivot_root . .host
    umount -l /.host
    rmdir /.host
    exec env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      HOME=/root LANG=C.UTF-8 CI="${CI:-}" /bin/bash -c "cd /work/velmora && $command"
  ' test-in-debian "$root" "$1" &
  running=$!
  local status=0
  wait "$running" || status=$?
  running=
  return "$status"
}

# With --after, what the tests need is installed at once, and the tests wait
# for the file: CI readies the root while the host runs its own tests.
if [ -n "$after" ]; then
  inside scripts/install-deps.sh
  echo "installed in $((SECONDS - start)) s; waiting for $after"
  while [ ! -e "$after" ]; do sleep 1; done
fi
status=0
inside scripts/test.sh || status=$?
echo "== Debian $release: the test command ended with status $status, $((SECONDS - start)) s in all"
exit "$status"
