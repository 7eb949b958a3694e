# Shared by the scripts' tests: a folder of their own outside /tmp, which a
# contained run hides, with stand-ins put before the real programs on PATH.
# shellcheck disable=SC2034 # the tests read $scripts
bats_require_minimum_version 1.5.0
setup() {
  unset VELMORA_CONTAINED VELMORA_RUN VELMORA_APT_PID
  export VELMORA_APT_PAUSE=0
  scripts=$(realpath "$BATS_TEST_DIRNAME/../../scripts")
  work=$(mktemp -d /var/tmp/velmora-bats.XXXXXX)
  mkdir "$work/bin"
  PATH=$work/bin:$PATH
}
teardown() {
  pkill -KILL -f 'sleep 300[0-9]' || true # a failed stop's leftovers
  PATH=${PATH#"$work/bin:"}
  rm -rf "$work"
}

# stand_in NAME BODY: a bash script NAME on PATH, $work known to it.
stand_in() {
  printf '#!/bin/bash\nwork=%q\n%s\n' "$work" "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}
