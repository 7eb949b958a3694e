# shellcheck shell=bash
# Sourced first by each script a developer starts and may interrupt (the
# demo, the installs, the test command, the fresh root, CI). The script runs
# in process and mount namespaces of its own, with a /tmp of its own: every
# process it starts, daemons such as Xvfb and wineserver included, every
# mount it makes and every file it leaves in /tmp end with the namespace. A
# script started by one already inside runs there as it is.
#
# A Ctrl-C, a closed terminal or a TERM to the script's first process stops
# the run: every process in the namespace is sent a TERM, so that each stops
# and cleans up as on a Ctrl-C, a script once those it started in the
# background have ended. An apt-get under way is sent the INT of a Ctrl-C
# instead, and waited for: apt ends the package it is on, and neither it nor
# dpkg is ever sent a TERM or KILL (scripts/debian.sh). What else still runs
# 10 s later is killed. Last, outside, the run's folder in /var/tmp
# ($VELMORA_RUN, where the fresh root is made) is removed; no further signal
# stops that.
if [ -n "${VELMORA_CONTAINED:-}" ]; then
  # One of the run's scripts: the TERM of a stop ends it once its own
  # background jobs have ended.
  trap 'wait; exit 129' HUP
  trap 'wait; exit 130' INT
  trap 'wait; exit 143' TERM
elif [ "$$" = 1 ]; then
  # The namespace's first process: it runs the script, and stops the run.
  trap 'contain_stop' HUP TERM
  # A /tmp of its own, unless the script lies in the host's.
  if [[ $(realpath "$0") != /tmp/* && $PWD/ != /tmp/* ]]; then
    mount -t tmpfs -o mode=1777 tmpfs /tmp
  fi
  export VELMORA_CONTAINED=1 VELMORA_APT_PID=${VELMORA_RUN:-/tmp}/apt.pid
  contain_stop() {
    trap '' HUP TERM
    : >"$VELMORA_APT_PID.stop" # no apt-get starts after this
    kill -TERM -1 2>/dev/null  # every process here but this one
    local apt said=
    while apt=$(cat "$VELMORA_APT_PID" 2>/dev/null) && kill -0 "$apt" 2>/dev/null; do
      [ -n "$said" ] || echo "Stopping: waiting for the install under way to end" >&2
      said=1
      kill -INT "$apt" 2>/dev/null
      sleep 1
    done
    local deadline=$((SECONDS + ${VELMORA_STOP_GRACE:-10}))
    while kill -0 -1 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.2; done
    exit 143 # and the kernel kills what is left
  }
  "$BASH" "$0" "$@" &
  contain_script=$!
  while :; do
    wait "$contain_script"
    contain_status=$?
    kill -0 "$contain_script" 2>/dev/null || exit "$contain_status"
  done
else
  # The shell the script was started in. A signal is kept from before the
  # run's folder is made, and passed to the namespace's first process once
  # that runs, by the trap itself: a signal that comes just before a wait
  # is not seen by that wait.
  contain_catch() {
    contain_signal=${contain_signal:-$1}
    [ -n "$contain_unshare" ] && [ -z "$contain_passed" ] || return 0
    # Inside an INT trap a command substitution can give 130 all the same:
    # its output alone tells.
    while kill -0 "$contain_unshare" 2>/dev/null; do
      contain_pid=$(contain_init)
      [ -n "$contain_pid" ] && kill -TERM "$contain_pid" && contain_passed=1 && return
      sleep 0.1
    done
  }
  # The namespace's first process, the child of unshare: read from /proc,
  # since a minimal Debian has no ps.
  contain_init() {
    local stat line
    for stat in /proc/[0-9]*/stat; do
      { read -r line <"$stat"; } 2>/dev/null || continue
      read -r _ contain_parent _ <<<"${line##*) }"
      [ "$contain_parent" = "$contain_unshare" ] && echo "${line%% *}" && return
    done
    return 1
  }
  contain_signal='' contain_unshare='' contain_passed=''
  trap 'contain_catch 129' HUP
  trap 'contain_catch 130' INT
  trap 'contain_catch 143' TERM
  # mktemp is not stopped between making the folder and naming it.
  VELMORA_RUN=$(trap '' HUP INT TERM && mktemp -d /var/tmp/velmora-run.XXXXXX)
  export VELMORA_RUN
  contain_status=0
  if [ -z "$contain_signal" ]; then
    unshare --pid --fork --kill-child --mount-proc "$BASH" "$0" "$@" &
    contain_unshare=$!
    # A signal that came before unshare was known.
    [ -z "$contain_signal" ] || contain_catch "$contain_signal"
    while :; do
      wait "$contain_unshare"
      contain_status=$?
      kill -0 "$contain_unshare" 2>/dev/null || break
    done
  fi
  trap '' HUP INT TERM
  rm -rf --one-file-system "$VELMORA_RUN"
  exit "${contain_signal:-$contain_status}"
fi
