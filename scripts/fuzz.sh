#!/usr/bin/env bash
# Runs the fuzz targets, one after the other, and reports for each the
# executions, the coverage (libFuzzer's cov: edges and ft: features) and
# whether it found anything.
#
#   bash scripts/fuzz.sh TARGET|all SECONDS [--runs N]
#       fuzz each for SECONDS, or until N executions when that comes first
#   bash scripts/fuzz.sh TARGET|all --runs N
#       fuzz each for N executions
#
# Builds the fuzz preset first. A timed run grows the target's working
# corpus in build-fuzz/corpus/TARGET (start from fuzz/corpus/TARGET, copy
# back by hand what is worth keeping); a run of N executions alone starts
# from the saved corpus, with a fixed seed, so that it is repeatable.
# A finding is saved in build-fuzz/artifacts/TARGET/, with the sanitizer's
# report beside it. Exits 1 when any target found something.
# FUZZ_TIMEOUT (seconds, default 10) is the limit for one input; raise it
# for a long run at a low priority on a busy machine.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(cp932 markup title date_size statement output_line ini detail_page
         download)
usage() {
  echo "usage: $0 TARGET|all SECONDS [--runs N] | $0 TARGET|all --runs N" >&2
  echo "targets: ${targets[*]}" >&2
  exit 2
}
number() { [[ "$1" =~ ^[0-9]+$ ]] || usage; }
[ $# -ge 2 ] || usage
which=$1
shift
limit=()
mode=time
if [ "$1" = "--runs" ]; then
  [ $# -eq 2 ] || usage
  number "$2"
  limit=(-runs="$2" -seed=1)
  mode=runs
else
  number "$1"
  limit=(-max_total_time="$1")
  shift
  if [ $# -gt 0 ]; then
    [ $# -eq 2 ] && [ "$1" = "--runs" ] || usage
    number "$2"
    limit+=(-runs="$2")
  fi
fi
if [ "$which" != all ]; then
  [[ " ${targets[*]} " == *" $which "* ]] || usage
  targets=("$which")
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_targets >/dev/null

build=$PWD/build-fuzz
status=0
printf '%-12s %12s %8s %8s %9s  %s\n' target executions cov ft "exec/s" result
for target in "${targets[@]}"; do
  binary=$build/fuzz/fuzz_$target
  options=()
  if [ "$target" = download ]; then
    binary=$build/fuzz/download/fuzz_download
    # The run's messages go to standard error on every execution; the
    # sanitizer's report goes to its log file instead.
    options+=(-close_fd_mask=2)
  fi
  [ -f "fuzz/dict/$target.dict" ] && options+=(-dict="fuzz/dict/$target.dict")
  artifacts=$build/artifacts/$target
  if [ $mode = runs ]; then
    work=$build/short/$target
    rm -rf "$work"
  else
    work=$build/corpus/$target
  fi
  mkdir -p "$work" "$artifacts" "$build/logs"
  log=$build/logs/$target.log
  set +e
  # A smaller quarantine than the default (256 MB) keeps the targets that
  # read and write files fast, and still catches a use after free.
  ASAN_OPTIONS="log_path=$artifacts/sanitizer:quarantine_size_mb=64:${ASAN_OPTIONS:-}" \
  UBSAN_OPTIONS="log_path=$artifacts/sanitizer:print_stacktrace=1" \
    "$binary" "${limit[@]}" "${options[@]}" -timeout="${FUZZ_TIMEOUT:-10}" -rss_limit_mb=2048 \
    -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "fuzz/corpus/$target" \
    >"$log" 2>&1
  rc=$?
  set -e
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+.* cov: ' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  if [ $rc -eq 0 ]; then
    result=ok
  else
    result="FOUND (exit $rc): $(ls -t "$artifacts" | head -1), log $log"
    status=1
  fi
  printf '%-12s %12s %8s %8s %9s  %s\n' "$target" "${executions:-?}" \
    "${cov:-?}" "${ft:-?}" "${speed:-?}" "$result"
done
exit $status
