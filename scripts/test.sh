#!/usr/bin/env bash
# The whole test suite, twice: a normal build, then an AddressSanitizer +
# UndefinedBehaviorSanitizer build. Both must pass. Extra arguments go to ctest
# (for example: scripts/test.sh -L tweak).
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
