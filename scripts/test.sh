#!/usr/bin/env bash
# The whole test suite, twice: a normal build, then an AddressSanitizer +
# UndefinedBehaviorSanitizer build, then a short run of each fuzzer. All must pass. Extra
# arguments go to ctest (for example: scripts/test.sh -L tweak) and skip the fuzzers.
# Each step is a phase; the time of each prints at the end, so a log shows where time goes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

# phase NAME COMMAND...: runs one step and notes how long it took.
phase_report=""
phase() {
  local name=$1 start=$SECONDS
  shift
  echo "== $name"
  "$@"
  phase_report+=$(printf '%-24s %5d s' "$name" $((SECONDS - start)))$'\n'
}
trap 'printf "\n== time by phase\n%s%-24s %5d s\n" "$phase_report" total $SECONDS' EXIT

sanitized_ctest() {
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/asan -j"$jobs" --output-on-failure --timeout 300 "$@"
}

phase "packages" scripts/deps.sh
phase "format check" scripts/format.sh --check
phase "normal build" scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
phase "normal suite" ctest --test-dir build/release -j"$jobs" --output-on-failure --timeout 120 "$@"
phase "sanitizer build" scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DHM_SANITIZE=ON -DHM_BENCH=OFF
phase "sanitizer suite" sanitized_ctest "$@"
if [ $# -eq 0 ]; then
  # A smoke run of each fuzzer: scripts/fuzz.sh runs them longer.
  phase "fuzzers" scripts/fuzz.sh 4
fi
