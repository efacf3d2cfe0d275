#!/usr/bin/env bash
# The whole show for a long run on the virtual platform under ASan + UBSan (build-asan):
# fuzz/stress.sh [seconds of show, default 546 = three timelines] [fps, default 25].
# The demo's progress lines go to build-asan/stress.stdout. Leak checking is off: the demo
# keeps its long-lived objects until the process ends, by design.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-546}
fps=${2:-25}
jobs=${STRESS_BUILD_JOBS:-2}
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Release -DDEMO_SANITIZE=ON -DDEMO_BUILD_FUZZ=ON >/dev/null
cmake --build build-asan -j"$jobs" --target stress_timeline stage
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
build-asan/fuzz/stress_timeline "$PWD/build-asan/stage" "$seconds" "$fps" </dev/null >build-asan/stress.stdout
