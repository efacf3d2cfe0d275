#!/usr/bin/env bash
# Builds the browser page into build-web/site: the demo compiled to WebAssembly with its own
# SDL toolkit and audio library, over WebAssembly builds of the libraries made from Debian's
# source packages of the same versions as the native ones. Also builds demo-render for node
# (build-web/wasm/tools/demo-render/demo-render.js), which the web tests compare with the
# native one.
#
# The libraries are built once and kept in build-web/deps (WEB_DEPS names another folder),
# keyed by their versions; later runs only rebuild the project.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/web-common.sh
install_web_packages
# Builds share the machine: everything below runs at low priority.
renice -n 10 $$ >/dev/null

out=$root/build-web
deps=${WEB_DEPS:-$out/deps}
prefix=$deps/prefix
mkdir -p "$deps/src" "$deps/stamps" "$prefix"
jobs=$(nproc)

# Debian 12's versions, which the native build links against.
sdl2_version=2.26.5
jpeg_version=2.1.5
mpg123_version=1.31.2
openmpt_version=0.6.9
zlib_version=1.2.13
png_version=1.6.39
# Raised when a recipe below changes, so that cached builds are redone.
recipe=1
emcc_version=$(emcc -dumpversion)

# Debian's source package NAME into $deps/src/NAME-VERSION (the upstream version is
# checked), through a sources list of our own with deb-src entries; prints the folder.
fetch_source() {
  local name=$1 version=$2 dir=$deps/src/$1-$2
  [ -d "$dir" ] && { echo "$dir"; return; }
  local apt=$deps/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$deps/src/dl"
  cat >"$apt/sources.list" <<'EOF'
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
EOF
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
              -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o Debug::NoLocking=1)
  if [ ! -e "$apt/updated" ]; then
    apt-get "${opts[@]}" update -qq >&2
    touch "$apt/updated"
  fi
  rm -rf "$deps/src/dl/$name"
  mkdir -p "$deps/src/dl/$name"
  # The mirror may lack an upstream tarball's detached signature (.asc); the files the
  # build needs are checked by dpkg-source below, so only a missing .dsc stops here.
  (cd "$deps/src/dl/$name" && apt-get "${opts[@]}" source --download-only "$name" >&2) ||
    echo "build-web: apt-get source $name reported an error; going on with the files it fetched" >&2
  local dsc
  dsc=$(ls "$deps/src/dl/$name"/*.dsc)
  case "$(basename "$dsc")" in
    "${name}_$version"*) ;;
    *) echo "build-web: Debian's $name is $(basename "$dsc"), not version $version" >&2; exit 1 ;;
  esac
  dpkg-source --no-check -x "$dsc" "$dir.tmp" >&2
  mv "$dir.tmp" "$dir"
  echo "$dir"
}

# library NAME PACKAGE VERSION: runs build_NAME once per version of the library and
# recipe, with its output in $deps/logs/NAME.log.
stamp_of() { echo "$deps/stamps/$1-$2-r$recipe-emcc$emcc_version"; }
library() {
  local name=$1 package=$2 version=$3 stamp
  stamp=$(stamp_of "$name" "$version")
  [ -e "$stamp" ] && return
  echo "build-web: building $name $version for WebAssembly" >&2
  local src=$deps/src/$package-$version log=$deps/logs/$name.log
  rm -rf "$deps/build/$name"
  mkdir -p "$deps/build/$name" "$deps/logs"
  if ! "build_$name" "$src" "$deps/build/$name" >"$log" 2>&1; then
    echo "build-web: building $name failed; the end of $log:" >&2
    tail -n 25 "$log" >&2
    return 1
  fi
  touch "$stamp"
}

# A CMake project configured for WebAssembly, with only our prefix to find things in.
em_cmake() {
  PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH= emcmake cmake "$@" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CROSSCOMPILING_EMULATOR="$web_emulator" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" >&2
}

build_zlib() {
  # The dfsg tarball lacks the files zlib's CMake build wants: its own configure it is.
  (cd "$1" && CFLAGS=-O2 emconfigure ./configure --static --prefix="$prefix" &&
     emmake make -j"$jobs" && emmake make install)
}

build_png() {
  em_cmake -S "$1" -B "$2" -DCMAKE_INSTALL_PREFIX="$prefix" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
    -DPNG_TESTS=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" &&
    cmake --build "$2" -j"$jobs" --target png_static && cmake --install "$2"
}

build_jpeg() {
  em_cmake -S "$1" -B "$2" -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF \
    -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF &&
    cmake --build "$2" -j"$jobs" && cmake --install "$2"
}

build_sdl2() {
  em_cmake -S "$1" -B "$2" -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON \
    -DSDL_TEST=OFF -DSDL_THREADS=OFF &&
    cmake --build "$2" -j"$jobs" && cmake --install "$2"
}

build_mpg123() {
  # config.sub knows no *-emscripten; the generic decoder is the portable one. Only the
  # decoding library is made and installed (not out123, syn123 or the player).
  (cd "$2" && CFLAGS=-O2 emconfigure "$1/configure" --host=wasm32-unknown-none \
     --prefix="$prefix" --disable-shared --enable-static --with-cpu=generic_fpu \
     --enable-modules=no --enable-network=no --with-audio=dummy &&
   emmake make -j"$jobs" src/libmpg123/libmpg123.la &&
   install -m 644 -D src/libmpg123/.libs/libmpg123.a "$prefix/lib/libmpg123.a" &&
   install -m 644 -D libmpg123.pc "$prefix/lib/pkgconfig/libmpg123.pc" &&
   install -m 644 src/libmpg123/mpg123.h "$1/src/libmpg123/fmt123.h" "$prefix/include/")
}

build_openmpt() {
  # Debian's tarball is the autotools one. The library alone, none of its optional codecs;
  # its C interface catches the C++ library's exceptions, so those must be real here too.
  (cd "$2" && CFLAGS="-O2" CXXFLAGS="-O2 -fexceptions" LDFLAGS="-fexceptions" \
     emconfigure "$1/configure" --host=wasm32-unknown-none --prefix="$prefix" \
     --disable-shared --enable-static --disable-openmpt123 --disable-examples --disable-tests \
     --disable-doxygen-doc --without-zlib --without-mpg123 --without-ogg --without-vorbis \
     --without-vorbisfile --without-portaudio --without-portaudiocpp --without-pulseaudio \
     --without-sndfile --without-flac &&
   emmake make -j"$jobs" && emmake make install)
}

libraries=(
  "zlib zlib $zlib_version" "png libpng1.6 $png_version" "jpeg libjpeg-turbo $jpeg_version"
  "sdl2 libsdl2 $sdl2_version" "mpg123 mpg123 $mpg123_version"
  "openmpt libopenmpt $openmpt_version")
# Sources first, one after the other (one apt list); then the builds side by side, since
# most of their time goes to configure checks that use one core each. libpng needs zlib.
for entry in "${libraries[@]}"; do
  read -r name package version <<<"$entry"
  [ -e "$(stamp_of "$name" "$version")" ] || fetch_source "$package" "$version" >/dev/null
done
pids=()
(library zlib zlib "$zlib_version" && library png libpng1.6 "$png_version") & pids+=($!)
for entry in "${libraries[@]:2}"; do
  library $entry & pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
[ $status -eq 0 ] || exit 1

# The data: assetgen (FreeType, LAME) is a native tool, so the native build lays out the
# stage folder that the page packs.
native=${NATIVE_BUILD:-$root/build}
cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$native" -j"$jobs" --target stage >&2

wasm=$out/wasm
em_cmake -S . -B "$wasm" -DDEMO_BUILD_TESTS=OFF -DDEMO_WEB_STAGE="$native/stage"
cmake --build "$wasm" -j"$jobs" --target demo-web demo-render >&2

site=$out/site
rm -rf "$site"
mkdir -p "$site"
cp "$wasm"/tools/demo-web/demo.{js,wasm,data} "$site/"
cp web/index.html web/page.js web/page.css "$site/"
echo "build-web: the page is in ${site#"$root"/} ($(du -sh "$site" | cut -f1))" >&2
