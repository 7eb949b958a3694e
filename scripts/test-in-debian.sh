#!/usr/bin/env bash
# Runs the test command, scripts/test.sh, in a fresh root of a Debian
# release, so that a host of one supported release also proves the other:
#   scripts/test-in-debian.sh 12|13 [--after FILE] [COMMAND]
# The root is made with mmdebstrap from the mirror this host's own release
# comes from, holds a clean clone of this checkout's HEAD, and installs
# everything else itself, as a new machine would. COMMAND, run there in the
# clone instead of the test command, shows another script on that release
# (scripts/demo.sh). The root runs in private mount and process namespaces
# entered through pivot_root rather than chroot (a chrooted process may make
# no user namespace, which the 32-bit tests need on a host that runs no
# 32-bit code). Exits with the command's status.
source "$(dirname "$0")/contain.sh"
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/debian.sh
release=${1:-} after=
shift $(($# > 0 ? 1 : 0))
if [ "${1:-}" = --after ]; then
  after=${2:?--after takes a file}
  shift 2
fi
command=${*:-scripts/test.sh}
case $release in
12) suite=bookworm ;;
13) suite=trixie ;;
*) echo "usage: scripts/test-in-debian.sh 12|13 [--after FILE] [COMMAND]" >&2; exit 2 ;;
esac
[ "$(id -u)" = 0 ] || { echo "test-in-debian.sh: run it as root" >&2; exit 2; }
dpkg -s mmdebstrap >/dev/null 2>&1 || apt_install mmdebstrap
mirror=$(debian_mirror "$(debian_suite)")
if [ -z "$mirror" ]; then
  echo "test-in-debian.sh: apt's sources name no mirror for $(debian_suite), this host's" \
    "own release, to make the root from" >&2
  exit 1
fi

echo "== Debian $release ($suite): making a fresh root from $mirror"
start=$SECONDS
# The root and mmdebstrap's temporary files are kept in the run's folder,
# which goes once the run's namespaces have ended, on every path: by then
# every mount in it has gone with them. mmdebstrap runs in the background, so
# that a TERM is acted on at once.
folder=$(mktemp -d "$VELMORA_RUN/root.XXXXXX")
root=$folder/root
mkdir "$root" "$folder/tmp"
TMPDIR=$folder/tmp mmdebstrap --quiet --mode=root --variant=minbase --include=ca-certificates \
  --aptopt='Acquire::Retries "5"' "$suite" "$root" "$mirror" >/dev/null &
wait $!
# The retries stay for the command's own installs.
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
  wait $!
}

# With --after, what the command needs is installed at once, and the command
# waits for the file: CI readies the root while the host runs its own tests.
if [ -n "$after" ]; then
  inside scripts/install-deps.sh
  echo "installed in $((SECONDS - start)) s; waiting for $after"
  while [ ! -e "$after" ]; do sleep 1; done
fi
status=0
inside "$command" || status=$?
echo "== Debian $release: $command ended with status $status, $((SECONDS - start)) s in all"
exit "$status"
