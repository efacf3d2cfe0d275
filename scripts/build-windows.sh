#!/usr/bin/env bash
# Builds the Windows zip, build-windows/softdemo-windows-x86_64.zip: demo.exe, demo-player.exe,
# demo-render.exe, the one DLL (libmpg123, LGPL; everything else is linked in), the stage
# folder and README.txt. Cross-compiled with Debian's mingw-w64 (x86-64, posix threads) over
# Windows builds of the libraries made from Debian's source packages of the versions the
# native build uses. Also builds the test programs that scripts/test-windows.sh runs under Wine.
#
# The libraries are built once and kept in build-windows/deps (WINDOWS_DEPS names another
# folder), keyed by their versions, the recipe and the compiler's version
# (scripts/deps-cache.sh); later runs only rebuild the project.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh windows
# Builds share the machine: everything below runs at low priority.
renice -n 10 $$ >/dev/null

out=$root/build-windows
host=x86_64-w64-mingw32
cc=$host-gcc-posix
cxx=$host-g++-posix
source scripts/deps-cache.sh
# Raised when a recipe below changes, so that cached builds are redone.
recipe=1
deps_setup "${WINDOWS_DEPS:-$out/deps}" "mingw-x86_64-gcc$($cc -dumpversion)" "$recipe"
jobs=$(nproc)
toolchain=$root/cmake/mingw-w64-x86_64.cmake
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# pkg-config sees only the Windows libraries.
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH=

# A CMake project configured for Windows, finding things only in our prefix.
win_cmake() {
  cmake "$@" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DDEMO_WINDOWS_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix"
}
# An autotools project configured for Windows.
win_configure() {
  local src=$1
  shift
  CC=$cc CXX=$cxx AR=$host-ar RANLIB=$host-ranlib "$src/configure" --host=$host \
    --prefix="$prefix" "$@"
}

build_zlib() {
  # The dfsg tarball lacks zlib's Windows makefiles (and its configure refuses mingw): the
  # static library is fifteen C files.
  local f objects=()
  for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
           inflate inftrees trees uncompr zutil; do
    $cc -O2 -c "$1/$f.c" -o "$2/$f.o" || return 1
    objects+=("$2/$f.o")
  done
  mkdir -p "$prefix/lib/pkgconfig" "$prefix/include"
  rm -f "$prefix/lib/libz.a"
  $host-ar rcs "$prefix/lib/libz.a" "${objects[@]}" &&
    install -m 644 "$1/zlib.h" "$1/zconf.h" "$prefix/include/" &&
    printf '%s\n' "prefix=$prefix" 'libdir=${prefix}/lib' 'includedir=${prefix}/include' '' \
      'Name: zlib' 'Description: zlib compression library' "Version: ${deps_version[zlib]}" \
      'Libs: -L${libdir} -lz' 'Cflags: -I${includedir}' >"$prefix/lib/pkgconfig/zlib.pc"
}

build_png() {
  win_cmake -S "$1" -B "$2" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" &&
    cmake --build "$2" -j"$jobs" --target png_static && cmake --install "$2"
}

build_jpeg() {
  # The plain C decoder: its pixels equal the SIMD one's, and it needs no assembler.
  win_cmake -S "$1" -B "$2" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
    -DWITH_TURBOJPEG=OFF &&
    cmake --build "$2" -j"$jobs" && cmake --install "$2"
}

build_sdl2() {
  win_cmake -S "$1" -B "$2" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF &&
    cmake --build "$2" -j"$jobs" && cmake --install "$2" &&
  # The programs have their own main() and choose their own subsystem (window or console):
  # no SDL_main wrapper, no -mwindows for all of them.
    sed -i -e 's/ -lSDL2main//g' -e 's/ -mwindows//g' -e 's/ -Dmain=SDL_main//g' \
      "$prefix/lib/pkgconfig/sdl2.pc"
}

build_mpg123() {
  # LGPL: a DLL beside the programs. Only the decoding library (not out123 or the player);
  # its run-time choice of decoder among the x86-64 ones, as Debian's.
  (cd "$2" && LDFLAGS=-static-libgcc win_configure "$1" --enable-shared --disable-static \
     --enable-modules=no --enable-network=no &&
   make -j"$jobs" src/libmpg123/libmpg123.la &&
   install -m 644 -D src/libmpg123/.libs/libmpg123-0.dll "$prefix/bin/libmpg123-0.dll" &&
   install -m 644 -D src/libmpg123/.libs/libmpg123.dll.a "$prefix/lib/libmpg123.dll.a" &&
   install -m 644 -D libmpg123.pc "$prefix/lib/pkgconfig/libmpg123.pc" &&
   install -m 644 src/libmpg123/mpg123.h "$1/src/libmpg123/fmt123.h" "$prefix/include/")
}

build_openmpt() {
  # The library alone, none of its optional codecs.
  (cd "$2" && CFLAGS=-O2 CXXFLAGS=-O2 win_configure "$1" --disable-shared --enable-static \
     --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc \
     --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile \
     --without-portaudio --without-portaudiocpp --without-pulseaudio --without-sndfile \
     --without-flac &&
   make -j"$jobs" && make install)
}

build_gtest() {
  # For the test programs that run under Wine.
  win_cmake -S "$1" -B "$2" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON &&
    cmake --build "$2" -j"$jobs" && cmake --install "$2"
}

# libpng needs zlib.
deps_build "zlib png" jpeg sdl2 mpg123 openmpt gtest

# The data: assetgen (FreeType, LAME) is a native tool, so the native build lays out the
# stage folder; its demo-render is what the Windows one is compared with.
native=${NATIVE_BUILD:-$root/build}
cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build "$native" -j"$jobs" --target stage demo-render >&2

cross=$out/cross
win_cmake -S . -B "$cross" -DDEMO_BUILD_TESTS=ON "${launcher[@]}" >/dev/null
# The test programs read the stage beside their build, as the native ones do.
rm -rf "$cross/stage"
cp -r "$native/stage" "$cross/stage"
cmake --build "$cross" -j"$jobs" --target demo demo-player demo-render test_golden test_core \
  test_demo >&2
# Windows finds a program's DLLs beside it.
cp "$prefix/bin/libmpg123-0.dll" "$cross/tests/"

name=softdemo-windows-x86_64
tree=$out/$name
rm -rf "$tree" "$out/$name.zip"
mkdir -p "$tree"
for program in src/program/demo tools/demo-player/demo-player tools/demo-render/demo-render; do
  $host-strip -o "$tree/${program##*/}.exe" "$cross/$program.exe"
done
cp "$prefix/bin/libmpg123-0.dll" "$tree/"
cp -r "$native/stage/." "$tree/"
sed 's/$/\r/' packaging/windows/README.txt >"$tree/README.txt"
(cd "$out" && zip -qrX "$name.zip" "$name")
echo "build-windows: ${out#"$root"/}/$name.zip ($(du -h "$out/$name.zip" | cut -f1))" >&2
