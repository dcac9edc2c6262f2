#!/bin/sh
# wine-run.sh LOADER PREFIX PROGRAM [ARG...]: runs a Windows program under
# Wine's LOADER (/usr/lib/wine/wine: 32-bit, wine64: 64-bit) in the prefix
# PREFIX, creating the prefix on first use. The Japanese
# locale gives the programs code page 932 as their ANSI code page, as on a
# Japanese Windows. No display is needed unless DISPLAY is set.
set -eu
loader=$1
prefix=$2
shift 2
case "$loader" in
*64) arch=win64 ;;
*) arch=win32 ;;
esac
export WINELOADER="$loader" WINEPREFIX="$prefix" WINEARCH=$arch
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  # One creation even when CTest starts several programs at once.
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      "$loader" wineboot -i >/dev/null 2>&1
      # No display: windows go to the null driver. The screenshot sets
      # its own prefix with a display.
      if [ -z "${DISPLAY:-}" ]; then
        "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
          >/dev/null 2>&1
      fi
      wineserver -w
    fi
  ) 9>"$prefix.lock"
fi
exec "$loader" "$@"
