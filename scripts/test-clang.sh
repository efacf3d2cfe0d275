#!/usr/bin/env bash
# Builds everything with clang in build-clang and holds it to the gcc build (build/, made by
# scripts/test.sh first): its data generator must make the same stage byte for byte, and its
# renderer the golden frames and the fill CRCs. Order of evaluation, object lifetimes and
# floating-point contraction are where compilers part; this is where we would see it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test fuzz   # fuzz brings clang
jobs=${CLANG_JOBS:-$(nproc)}
if [ ! -f build/stage/synkTest.snc ]; then
  echo "test-clang.sh: no gcc stage in build/stage: run scripts/test.sh first" >&2
  exit 1
fi
CC=clang CXX=clang++ cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_TESTS=ON >/dev/null
cmake --build build-clang -j"$jobs"
if ! diff -r build/stage build-clang/stage; then
  echo "test-clang.sh: clang's stage differs from gcc's" >&2
  exit 1
fi
echo "clang's stage is gcc's, byte for byte"
ctest --test-dir build-clang --output-on-failure -j"$jobs" \
  -R '^(GoldenFrames|GuardedRandomTriangles)\.'
