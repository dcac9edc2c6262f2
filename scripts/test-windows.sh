#!/usr/bin/env bash
# The Windows build and its tests: tomefinder.dll and shelfix.exe in
# build-win32/bin/ with their export tables checked, then the unit tests,
# the runs compared with the native build's (build/, built first by
# scripts/test.sh) and the differential test, all under Wine. Where the
# kernel cannot run 32-bit programs (no 32-bit Wine), those run on the same
# code built as 64-bit programs (build-win64/).
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
cmake --workflow --preset win32
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "test-windows: the Wine tests ran on the 32-bit build"
else
  echo "test-windows: 32-bit programs cannot run here: the Wine tests run on the 64-bit build"
  cmake --workflow --preset win64
fi
echo "test-windows: $(wine --version 2>/dev/null || /usr/lib/wine/wine64 --version), $(($(date +%s) - start)) s"
