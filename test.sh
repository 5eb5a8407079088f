#!/bin/sh
# Installs what is missing, builds, and runs every test: first the optimised build, then the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")"
# Compiler cache hits survive a fresh clone in another folder.
export CCACHE_BASEDIR="$(pwd)"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
tools/setup.sh build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build-test && ctest --output-on-failure -j2)
if [ "${QJ_SKIP_SANITIZE:-0}" != "1" ]; then
  tools/setup.sh build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQJ_SANITIZE=ON -DQJ_BENCH=OFF
  (cd build-sanitize && ctest --output-on-failure -j2 -LE slow)
fi
