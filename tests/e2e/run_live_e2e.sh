#!/usr/bin/env bash
# End-to-end run of demo-player --live in a private Xvfb server, on a copy of the source
# tree with a build folder of its own (configured here; only the house part's module is
# ever compiled in it, through ccache when there is one). The player starts paused in the
# house part. Then, each within a bounded wait:
#   a 64x64 square of 0xFF00FF drawn at the end of HusetPart::draw shows within 5 s;
#   an #error line keeps that frame and the player running;
#   a null-pointer write in the draw is refused and the last good code stays;
#   the original file gives demo-render's frame back pixel for pixel;
#   Escape ends it with status 0.
#
#   run_live_e2e.sh PLAYER RENDER STAGE SOURCE OUTDIR
#
# Exit 0 = pass, 1 = fail, 77 = skipped (only when Xvfb is not installed).
set -u
export LC_ALL=C

[ $# -eq 5 ] || { echo "usage: $0 PLAYER RENDER STAGE SOURCE OUTDIR" >&2; exit 2; }
player=$(realpath -m "$1")
render=$(realpath -m "$2")
stage=$(realpath -m "$3")
source=$(realpath -m "$4")
out=$(realpath -m "$5")
START=93.5        # the house part, between two flashes
SCALE=1
LIMIT=30          # seconds for each ordinary wait
SHOW_LIMIT=${LIVE_SHOW_LIMIT:-5}      # seconds from saving the square to seeing it
# The build behind it needs about a second of CPU: on a machine with more runnable work than
# cores the limit grows with the load (at most to 60 s), and the test says so.
load=$(cut -d' ' -f1 /proc/loadavg 2>/dev/null || echo 0)
cores=$(nproc 2>/dev/null || echo 1)
SHOW_LIMIT=$(awk -v l="$load" -v c="$cores" -v s="$SHOW_LIMIT" 'BEGIN { f = l / c; if (f < 1) f = 1; t = s * f; if (t > 60) t = 60; printf "%.0f", t }')
HARD_LIMIT=600

case "$5" in "" | /) exit 2 ;; esac
mkdir -p "$out" || exit 1
rm -rf "$out"/shot* "$out"/ref "$out"/player.* "$out"/xvfb.*

source "$(dirname "$0")/xvfb_session.sh"
logs=("$out/player.stderr" "$out/configure.log" "$out/xvfb.log")
player_pid=
xvfb_pid=
cleanup() {
    stop_pid "$player_pid"
    stop_pid "$xvfb_pid"
}
trap cleanup EXIT
need_x_tools xdotool xwd convert compare

# The copy: the tree but its build folders, tests and docs. Kept between runs (the same paths
# let ccache and the build folder reuse what the last run compiled); the part file is put
# back from the source tree every time.
tree="$out/tree"
mkdir -p "$tree"
for item in "$source"/*; do
    case "${item##*/}" in build* | tests | docs) continue ;; esac
    cp -a "$item" "$tree/" || fail "cannot copy $item"
done
house="$tree/src/parts/HusetPart.cpp"
original="$out/HusetPart.cpp.original"
cp "$house" "$original"
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$tree"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_TESTS=OFF "${launcher[@]}" \
    >"$out/configure.log" 2>&1 || fail "the copy does not configure"
cmake --build "$tree/build" --target part_HusetPart >>"$out/configure.log" 2>&1 ||
    fail "the copy's house part does not build"

"$render" --dir "$stage" --start "$START" --frames 1 --png "$out/ref" >/dev/null 2>>"$out/render.stderr" ||
    fail "demo-render could not draw the frame at $START s"

start_xvfb 1280x1024 "$LIMIT" "$HARD_LIMIT"

SDL_AUDIODRIVER=dummy CCACHE_BASEDIR= timeout -k 5 "$HARD_LIMIT" "$player" --dir "$stage" --paused --start "$START" \
    --scale "$SCALE" --live --live-build "$tree/build" </dev/null >"$out/player.stdout" 2>"$out/player.stderr" &
player_pid=$!
find_player_window "$LIMIT"

