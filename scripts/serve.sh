#!/usr/bin/env bash
# The device in a browser: set-up, build, then `hushmark-sim serve` on a temporary device root.
# It prints the URL to open and runs until Ctrl-C. Extra arguments go to serve, for example:
#   scripts/serve.sh --port 9000 --with libstatusbar,flipswitch --timezone Europe/Berlin
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/build-release.sh serve
exec build/release/sim/hushmark-sim serve "$@"
