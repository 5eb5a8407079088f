#!/bin/sh
# Installs what is missing, builds, and starts the game from its program folder.
set -eu
cd "$(dirname "$0")"
# Compiler cache hits survive a fresh clone in another folder: paths are taken relative to it, and
# the folder a build with debug information ran in is left out of the cache key.
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
tools/setup.sh build -DCMAKE_BUILD_TYPE=Release -DQJ_TESTS=OFF -DQJ_BENCH=OFF
exec build/bin/quorvane-jigsaw "$@"
