#!/usr/bin/env bash
# Builds the benchmarks in their own folder (build-bench) and runs them: a table of every
# benchmark, then the ratios against memcpy and pixman from the median CPU times of the run.
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=blend).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh bench
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_BENCH=ON -DDEMO_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target demo_bench
./build-bench/bench/demo_bench --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
    --benchmark_format=console "$@"
