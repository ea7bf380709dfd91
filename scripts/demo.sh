#!/usr/bin/env bash
# The main job: set-up, build, then the simulator's demo: one whole disarm on a virtual device,
# printed as a timeline, with snapshots of the main screens written to out/demo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
mkdir -p build
echo "Building (log in build/demo-build.log)..."
if ! scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >build/demo-build.log 2>&1; then
  tail -n 40 build/demo-build.log
  exit 1
fi
build/release/sim/hushmark-sim demo --out "${1:-out/demo}"
