#!/bin/sh
# Installs what is missing, builds, and runs every test: first the optimised build, then the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, then the tests that start
# threads (the cutter's helpers) under ThreadSanitizer, and last a short run of every fuzz target
# (QJ_FUZZ_SECONDS each).
set -eu
cd "$(dirname "$0")"
# Compiler cache hits survive a fresh clone in another folder: paths are taken relative to it, and
# the folder a build with debug information ran in is left out of the cache key.
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
tools/setup.sh build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build-test && ctest --output-on-failure -j2)
if [ "${QJ_SKIP_SANITIZE:-0}" != "1" ]; then
  tools/setup.sh build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQJ_SANITIZE=ON -DQJ_BENCH=OFF
  (cd build-sanitize && ctest --output-on-failure -j2 -LE slow)
  # Only the programs that start threads: the rest would cost build time and find nothing.
  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQJ_SANITIZE=thread -DQJ_BENCH=OFF
  cmake --build build-tsan -j"$(nproc)" --target test_creation test_platform test_autosave
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    ctest --output-on-failure -j2 -R '^(creation|platform|autosave)$')
fi
if [ "${QJ_SKIP_FUZZ:-0}" != "1" ]; then
  tools/fuzz.sh "${QJ_FUZZ_SECONDS:-10}"
fi
