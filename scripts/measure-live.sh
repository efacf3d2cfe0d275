#!/usr/bin/env bash
# Measures demo-player --live on a copy of the source tree (a build folder of its own under
# BUILD/measure-live, configured on the first run): the player runs paused in the house part
# under Xvfb, and each save of src/parts/HusetPart.cpp draws a 64x64 square of a new colour
# (a real compile every time). Prints the save-to-swap time of SAVES saves (median and
# worst; the new code's first frame is drawn in the same pass of the player's loop), then
# swaps RELOADS more times (two versions in turn, from ccache) and prints the player's
# resident memory along the way. The machine's load average is printed at both ends.
#   scripts/measure-live.sh [SAVES=10] [RELOADS=100] [BUILD=build]
set -euo pipefail
cd "$(dirname "$0")/.."
saves=${1:-10}
reloads=${2:-100}
build=$(realpath -m "${3:-build}")
root=$(pwd)
player=$build/tools/demo-player/demo-player
stage=$build/stage
[ -x "$player" ] && [ -f "$stage/synkTest.snc" ] ||
    { echo "measure-live: build demo-player and the stage first (cmake --build ${3:-build})" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "measure-live: needs Xvfb (scripts/install-deps.sh test)" >&2; exit 1; }

work=$build/measure-live
tree=$work/tree
mkdir -p "$tree"
for item in "$root"/*; do
    case "${item##*/}" in build* | tests | docs) continue ;; esac
    cp -a "$item" "$tree/"
done
house=$tree/src/parts/HusetPart.cpp
original=$work/HusetPart.cpp.original
cp "$house" "$original"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_TESTS=OFF "${launcher[@]}" >"$work/configure.log"
cmake --build "$tree/build" --target part_HusetPart >>"$work/configure.log"

xvfb_pid=
player_pid=
cleanup() {
    [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null && wait "$player_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    cp "$original" "$house"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for i in $(seq 1 40); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.25; done
export DISPLAY=":$(tr -dc 0-9 <"$work/display")"
SDL_AUDIODRIVER=dummy "$player" --dir "$stage" --paused --start 93.5 --scale 1 --live --live-build "$tree/build" \
    </dev/null >/dev/null 2>"$work/player.stderr" &
player_pid=$!
for i in $(seq 1 120); do grep -q "live: watching" "$work/player.stderr" && break; sleep 0.25; done

# Saves a version of the file (as an editor does: a new file in its place) and waits for
# the player to swap it in; prints the seconds it reports.
save_and_wait() {
    local before i
    before=$(grep -c "saved to swapped" "$work/player.stderr" || true)
    cp "$1" "$house.new" && mv "$house.new" "$house"
    for i in $(seq 1 240); do
        if [ "$(grep -c "saved to swapped" "$work/player.stderr" || true)" -gt "$before" ]; then
            grep "saved to swapped" "$work/player.stderr" | tail -n 1 | sed 's/.*saved to swapped in \([0-9.]*\) s.*/\1/'
            return 0
        fi
        kill -0 "$player_pid" 2>/dev/null || { echo "measure-live: the player ended" >&2; exit 1; }
        sleep 0.05
    done
    echo "measure-live: no swap within 60 s" >&2
    tail -n 5 "$work/player.stderr" >&2
    exit 1
}
with_square() {   # FILE COLOUR: the house part with a square drawn last
    awk -v colour="$2" 'index($0, "void HusetPart::draw(") == 1 { inside = 1 }
        inside && $0 == "}" {
            print "    for (int y = 0; y < 64; y++) for (int x = 0; x < 64; x++) target->pixels[y * target->width + x] = " colour ";"
            inside = 0
        }
        { print }' "$original" >"$1"
}
rss() { awk '/^VmRSS/ {print $2}' "/proc/$player_pid/status"; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
times=()
for save in $(seq 1 "$saves"); do
    with_square "$work/version.cpp" "$(printf '0x%06X' $((0xFF0000 + RANDOM)))"
    times+=("$(save_and_wait "$work/version.cpp")")
    echo "save $save: ${times[-1]} s"
    sleep 0.5
done
[ "$saves" -gt 0 ] && printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR] = $1} END {
    m = NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
    printf "save to first frame of new code, %d saves: median %.2f s, worst %.2f s\n", NR, m, a[NR] }'

if [ "$reloads" -gt 0 ]; then
    with_square "$work/square.cpp" 0xFF00FF
    save_and_wait "$original" >/dev/null
    save_and_wait "$work/square.cpp" >/dev/null
    start_rss=$(rss)
    echo "resident memory before $reloads reloads: $start_rss kB"
    for reload in $(seq 1 "$reloads"); do
        if [ $((reload % 2)) = 1 ]; then save_and_wait "$original" >/dev/null; else save_and_wait "$work/square.cpp" >/dev/null; fi
        [ $((reload % 10)) = 0 ] && echo "after $reload reloads: $(rss) kB"
    done
    echo "growth over $reloads reloads: $(($(rss) - start_rss)) kB"
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
