#!/usr/bin/env bash
# Tests the Windows build (made first by scripts/build-windows.sh) under Wine, headless in
# Xvfb, with SDL's dummy sound driver:
#  1. demo-render.exe prints the same lines and writes the same frames, byte for byte, as the
#     native demo-render over the whole show at 2 frames a second;
#  2. the test programs pass: the golden frames, the core and the framework (the platform
#     units, the data file lookup, the sync script with CRLF line ends);
#  3. demo.exe from the unpacked zip draws the title full screen, ends on a key with status 0
#     and prints its lines in order (tests/e2e/run_demo_e2e.sh); without its data folder it
#     says so and ends with status 1;
#  4. demo-player.exe --paused --start 70 shows demo-render's frame for 70 s, and 75 s after
#     five seeks (tests/e2e/run_player_e2e.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/build-windows.sh
native=${NATIVE_BUILD:-$root/build}
render=$native/tools/demo-render/demo-render
stage=$native/stage
out=$root/build-windows
cross=$out/cross

# A Wine of our own, made once; no prompts for Mono or Gecko, no debug chatter.
export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
export SDL_AUDIODRIVER=dummy
unset DISPLAY WAYLAND_DISPLAY
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  echo "== making the Wine prefix" >&2
  timeout 300 wine wineboot --init >/dev/null 2>&1 || true
  # The registry files are written when the Wine server ends, a few seconds later.
  timeout 60 wineserver -w || true
  [ -e "$WINEPREFIX/system.reg" ] || { echo "test-windows: wineboot made no Wine prefix" >&2; exit 1; }
fi

work=$(mktemp -d)
cleanup() {
  # Our prefix's server only, started by the runs above.
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() {  # check ok|FAIL WHAT
  if [ "$1" = ok ]; then passed=$((passed + 1)); echo "ok   $2"; else failed=$((failed + 1)); echo "FAIL $2"; fi
}

# The unpacked zip, as a user has it.
unzip -q "$out/softdemo-windows-x86_64.zip" -d "$work"
app=$work/softdemo-windows-x86_64

echo "== demo-render.exe against the native demo-render, whole show at 2 fps"
"$render" --dir "$stage" --fps 2 --png "$work/native" >"$work/native.txt"
(cd "$app" && wine ./demo-render.exe --fps 2 --png "$work/windows" >"$work/windows.txt")
if cmp -s "$work/native.txt" "$work/windows.txt"; then r=ok; else r=FAIL; diff "$work/native.txt" "$work/windows.txt" | head -5; fi
check $r "the same standard output ($(wc -l <"$work/native.txt") lines)"
frames=$(find "$work/native" -name '*.png' | wc -l)
if [ "$frames" -gt 300 ] && diff -r "$work/native" "$work/windows" >/dev/null; then r=ok; else r=FAIL; fi
check $r "the same $frames PNG frames, byte for byte"
rm -rf "$work/native" "$work/windows"

echo "== the test programs under Wine"
for program in test_golden test_core test_demo; do
  log=$work/$program.log
  if (cd "$cross/tests" && wine "./$program.exe" --gtest_brief=1 >"$log" 2>&1); then r=ok; else r=FAIL; tail -n 30 "$log"; fi
  check $r "$program.exe: $(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$log" | head -n 1)"
done

echo "== demo.exe in Xvfb"
# The e2e scripts start a program by its path: small launchers that run it under Wine. Wine's
# server and desktop keep the display they started with for a while after a program ends, so
# each launch first waits for the last one's to go and gets the display it is given now.
mkdir -p "$work/bin"
for program in demo demo-player; do
  printf '#!/bin/sh\nwineserver -w\nexec wine "%s" "$@"\n' "$app/$program.exe" >"$work/bin/$program"
  chmod +x "$work/bin/$program"
done
if bash tests/e2e/run_demo_e2e.sh x11 "$work/bin/demo" "$app" "$work/e2e-demo"; then r=ok; else r=FAIL; fi
check $r "demo.exe draws the title full screen, ends on a key with status 0, prints its lines"

mkdir -p "$work/nodata"
cp "$app/demo.exe" "$app/libmpg123-0.dll" "$work/nodata/"
status=0
(cd "$work/nodata" && timeout 60 wine ./demo.exe >"$work/nodata.out" 2>"$work/nodata.err") || status=$?
if [ $status -eq 1 ] && grep -q "demo: the data folder .* is missing" "$work/nodata.err"; then r=ok; else
  r=FAIL; echo "status $status; stderr: $(head -c 300 "$work/nodata.err")"; fi
check $r "demo.exe without its data folder: the message and status 1"

echo "== demo-player.exe in Xvfb"
if E2E_PLAYER_START=70 bash tests/e2e/run_player_e2e.sh "$work/bin/demo-player" "$render" "$app" \
     "$work/e2e-player"; then r=ok; else r=FAIL; fi
check $r "demo-player.exe --paused --start 70 shows demo-render's frame (and after five seeks)"

echo "test-windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
