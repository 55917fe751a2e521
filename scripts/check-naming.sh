#!/usr/bin/env bash
# Fails when a parameter or local variable breaks the naming convention of .clang-tidy.
# Needs the compile commands of a configured build folder (default: build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cd "$root"
out=$(git ls-files 'src/*.cpp' 'tests/*.cpp' 'bench/*.cpp' |
  xargs -P 2 -n 8 clang-tidy -p "$build" --quiet 2>/dev/null | grep -E 'warning: .*\[readability-identifier-naming\]' || true)
if [ -n "$out" ]; then
  echo "$out"
  echo "naming: $(echo "$out" | wc -l) name(s) break the convention in .clang-tidy"
  exit 1
fi
echo "naming: every parameter and local follows .clang-tidy"
