#!/usr/bin/env bash
# Measures the browser page's cold load to its first frame (made first by
# scripts/build-web.sh): served with gzip as by a static host (tests/web/serve.mjs), opened in
# headless Chromium throttled to 20 Mbit/s and 40 ms latency by DevTools network emulation,
# with an empty cache and profile each time. Prints each run, the median and the bytes
# transferred.
#
#   scripts/measure-web-load.sh [RUNS]     (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/web-common.sh
[ -e build-web/site/demo.wasm ] || { echo "measure-web-load: build the page first (scripts/build-web.sh)" >&2; exit 1; }

web_scratch
serve_site "$work/server.txt"
"${web_node[@]}" tests/web/measure-load.mjs "http://127.0.0.1:$web_port/index.html?t=0&paused" "${1:-3}" 20 40
