#!/usr/bin/env bash
# Measures the real program as a viewer runs it: `demo` from the stage folder under Xvfb
# (1280x1024, 24 bits; sound to SDL's dummy driver) for N seconds of show after its first
# frame (default 185: the whole show). The program's opt-in stderr report
# (DEMO_PRESENT_STATS=1) gives when the first frame reached the screen and how many frames
# were presented. Prints one line:
#   frames presented a second (and how many of them were put on the screen, the rest being
#   identical to the one shown), CPU seconds a second of show for the demo and for the X
#   server, resident memory (median and peak over the show), time from start to first frame.
#   scripts/measure-show.sh [seconds] [build folder, default build]
# DEMO_BINARY names another program to measure over the same stage (an older build).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-185}
build=${2:-build}
demo=${DEMO_BINARY:-$(pwd)/$build/src/program/demo}
stage=$(pwd)/$build/stage
if [ ! -x "$demo" ] || [ ! -f "$stage/synkTest.snc" ]; then
  echo "measure: build the demo and its stage first (cmake --build $build)" >&2
  exit 1
fi

work=$(mktemp -d /tmp/demo-measure.XXXXXX)
xvfb_pid=
demo_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
sleep 1  # let the server settle before the clock starts
export SDL_AUDIODRIVER=dummy DEMO_PRESENT_STATS=1

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
now_ms() { date +%s%3N; }

launch=$(now_ms)
(cd "$stage" && exec "$demo" </dev/null >"$work/stdout" 2>"$work/stderr") &
demo_pid=$!
for _ in $(seq 200); do
  grep -q '^present: first frame' "$work/stderr" && break
  kill -0 "$demo_pid" 2>/dev/null || { echo "measure: demo ended before its first frame" >&2; cat "$work/stderr" >&2; exit 1; }
  sleep 0.05
done
first=$(awk '/^present: first frame at/ {print $5; exit}' "$work/stderr")
[ -n "$first" ] || { echo "measure: no first frame reported" >&2; exit 1; }

start_ms=$(now_ms)
demo_cpu0=$(cpu_ticks "$demo_pid")
xvfb_cpu0=$(cpu_ticks "$xvfb_pid")
: >"$work/rss"
end_ms=$((start_ms + seconds * 1000))
while [ "$(now_ms)" -lt "$end_ms" ]; do
  sleep 1
  kill -0 "$demo_pid" 2>/dev/null || { echo "measure: demo died" >&2; tail -n 20 "$work/stderr" >&2; exit 1; }
  rss_kb "$demo_pid" >>"$work/rss"
done
stop_ms=$(now_ms)
demo_cpu1=$(cpu_ticks "$demo_pid")
xvfb_cpu1=$(cpu_ticks "$xvfb_pid")

xdotool key space 2>/dev/null || kill -TERM "$demo_pid"
status=0
wait "$demo_pid" || status=$?
demo_pid=

# The frame counts reported nearest to the start and the end of the window.
read -r f0 s0 t0 f1 s1 t1 < <(awk -v a="$start_ms" -v b="$stop_ms" '
  /^present: [0-9]+ frames/ { t = $7 + 0
    if (t <= a || n0 == "") { n0 = $2; m0 = $4; u0 = $7 }
    if (t <= b) { n1 = $2; m1 = $4; u1 = $7 } }
  END { print n0, m0, u0, n1, m1, u1 }' "$work/stderr")
awk -v f0="$f0" -v s0="$s0" -v t0="$t0" -v f1="$f1" -v s1="$s1" -v t1="$t1" \
    -v dc="$((demo_cpu1 - demo_cpu0))" -v xc="$((xvfb_cpu1 - xvfb_cpu0))" -v hz="$ticks" \
    -v wall="$((stop_ms - start_ms))" -v first="$((first - launch))" -v status="$status" '
  BEGIN { secs = (t1 - t0) / 1000 }
  { r[NR] = $1 } END {
    n = NR; median = r[int((n + 1) / 2)]; peak = r[n]
    printf "frames/s %.1f (put on screen %.1f/s), CPU s/s demo %.3f X server %.3f, RSS median %.0f MB peak %.0f MB, first frame %d ms, %.0f s measured, exit %d\n",
      (f1 - f0) / secs, (s1 - s0) / secs, dc / hz / (wall / 1000), xc / hz / (wall / 1000),
      median / 1024, peak / 1024, first, wall / 1000, status }' <(sort -n "$work/rss")
