#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: in an optimised build,
# and in a debug build under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

mkdir -p "$root/build"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DBF_BUILD_BENCH=OFF
"$root/scripts/build.sh" "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DBF_SANITIZE=ON -DBF_BUILD_BENCH=OFF

for dir in release sanitize; do
  echo "== tests: $dir build"
  ctest --test-dir "$root/build/$dir" --output-on-failure -j "$jobs"
done
