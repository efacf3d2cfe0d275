#!/usr/bin/env bash
# Builds the browser page into build-web/site: the demo compiled to WebAssembly with its own
# SDL toolkit and audio library, over WebAssembly builds of the libraries made from Debian's
# source packages of the same versions as the native ones. Also builds demo-render for node
# (build-web/wasm/tools/demo-render/demo-render.js), which the web tests compare with the
# native one.
#
# The libraries are built once and kept in build-web/deps (WEB_DEPS names another folder),
# keyed by their versions, the recipe and emcc's version (scripts/deps-cache.sh); later runs
# only rebuild the project.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/web-common.sh
install_web_packages
# Builds share the machine: everything below runs at low priority.
renice -n 10 $$ >/dev/null

out=$root/build-web
source scripts/deps-cache.sh
# Raised when a recipe below changes, so that cached builds are redone.
recipe=1
deps_setup "${WEB_DEPS:-$out/deps}" "emcc$(emcc -dumpversion)" "$recipe"
jobs=$(nproc)

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

# libpng needs zlib.
deps_build "zlib png" jpeg sdl2 mpg123 openmpt

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
