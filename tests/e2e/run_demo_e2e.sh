#!/usr/bin/env bash
# End-to-end run of the real `demo` binary.
#
#   run_demo_e2e.sh x11        DEMO STAGE OUTDIR   plays in a private Xvfb server, screenshots, ends it with a key
#   run_demo_e2e.sh no-display DEMO STAGE OUTDIR   runs without any display and expects a clear failure
#   run_demo_e2e.sh launcher   LAUNCHER DIR OUTDIR as x11, for an installed launcher started in DIR
#                                                  (it finds the data itself)
#
# Exit 0 = pass, 1 = fail, 77 = skipped (only when Xvfb itself is not installed).
# TEST_EMULATOR, when set, starts DEMO (a cross build's; a launcher is started as it is).
# Every wait is bounded and every process started here is stopped by its id, so the test
# cannot hang; the logs and the screenshot stay in OUTDIR for a look after a failure.
set -u
export LC_ALL=C

# Bounds, in seconds. A normal run needs a few seconds; the bounds are for slow CI machines
# and stay, all added up, below the CTest timeout.
XVFB_START_LIMIT=15
LOAD_LIMIT=25        # start until "loaded actions"
PICTURE_LIMIT=15     # "loaded actions" until the screen shows the frame
KEY_TRIES=3          # a key, then this many seconds of waiting for the exit, per try
KEY_WAIT=5
NO_DISPLAY_LIMIT=20  # the failure without a display must come at least this fast
HARD_LIMIT=90        # the demo and Xvfb are killed by `timeout` after this, whatever happens here

usage() {
    echo "usage: $0 x11|no-display|launcher DEMO_BINARY STAGE_DIR OUTPUT_DIR" >&2
    exit 2
}
[ $# -eq 4 ] || usage
mode=$1
demo=$2
stage=$3
out=$4
case "$mode" in x11 | no-display | launcher) ;; *) usage ;; esac
emulator=${TEST_EMULATOR:-}
[ "$mode" = launcher ] && emulator=

source "$(dirname "$0")/xvfb_session.sh"
logs=("$out/demo.stdout" "$out/demo.stderr" "$out/xvfb.log")
# Started processes: the pids of their `timeout` wrappers.
demo_pid=
xvfb_pid=
cleanup() {
    stop_pid "$demo_pid"
    demo_pid=
    stop_pid "$xvfb_pid"
    xvfb_pid=
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

case "$out" in "" | /) usage ;; esac
rm -rf "$out"
mkdir -p "$out" || { echo "FAIL: cannot create $out" >&2; exit 1; }

[ -x "$demo" ] || fail "no demo binary at $demo"
if [ "$mode" != launcher ]; then
    [ -f "$stage/synkTest.snc" ] && [ -f "$stage/data/musik.mp3" ] ||
        fail "no stage data in $stage (the build's stage target writes it)"
fi
command -v timeout >/dev/null || fail "timeout (coreutils) is missing"

# The demo in the stage folder, with no sound card needed and no display but the one given.
# Arguments: the DISPLAY value (empty for none), the hard limit.
start_demo() {
    local display=$1 limit=$2
    (
        cd "$stage" || exit 1
        unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
        [ -n "$display" ] && export DISPLAY="$display"
        export SDL_AUDIODRIVER=dummy
        exec timeout -k 5 "$limit" $emulator "$demo"
    ) </dev/null >"$out/demo.stdout" 2>"$out/demo.stderr" &
    demo_pid=$!
}

# Waits for the demo to end; sets demo_status. Returns 1 when it still runs after $1 seconds.
demo_status=
wait_demo_exit() {
    local limit=$1 i
    for i in $(seq 1 $((limit * 4))); do
        if ! kill -0 "$demo_pid" 2>/dev/null; then
            wait "$demo_pid"
            demo_status=$?
            demo_pid=
            return 0
        fi
        sleep 0.25
    done
    return 1
}

has_line() { grep -qxF -- "$1" "$out/demo.stdout"; }
count_lines() { grep -cxF -- "$1" "$out/demo.stdout"; }
first_line_no() { grep -nxF -m1 -- "$1" "$out/demo.stdout" | cut -d: -f1; }

# --- Without any display: a clear message on stderr and a non-zero exit, no show. -------
if [ "$mode" = no-display ]; then
    start_demo "" "$HARD_LIMIT"
    if ! wait_demo_exit "$NO_DISPLAY_LIMIT"; then
        fail "the demo still runs ${NO_DISPLAY_LIMIT} s after its start without any display;" \
            "it must exit non-zero at once (has SDL fallen back to a window-less video driver?)"
    fi
    [ "$demo_status" -ne 0 ] || fail "exit status 0 without a display"
    [ "$demo_status" -lt 124 ] || fail "the demo was killed (status $demo_status)"
    grep -qi "display" "$out/demo.stderr" ||
        fail "stderr does not say that the display could not be opened"
    ! has_line "loaded actions " || fail "the show started without a display"
    ! has_line "inited all parts " || fail "the parts were initialised without a display"
    echo "PASS: no display -> exit status $demo_status, stderr: $(grep -i -m1 display "$out/demo.stderr")"
    exit 0
