#!/usr/bin/env bash
# Installs what building and watching need, builds the demo and its data, and plays it
# full screen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target demo stage
cd build/stage
exec ../src/program/demo
