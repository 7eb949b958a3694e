# shellcheck shell=bash
# What the scripts that install need to know of this host's Debian, sourced
# by them: its release, the mirror its packages come from, and apt calls that
# wait their turn, retry, are never broken off in the middle of an install,
# and end with a line of their own that gives apt's cause.

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
# A dpkg stopped in the middle of a package leaves the package system for a
# human to mend, so apt-get runs in a session of its own, which a Ctrl-C in
# the terminal does not reach, and ignores the TERM and HUP with which a stop
# ends everything else; in a contained run (scripts/contain.sh) it leaves its
# process number in $VELMORA_APT_PID, where the stop sends it an INT. On that
# apt ends the package it is on, or at once while it only downloads.
apt_get() {
  (
    trap '' HUP TERM
    exec setsid --wait flock -o /var/lib/apt/velmora.lock bash -c '
      if [ -n "${VELMORA_APT_PID:-}" ]; then
        echo "$$" >"$VELMORA_APT_PID"
        [ ! -e "$VELMORA_APT_PID.stop" ] || exit 130
      fi
      exec env --default-signal=INT apt-get -o DPkg::Lock::Timeout=600 "$@"' apt_get "$@"
  )
}

# apt-get update, tried a few times: a mirror in the middle of a sync fails
# an index for some minutes ("Mirror sync in progress?"), and apt calls some
# failures a warning only. Where an index still fails, apt's lines and one of
# ours name it, and apt goes on with the lists it has: apt_index_failed keeps
# the index for apt_install's closing line.
apt_index_failed=
apt_update() {
  local log try pause=${VELMORA_APT_PAUSE:-30}
  log=$(mktemp)
  for try in 1 2 3 4; do
    if apt_get update -qq --error-on=any >"$log" 2>&1; then
      rm -f "$log"
      apt_index_failed=
      return 0
    fi
    [ "$try" = 4 ] || { echo "apt-get update failed; trying again in $pause s" >&2; sleep "$pause"; }
  done
  cat "$log" >&2
  # The first index apt names, "Failed to fetch URL" or "The repository 'X' ...".
  apt_index_failed=$(sed -nE "s/^[EW]: (Failed to fetch ([^ ]+)|The repository '([^']+)').*/\2\3/p" "$log" | head -n1)
  rm -f "$log"
  echo "apt-get update failed 4 times, $pause s apart, on ${apt_index_failed:-an index}; going on" \
    "with the lists apt has. A mirror in the middle of a sync settles within minutes as a rule." >&2
}

# Fills apt's lists where they are empty, as in Debian's container images:
# apt names no index, and so no mirror, before its first update.
apt_lists() {
  [ -n "$(apt-get indextargets --format '$(RELEASE)' 2>/dev/null)" ] || apt_update
}

# The mirror that apt takes the suite from: the same host gives the other
# suites of the archive. Empty where apt's sources name none.
debian_mirror() {
  apt_lists
  apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
    awk -v suite="$1" '$2 == suite { print $1; exit }'
}

# Why apt-get failed, from its lines (a file) and the index apt_update could
# not fetch: one line, that only speaks of a mirror where a fetch failed.
apt_cause() {
  local lines
  lines=$(grep -E '^E: ' "$1" || true)
  case $lines in
  *'Could not get lock'* | *'Unable to acquire the dpkg frontend lock'* | *'Unable to lock'*)
    echo "another program holds apt's lock: run this again once it has ended" ;;
  *'dpkg was interrupted'*)
    echo "an earlier install was interrupted: run 'dpkg --configure -a' as root, then this again" ;;
  *)
    if [ -n "$apt_index_failed" ]; then
      echo "likely because $apt_index_failed could not be fetched: run this again later," \
        "or point the sources in /etc/apt at another Debian mirror"
    elif [[ $lines == *'Failed to fetch'* || $lines == *'Unable to fetch'* ]]; then
      echo "a download failed; the mirror may be in the middle of a sync: run this again" \
        "later, or point the sources in /etc/apt at another Debian mirror"
    elif [[ $lines =~ Unable\ to\ locate\ package\ ([^ ]+) || $lines =~ Package\ \'?([^ \']+)\'?\ has\ no\ installation\ candidate ]]; then
      echo "apt's sources have no package ${BASH_REMATCH[1]}"
    else
      echo "apt's lines above say why"
    fi
    ;;
  esac
}

apt_install() {
  local log
  apt_update
  log=$(mktemp)
  if DEBIAN_FRONTEND=noninteractive apt_get install -y -qq --no-install-recommends \
    -o Acquire::Retries=5 "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  cat "$log" >&2
  echo "apt-get could not install $*: $(apt_cause "$log")" >&2
  rm -f "$log"
  return 1
}
