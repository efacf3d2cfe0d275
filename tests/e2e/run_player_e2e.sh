#!/usr/bin/env bash
# End-to-end run of demo-player in a private Xvfb server: it starts paused at T, and the
# frame area of its window (scaled 2x) must be demo-render's frame for T pixel for pixel;
# after five presses of Right it must be demo-render's frame for T + 5; Escape ends it with
# status 0.
#
#   run_player_e2e.sh PLAYER RENDER STAGE OUTDIR
#
# Exit 0 = pass, 1 = fail, 77 = skipped (only when Xvfb is not installed). TEST_EMULATOR, when
# set, starts the programs (a cross build's). Every wait is
# bounded and the processes started here are stopped by their ids.
set -u
export LC_ALL=C

[ $# -eq 4 ] || { echo "usage: $0 PLAYER RENDER STAGE OUTDIR" >&2; exit 2; }
player=$1
render=$2
stage=$3
out=$4
START=68          # the 3D part, no flash at START or START + 5
SCALE=2
LIMIT=30          # seconds for each wait
HARD_LIMIT=120

case "$out" in "" | /) exit 2 ;; esac
rm -rf "$out"
mkdir -p "$out" || exit 1

player_pid=
xvfb_pid=
stop_pid() {
    [ -n "$1" ] || return 0
    kill -TERM "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 0
}
cleanup() {
    stop_pid "$player_pid"
    stop_pid "$xvfb_pid"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for f in "$out/player.stderr" "$out/xvfb.log"; do
        [ -s "$f" ] && { echo "---- $f ----" >&2; tail -n 20 "$f" >&2; }
    done
    exit 1
}

command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed (package xvfb)"; exit 77; }
for tool in xdotool xwd convert compare; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

for t in "$START" $((START + 5)); do
    ${TEST_EMULATOR:-} "$render" --dir "$stage" --start "$t" --frames 1 --png "$out/ref-$t" >/dev/null 2>>"$out/render.stderr" ||
        fail "demo-render could not draw the frame at $t s"
done

timeout -k 5 "$HARD_LIMIT" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$out/xvfb.display" >"$out/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
display_no=
for i in $(seq 1 $((LIMIT * 4))); do
    display_no=$(tr -dc 0-9 <"$out/xvfb.display")
    [ -n "$display_no" ] && [ "$(tail -c 1 "$out/xvfb.display" | od -An -tx1 | tr -d ' ')" = 0a ] && break
    display_no=
    sleep 0.25
done
[ -n "$display_no" ] || fail "Xvfb gave no display number"
export DISPLAY=":$display_no"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
x() { timeout -k 2 15 "$@"; }

SDL_AUDIODRIVER=dummy timeout -k 5 "$HARD_LIMIT" ${TEST_EMULATOR:-} "$player" --dir "$stage" --paused --start "$START" \
    --scale "$SCALE" </dev/null >"$out/player.stdout" 2>"$out/player.stderr" &
player_pid=$!

window=
for i in $(seq 1 $((LIMIT * 4))); do
    window=$(x xdotool search --name '^demo-player$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$player_pid" 2>/dev/null || fail "the player ended before it opened its window"
    sleep 0.25
done
[ -n "$window" ] || fail "no window titled demo-player"

# Polls until the window's frame area, sampled back to 512 x 384, equals the reference.
matches() {
    local t=$1 differing=unknown i
    for i in $(seq 1 $((LIMIT * 2))); do
        kill -0 "$player_pid" 2>/dev/null || fail "the player ended before it was asked to"
        if x xwd -id "$window" -silent >"$out/shot.xwd" &&
            convert "xwd:$out/shot.xwd" -crop $((512 * SCALE))x$((384 * SCALE))+0+0 +repage \
                -sample 512x384 "png:$out/shot-$t.png"; then
            differing=$(compare -metric AE "$out/shot-$t.png" "$out/ref-$t/frame-000000.png" null: 2>&1)
            [ "$differing" = 0 ] && return 0
        fi
        sleep 0.5
    done
    fail "at $t s the frame area differs from demo-render's frame in $differing pixels (see $out/shot-$t.png)"
}

matches "$START"
echo "frame area at $START s: identical to demo-render's"
for i in 1 2 3 4 5; do
    x xdotool key --window "$window" Right || fail "xdotool could not send a key"
    sleep 0.1
done
matches $((START + 5))
echo "frame area at $((START + 5)) s after five presses of Right: identical to demo-render's"

x xdotool key --window "$window" Escape
for i in $(seq 1 $((LIMIT * 4))); do
    kill -0 "$player_pid" 2>/dev/null || break
    sleep 0.25
done
kill -0 "$player_pid" 2>/dev/null && fail "the player still runs after Escape"
wait "$player_pid"
status=$?
player_pid=
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo "PASS: paused start and seeks draw demo-render's frames; Escape ended it with status 0"
exit 0