# The window's frame area as a PNG; false when it cannot be taken.
shoot() {
    x xwd -id "$window" -silent >"$out/shot.xwd" &&
        convert "xwd:$out/shot.xwd" -crop $((512 * SCALE))x$((384 * SCALE))+0+0 +repage -sample 512x384 "png:$1"
}
alive() { kill -0 "$player_pid" 2>/dev/null || fail "the player ended: $1"; }
# The colours at two points: inside the square's corner and just outside it.
square_shown() {
    local inside outside
    inside=$(convert "$1" -format '%[hex:p{10,10}]' info: 2>/dev/null)
    outside=$(convert "$1" -format '%[hex:p{70,70}]' info: 2>/dev/null)
    [ "${inside:0:6}" = FF00FF ] && [ "${outside:0:6}" != FF00FF ] &&
        [ "$(convert "$1" -crop 64x64+0+0 +repage -format '%k' info:)" = 1 ]
}
edit_draw() {   # puts a line just before the closing brace of HusetPart::draw
    awk -v line="$1" 'index($0, "void HusetPart::draw(") == 1 { inside = 1 }
        inside && $0 == "}" { print "    " line; inside = 0 }
        { print }' "$house" >"$house.new" || fail "cannot edit $house"
    mv "$house.new" "$house"   # as an editor saves: a new file in its place
}
# shows_reference NAME WHEN: waits until the frame area (shot-NAME.png) is demo-render's frame.
shows_reference() {
    local i
    for i in $(seq 1 $((LIMIT * 2))); do
        alive "$2"
        shoot "$out/shot-$1.png" &&
            [ "$(compare -metric AE "$out/shot-$1.png" "$out/ref/frame-000000.png" null: 2>&1)" = 0 ] && return 0
        sleep 0.5
    done
    fail "$2, the frame area is not demo-render's frame (see $out/shot-$1.png)"
}
wait_stderr() {   # waits for a line on the player's standard error
    local i
    for i in $(seq 1 $((LIMIT * 4))); do
        grep -q -- "$1" "$out/player.stderr" && return 0
        alive "while waiting for: $1"
        sleep 0.25
    done
    fail "the player never said: $1"
}

shows_reference start "the paused start"
wait_stderr "live: watching"
echo "paused at $START s with --live: demo-render's frame"

edit_draw 'for (int y = 0; y < 64; y++) for (int x = 0; x < 64; x++) target->pixels[y * target->width + x] = 0xFF00FF;'
saved=$(date +%s.%N)
shown=
while :; do
    alive "after the square was saved"
    if shoot "$out/shot-square.png" && square_shown "$out/shot-square.png"; then
        shown=$(date +%s.%N)
        break
    fi
    awk -v now="$(date +%s.%N)" -v saved="$saved" -v limit="$SHOW_LIMIT" 'BEGIN { exit !(now - saved > limit) }' && break
    sleep 0.2
done
[ -n "$shown" ] || fail "the square did not show within $SHOW_LIMIT s (see $out/shot-square.png)"
echo "the square showed $(awk -v a="$shown" -v b="$saved" 'BEGIN { printf "%.2f", a - b }') s after saving (limit $SHOW_LIMIT s; load average $load on $cores cores)"
wait_stderr "HusetPart: new code"

edit_draw '#error not finished'
wait_stderr "HusetPart: src/parts/HusetPart.cpp:[0-9]*: error: #error not finished; the running code stays"
alive "after the #error"
shoot "$out/shot-error.png" && square_shown "$out/shot-error.png" || fail "the #error did not keep the last frame"
echo "#error: the first error reported, the frame and the player kept"

cp "$original" "$house.new" && mv "$house.new" "$house"
edit_draw 'for (int y = 0; y < 64; y++) for (int x = 0; x < 64; x++) target->pixels[y * target->width + x] = 0xFF00FF;'
edit_draw '*static_cast<volatile int*>(nullptr) = 1;'
wait_stderr "HusetPart refused: draw at [0-9.]* s: SIGSEGV"
alive "after the null-pointer write"
shoot "$out/shot-fault.png" && square_shown "$out/shot-fault.png" || fail "the null-pointer write did not keep the last good code"
echo "null-pointer write: refused, the last good code kept"

cp "$original" "$house.new" && mv "$house.new" "$house"
shows_reference end "after the file was restored"
echo "restored file: demo-render's frame, pixel for pixel"

escape_quits_player "$LIMIT"
echo "PASS: live code under Xvfb; Escape ended it with status 0"
exit 0
