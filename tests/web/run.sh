#!/usr/bin/env bash
# tests/web/run.sh HUSHMARK_SIM SCREENSHOT.png: the browser test of `hushmark-sim serve`.
# Installs the pinned Playwright from the lock file when node_modules lacks it (npm ci), then
# drives Debian's Chromium headless. Exits 77 (skipped) when node or chromium is not installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=$1
screenshot=$2
chromium=${CHROMIUM:-/usr/bin/chromium}
if ! command -v node >/dev/null 2>&1 || [ ! -x "$chromium" ]; then
  echo "skipped: the browser test needs node and $chromium (scripts/deps.sh installs them)" >&2
  exit 77
fi
if [ ! -f "$root/node_modules/playwright-core/package.json" ]; then
  # One install at a time, however many test runs start at once.
  flock "$root/package-lock.json" -c "cd '$root' && { [ -f node_modules/playwright-core/package.json ] || npm ci --no-audit --no-fund --loglevel=error; }"
fi
CHROMIUM=$chromium exec node "$root/tests/web/serve.test.mjs" "$program" "$screenshot"
