#!/usr/bin/env bash
# Takes the picture of the wait window in docs/wait-window.png: the Windows
# build's wait_preview (a run of 13 codes, slowed down) under Wine on a
# virtual X display (Xvfb), captured while the bar is under way.
# Usage: tools/wait_screenshot.sh BUILD_DIR   (build-win32 or build-win64)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build-win32}")
loader=/usr/lib/wine/wine
grep -q 'TF_MINGW_ARCH:.*=x86_64' "$build/CMakeCache.txt" && loader=/usr/lib/wine/wine64
cmake --build "$build" --target wait_preview >/dev/null
export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 480x320x24 -nolisten tcp &
xvfb=$!
trap 'kill "$xvfb"' EXIT
sleep 1
# A prefix of its own, with the X11 driver (the test prefix has none).
cmake/wine-run.sh "$loader" "$build/wineprefix-x11" wineboot
# No window manager runs: Wine draws the frame and title bar itself.
cmake/wine-run.sh "$loader" "$build/wineprefix-x11" reg add \
  'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
cmake/wine-run.sh "$loader" "$build/wineprefix-x11" reg add \
  'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
cmake/wine-run.sh "$loader" "$build/wineprefix-x11" "$build/tests/wait_preview.exe" &
run=$!
sleep 6
mkdir -p docs
# The window alone: the empty (black) screen around it is cut away.
xwd -root -silent | convert xwd:- -trim +repage docs/wait-window.png
wait "$run"
echo "docs/wait-window.png"
