#!/usr/bin/env bash
# Builds the module in Release with the benchmarks, then times our filters beside
# OpenCV and libvips on the sample photo and writes the tables to bench/results/
# (peers.md, peers.csv, scaling.csv). Installs what it needs first.
#   scripts/bench.sh [--runs N] [--only TEXT]    (arguments go to basicfilters_peers)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build/bench"
results="$root/bench/results"

"$root/scripts/deps.sh"

peers=(libopencv-dev libvips-dev)
missing=()
for package in "${peers[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  as_root=()
  [[ $(id -u) -eq 0 ]] || as_root=(sudo)
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBF_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target basicfilters_peers -j"$(nproc)"

mkdir -p "$results"
"$build/bin/basicfilters_peers" --sample "$root/samples/fruits.jpg" --out "$results" "$@"
echo "Written: $results/peers.md, $results/peers.csv, $results/scaling.csv"
