#!/usr/bin/env bash
# Builds the libFuzzer targets of the readers of outside data (ASan and UBSan, clang) in
# build-fuzz, runs each for SECONDS seconds from its seed corpus and sums up what it found.
# Usage: tools/fuzz.sh SECONDS. Exit status 1 when any target crashed, leaked, hung or ran out
# of memory; the inputs that did are in build-fuzz/findings/<target>/. Once the reader is
# mended, such an input belongs in tests/fuzz/<target>/, which every test run replays.
set -euo pipefail

seconds=${1:?usage: tools/fuzz.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DQJ_FUZZ=ON -DQJ_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQJ_TESTS=OFF -DQJ_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target fuzz -j"$(nproc)" >/dev/null

# Fresh seeds every time, so a changed writer changes them; the corpora keep what fuzzing found.
rm -rf "$build/seeds"
"$build/bin/qj_make_seeds" "$build/seeds" >/dev/null

# ASan holds up to 256 MB of freed blocks back by default, which alone would reach the memory
# limit below after a few seconds of small allocations; the limit is meant for the readers.
export ASAN_OPTIONS="quarantine_size_mb=32${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

artifacts() { find "$1" -maxdepth 1 -type f | wc -l; }

# Runs one target, prints its summary line and adds it to the totals.
run_target() {
  local name=$1 corpus=$build/corpus/$1 findings=$build/findings/$1 log=$build/logs/$1.log
  mkdir -p "$corpus" "$findings" "$build/logs"
  cp "$build/seeds/$name"/* "$corpus/"
  # The inputs kept from earlier findings run first, under the same limits as everything else.
  if [ -d "$root/tests/fuzz/$name" ]; then cp "$root/tests/fuzz/$name"/* "$corpus/"; fi
  local before start status=0
  before=$(artifacts "$findings")
  start=$(date +%s)
  # A reader that allocates more than the data it describes needs is a finding, as is one that
  # hangs: the limits turn both into artifacts.
  "$build/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=512 -malloc_limit_mb=512 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || status=$?
  local execs crashes
  execs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
  crashes=$(($(artifacts "$findings") - before))
  if [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ]; then crashes=1; fi
  echo "target=$name execs=${execs:-0} crashes=$crashes seconds=$(($(date +%s) - start))"
  if [ "$crashes" -ne 0 ]; then
    echo "  see $log; inputs in $findings/"
    grep -m 3 -E '^(==[0-9]+==ERROR|SUMMARY)' "$log" | sed 's/^/  /' || true
  fi
  total_execs=$((total_execs + ${execs:-0}))
  total_crashes=$((total_crashes + crashes))
}

total_execs=0
total_crashes=0
targets=0
for program in "$build"/bin/fuzz_*; do
  run_target "${program##*/fuzz_}"
  targets=$((targets + 1))
done
echo "targets=$targets execs=$total_execs crashes=$total_crashes"
[ "$total_crashes" -eq 0 ]
