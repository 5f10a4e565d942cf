#!/usr/bin/env bash
# Times `basicfilters batch` over copies of samples/fruits.jpg with one job and with
# two, runs alternating, and prints the median of each and their ratio.
#   scripts/batch-bench.sh [--tool PATH] [--photos N] [--runs N]
# Without --tool it uses build/release/bin/basicfilters (scripts/build.sh makes it).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tool="$root/build/release/bin/basicfilters"
photos=50
runs=5
while (($#)); do
    case $1 in
        --tool) tool=$2; shift 2 ;;
        --photos) photos=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        *) echo "usage: $0 [--tool PATH] [--photos N] [--runs N]" >&2; exit 2 ;;
    esac
done
[[ -x $tool ]] || { echo "no tool at $tool; build first (scripts/build.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/photos"
for ((i = 0; i < photos; i++)); do cp "$root/samples/fruits.jpg" "$work/photos/photo-$i.jpg"; done

# What a shoot typically gets: levels and colour fixed from each photo's own
# histogram, noise measured and removed, an unsharp mask, a frame.
recipe="$work/recipe.txt"
"$tool" recipe add "$recipe" "Autofix Image" --set AutofixColor=1 --set AutofixExposure=1 -q
"$tool" recipe add "$recipe" Noise --set NoiseActivePage=RemoveNoisePage -q
"$tool" recipe add "$recipe" Sharpen --set SharpenActivePage=UnsharpMask -q
"$tool" recipe add "$recipe" Frames --set NameOfTheFrame=SingleFrameName -q

# Seconds of one batch into a fresh folder.
time_batch()
{
    local jobs=$1 out="$work/out-$1"
    rm -rf "$out"
    local start end
    start=$(date +%s.%N)
    "$tool" batch --recipe "$recipe" --jobs "$jobs" --out-dir "$out" --quiet "$work/photos" 2> "$work/log" ||
        { cat "$work/log" >&2; exit 1; }
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f\n", b - a }'
}

median()
{
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

one=()
two=()
for ((run = 0; run < runs; run++)); do
    one+=("$(time_batch 1)")
    two+=("$(time_batch 2)")
done
cmp -s <(cd "$work/out-1" && cat ./*) <(cd "$work/out-2" && cat ./*) || { echo "outputs differ" >&2; exit 1; }

m1=$(printf '%s\n' "${one[@]}" | median)
m2=$(printf '%s\n' "${two[@]}" | median)
echo "photos: $photos, runs: $runs, cores: $(nproc), load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "1 job:  ${one[*]} s (median $m1 s)"
echo "2 jobs: ${two[*]} s (median $m2 s)"
awk -v a="$m1" -v b="$m2" 'BEGIN { printf "ratio 2 jobs / 1 job: %.2f\n", b / a }'
