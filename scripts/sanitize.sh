#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan and
# runs the whole test suite there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
jobs=${SANITIZE_JOBS:-$(nproc)}
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DDEMO_SANITIZE=ON -DDEMO_BUILD_TESTS=ON >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir build-asan --output-on-failure -j"$jobs"
