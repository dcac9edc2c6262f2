#!/usr/bin/env bash
# Builds the benchmarks (preset bench, into build-bench/) and their corpus,
# runs every benchmark with repetitions, writes the results as JSON, and
# from them the tables of docs/performance.md and docs/throughput.png.
# Arguments go to the benchmark executable (for one, --benchmark_filter=).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --plot
cmake --preset bench >/dev/null
cmake --build --preset bench --target tomefinder_bench bench_corpus
results=build-bench/bench/results.json
# Repetitions interleaved at random, so that every benchmark meets the
# machine's other work alike; the report takes the medians.
build-bench/bench/bin/tomefinder_bench --benchmark_repetitions=7 \
  --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=json "$@"
# Debian's python3, for which python3-matplotlib is installed.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" bench/report.py "$results" --doc docs/performance.md \
  --plot docs/throughput.png
echo "bench: $results, docs/performance.md, docs/throughput.png"
