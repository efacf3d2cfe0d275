# Sourced by the end-to-end scripts: stopping what they started, failing with the logs, a
# private Xvfb server, and the player's window. The sourcing script sets `out` (its output
# folder) and `logs` (the files whose ends a failure shows).

# Stops a started process by the pid of its `timeout` wrapper: a TERM goes on to the program
# and arms a KILL for 5 s later; after 10 s it is killed here.
stop_pid() {
    local pid=$1 i
    [ -n "$pid" ] || return 0
    if kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid" 2>/dev/null
        for i in $(seq 1 40); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.25
        done
        kill -KILL "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
    return 0
}

# fail MESSAGE...: says it, shows the end of each log that has something, ends with status 1.
fail() {
    local f
    echo "FAIL: $*" >&2
    for f in "${logs[@]}"; do
        [ -s "$f" ] && { echo "---- $f (last 30 lines) ----" >&2; tail -n 30 "$f" | cat -v >&2; }
    done
    exit 1
}

# need_x_tools TOOL...: skips (status 77) without Xvfb; fails when a tool is missing.
need_x_tools() {
    local tool
    command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed (package xvfb)"; exit 77; }
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
    done
}

# start_xvfb WIDTHxHEIGHT START_LIMIT HARD_LIMIT: a private server of that screen size, which
# picks a free display number itself and writes it once it accepts connections. Sets xvfb_pid
# and DISPLAY.
start_xvfb() {
    local i display_no=
    timeout -k 5 "$3" Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset \
        3>"$out/xvfb.display" >"$out/xvfb.log" 2>&1 </dev/null &
    xvfb_pid=$!
    for i in $(seq 1 $(($2 * 4))); do
        display_no=$(tr -dc 0-9 <"$out/xvfb.display")
        [ -n "$display_no" ] && [ "$(tail -c 1 "$out/xvfb.display" | od -An -tx1 | tr -d ' ')" = 0a ] && break
        display_no=
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended at its start"
        sleep 0.25
    done
    [ -n "$display_no" ] || fail "Xvfb gave no display number within $2 s"
    export DISPLAY=":$display_no"
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER
}

# An X tool, bounded.
x() { timeout -k 2 15 "$@"; }

# find_player_window LIMIT: waits for the window titled demo-player of $player_pid; sets window.
find_player_window() {
    local i
    window=
    for i in $(seq 1 $(($1 * 4))); do
        window=$(x xdotool search --name '^demo-player$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && return 0
        kill -0 "$player_pid" 2>/dev/null || fail "the player ended before it opened its window"
        sleep 0.25
    done
    fail "no window titled demo-player"
}

# escape_quits_player LIMIT: Escape to $window must end $player_pid with status 0.
escape_quits_player() {
    local i status
    x xdotool key --window "$window" Escape
    for i in $(seq 1 $(($1 * 4))); do
        kill -0 "$player_pid" 2>/dev/null || break
        sleep 0.25
    done
    kill -0 "$player_pid" 2>/dev/null && fail "the player still runs after Escape"
    wait "$player_pid"
    status=$?
    player_pid=
    [ "$status" -eq 0 ] || fail "exit status $status after Escape"
}
