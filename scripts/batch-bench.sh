#!/usr/bin/env bash
# Times `basicfilters batch` over copies of samples/fruits.jpg with one job and with
# two, runs alternating, and prints the median of each and their ratio. One job runs
# twice: as the tool runs it (its filters' kernels on every core) and with one kernel
# thread (BASICFILTERS_THREADS=1), which is one core's work; two jobs run one kernel
# thread each, as the tool sets it.
#   scripts/batch-bench.sh [--tool PATH] [--photos N] [--runs N] [--session-nice N]
# Without --tool it uses build/release/bin/basicfilters (scripts/build.sh makes it).
# On a machine shared with other log-in sessions the kernel shares the processors
# between sessions first (autogroups): one session gets the same time with one busy
# process or with two, and two jobs cannot be faster than one. --session-nice -10 (as
# root) weighs this session up for the run, as if the machine were its own.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tool="$root/build/release/bin/basicfilters"
photos=50
runs=5
session_nice=
while (($#)); do
    case $1 in
        --tool) tool=$2; shift 2 ;;
        --photos) photos=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        --session-nice) session_nice=$2; shift 2 ;;
        *) echo "usage: $0 [--tool PATH] [--photos N] [--runs N] [--session-nice N]" >&2; exit 2 ;;
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

# Seconds of one batch into a fresh folder: time_batch JOBS [KERNEL_THREADS].
time_batch()
{
    local jobs=$1 out="$work/out-$1-${2:-all}"
    rm -rf "$out"
    local -a environment=()
    [[ -n ${2:-} ]] && environment=(BASICFILTERS_THREADS="$2")
    local start end
    start=$(date +%s.%N)
    env "${environment[@]}" "$tool" batch --recipe "$recipe" --jobs "$jobs" --out-dir "$out" --quiet "$work/photos" \
        2> "$work/log" || { cat "$work/log" >&2; exit 1; }
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f\n", b - a }'
}

median()
{
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

if [[ -n $session_nice ]]; then
    before=$(awk '{ print $3 }' /proc/self/autogroup)
    echo "$session_nice" > /proc/self/autogroup
    trap 'echo "$before" > /proc/self/autogroup; rm -rf "$work"' EXIT
fi
load=$(cut -d' ' -f1-3 /proc/loadavg)
one=()
single=()
two=()
for ((run = 0; run < runs; run++)); do
    one+=("$(time_batch 1)")
    single+=("$(time_batch 1 1)")
    two+=("$(time_batch 2)")
done
for other in "$work/out-1-1" "$work/out-2-all"; do
    cmp -s <(cd "$work/out-1-all" && cat ./*) <(cd "$other" && cat ./*) || { echo "outputs differ" >&2; exit 1; }
done

m1=$(printf '%s\n' "${one[@]}" | median)
m1s=$(printf '%s\n' "${single[@]}" | median)
m2=$(printf '%s\n' "${two[@]}" | median)
echo "photos: $photos, runs: $runs, cores: $(nproc), load average before: $load, after: $(cut -d' ' -f1-3 /proc/loadavg)," \
    "session nice: ${session_nice:-as it was}"
echo "1 job, kernels on every core: ${one[*]} s (median $m1 s)"
echo "1 job, one kernel thread:     ${single[*]} s (median $m1s s)"
echo "2 jobs:                       ${two[*]} s (median $m2 s)"
awk -v a="$m1" -v s="$m1s" -v b="$m2" \
    'BEGIN { printf "2 jobs / 1 job: %.2f (against one kernel thread: %.2f)\n", b / a, b / s }'
