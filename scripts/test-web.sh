#!/usr/bin/env bash
# Tests the browser build (made first by scripts/build-web.sh):
#  1. the offline renderer compiled to WebAssembly and run under node prints the same lines
#     and draws the same frames (the CRC-32 of each frame's pixels) as the native one over the
#     whole show at 10 frames a second;
#  2. the page, served on 127.0.0.1 as by a static host (tests/web/serve.mjs), works in
#     headless Chromium as the player and with ?classic (tests/web/browser-check.mjs).
# WEB_TEST_SECONDS (default 20) is how long the classic page plays before the key press; 0
# plays the whole show. WEB_TEST_STATS=FILE keeps the page's frame statistics as JSON.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/web-common.sh

bash scripts/build-web.sh
native=${NATIVE_BUILD:-$root/build}
nice cmake --build "$native" -j"$(nproc)" --target demo-render >&2
render=$native/tools/demo-render/demo-render
stage=$native/stage

web_scratch

passed=0
failed=0
check() {  # check OK|FAIL WHAT
  if [ "$1" = ok ]; then passed=$((passed + 1)); echo "ok   $2"; else failed=$((failed + 1)); echo "FAIL $2"; fi
}

echo "== the offline renderer under node against the native one, whole show at 10 fps"
"$render" --dir "$stage" --fps 10 --crcs "$work/native.crcs" >"$work/native.txt"
"${web_node[@]}" build-web/wasm/tools/demo-render/demo-render.js --dir "$stage" --fps 10 \
  --crcs "$work/node.crcs" >"$work/node.txt"
if cmp -s "$work/native.txt" "$work/node.txt"; then r=ok; else r=FAIL; diff "$work/native.txt" "$work/node.txt" | head -5; fi
check $r "the same standard output ($(wc -l <"$work/native.txt") lines)"
frames=$(wc -l <"$work/native.crcs")
differing=$(diff "$work/native.crcs" "$work/node.crcs" | grep -c '^<' || true)
if [ "$frames" -ge 1800 ] && cmp -s "$work/native.crcs" "$work/node.crcs"; then r=ok; else r=FAIL; fi
check $r "the same $frames frames (CRC-32 of the pixels)$( [ "$differing" != 0 ] && echo "; differing: $differing, first: $(diff "$work/native.crcs" "$work/node.crcs" | grep -m1 '^<')")"

echo "== the page in headless Chromium"
# The title's last fade-in frames, one of which the page must show while the title holds;
# the frames a link to 95 s and seeks from there must show; the script the seek bar shows.
"$render" --dir "$stage" --fps 100 --start 4.9 --frames 10 --png "$work/title" >/dev/null
for t in 90 95; do
  "$render" --dir "$stage" --start $t --frames 1 --png "$work/at$t" >/dev/null
  mv "$work/at$t/frame-000000.png" "$work/at$t.png"
done
cp "$stage/synkTest.snc" "$work/"
serve_site "$work/server.txt"
set +e
"${web_node[@]}" tests/web/browser-check.mjs "http://127.0.0.1:$web_port/" \
  "$work" "${WEB_TEST_SECONDS:-20}" "${WEB_TEST_STATS:-}" | tee "$work/browser.txt"
set -e
read -r bp bf < <(sed -n 's/^\([0-9]*\) passed, \([0-9]*\) failed$/\1 \2/p' "$work/browser.txt")
passed=$((passed + ${bp:-0}))
failed=$((failed + ${bf:-1}))

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
