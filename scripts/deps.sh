#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
# As root it runs apt-get; otherwise it prints the command to run and stops.
set -euo pipefail
# clang and its runtimes (libclang-rt-dev): the sanitizer build and the fuzzers are built with it.
packages=(cmake ninja-build g++ clang libclang-rt-dev pkg-config libplist-dev libicu-dev
          libcairo2-dev libfreetype-dev libpng-dev lld clang-format fonts-urw-base35 libgtest-dev
          libgmock-dev libbenchmark-dev libcpp-httplib-dev nlohmann-json3-dev chromium)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The browser test's runtime. Asked for by command: a Node.js from elsewhere may bring its own npm
# (and conflict with Debian's npm package).
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages. Run as root:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
