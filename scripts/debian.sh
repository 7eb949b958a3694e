# What the scripts that install need to know of this host's Debian, sourced
# by them: its release, and the mirror its packages come from.

# The release's number and codename, as /etc/os-release gives them ("12
# bookworm"); empty where it names none.
debian_release() {
  (
    # shellcheck disable=SC1091
    . /etc/os-release 2>/dev/null || true
    echo "${VERSION_ID:-} ${VERSION_CODENAME:-}"
  )
}
debian_suite() { debian_release | cut -d' ' -f2; }

# The mirror that apt takes the suite from: the same host gives the other
# suites of the archive.
debian_mirror() {
  apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
    awk -v suite="$1" '$2 == suite { print $1; exit }'
}

apt_install() {
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    -o Acquire::Retries=5 "$@" >/dev/null
}
