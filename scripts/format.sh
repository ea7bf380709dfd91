#!/usr/bin/env bash
# scripts/format.sh [--check]: formats every C++ source of the project with clang-format and the
# project's .clang-format. With --check it changes nothing and fails, naming each file and line,
# when a source is not formatted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' '*.hpp')
else
  mapfile -t sources < <(find . -path ./build -prune -o -path ./node_modules -prune -o \
                               \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) -print)
fi
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run --Werror "${sources[@]}"
  echo "${#sources[@]} sources formatted"
else
  clang-format -i "${sources[@]}"
fi
