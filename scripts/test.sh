#!/usr/bin/env bash
# The whole test suite, twice: a normal build, then an AddressSanitizer +
# UndefinedBehaviorSanitizer build, then a short run of each fuzzer. All must pass. Extra
# arguments go to ctest (for example: scripts/test.sh -L tweak) and skip the fuzzers.
# Each step is a phase; the time of each prints at the end, so a log shows where time goes.
#
# The sanitizer build and then the fuzzers' build run in a second lane, beside the rest, at the
# lowest CPU priority (nice 19): they take only the CPU that the normal build and the two suites
# leave idle (a build's last serial links, a suite's tests that wait on sleeps, timers and child
# processes, the last long tests running alone), and barely slow them. When the foreground needs
# a build of the lane, it waits for it at normal priority. A phase of the lane prints its own time
# and how long the foreground waited for it; the total is the real time of the whole command.
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

# The second lane: one background process group (so that it can be re-prioritised and stopped as a
# whole), whose steps write their output and their times into $lane_dir. It stays in this session:
# where the kernel groups a session's processes for scheduling (autogroup), a session of its own
# would get an equal share of the CPU whatever its nice value.
lane_dir=$(mktemp -d)
lane_pid=""
finish() {
  local status=$?
  [ -n "$lane_pid" ] && kill -- -"$lane_pid" 2>/dev/null || true
  rm -rf "$lane_dir"
  printf "\n== time by phase\n%s%-24s %5d s\n" "$phase_report" total $SECONDS
  exit $status
}
trap finish EXIT

# lane_step NAME COMMAND...: (in the lane) runs one step, its output into $lane_dir/NAME.log, and
# writes its time and status into $lane_dir/NAME.done. A failed step ends the lane.
lane_step() {
  local name=$1 start=$SECONDS status=0
  shift
  "$@" >"$lane_dir/$name.log" 2>&1 || status=$?
  echo "$((SECONDS - start)) $status" >"$lane_dir/$name.done"
  return $status
}

# lane_wait NAME: waits until the lane's step NAME is done (at normal priority from now on: the
# foreground has nothing else to run), shows its output, and notes its time. Fails as it failed.
lane_wait() {
  local name=$1 start=$SECONDS
  echo "== $name (built beside the steps above; waiting for it)"
  renice -n 0 -g "$lane_pid" >/dev/null 2>&1 || true
  while [ ! -f "$lane_dir/$name.done" ]; do
    if ! kill -0 "$lane_pid" 2>/dev/null && [ ! -f "$lane_dir/$name.done" ]; then
      echo "test.sh: the build lane stopped before $name was built" >&2
      cat "$lane_dir/$name.log" 2>/dev/null >&2 || true
      return 1
    fi
    sleep 1
  done
  local took status
  read -r took status <"$lane_dir/$name.done"
  tail -n 5 "$lane_dir/$name.log"
  phase_report+=$(printf '%-24s %5d s  (waited %d s)' "$name" "$took" $((SECONDS - start)))$'\n'
  if [ "$status" -ne 0 ]; then
    echo "test.sh: $name failed:" >&2
    cat "$lane_dir/$name.log" >&2
    return "$status"
  fi
}

sanitized_ctest() {
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/asan -j"$jobs" --output-on-failure --timeout 300 "$@"
}

phase "packages" scripts/deps.sh
phase "format check" scripts/format.sh --check

# The lane: the sanitizer build, then (for the whole suite) the fuzzers' build.
# The sanitizer tree is built with clang when it is there (scripts/deps.sh installs it; a tree
# configured before keeps its compiler): instrumented at -O0, clang compiles the whole tree in
# about half of gcc's CPU time, and its test programs start in about two thirds of the time.
sanitizer_compiler=""
if command -v clang >/dev/null 2>&1 && command -v clang++ >/dev/null 2>&1; then
  sanitizer_compiler="-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++"
fi
fuzz=$([ $# -eq 0 ] && echo yes || echo no)
export -f lane_step
export lane_dir fuzz sanitizer_compiler
set -m # a process group of its own for the background job
nice -n 19 bash -c '
  # shellcheck disable=SC2086 # the compiler options are words of their own
  lane_step "sanitizer build" scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug -DHM_SANITIZE=ON -DHM_BENCH=OFF \
    $sanitizer_compiler || exit 1
  [ "$fuzz" = yes ] && lane_step "fuzzers build" scripts/fuzz.sh --build
  exit 0' &
lane_pid=$!
set +m

phase "normal build" scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
phase "normal suite" ctest --test-dir build/release -j"$jobs" --output-on-failure --timeout 120 "$@"
lane_wait "sanitizer build"
phase "sanitizer suite" sanitized_ctest "$@"
if [ "$fuzz" = yes ]; then
  lane_wait "fuzzers build"
  # A smoke run of each fuzzer: scripts/fuzz.sh runs them longer.
  phase "fuzzers" scripts/fuzz.sh 4
fi
