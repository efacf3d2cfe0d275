#!/usr/bin/env bash
# End-to-end run of demo-player in a private Xvfb server: it starts paused at T, and the
# frame area of its window (scaled 2x) must be demo-render's frame for T pixel for pixel;
# after five presses of Right it must be demo-render's frame for T + 5; Escape ends it with
# status 0. Then the sync editor, on a copy of the stage's script: paused at 72.1 s (between
# two flashes of the kebab), E and Ctrl+S must add exactly one record, a POWPOW on the beat
# at 72.0 s, keeping the old file as synkTest.snc~; demo-render with the new file must flash
# from 72.0 s on; Ctrl+Z, Escape (which only asks, the undo being unsaved) and Ctrl+S must
# give the original file back byte for byte, and Escape then quits with status 0.
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
START=${E2E_PLAYER_START:-68}  # the 3D part, no flash at START or START + 5
SCALE=2
LIMIT=30          # seconds for each wait
HARD_LIMIT=200

case "$out" in "" | /) exit 2 ;; esac
rm -rf "$out"
mkdir -p "$out" || exit 1

source "$(dirname "$0")/xvfb_session.sh"
logs=("$out/player.stderr" "$out/xvfb.log")
player_pid=
xvfb_pid=
cleanup() {
    stop_pid "$player_pid"
    stop_pid "$xvfb_pid"
}
trap cleanup EXIT
need_x_tools xdotool xwd convert compare

# Options that need no display: the help on standard output, a part the show lacks refused.
${TEST_EMULATOR:-} "$player" --help 2>/dev/null | grep -q '^usage: demo-player' || fail "--help does not print the usage on stdout"
status=0
${TEST_EMULATOR:-} "$player" --part 11 >/dev/null 2>"$out/part.stderr" || status=$?
[ "$status" = 2 ] && grep -q "from 0 to 10" "$out/part.stderr" || fail "--part 11 is not refused (status $status)"

for t in "$START" $((START + 5)); do
    ${TEST_EMULATOR:-} "$render" --dir "$stage" --start "$t" --frames 1 --png "$out/ref-$t" >/dev/null 2>>"$out/render.stderr" ||
        fail "demo-render could not draw the frame at $t s"
done

start_xvfb 1280x1024 "$LIMIT" "$HARD_LIMIT"

# start_player STAGE START: the player paused at START in its own window ($window).
start_player() {
    SDL_AUDIODRIVER=dummy timeout -k 5 "$HARD_LIMIT" ${TEST_EMULATOR:-} "$player" --dir "$1" --paused --start "$2" \
        --scale "$SCALE" </dev/null >"$out/player.stdout" 2>"$out/player.stderr" &
    player_pid=$!
    find_player_window "$LIMIT"
}
key() { x xdotool key --window "$window" "$@" || fail "xdotool could not send $*"; }
# saved_as FILE: waits until the script is FILE byte for byte.
saved_as() {
    for i in $(seq 1 $((LIMIT * 4))); do
        cmp -s "$1" "$edit/synkTest.snc" && return 0
        kill -0 "$player_pid" 2>/dev/null || fail "the player ended while editing"
        sleep 0.25
    done
    diff "$1" "$edit/synkTest.snc" >&2
    fail "the saved script is not $1"
}

start_player "$stage" "$START"

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
# Hidden and shown again, the paused window draws its frame again.
x xdotool windowunmap --sync "$window" && x xdotool windowmap --sync "$window" || fail "xdotool could not hide the window"
matches $((START + 5))
echo "frame area after the window was hidden and shown again: drawn again"

escape_quits_player "$LIMIT"
echo "PASS: paused start and seeks draw demo-render's frames; Escape ended it with status 0"

# The sync editor, on a stage of its own: the data shared, the script a copy.
edit=$out/edit-stage
mkdir -p "$edit"
ln -s "$(cd "$stage" && pwd -P)/data" "$edit/data"
cp "$stage/synkTest.snc" "$edit/synkTest.snc"
cp "$stage/synkTest.snc" "$out/original.snc"
BEAT_BYTES=12700800   # 72.0 s of 16-bit stereo at 44100 Hz
# The original with one more POWPOW record at BEAT_BYTES, in time order after those at
# the same time, and the event count one higher.
awk -v t="$BEAT_BYTES" '
    NR == 2 { n = $0 + 0; print n + 1; next }
    NR >= 3 && NR < 3 + 3 * n {
        k = (NR - 3) % 3
        if (k == 0) { name = $0; next }
        if (k == 1) {
            if (!done && $0 + 0 > t) { print "POWPOW"; print t; print ""; done = 1 }
            print name
        }
        print; next
    }
    NR == 3 + 3 * n && !done { print "POWPOW"; print t; print ""; done = 1 }
    { print }' "$out/original.snc" >"$out/expected.snc"

SCALE=3 start_player "$edit" 72.1   # too big for the screen with the strips: scale 2, said so
key e
key ctrl+s
saved_as "$out/expected.snc"
grep -q "showing at scale 2" "$out/player.stderr" || fail "scale 3 on 1280x1024 was not lowered to 2 with a word"
cmp -s "$out/original.snc" "$edit/synkTest.snc~" || fail "synkTest.snc~ is not the previous file"
echo "E, Ctrl+S at 72.1 s: one more record, POWPOW at $BEAT_BYTES; the previous file kept as synkTest.snc~"

# demo-render with the saved script flashes from 72.0 s on, and with the original does not.
for script in original edited; do
    dir=$out/render-$script
    mkdir -p "$dir"
    ln -sfn "$(cd "$stage" && pwd -P)/data" "$dir/data"
    if [ $script = original ]; then cp "$out/original.snc" "$dir/synkTest.snc"; else cp "$edit/synkTest.snc" "$dir/"; fi
    ${TEST_EMULATOR:-} "$render" --dir "$dir" --start 71.9 --frames 12 --png "$dir/frames" >/dev/null 2>>"$out/render.stderr" ||
        fail "demo-render could not draw 71.9 s on with the $script script"
done
for i in $(seq 0 11); do
    f=$(printf 'frame-%06d.png' "$i")
    differing=$(compare -metric AE "$out/render-original/frames/$f" "$out/render-edited/frames/$f" null: 2>&1)
    if [ "$i" -lt 6 ]; then
        [ "$differing" = 0 ] || fail "frame $i (before 72.0 s) differs with the edited script"
    else
        [ "$differing" != 0 ] || fail "frame $i (72.0 s on) shows no flash with the edited script"
    fi
done
echo "demo-render with the saved script: the frames from 72.0 s on flash, the ones before do not change"

key ctrl+z
key Escape        # unsaved: only asks
sleep 0.5
kill -0 "$player_pid" 2>/dev/null || fail "Escape with unsaved edits quit without asking"
key ctrl+s
saved_as "$out/original.snc"
escape_quits_player "$LIMIT"
echo "PASS: Ctrl+Z, Ctrl+S gave the original script back byte for byte; Escape asked once while unsaved"
exit 0
