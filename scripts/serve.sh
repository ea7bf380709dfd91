#!/usr/bin/env bash
# The device in a browser: set-up, build, then `hushmark-sim serve` on a temporary device root.
# It prints the URL to open and runs until Ctrl-C. Extra arguments go to serve, for example:
#   scripts/serve.sh --port 9000 --with libstatusbar,flipswitch --timezone Europe/Berlin
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/deps.sh
mkdir -p build
echo "Building (log in build/serve-build.log)..."
if ! scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >build/serve-build.log 2>&1; then
  tail -n 40 build/serve-build.log
  exit 1
fi
exec build/release/sim/hushmark-sim serve "$@"
