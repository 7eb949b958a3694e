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
  # A failed stop's leftovers.
  # shellcheck disable=SC2046 # one process number a word
  kill -KILL $(sleeping '300[0-9]') 2>/dev/null || true
  PATH=${PATH#"$work/bin:"}
  rm -rf "$work"
}

# stand_in NAME BODY: a bash script NAME on PATH, $work known to it.
stand_in() {
  printf '#!/bin/bash\nwork=%q\n%s\n' "$work" "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}

# The process numbers of the running "sleep N" whose N matches $1, read
# from /proc: a minimal Debian has no pgrep.
sleeping() { grep -a -l -E "^sleep.$1" /proc/[0-9]*/cmdline 2>/dev/null | cut -d/ -f3; }
