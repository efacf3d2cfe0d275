#!/usr/bin/env bash
# Builds everything with clang, under AddressSanitizer and UndefinedBehaviorSanitizer, in
# build-clang and holds it to the gcc build (build/, made by scripts/test.sh first): its data
# generator must make the same stage byte for byte, and the whole suite must pass there (the
# golden frames and the fill CRCs among it). Order of evaluation, object lifetimes and
# floating-point contraction are where compilers part; memory and undefined-behaviour faults
# show under the sanitizers. One build does both for CI; scripts/sanitize.sh is the same
# suite under gcc's sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test fuzz   # fuzz brings clang
jobs=${CLANG_JOBS:-$(nproc)}
if [ ! -f build/stage/synkTest.snc ]; then
  echo "test-clang.sh: no gcc stage in build/stage: run scripts/test.sh first" >&2
  exit 1
fi
CC=clang CXX=clang++ cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Release -DDEMO_SANITIZE=ON \
  -DDEMO_BUILD_TESTS=ON >/dev/null
cmake --build build-clang -j"$jobs"
if ! diff -r build/stage build-clang/stage; then
  echo "test-clang.sh: clang's stage differs from gcc's" >&2
  exit 1
fi
echo "clang's stage is gcc's, byte for byte"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir build-clang --output-on-failure -j"$jobs"
