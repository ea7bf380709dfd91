#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS] [TARGET...]: builds the fuzzers (clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) in build/fuzz and runs each for SECONDS (default 60) on a
# temporary copy of its seed corpus (fuzz/corpus/TARGET, plus generated binary property lists).
# Fails on the first finding, naming the target and keeping the input in build/fuzz/findings.
# Targets: readings hexscan plist devicepath scenario webrequest (default: all).
# scripts/fuzz.sh --build: only builds them (the test command builds them beside its other steps).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build_only=no
if [ "${1:-}" = "--build" ]; then
  [ $# -eq 1 ] || { echo "fuzz.sh: --build takes no other argument" >&2; exit 2; }
  build_only=yes
  shift
fi
seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ] || [ "$seconds" -gt 86400 ]; then
  echo "fuzz.sh: SECONDS must be a whole number from 1 to 86400, not '$seconds'" >&2
  exit 2
fi
shift $(( $# > 0 ? 1 : 0 ))
all=(readings hexscan plist devicepath scenario webrequest)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")
for t in "${targets[@]}"; do
  [[ " ${all[*]} " == *" $t "* ]] || { echo "fuzz.sh: unknown target '$t' (one of: ${all[*]})" >&2; exit 2; }
done

scripts/deps.sh # clang and its sanitizer and libFuzzer runtimes among them

build=build/fuzz
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHM_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
cmake --build "$build" --target fuzzers -- -j"$(nproc)"
[ "$build_only" = yes ] && exit 0

declare -A max_len=([readings]=256 [hexscan]=256 [plist]=16384 [devicepath]=512 [scenario]=1024 [webrequest]=4096)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/findings"

# fuzz_one TARGET: runs one fuzzer on its corpus; its output goes to $work/TARGET.log.
# A hang is a finding (-timeout), and so is memory past 2 GB (-rss_limit_mb).
fuzz_one() {
  local t=$1 corpus="$work/$1"
  mkdir -p "$corpus"
  cp fuzz/corpus/"$t"/* "$corpus"/
  [ "$t" = plist ] && "$build/fuzz/plist_seeds" fuzz/corpus/plist "$corpus" >/dev/null
  "$build/fuzz/${t}_fuzzer" "$corpus" -max_total_time="$seconds" -max_len="${max_len[$t]}" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$t-" >"$work/$t.log" 2>&1
}

# Each fuzzer runs on one core, so as many run at once as there are cores: each still gets its
# SECONDS of a whole core, and the run takes 1/nproc of the time. Results print in target order.
# (wait -n takes one finished run; bash keeps its status for the wait on its id below.)
slots=$(nproc)
declare -A pid=()
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$slots" ]; do wait -n || true; done
  fuzz_one "$t" &
  pid[$t]=$!
done
status=0
for t in "${targets[@]}"; do
  log="$work/$t.log"
  if wait "${pid[$t]}"; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz $t: ${runs:-?} runs in ${seconds}s (${rate:-?}/s), no finding"
  else
    echo "fuzz $t: FINDING (the input is in $build/findings/, named $t-...). The fuzzer's report:" >&2
    grep -v '^#[0-9]' "$log" | tail -n 60 >&2
    status=1
  fi
done
exit $status
