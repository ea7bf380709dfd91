#!/usr/bin/env bash
# The main job: builds everything and runs the quick test subset.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build/release -j"$(nproc)" --output-on-failure -L platform
