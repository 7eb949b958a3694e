#!/usr/bin/env bats
# shellcheck disable=SC2154,SC2034 # setup() sets $work and $scripts, bats' run
# $stderr, and debian.sh reads apt_index_failed
# The apt calls' retries and closing lines, with a stand-in apt-get, and the
# test command's closing lines.
load stand_ins

# A stand-in apt-get whose update answers, one a call, as $work/answers
# says: ok, E (an error) or W (a warning, an error only with --error-on=any).
answering() {
  printf '%s\n' "$@" >"$work/answers"
  stand_in apt-get '
    case $* in *indextargets*) [ ! -e "$work/updated" ] || echo "http://m/debian/ bookworm"; exit ;; esac
    answer=$(head -n1 "$work/answers") && sed -i 1d "$work/answers"
    echo "$answer" >>"$work/calls"
    case $answer in
    ok) touch "$work/updated" ;;
    E) echo "E: Failed to fetch http://m/E-index  404  Not Found"; exit 100 ;;
    W) echo "W: Failed to fetch http://m/W-index  Connection refused"
       [[ $* != *--error-on=any* ]] || exit 100 ;;
    esac'
  source "$scripts/debian.sh"
}

@test "apt_update retries a failed index, warning or error, then names it and goes on" {
  for row in 'E E E E:4:http://m/E-index' 'W W W W:4:http://m/W-index' 'W ok:2:' 'E ok:2:'; do
    IFS=: read -r answers calls index <<<"$row"
    rm -f "$work/calls"
    # shellcheck disable=SC2086
    answering $answers
    run -0 --separate-stderr apt_update
    [ "$(wc -l <"$work/calls")" = "$calls" ]
    [ "$(grep -c 'trying again in 0 s' <<<"$stderr")" = $((calls - 1)) ]
    if [ -n "$index" ]; then [[ ${stderr_lines[-1]} == *"4 times, 0 s apart, on $index; going on"* ]]; fi
  done
}

@test "debian_mirror prints the mirror alone after a failed try" {
  answering E ok
  run -0 --separate-stderr debian_mirror bookworm
  [ "$output" = http://m/debian/ ]
}

@test "an install that fails ends with apt's own cause" {
  source "$scripts/debian.sh"
  for row in \
    "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 9 (apt-get)|another program holds apt's lock" \
    "E: dpkg was interrupted, you must manually run 'dpkg --configure -a' to correct the problem.|run 'dpkg --configure -a' as root" \
    "E: Unable to locate package wine33|apt's sources have no package wine33" \
    "E: Failed to fetch http://m/pool/w.deb  Connection refused|the mirror may be in the middle of a sync" \
    "E: Sub-process /usr/bin/dpkg returned an error code (1)|apt's lines above say why"; do
    echo "${row%|*}" >"$work/log"
    [[ $(apt_cause "$work/log") == *"${row#*|}"* ]]
  done
  apt_index_failed=http://m/W-index
  [[ $(apt_cause "$work/log") == "likely because http://m/W-index could not be fetched"* ]]
}

@test "the test command's closing lines name the release, the builds and the failed build" {
  mkdir -p "$work/tree/scripts" "$work/tree/tests/wine"
  cp "$scripts/test.sh" "$scripts/contain.sh" "$work/tree/scripts/"
  stand_in install-deps.sh 'exit 0'
  stand_in build.sh 'exit 2'
  stand_in desktop.sh '[ "$2" = win64 ] || { echo "32-bit build: runs here under emulation (qemu-i386 10)"; exit 0; }
    echo "x64 build: cannot run here: no Wine"; exit 1'
  mv "$work/bin/install-deps.sh" "$work/bin/build.sh" "$work/tree/scripts/"
  mv "$work/bin/desktop.sh" "$work/tree/tests/wine/"
  echo trixie/sid >"$work/version"
  run -1 unshare --mount bash -c 'mount --bind "$1/version" /etc/debian_version &&
    exec "$1/tree/scripts/test.sh"' closing "$work"
  [ "${lines[-3]}" = "Debian trixie/sid: 32-bit build: tested under emulation (qemu-i386 10)" ]
  [ "${lines[-2]}" = "Debian trixie/sid: x64 build: NOT tested: no Wine" ]
  [ "${lines[-1]}" = "Debian trixie/sid: FAILED: the build" ]
}
