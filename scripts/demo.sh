#!/usr/bin/env bash
# The main job: set-up, build, then the simulator's demo: one whole disarm on a virtual device,
# printed as a timeline, with snapshots of the main screens written to out/demo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/build-release.sh demo
build/release/sim/hushmark-sim demo --out "${1:-out/demo}"
