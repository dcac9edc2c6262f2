#!/usr/bin/env bash
# Sets up a fresh machine, then configures, builds and runs every test:
# the native build, the sanitizer build and the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --workflow --preset default
# Every native test again, built by clang under AddressSanitizer and
# UndefinedBehaviorSanitizer.
cmake --workflow --preset asan
# The fuzz targets under the same sanitizers: each saved corpus, then a
# short run of a fixed number of executions per target.
cmake --workflow --preset fuzz
bash scripts/fuzz.sh all --runs 10000
# The benchmarks, built and each run once on the small corpus: that they
# run, not how fast (scripts/bench.sh measures).
cmake --preset bench
cmake --build --preset bench --target tomefinder_bench
build-bench/bench/bin/tomefinder_bench --benchmark_min_time=0.000001 \
  --corpus="$PWD/build-bench/bench/corpus-small"
# The Windows build and its tests under Wine, whenever the toolchain can be
# installed; TOMEFINDER_WINDOWS=required (as in CI) makes that a failure.
if bash scripts/setup-windows.sh; then
  bash scripts/test-windows.sh
elif [ "${TOMEFINDER_WINDOWS:-}" = required ]; then
  echo "test: the Windows toolchain cannot be installed" >&2
  exit 1
else
  echo "test: the Windows toolchain cannot be installed: Windows tests skipped"
fi
