# Shared by the web scripts: what Debian's Emscripten needs to work here.
# Usage: source scripts/web_env.sh

# Debian's emcc finds its JavaScript helpers (acorn and friends) only through NODE_PATH; without
# it every optimised build ends in "Cannot find module 'acorn'".
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Emscripten's output run under node: node's own fetch would take the place of the file reads.
export VELMORIN_NODE="node --no-experimental-fetch"

web_jobs() {
    local jobs
    jobs=$(nproc)
    echo $((jobs < 2 ? jobs : 2))
}
