#!/usr/bin/env bash
# Installs what is missing, builds, and applies a filter to the bundled sample photo.
# scripts/demo.sh [FILTER [apply options...]] — by default an unsharp mask, e.g.
# scripts/demo.sh "Brightness and Contrast" --set BrightnessValue=20 --set ContrastValue=1.2
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
mkdir -p "$root/build"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DBF_BUILD_BENCH=OFF

if [[ $# -eq 0 ]]; then
  set -- Sharpen --set SharpenActivePage=UnsharpMask --set UnsharpMaskSize=2.5 \
    --set UnsharpMaskAmount=0.8 --set UnsharpMaskThreshold=4
fi
filter=$1
shift
out_dir="$root/build/demo"
mkdir -p "$out_dir"
out="$out_dir/fruits-result.png"
"$root/build/release/bin/basicfilters" list
echo
"$root/build/release/bin/basicfilters" apply "$filter" "$root/samples/fruits.jpg" "$out" "$@"
echo "Applied \"$filter\" to samples/fruits.jpg: the result is $out"
