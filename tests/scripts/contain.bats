#!/usr/bin/env bats
# shellcheck disable=SC2154 # setup() sets $work and $scripts
# A contained script and its stop, signalled as a terminal does: the whole
# process group that the script was started in.
load stand_ins

# run.sh: a contained script whose body is $1, started in a process group of
# its own with HUP and INT at their defaults, as from a terminal, whatever
# the tests' caller ignores (nohup, a background job); waits for
# $work/ready.
start() {
  printf '#!/bin/bash\nsource %q/contain.sh\nsource %q/debian.sh\nwork=%q\n%s\n' \
    "$scripts" "$scripts" "$work" "$1" >"$work/run.sh"
  chmod +x "$work/run.sh"
  rm -f "$work/ready"
  setsid env --default-signal=HUP,INT "$work/run.sh" >"$work/out" 2>&1 &
  group=$!
  within 30 test -e "$work/ready"
}
# within SECONDS COMMAND...: waits until COMMAND succeeds, or fails.
within() {
  local end=$((SECONDS + $1))
  until "${@:2}"; do [ "$SECONDS" -lt "$end" ] && sleep 0.1 || return 1; done
}
# Sets status to the run's; a run still going after 30 s is shown, with
# what it said, then killed.
ended() {
  within 30 eval '! kill -0 "$group" 2>/dev/null' || {
    echo "still running after 30 s, having said: $(cat "$work/out")"
    # process, state, parent, group, and the signals ignored and caught
    grep -a -l -E 'sleep|run.sh|nested|unshare' /proc/[0-9]*/cmdline |
      while read -r file; do
        cut -d' ' -f1-5 "${file%cmdline}stat" | tr '\n' ' '
        grep -E '^Sig(Ign|Cgt)' "${file%cmdline}status" | tr '\n\t' '  '
        echo
      done 2>/dev/null
    kill -KILL -- -"$group"
  }
  status=0 && wait "$group" || status=$?
}

@test "a stop ends the script, a daemon, a background job and a nested script, each by its signal" {
  printf '#!/bin/bash\nsource %q/contain.sh\ntrap "touch %q/nested-stopped" EXIT\ntouch %q/ready\nsleep 3002\n' \
    "$scripts" "$work" "$work" >"$work/nested.sh"
  chmod +x "$work/nested.sh"
  for row in HUP:129 INT:130 TERM:143; do
    echo "row $row"
    rm -f "$work/nested-stopped"
    start "setsid sleep 3001 & sleep 3001 & $work/nested.sh & wait"
    # A terminal sends INT and HUP to the group; TERM comes to the script.
    target=-$group && [ "${row%:*}" != TERM ] || target=$group
    kill -"${row%:*}" -- "$target"
    ended
    [ "$status" = "${row#*:}" ]
    [ -e "$work/nested-stopped" ] || [ "${row%:*}" = HUP ] # a HUP reaches it first
    [ -z "$(sleeping '300[12]')" ]
  done
}

@test "a run that is not stopped ends with its script's status, and leaves nothing" {
  start 'touch /tmp/velmora-bats-left "$VELMORA_RUN/left" "$work/ready"; echo "$VELMORA_RUN"; exit 7'
  ended
  [ "$status" = 7 ]
  [ ! -e /tmp/velmora-bats-left ]
  [ ! -e "$(cat "$work/out")" ]
}

@test "a second Ctrl-C does not stop the removal of the run's folder" {
  stand_in rm 'touch "$work/removing"; sleep 1; exec /bin/rm "$@"'
  start 'echo "$VELMORA_RUN"; touch "$VELMORA_RUN/root" "$work/ready"; sleep 3003'
  kill -INT -- -"$group"
  within 30 test -e "$work/removing"
  kill -INT -- -"$group"
  ended
  [ "$status" = 130 ]
  [ ! -e "$(head -n1 "$work/out")" ]
}

@test "a process that ignores the stop's TERM is killed at the deadline" {
  VELMORA_STOP_GRACE=1 start '(trap "" TERM; sleep 3004) & touch "$work/ready"; wait'
  kill -TERM "$group"
  ended
  [ "$status" = 143 ]
  [ -z "$(sleeping 3004)" ]
}

@test "a stop lets an install end: apt-get is sent an INT, dpkg nothing" {
  stand_in dpkg 'sleep 2; echo unpacked >"$work/dpkg"'
  stand_in apt-get 'trap "echo interrupted >\"\$work/apt\"" INT; touch "$work/ready"; dpkg'
  VELMORA_STOP_GRACE=0 start 'apt_get install wine32:i386'
  kill -INT -- -"$group"
  ended
  [ "$status" = 130 ]
  grep -x unpacked "$work/dpkg"
  grep -x interrupted "$work/apt"
  grep -x 'Stopping: waiting for the install under way to end' "$work/out"
}
