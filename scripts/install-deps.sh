#!/usr/bin/env bash
# Installs, on Debian 12 as root, whatever the build and the tests still lack:
# both cross compilers, with both thread models, and Wine for the 32-bit and
# the x64 programs; and where the processor cannot run 32-bit x86 code, the
# emulator the 32-bit build is tested under.
set -euo pipefail
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
  wine32:i386 xvfb locales clang libclang-rt-14-dev libgtest-dev googletest
  clang-tidy clang-format cppcheck zip git python3-pefile)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
install() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "$@" >/dev/null
}
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  install "${missing[@]}"
fi

# qemu-i386 from bookworm-backports: Debian 12's own 7.2 runs Wine's console
# programs, but never brings up the stand-in editor's window. qemu-user alone,
# without its recommended qemu-user-binfmt, which would register the emulator
# for the whole host: the tests register it only for themselves.
/usr/lib/wine/wine --version >/dev/null 2>&1 && exit 0
version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
[ -n "$version" ] && dpkg --compare-versions "$version" ge 1:10 && exit 0
echo "This processor runs no 32-bit x86 code: installing qemu-user from bookworm-backports"
if ! apt-get indextargets --format '$(RELEASE)' | grep -qx bookworm-backports; then
  # The suite from the same mirror as Debian 12 itself, in Debian's own
  # format for a source.
  mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
    awk '$2 == "bookworm" { print $1; exit }')
  printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$mirror" >/etc/apt/sources.list.d/bookworm-backports.sources
fi
apt-get update -qq
install -t bookworm-backports qemu-user
