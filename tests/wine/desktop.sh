#!/usr/bin/env bash
# A headless Win32 desktop for the tests: Xvfb plus a Wine prefix of our own.
#   desktop.sh start DIR       start Xvfb, create the prefix in DIR (once)
#   desktop.sh run DIR CMD...  run a Windows program on that desktop
#   desktop.sh stop DIR        stop Wine and Xvfb
set -euo pipefail
action=$1 dir=$(realpath -m "$2")
shift 2

export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A Japanese locale makes the ANSI code page 932, the editor's own, so
# double-byte text goes through real conversions.
japanese() { [ -d "$dir/locale/ja_JP.UTF-8" ] && echo LOCPATH="$dir/locale" LC_ALL=ja_JP.UTF-8; }
[ -f "$dir/display" ] && export DISPLAY=":$(cat "$dir/display")"

case $action in
start)
  mkdir -p "$dir"
  if [ ! -d "$dir/locale/ja_JP.UTF-8" ] && [ -f /usr/share/i18n/locales/ja_JP ]; then
    mkdir -p "$dir/locale"
    localedef -i ja_JP -f UTF-8 "$dir/locale/ja_JP.UTF-8" 2>/dev/null || true
  fi
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
    env $(japanese) wineboot -i >/dev/null 2>&1
    # Without a window manager Wine waits for every hidden window unless its
    # windows are unmanaged.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.velmora-ready"
  fi
  ;;
run)
  exec env $(japanese) wine "$@"
  ;;
stop)
  wineserver -k 2>/dev/null || true
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$dir/xvfb.pid" "$dir/display"
  fi
  ;;
esac
