#!/usr/bin/env bash
# Builds the module in Release with the benchmarks, then times our filters beside
# OpenCV and libvips on the sample photo and writes the tables to bench/results/
# (peers.md, peers.csv, scaling.csv). Installs what it needs first.
#   scripts/bench.sh [--runs N] [--only TEXT]    (arguments go to basicfilters_peers)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"
results="$root/bench/results"

# The peers come from Debian, like everything else the build needs.
"$root/scripts/deps.sh" libopencv-dev libvips-dev

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBF_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target basicfilters_peers -j"$(nproc)"

mkdir -p "$results"
"$build/bin/basicfilters_peers" --sample "$root/samples/fruits.jpg" --out "$results" "$@"
echo "Written: $results/peers.md, $results/peers.csv, $results/scaling.csv"
