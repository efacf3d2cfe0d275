# Shared by build-web.sh, test-web.sh and measure-web-load.sh (sourced): installing what the
# browser build and its tests need, and the environment Debian's emscripten 3.1.6 wants under
# node 20.

install_web_packages() { bash scripts/install-deps.sh web; }

# emcc's JavaScript optimiser needs Debian's acorn; node 20 rejects the flags emscripten
# 3.1.6 passes by default and its experimental fetch breaks the generated loaders.
export NODE_PATH=/usr/share/nodejs
# The em* wrappers run "python3" from PATH; a version manager's shim there costs seconds
# per call, and configure scripts make hundreds of them.
[ -x /usr/bin/python3 ] && export EMSDK_PYTHON=/usr/bin/python3
web_node=(node --no-experimental-fetch)
web_emulator='/usr/bin/node;--no-experimental-fetch'

# A scratch folder ($work) for the caller, removed at its exit with the page server stopped.
web_scratch() {
  work=$(mktemp -d)
  web_server=""
  trap 'if [ -n "$web_server" ]; then kill "$web_server" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
}

# Serves build-web/site on 127.0.0.1 in the background as a static host would
# (tests/web/serve.mjs: gzip, the WebAssembly type), its output in LOG: sets web_server (the
# process id, which web_scratch's exit trap ends) and web_port.
serve_site() {
  "${web_node[@]}" tests/web/serve.mjs build-web/site >"$1" 2>&1 &
  web_server=$!
  web_port=""
  for _ in $(seq 50); do
    web_port=$(sed -n 's/^serving on port \([0-9]*\)$/\1/p' "$1" | head -n 1 || true)
    [ -n "$web_port" ] && return 0
    sleep 0.1
  done
  echo "the web server did not start:" >&2
  cat "$1" >&2
  return 1
}
