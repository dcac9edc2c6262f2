#!/usr/bin/env bash
# Looks up the sample catalogue's codes through the stand-in host and shows
# the result file readably (shelfix.exe show). The data directory is copied
# first, so the run's scratch file stays out of the source tree.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build build -j2 --target shelfix tomefinder >/dev/null

run=build/sample-run
rm -rf "$run"
mkdir -p "$run"
cp -r samples/data "$run/data"
build/bin/shelfix.exe --data-dir "$run/data/" --out "$run/result.txt" \
  --catalogue samples/catalogue --codes-file samples/codes.txt
build/bin/shelfix.exe show "$run/result.txt"
echo "result file: $run/result.txt"
