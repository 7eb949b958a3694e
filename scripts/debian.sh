# What the scripts that install need to know of this host's Debian, sourced
# by them: its release, the mirror its packages come from, and apt calls that
# wait their turn, retry, and end with a line of their own when apt cannot.

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

# Runs apt-get once our other apt calls on this host have ended: apt does not
# wait for another apt's lock, and CI readies a fresh root beside the host's
# own installs. Another program's apt is waited for too, up to ten minutes.
apt_get() {
  flock /var/lib/apt/velmora.lock apt-get -o DPkg::Lock::Timeout=600 "$@"
}

# apt-get update, tried a few times: a mirror in the middle of a sync fails
# an index for some minutes ("Mirror sync in progress?"). A failure that
# lasts ends with apt's own lines, then one of ours.
apt_update() {
  local log try
  log=$(mktemp)
  for try in 1 2 3 4; do
    if apt_get update -qq >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    [ "$try" = 4 ] || { echo "apt-get update failed; trying again in 30 s"; sleep 30; }
  done
  cat "$log" >&2
  # The first index apt names, "Failed to fetch URL" or "The repository 'X' ...".
  local failed
  failed=$(sed -nE "s/^[EW]: (Failed to fetch ([^ ]+)|The repository '([^']+)').*/\2\3/p" "$log" | head -n1)
  rm -f "$log"
  echo "apt-get update failed 4 times, 30 s apart${failed:+, on $failed}. A mirror in" \
    "the middle of a sync settles within minutes as a rule: run this again later, or" \
    "point the sources in /etc/apt at another Debian mirror." >&2
  return 1
}

# Fills apt's lists where they are empty, as in Debian's container images:
# apt names no index, and so no mirror, before its first update.
apt_lists() {
  [ -n "$(apt-get indextargets --format '$(RELEASE)' 2>/dev/null)" ] || apt_update
}

# The mirror that apt takes the suite from: the same host gives the other
# suites of the archive. Empty where apt's sources name none.
debian_mirror() {
  apt_lists || return 1
  apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
    awk -v suite="$1" '$2 == suite { print $1; exit }'
}

apt_install() {
  apt_update || return 1
  DEBIAN_FRONTEND=noninteractive apt_get install -y -qq --no-install-recommends \
    -o Acquire::Retries=5 "$@" >/dev/null && return 0
  echo "apt-get could not install: $*. Where it could not fetch a package, the" \
    "mirror may be in the middle of a sync: run this again later, or point the" \
    "sources in /etc/apt at another Debian mirror." >&2
  return 1
}