fi

# --- In a real X server. -----------------------------------------------------------------
need_x_tools xdotool xwd convert

# The screen is twice the frame, so the letterboxed frame fills it exactly.
screen_w=1024
screen_h=768
start_xvfb "${screen_w}x${screen_h}" "$XVFB_START_LIMIT" "$HARD_LIMIT"

start_demo "$DISPLAY" "$HARD_LIMIT"

loaded=
for i in $(seq 1 $((LOAD_LIMIT * 4))); do
    if has_line "loaded actions "; then loaded=1; break; fi
    kill -0 "$demo_pid" 2>/dev/null || break
    sleep 0.25
done
if [ -z "$loaded" ]; then
    kill -0 "$demo_pid" 2>/dev/null || { wait "$demo_pid"; fail "the demo ended (status $?) before \"loaded actions\""; }
    fail "no \"loaded actions\" within ${LOAD_LIMIT} s"
fi

# The window: found by its title, and covering the whole screen (full-screen output).
window=$(x xdotool search --name '^PTC-driver$' 2>/dev/null | head -n 1)
[ -n "$window" ] || fail "no window titled PTC-driver on $DISPLAY"
geometry=$(x xdotool getwindowgeometry --shell "$window") || fail "no geometry for window $window"
win_w=$(echo "$geometry" | sed -n 's/^WIDTH=//p')
win_h=$(echo "$geometry" | sed -n 's/^HEIGHT=//p')
[ "$win_w" = "$screen_w" ] && [ "$win_h" = "$screen_h" ] ||
    fail "the window is ${win_w}x${win_h}, not full screen (${screen_w}x${screen_h})"

# The show may open with a fade from black: take screenshots until one shows the frame.
# "Shows" = at least a fifth of the screen brighter than about 2 %, not a stray pixel.
shot="$out/shot.png"
lit=0
pictured=
for i in $(seq 1 $((PICTURE_LIMIT * 2))); do
    sleep 0.5
    kill -0 "$demo_pid" 2>/dev/null || fail "the demo ended before it was asked to"
    x xwd -root -silent >"$out/shot.xwd" || fail "xwd could not capture the screen"
    convert "xwd:$out/shot.xwd" "png:$shot" || fail "convert could not read the screenshot"
    lit=$(convert "$shot" -colorspace Gray -threshold 2% -format '%[fx:mean]' info:) ||
        fail "convert could not measure the screenshot"
    if awk -v f="$lit" 'BEGIN { exit !(f > 0.2) }'; then pictured=1; break; fi
done
rm -f "$out/shot.xwd"
[ -n "$pictured" ] ||
    fail "the screen stays (nearly) black ${PICTURE_LIMIT} s after loading: lit fraction $lit (see $shot)"
max=$(convert "$shot" -format '%[fx:maxima]' info:)
echo "screenshot: lit fraction $lit, maximum $max ($shot)"

# Any key ends the show. Without a window manager the focus follows the pointer over the
# full-screen window; giving it the focus as well does no harm.
ended=
for try in $(seq 1 "$KEY_TRIES"); do
    x xdotool windowfocus "$window" 2>/dev/null
    x xdotool key space || fail "xdotool could not send a key"
    if wait_demo_exit "$KEY_WAIT"; then ended=1; break; fi
done
[ -n "$ended" ] || fail "the demo still runs after $KEY_TRIES key presses"

[ "$demo_status" -eq 0 ] || fail "exit status $demo_status after the key press"

# The standard output: the music messages, the loading lines in order, and the last line.
previous=0
for line in "bass used for module replaying" "trying to load stream data/musik.mp3 " \
    "inited all parts " "loaded actions "; do
    n=$(first_line_no "$line")
    [ -n "$n" ] || fail "stdout lacks the line \"$line\""
    [ "$n" -gt "$previous" ] || fail "\"$line\" (line $n) comes before the line expected ahead of it"
    previous=$n
done
for line in "inited all parts " "loaded actions "; do
    [ "$(count_lines "$line")" -eq 1 ] || fail "\"$line\" is printed more than once"
done
! grep -q "^BASS Error" "$out/demo.stdout" || fail "the audio reported an error"
[ "$(tail -n 1 "$out/demo.stdout")" = "deallocated internal Bitmap buffer " ] ||
    fail "the last line of stdout is not \"deallocated internal Bitmap buffer \""
[ "$(tail -c 1 "$out/demo.stdout" | od -An -tx1 | tr -d ' ')" = 0a ] ||
    fail "stdout does not end with a line feed"

echo "PASS: drew, ended on a key with status 0, stdout in order ($(wc -l <"$out/demo.stdout") lines)"
exit 0
