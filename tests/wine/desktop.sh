#!/usr/bin/env bash
# A headless Win32 desktop for the tests: Xvfb plus a Wine prefix of our own,
# for the 32-bit (win32) or the x64 (win64) programs.
#   desktop.sh check ARCH         say whether and how this host runs ARCH
#                                 programs
#   desktop.sh start ARCH DIR     start Xvfb, create the prefix in DIR (once)
#   desktop.sh run ARCH DIR CMD   run a Windows program on that desktop
#   desktop.sh stop ARCH DIR      stop Wine and Xvfb
# Where the host cannot run ARCH programs, start and run say why and exit
# with 77, which CTest reports as skipped. VELMORA_X64_ONLY=1 makes a host
# that runs both take the x64-only path.
#
# A host whose processor cannot run 32-bit x86 code runs the 32-bit programs
# under qemu-i386, registered for i386 executables in a binfmt_misc instance
# of a user namespace of the call's own (Linux 6.7 or later): the host's own
# registrations are never touched. Each call registers anew and every Wine
# process inherits the namespace of the call that started it, so wineserver,
# the desktop, the tests and the tool all run emulated, with no long-lived
# namespace to keep track of or leak. VELMORA_EMULATION then names the
# emulator to the programs, which skip what it cannot give.
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
# No crash debugger, and no device drivers: the tool needs none of them, and
# under qemu-i386 Wine 10's driver host, winedevice.exe, crashes as the
# desktop stops (seen on Debian 13).
export WINEPREFIX="$dir/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winedevice.exe=d"

emulator=/usr/bin/qemu-i386
# An i386 executable, as the kernel's own qemu registrations describe it; the
# kernel reads the escapes.
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
register_emulator() {
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/velmora-i386" ] && return
  mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || return 1
  # F: the emulator is opened now, so it is found whatever the namespace.
  printf ':velmora-i386:M::%s:%s:%s:F' "$i386_magic" "$i386_mask" "$emulator" \
    >"$binfmt/register"
}
private=(unshare --user --map-root-user --mount)

# Why qemu-i386 cannot stand in for the processor here; nothing when it can.
why_no_emulator() {
  if [ ! -x "$emulator" ]; then
    echo "$emulator is missing: run scripts/install-deps.sh"
  elif ! "${private[@]}" true 2>/dev/null; then
    echo "no user namespace can be made for qemu-i386"
  elif ! "${private[@]}" "$0" probe "$arch" >/dev/null 2>&1; then
    echo "no private binfmt_misc instance can be had for qemu-i386 (it needs Linux 6.7 or later)"
  fi
}

# Sets reason to why this host cannot run the ARCH programs, natively or
# emulated (empty when it can), and how to the way it runs them.
reason='' how=natively
find_how() {
  local error refused
  if [ "$arch" = win32 ] && [ -n "${VELMORA_X64_ONLY:-}" ]; then
    reason="VELMORA_X64_ONLY is set"
  elif [ ! -x "$loader" ]; then
    reason="$loader is missing: run scripts/install-deps.sh"
  elif [ -n "${VELMORA_EMULATION:-}" ]; then
    how="under emulation ($VELMORA_EMULATION)"
    register_emulator || reason="qemu-i386 could not be registered"
  elif ! error=$("$loader" --version 2>&1 >/dev/null); then
    reason="this host cannot run $bits x86 code ($(tail -n1 <<<"$error" | sed 's/^.*: //'))"
    [ "$arch" = win32 ] || return 0
    refused=$(why_no_emulator)
    if [ -n "$refused" ]; then
      reason+=", and $refused"
    else
      reason=
      how="under emulation ($("$emulator" --version | sed -n '1s/ version / /p' | cut -d' ' -f1,2))"
    fi
  fi
}
if [ "$action" = probe ]; then
  register_emulator && exec "$loader" --version
fi
find_how
if [ "$action" = check ]; then
  if [ -z "$reason" ]; then
    [ "$how" = natively ] && echo "$bits build: runs here" || echo "$bits build: runs here $how"
  else
    echo "$bits build: cannot run here: $reason"
  fi
  [ -z "$reason" ]
  exit
fi
if [ -n "$reason" ] && [ "$action" != stop ]; then
  # The x64 build is the one every x86-64 host must run.
  [ "$arch" = win64 ] && { echo "the x64 build cannot be tested: $reason" >&2; exit 1; }
  echo "skipped: the $bits build is not tested: $reason"
  exit 77
fi
if [ "$how" != natively ] && [ -z "${VELMORA_EMULATION:-}" ]; then
  # qemu writes a program that crashes into a core file in its folder.
  ulimit -c 0
  emulation=${how#under emulation (}
  VELMORA_EMULATION=${emulation%)} exec "${private[@]}" "$0" "$action" "$arch" "$dir" "$@"
fi

# A Japanese locale makes the ANSI code page 932, the editor's own, so
# double-byte text goes through real conversions.
japanese_locale() {
  japanese=()
  [ ! -d "$dir/locale/ja_JP.UTF-8" ] || japanese=(LOCPATH="$dir/locale" LC_ALL=ja_JP.UTF-8)
}
japanese_locale
[ -f "$dir/display" ] && DISPLAY=":$(cat "$dir/display")" && export DISPLAY

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
  # A desktop left running is kept; the number alone may be another
  # process's by now.
  if [ -f "$dir/xvfb.pid" ] && [ "$(cat "/proc/$(cat "$dir/xvfb.pid")/comm" 2>/dev/null)" = Xvfb ]; then
    :
  else
    rm -f "$dir/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 200); do [ -s "$dir/display" ] && break; sleep 0.1; done
    DISPLAY=":$(cat "$dir/display")"
    export DISPLAY
  fi
  if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
    japanese_locale
    env "${japanese[@]}" "$loader" wineboot -i >/dev/null 2>&1
    touch "$WINEPREFIX/.velmora-ready"
  fi
  # Without a window manager Wine waits for every hidden window unless its
  # windows are unmanaged. Run alone on every start, this also settles the
  # server's folder: Debian's Wine names its wine-XXXXXX in /tmp in the
  # prefix, and a client that finds it gone, as in a contained run's own
  # /tmp, makes another and names that instead; clients that start together
  # then meet different servers, and a new process fails to start.
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  timeout 30 "$server" -w || true
  ;;
run)
  exec env "${japanese[@]}" "$loader" "$@"
  ;;
stop)
  # Each has ended before the next desktop starts, so that none of its
  # programs meets a server or a display on its way out.
  if [ -x "$server" ]; then
    "$server" -k 2>/dev/null || true
    timeout 30 "$server" -w 2>/dev/null || true
  fi
  if [ -f "$dir/xvfb.pid" ]; then
    xvfb=$(cat "$dir/xvfb.pid")
    if [ "$(cat "/proc/$xvfb/comm" 2>/dev/null)" = Xvfb ]; then
      kill "$xvfb" 2>/dev/null || true
      for _ in $(seq 50); do
        grep -qs '^State:[^A-Z]*[A-Y]' "/proc/$xvfb/status" || break # gone, or a zombie
        sleep 0.1
      done
      [ "$(cat "/proc/$xvfb/comm" 2>/dev/null)" != Xvfb ] || kill -KILL "$xvfb" 2>/dev/null || true
    fi
    rm -f "$dir/xvfb.pid" "$dir/display"
  fi
  ;;
esac
