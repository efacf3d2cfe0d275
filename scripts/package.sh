#!/usr/bin/env bash
# Builds the Debian package in its own folder (build-package, without the tests):
# build-package/softdemo_VERSION_ARCH.deb, installed with `apt-get install ./softdemo_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh package
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_TESTS=OFF >/dev/null
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack -G DEB)
ls build-package/softdemo_*.deb
