#!/usr/bin/env bash
# Installs the Debian 12 packages for what you want to do:
#
#   scripts/install-deps.sh [PURPOSE...]     default: run
#
#   run      build the demo and its data, and watch it
#   test     run + the test tools (GoogleTest, Xvfb and X tools, ImageMagick, the package tools)
#   package  run + the Debian package tools (scripts/package.sh)
#   bench    run + Google Benchmark and pixman
#   fuzz     run + clang and its fuzzing runtime
#   capture  run + ffmpeg (scripts/capture-video.sh)
#   web      run + the WebAssembly build (emscripten, Debian's source packages of the
#            libraries) and its checks (node, chromium)
#   windows  run + the Windows cross build (mingw-w64, Debian's source packages of the
#            libraries) and its checks under Wine (wine64, Xvfb, xdotool, ImageMagick)
#   arm64    test + the cross build for 64-bit ARM: Debian's aarch64 compiler, the arm64
#            libraries beside the native ones (multiarch) and qemu-user to run what it builds
#
# Quick when everything is already there: apt is only touched for missing packages, and
# then needs root (or sudo).
set -euo pipefail

run=(cmake g++ make pkg-config
     libsdl2-dev libmpg123-dev libopenmpt-dev libjpeg62-turbo-dev libpng-dev
     libmp3lame-dev libfreetype-dev fonts-dejavu-core fonts-dejavu-extra)
package=(dpkg-dev file)
# What the programs and tests link, for the arm64 cross build (run's libraries and GoogleTest).
arm64_libs=(libsdl2-dev libmpg123-dev libopenmpt-dev libjpeg62-turbo-dev libpng-dev
            libmp3lame-dev libfreetype-dev libgtest-dev libgmock-dev)

packages=()
foreign=()
for purpose in "${@:-run}"; do
  case $purpose in
    run)     packages+=("${run[@]}") ;;
    test)    packages+=("${run[@]}" "${package[@]}" libgtest-dev libgmock-dev
                        xvfb xauth xdotool x11-apps imagemagick desktop-file-utils) ;;
    package) packages+=("${run[@]}" "${package[@]}") ;;
    bench)   packages+=("${run[@]}" libbenchmark-dev libpixman-1-dev) ;;
    fuzz)    packages+=("${run[@]}" clang libclang-rt-14-dev) ;;
    capture) packages+=("${run[@]}" ffmpeg) ;;
    web)     packages+=("${run[@]}" emscripten node-acorn nodejs dpkg-dev xz-utils bzip2
                        python3 chromium) ;;
    windows) packages+=("${run[@]}" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
                        wine64 wine dpkg-dev xz-utils bzip2 xvfb xauth xdotool imagemagick zip) ;;
    arm64)   packages+=("${run[@]}" "${package[@]}" libgtest-dev libgmock-dev xvfb xauth xdotool
                        x11-apps imagemagick desktop-file-utils
                        g++-aarch64-linux-gnu qemu-user
                        "${arm64_libs[@]/%/:arm64}")
             foreign+=(arm64) ;;
    *) echo "install-deps.sh: unknown purpose '$purpose' (run, test, package, bench, fuzz, capture, web, windows, arm64)" >&2
       exit 2 ;;
  esac
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "install-deps.sh: missing Debian packages: ${missing[*]}" >&2
    echo "install them as root:  apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
echo "installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
# Another architecture's libraries come from the same archive, at the same versions as the
# native ones they sit beside.
for arch in "${foreign[@]}"; do
  dpkg --print-foreign-architectures | grep -qx "$arch" || "${sudo[@]}" dpkg --add-architecture "$arch"
done
if ! "${sudo[@]}" apt-get update -qq ||
   ! "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2; then
  echo "install-deps.sh: could not install: ${missing[*]}" >&2
  echo "install them as root:  apt-get install ${missing[*]}" >&2
  exit 1
fi
