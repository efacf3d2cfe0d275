# Shared by build-web.sh and test-web.sh (sourced): the Debian packages the browser build
# and its tests need, and the environment Debian's emscripten 3.1.6 wants under node 20.

web_packages=(
  # the compiler and its optimiser's JavaScript parser
  emscripten node-acorn nodejs
  # fetching and unpacking Debian's source packages of the libraries
  dpkg-dev xz-utils bzip2
  # the library builds (autotools and CMake projects) and the native data generator
  cmake make pkg-config python3
  # the tests: a real browser, driven over its DevTools pipe
  chromium
)

install_web_packages() {
  local missing=() p
  for p in "${web_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "installing: ${missing[*]}" >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# emcc's JavaScript optimiser needs Debian's acorn; node 20 rejects the flags emscripten
# 3.1.6 passes by default and its experimental fetch breaks the generated loaders.
export NODE_PATH=/usr/share/nodejs
# The em* wrappers run "python3" from PATH; a version manager's shim there costs seconds
# per call, and configure scripts make hundreds of them.
[ -x /usr/bin/python3 ] && export EMSDK_PYTHON=/usr/bin/python3
web_node=(node --no-experimental-fetch)
web_emulator='/usr/bin/node;--no-experimental-fetch'
