#!/usr/bin/env bash
# The whole test suite, twice: a normal build, then an AddressSanitizer +
# UndefinedBehaviorSanitizer build, then a short run of each fuzzer. All must pass. Extra
# arguments go to ctest (for example: scripts/test.sh -L tweak) and skip the fuzzers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
jobs=$(nproc)

echo "== normal build"
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build/release -j"$jobs" --output-on-failure --timeout 120 "$@"

echo "== sanitizer build (address, undefined)"
scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DHM_SANITIZE=ON -DHM_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan -j"$jobs" --output-on-failure --timeout 300 "$@"

if [ $# -eq 0 ]; then
  echo "== fuzzers (a smoke run of each: scripts/fuzz.sh runs them longer)"
  scripts/fuzz.sh 4
fi
