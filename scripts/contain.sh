# Sourced first by each script a developer starts and may interrupt (the
# demo, the test command, the fresh root, CI). It runs the script anew as the
# first process of process and mount namespaces of its own, and returns only
# there. Every process the script starts, daemons such as Xvfb and wineserver
# included, lives in that namespace and ends with it, and so does every mount
# it makes.
#
# A Ctrl-C, a closed terminal or a TERM to the script's first process is
# passed as a TERM to every process in the namespace, so that each stops and
# cleans up as on a Ctrl-C; what still runs 10 s later is killed. A function
# `after_namespace`, defined before this file is sourced, runs outside once
# the namespace has ended, however it ended: for what must go even when the
# script was killed.
if [ "$$" != 1 ]; then
  unshare --pid --fork --kill-child --mount-proc "$BASH" "$0" "$@" &
  contained=$! contained_status=
  # Every process in the namespace: each descends from its first process,
  # daemons too, which their parents' end leaves to it.
  contained_processes() {
    ps -e -o pid=,ppid= | awk -v top="$contained" '
      { parent[$1] = $2 }
      END { for (p in parent) { q = p; while (q in parent && q != top) q = parent[q]; if (q == top && p != top) print p } }'
  }
  stop_contained() {
    trap '' HUP INT TERM
    contained_status=$1
    # shellcheck disable=SC2046
    kill -TERM $(contained_processes) 2>/dev/null
    local deadline=$((SECONDS + 10))
    while [ -n "$(contained_processes)" ] && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.2; done
    kill -KILL "$contained" 2>/dev/null # --kill-child: and the namespace with it
  }
  trap 'stop_contained 129' HUP
  trap 'stop_contained 130' INT
  trap 'stop_contained 143' TERM
  status=0
  while [ -e "/proc/$contained" ]; do wait "$contained" && status=0 || status=$?; done
  trap - HUP INT TERM
  if declare -F after_namespace >/dev/null; then after_namespace; fi
  exit "${contained_status:-$status}"
fi
# The first process of a namespace is sent only the signals it handles. Its
# end kills whatever else is left there, so it lets the scripts it started
# in the background finish their own clean-up first.
trap 'wait; exit 129' HUP
trap 'wait; exit 130' INT
trap 'wait; exit 143' TERM
