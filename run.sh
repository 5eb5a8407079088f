#!/bin/sh
# Installs what is missing, builds, and starts the game from its program folder.
set -eu
cd "$(dirname "$0")"
# Compiler cache hits survive a fresh clone in another folder.
export CCACHE_BASEDIR="$(pwd)"
tools/setup.sh build -DCMAKE_BUILD_TYPE=Release -DQJ_TESTS=OFF -DQJ_BENCH=OFF
exec build/bin/quorvane-jigsaw "$@"
