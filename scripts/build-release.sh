#!/usr/bin/env bash
# scripts/build-release.sh NAME: set-up, then the normal build quietly, its log in
# build/NAME-build.log; on a failure it shows the log's end and exits non-zero.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
mkdir -p build
log=build/$1-build.log
echo "Building (log in $log)..."
if ! scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1; then
  tail -n 40 "$log"
  exit 1
fi
