#!/usr/bin/env bash
# The sample catalogue's run through the stand-in host under valgrind's
# memcheck: it must end with no memory error and no block left allocated,
# reachable or not. The data directory is copied, so the scratch file stays
# out of the source tree. Exits 77 (skipped) without valgrind.
#
#   memcheck_sample_run.sh BIN_DIR SAMPLES_DIR WORK_DIR
set -euo pipefail
bin=$1 samples=$2 work=$3
if ! command -v valgrind >/dev/null; then
  echo "valgrind is not installed"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work"
cp -r "$samples/data" "$work/data"
valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
  --show-leak-kinds=all --errors-for-leak-kinds=all --track-origins=yes \
  "$bin/shelfix.exe" --data-dir "$work/data/" --out "$work/result.txt" \
  --catalogue "$samples/catalogue" --codes-file "$samples/codes.txt"
# The run went all the way: a result with a line for some code.
test -s "$work/result.txt"
