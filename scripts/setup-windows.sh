#!/usr/bin/env bash
# Installs, from Debian's packages, what the Windows build and its tests
# need: MinGW-w64 (32-bit, and 64-bit for Wine where 32-bit programs cannot
# run), Wine (wine32 through the i386 architecture, and wine64), the
# Japanese locale that gives Wine code page 932, and Xvfb for the wait
# window's screenshot. Fails (status 1) when they cannot be installed; the
# native tests do not need any of it.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have_pkg wine32:i386 || need+=(wine32:i386)
have_pkg wine64 || need+=(wine64)
have_pkg wine || need+=(wine)
have_cmd Xvfb || need+=(xvfb)
have_cmd xwd || need+=(x11-apps)
have_cmd convert || need+=(imagemagick)
have_pkg locales || need+=(locales)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [ ${#need[@]} -gt 0 ]; then
  echo "setup-windows: installing ${need[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386 || exit 1
  fi
  $sudo apt-get update -qq || exit 1
  $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" || exit 1
fi
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  $sudo locale-gen >/dev/null || exit 1
fi
