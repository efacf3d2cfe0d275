#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test, benchmark and fuzz.
# Quick when everything is already there: apt is only touched for missing packages.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  libsdl2-dev libmpg123-dev libopenmpt-dev libjpeg62-turbo-dev libpng-dev
  libmp3lame-dev libfreetype-dev fonts-dejavu-core
  # tests
  libgtest-dev libgmock-dev xvfb xauth xdotool x11-apps imagemagick
  # benchmarks
  libbenchmark-dev libpixman-1-dev
  # fuzzing
  clang libclang-rt-14-dev
)
if [ "${WITH_CAPTURE:-0}" = 1 ]; then packages+=(ffmpeg); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
