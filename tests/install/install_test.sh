#!/usr/bin/env bash
# Checks of the installed tree and of the Debian package.
#
#   install_test.sh prefix BUILD OUT HAS_PLAYER   cmake --install into OUT/staging, moved to
#                                                 OUT/prefix; layout, data, desktop entry,
#                                                 icon; a launcher without its data folder
#   install_test.sh deb BUILD OUT VERSION         cpack -G DEB into OUT/deb; control fields,
#                                                 file list, data, the launcher's paths
set -euo pipefail
export LC_ALL=C
[ $# -eq 4 ] || { echo "usage: $0 prefix|deb BUILD OUT HAS_PLAYER|VERSION" >&2; exit 2; }
mode=$1 build=$2 out=$3
stage=$build/stage

fail() { echo "FAIL: $*" >&2; exit 1; }
# The whole stage, byte for byte, under DIR.
same_data() { diff -r "$stage" "$1" >/dev/null || fail "$1 differs from $stage"; }

if [ "$mode" = prefix ]; then
  has_player=$4
  rm -rf "$out/staging" "$out/prefix" "$out/broken" "$out/start"
  cmake --install "$build" --prefix "$out/staging" >/dev/null
  # Nothing may depend on the prefix given at install time.
  mv "$out/staging" "$out/prefix"
  p=$out/prefix
  programs=(demo demo-render assetgen) launchers=(softdemo)
  [ "$has_player" = 1 ] && programs+=(demo-player) launchers+=(softdemo-player)
  for f in "${programs[@]/#/lib/softdemo/}" "${launchers[@]/#/bin/}"; do
    [ -x "$p/$f" ] || fail "$f is not installed as a program"
  done
  same_data "$p/share/softdemo"
  desktop=$p/share/applications/softdemo.desktop
  desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
  grep -qx 'Exec=softdemo' "$desktop" && grep -qx 'Icon=softdemo' "$desktop" ||
    fail "the desktop entry does not start softdemo with its icon"
  icon=$p/share/icons/hicolor/128x128/apps/softdemo.png
  [ "$(identify -format '%m %wx%h' "$icon")" = "PNG 128x128" ] || fail "the icon is not a 128x128 PNG"

  if [ "$has_player" = 1 ]; then
    # The player's own --dir is relative to where it was started: without a display it gets
    # as far as opening its window, which means it found the stage there.
    mkdir -p "$out/start"
    ln -sfn "$p/share/softdemo" "$out/start/mystage"
    (cd "$out/start" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
      timeout 60 "$p/bin/softdemo-player" --dir mystage) >/dev/null 2>"$out/start/stderr" </dev/null || true
    grep -q "no display" "$out/start/stderr" ||
      fail "softdemo-player --dir mystage did not reach its window: $(cat "$out/start/stderr")"
  fi

  # A launcher whose data folder is gone: a clear message naming the folder, status 1, and
  # the demo never started.
  mkdir -p "$out/broken/bin"
  cp "$p/bin/softdemo" "$out/broken/bin/"
  status=0
  (cd / && "$out/broken/bin/softdemo") >"$out/broken/stdout" 2>"$out/broken/stderr" </dev/null || status=$?
  [ "$status" = 1 ] || fail "status $status without the data folder, not 1"
  grep -qF "$out/broken/share/softdemo is missing" "$out/broken/stderr" ||
    fail "stderr does not name the missing data folder: $(cat "$out/broken/stderr")"
  [ ! -s "$out/broken/stdout" ] || fail "the demo was started without its data"
  echo "PASS: installed and moved: programs, data, desktop entry, icon; the player's relative --dir; no data -> status 1"
  exit 0
fi

[ "$mode" = deb ] || fail "unknown mode $mode"
version=$4
rm -rf "$out/deb"
cpack -G DEB -B "$out/deb" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log" >&2; fail "cpack failed"; }
deb=$out/deb/softdemo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = softdemo ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is $(field Architecture)"
depends=$(field Depends)
for lib in libsdl2-2.0-0 libmpg123-0 libopenmpt0 libjpeg62-turbo; do
  [[ ", $depends," == *", $lib "* ]] || fail "Depends lacks $lib: $depends"
done
[[ "$depends" != *-dev* ]] || fail "Depends names a development package: $depends"

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for f in usr/games/softdemo usr/lib/softdemo/demo usr/lib/softdemo/demo-render \
    usr/lib/softdemo/assetgen usr/share/softdemo/synkTest.snc usr/share/softdemo/data/musik.mp3 \
    usr/share/applications/softdemo.desktop usr/share/icons/hicolor/128x128/apps/softdemo.png; do
  grep -qxF "./$f" <<<"$files" || fail "the package lacks /$f"
done
! grep -q '^\./usr/bin/' <<<"$files" || fail "the package puts commands in /usr/bin, not /usr/games"

# Unpacked, the data is the stage's, and the launcher in /usr/games reaches the program and
# the data: without a display the demo itself starts and fails on the display.
root=$out/deb/root
dpkg-deb -x "$deb" "$root"
same_data "$root/usr/share/softdemo"
status=0
(cd / && env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy timeout 60 "$root/usr/games/softdemo") \
  >"$out/deb/stdout" 2>"$out/deb/stderr" </dev/null || status=$?
! grep -q '^softdemo:' "$out/deb/stderr" || fail "the packaged launcher: $(cat "$out/deb/stderr")"
[ "$status" -ne 0 ] && [ "$status" -lt 124 ] && grep -qi display "$out/deb/stderr" ||
  fail "the packaged demo did not start (status $status): $(cat "$out/deb/stderr")"
echo "PASS: $(basename "$deb"): Depends: $depends"
