#!/usr/bin/env bash
# The arm64 build under emulation: cross-builds everything (scripts/build-arm64.sh), then
#  - the arm64 data generator's stage is the native one, byte for byte (it takes the native
#    music: the MP3 encoder's bytes are the one thing that differs);
#  - the whole arm64 suite passes under qemu-user;
#  - the arm64 demo-render draws the whole show at 2 frames a second with the same pixels
#    (CRC-32 a frame) and the same standard output as the native one.
# Uses the native build in build/ (scripts/test.sh makes it; the missing targets are built).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${ARM64_JOBS:-$(nproc)}
bash scripts/build-arm64.sh "$@"
grep -qx 'DEMO_SIMD:STRING=Neon' build-arm64/CMakeCache.txt ||
  { echo "test-arm64.sh: the arm64 build did not choose the NEON backend" >&2; exit 1; }
cmake --build build -j"$jobs" --target demo-render stage

if ! diff -r build/stage build-arm64/stage; then
  echo "test-arm64.sh: the arm64 stage differs from the native one" >&2
  exit 1
fi
echo "the arm64 stage is the native one, byte for byte"

ctest --test-dir build-arm64 --output-on-failure -j"$jobs"

out=build-arm64/show-2fps
rm -rf "$out" && mkdir -p "$out"

build/tools/demo-render/demo-render --dir build/stage --fps 2 --crcs "$out/native.crcs" \
  >"$out/native.stdout" 2>"$out/native.stderr"
qemu-aarch64 build-arm64/tools/demo-render/demo-render --dir build-arm64/stage --fps 2 \
  --crcs "$out/arm64.crcs" >"$out/arm64.stdout" 2>"$out/arm64.stderr"
frames=$(wc -l <"$out/native.crcs")
[ "$frames" -ge 360 ] || { echo "test-arm64.sh: only $frames native frames" >&2; exit 1; }
cmp "$out/native.crcs" "$out/arm64.crcs" ||
  { echo "test-arm64.sh: arm64 frames differ: diff $out/native.crcs $out/arm64.crcs" >&2; exit 1; }
cmp "$out/native.stdout" "$out/arm64.stdout" ||
  { echo "test-arm64.sh: arm64 stdout differs: diff $out/native.stdout $out/arm64.stdout" >&2; exit 1; }
echo "arm64 demo-render: $frames frames at 2 fps and stdout identical to the native renderer"
