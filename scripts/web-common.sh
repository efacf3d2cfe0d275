# Shared by build-web.sh and test-web.sh (sourced): installing what the browser build and
# its tests need, and the environment Debian's emscripten 3.1.6 wants under node 20.

install_web_packages() { bash scripts/install-deps.sh web; }

# emcc's JavaScript optimiser needs Debian's acorn; node 20 rejects the flags emscripten
# 3.1.6 passes by default and its experimental fetch breaks the generated loaders.
export NODE_PATH=/usr/share/nodejs
# The em* wrappers run "python3" from PATH; a version manager's shim there costs seconds
# per call, and configure scripts make hundreds of them.
[ -x /usr/bin/python3 ] && export EMSDK_PYTHON=/usr/bin/python3
web_node=(node --no-experimental-fetch)
web_emulator='/usr/bin/node;--no-experimental-fetch'
