#!/usr/bin/env bash
# Captures the demo to an MP4 (H.264 + AAC): builds demo-render and the data, renders the
# soundtrack to a WAV, then streams the frames as YUV4MPEG2 straight into ffmpeg (the raw
# stream of the whole show would not fit on an ordinary disk).
#
#   scripts/capture-video.sh [OUTPUT.mp4] [demo-render options...]
#
# OUTPUT defaults to build/capture/demo.mp4. Further options go to both demo-render runs,
# e.g. `scripts/capture-video.sh clip.mp4 --start 20 --end 30` or `--fps 30`.
# The frames are enlarged 3 times (1536 x 1152, each pixel a 3 x 3 block) so that a video
# site's re-encoding keeps them sharp; `--scale N` sets another factor, `--scale 1` gives
# the 512 x 384 frames as they are.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
output="build/capture/demo.mp4"
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then output="$1"; shift; fi
output="$(realpath -m "$output")"

cd "$root"
bash scripts/install-deps.sh capture
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target demo-render stage

mkdir -p "$(dirname "$output")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# demo-render takes the last of a repeated option: a --scale among the arguments wins.
render=(build/tools/demo-render/demo-render --dir build/stage --scale 3 "$@")

echo "capture: soundtrack" >&2
"${render[@]}" --wav "$work/sound.wav" >/dev/null

echo "capture: frames into ffmpeg (the demo's own lines follow on standard error)" >&2
# The y4m stream is full-range BT.601 4:4:4; players expect limited-range 4:2:0.
"${render[@]}" --y4m - |
  ffmpeg -hide_banner -loglevel warning -y \
    -f yuv4mpegpipe -i - -i "$work/sound.wav" \
    -vf "scale=in_range=full:out_range=limited,format=yuv420p" \
    -colorspace smpte170m -color_primaries smpte170m -color_trc smpte170m -color_range tv \
    -c:v libx264 -preset medium -crf 18 \
    -c:a aac -b:a 192k \
    -movflags +faststart "$output"

echo "capture: wrote $output" >&2
