#!/usr/bin/env bash
# Soak of the real program: runs `demo` from the stage folder under Xvfb (sound to SDL's dummy
# driver) for N seconds (default 300), samples its resident memory every 10 s, then ends it
# with a key press. Prints RSS at the start, the end and the peak; fails when the program
# dies early, does not end on the key, or grows by more than MAX_GROWTH_KB (default 16384)
# between the first sample after loading and the end.
#   fuzz/soak.sh [seconds] [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
build=${2:-build}
max_growth=${MAX_GROWTH_KB:-16384}
demo=$(pwd)/$build/src/program/demo
stage=$(pwd)/$build/stage
if [ ! -x "$demo" ] || [ ! -f "$stage/synkTest.snc" ]; then
  echo "soak: build the demo and its stage first (cmake --build $build)" >&2
  exit 1
fi

work=$(mktemp -d /tmp/demo-soak.XXXXXX)
xvfb_pid=
demo_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
export SDL_AUDIODRIVER=dummy

rss() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }

(cd "$stage" && exec "$demo" </dev/null >"$work/stdout" 2>"$work/stderr") &
demo_pid=$!
sleep 10  # loading: every picture and the music are read before the first frame
if ! kill -0 "$demo_pid" 2>/dev/null; then
  echo "soak: demo ended during loading" >&2
  tail -n 20 "$work/stderr" >&2
  exit 1
fi
start=$(rss "$demo_pid")
peak=$start
elapsed=0
while [ "$elapsed" -lt "$seconds" ]; do
  sleep 10
  elapsed=$((elapsed + 10))
  if ! kill -0 "$demo_pid" 2>/dev/null; then
    echo "soak: demo died after ${elapsed}s" >&2
    tail -n 20 "$work/stderr" >&2
    exit 1
  fi
  now=$(rss "$demo_pid")
  [ "$now" -gt "$peak" ] && peak=$now
done
end=$(rss "$demo_pid")

# Any key ends the run; a window close (SIGTERM reaches SDL as a quit) is the fallback.
xdotool key space 2>/dev/null || true
for _ in $(seq 50); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.1; done
ended_by_key=yes
if kill -0 "$demo_pid" 2>/dev/null; then
  ended_by_key=no
  kill -TERM "$demo_pid" 2>/dev/null || true
  sleep 2
fi
status=0
wait "$demo_pid" || status=$?
demo_pid=

echo "soak: ${seconds}s, RSS start ${start} kB, end ${end} kB, peak ${peak} kB; ended by key: ${ended_by_key}; exit status ${status}"
growth=$((end - start))
if [ "$growth" -gt "$max_growth" ]; then
  echo "soak: resident memory grew by ${growth} kB (limit ${max_growth} kB)" >&2
  exit 1
fi
[ "$status" -eq 0 ] || { echo "soak: demo exited with status $status" >&2; exit 1; }
