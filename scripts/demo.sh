#!/usr/bin/env bash
# Installs what is missing, builds, and applies a filter to the bundled sample photo.
# scripts/demo.sh [FILTER] — by default "Rotate\Rotate 0 Degrees".
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
mkdir -p "$root/build"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DBF_BUILD_BENCH=OFF

filter=${1:-'Rotate\Rotate 0 Degrees'}
out_dir="$root/build/demo"
mkdir -p "$out_dir"
out="$out_dir/fruits-result.png"
"$root/build/release/bin/basicfilters" list
echo
"$root/build/release/bin/basicfilters" apply "$filter" "$root/samples/fruits.jpg" "$out"
echo "Applied \"$filter\" to samples/fruits.jpg: the result is $out"
