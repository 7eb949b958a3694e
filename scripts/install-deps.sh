#!/usr/bin/env bash
# Installs, on Debian 12 or 13 as root, whatever the build and the tests still
# lack: both cross compilers, with both thread models, and Wine for the 32-bit
# and the x64 programs; and where the processor cannot run 32-bit x86 code,
# the emulator the 32-bit build is tested under. Every package name here
# exists in both releases.
source "$(dirname "$0")/contain.sh"
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/debian.sh
read -r version suite < <(debian_release)
case $version in
12 | 13) ;;
*)
  echo "install-deps.sh: this is not Debian 12 or 13 (/etc/os-release says" \
    "'${version:-no version}${suite:+ $suite}'); trying their packages all the same"
  ;;
esac
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
  wine32:i386 xvfb locales clang libclang-rt-dev libgtest-dev googletest
  clang-tidy clang-format cppcheck shellcheck bats zip git python3-pefile)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing on Debian ${version:-(unknown)}: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt_install "${missing[@]}"
fi

# qemu-i386 10 or later: Debian 12's own 7.2 runs Wine's console programs, but
# never brings up the stand-in editor's window, so there it comes from
# bookworm-backports. qemu-user alone, without its recommended
# qemu-user-binfmt, which would register the emulator for the whole host: the
# tests register it only for themselves.
/usr/lib/wine/wine --version >/dev/null 2>&1 && exit 0
installed=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
[ -n "$installed" ] && dpkg --compare-versions "$installed" ge 1:10 && exit 0
apt_lists # the candidate is read from them
candidate=$(apt-cache policy qemu-user | sed -n 's/^ *Candidate: //p')
if [ "$suite" = bookworm ] && ! dpkg --compare-versions "${candidate:-0}" ge 1:10; then
  echo "This processor runs no 32-bit x86 code: installing on Debian ${version:-(unknown)}: qemu-user, from bookworm-backports"
  if ! apt-get indextargets --format '$(RELEASE)' | grep -qx bookworm-backports; then
    mirror=$(debian_mirror bookworm)
    if [ -z "$mirror" ]; then
      echo "install-deps.sh: apt's sources name no mirror for bookworm, so bookworm-backports" \
        "cannot be added from it: add it by hand, then run this again" >&2
      exit 1
    fi
    # The suite from the same mirror as Debian 12 itself, in Debian's own
    # format for a source.
    printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$mirror" >/etc/apt/sources.list.d/bookworm-backports.sources
  fi
  apt_install -t bookworm-backports qemu-user
else
  echo "This processor runs no 32-bit x86 code: installing on Debian ${version:-(unknown)}: qemu-user"
  apt_install qemu-user
fi
