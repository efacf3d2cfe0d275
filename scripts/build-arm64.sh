#!/usr/bin/env bash
# Cross-builds everything (programs, tests, the stage) for 64-bit ARM Linux in build-arm64:
# Debian's aarch64 compiler against the arm64 libraries installed beside the native ones
# (cmake/aarch64-linux-gnu.cmake). What the build runs, and the tests, go through qemu-user.
# The stage takes the native build's music (build/stage, made first when missing): the MP3
# encoder's bytes differ between platforms, and nothing else of the stage does.
#
#   scripts/build-arm64.sh [CMAKE_OPTION...]     e.g. -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh arm64
jobs=${ARM64_JOBS:-$(nproc)}
music=$PWD/build/stage/data/musik.mp3
if [ ! -f build/stage/synkTest.snc ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build build -j"$jobs" --target stage
fi
cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/aarch64-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_TESTS=ON -DDEMO_STAGE_MUSIC="$music" "$@" >/dev/null
cmake --build build-arm64 -j"$jobs"
