#!/usr/bin/env bash
# A headless Win32 desktop for the tests: Xvfb plus a Wine prefix of our own,
# for the 32-bit (win32) or the x64 (win64) programs.
#   desktop.sh check ARCH         say whether this host runs ARCH programs
#   desktop.sh start ARCH DIR     start Xvfb, create the prefix in DIR (once)
#   desktop.sh run ARCH DIR CMD   run a Windows program on that desktop
#   desktop.sh stop ARCH DIR      stop Wine and Xvfb
# Where the host cannot run ARCH programs, start and run say why and exit
# with 77, which CTest reports as skipped. VELMORA_X64_ONLY=1 makes a host
# that runs both take the x64-only path.
set -euo pipefail
action=$1 arch=$2 dir=$(realpath -m "${3:-.}")
shift $(($# < 3 ? $# : 3))

# Each loader by its path: the /usr/bin/wine wrapper picks the 32-bit one
# whenever it is installed.
case $arch in
win32) loader=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32 bits=32-bit ;;
win64) loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64 bits=x64 ;;
*) echo "desktop.sh: ARCH is win32 or win64" >&2; exit 2 ;;
esac
export WINEARCH=$arch WINELOADER=$loader WINESERVER=$server
export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Why this host cannot run the ARCH programs; nothing when it can.
why_not() {
  if [ "$arch" = win32 ] && [ -n "${VELMORA_X64_ONLY:-}" ]; then
    echo "VELMORA_X64_ONLY is set"
  elif [ ! -x "$loader" ]; then
    echo "$loader is missing: run scripts/install-deps.sh"
  elif ! error=$("$loader" --version 2>&1 >/dev/null); then
    echo "this host cannot run $bits x86 code ($(tail -n1 <<<"$error" | sed 's/^.*: //'))"
  fi
}
reason=$(why_not)
if [ "$action" = check ]; then
  [ -z "$reason" ] && echo "$bits build: runs here" || echo "$bits build: cannot run here: $reason"
  [ -z "$reason" ]
  exit
fi
if [ -n "$reason" ] && [ "$action" != stop ]; then
  # The x64 build is the one every x86-64 host must run.
  [ "$arch" = win64 ] && { echo "the x64 build cannot be tested: $reason" >&2; exit 1; }
  echo "skipped: the $bits build is not tested: $reason"
  exit 77
fi

# A Japanese locale makes the ANSI code page 932, the editor's own, so
# double-byte text goes through real conversions.
japanese() { [ -d "$dir/locale/ja_JP.UTF-8" ] && echo LOCPATH="$dir/locale" LC_ALL=ja_JP.UTF-8; }
[ -f "$dir/display" ] && export DISPLAY=":$(cat "$dir/display")"

case $action in
start)
  mkdir -p "$dir/locale"
  # Also the locales of the code pages the tool is run under besides 932:
  # Wine falls back to code page 1252 for a locale the system lacks.
  for locale in ja_JP ko_KR zh_CN ru_RU; do
    if [ ! -d "$dir/locale/$locale.UTF-8" ] && [ -f "/usr/share/i18n/locales/$locale" ]; then
      localedef -i "$locale" -f UTF-8 "$dir/locale/$locale.UTF-8" 2>/dev/null || true
    fi
  done
  if [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null; then
    :
  else
    rm -f "$dir/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 200); do [ -s "$dir/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$dir/display")"
  fi
  if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
    env $(japanese) "$loader" wineboot -i >/dev/null 2>&1
    # Without a window manager Wine waits for every hidden window unless its
    # windows are unmanaged.
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$server" -w
    touch "$WINEPREFIX/.velmora-ready"
  fi
  ;;
run)
  exec env $(japanese) "$loader" "$@"
  ;;
stop)
  [ -x "$server" ] && "$server" -k 2>/dev/null || true
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$dir/xvfb.pid" "$dir/display"
  fi
  ;;
esac
