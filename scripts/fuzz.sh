#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for its share of SECONDS (default 600):
# the parameter-text reader, the recipe reader, the hosts' picture decoder path, and
# the apply of every filter the module has, one run per filter. The corpora grow in
# build/fuzz/corpus/ from the seeds in fuzz/corpus/; a crashing input lands in
# build/fuzz/findings/.
# Prints a table of runs, coverage (edges libFuzzer saw) and corpus sizes; exits
# non-zero when anything was found.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
"$root/scripts/deps.sh" --fuzz

build="$root/build/fuzz"
mkdir -p "$root/build"
launcher=()
if command -v ccache > /dev/null; then
  export CCACHE_NOHASHDIR=true
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  # -O1 with line tables: quick to build, fast enough to run, and stack traces that
  # name the line.
  CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" -DBF_FUZZ=ON -DBF_BUILD_BENCH=OFF \
    > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
fi
cmake --build "$build" -j "$(nproc)" --target fuzz_param_text fuzz_recipe fuzz_picture_file fuzz_filter_apply \
  robustness_sanitized

bin="$build/bin"
mapfile -t filters < <(BF_FUZZ_FILTER=list "$bin/fuzz_filter_apply" 2> /dev/null)
runs=$((3 + ${#filters[@]}))
share=$((seconds / runs))
((share >= 1)) || share=1
mkdir -p "$build/corpus" "$build/findings" "$build/logs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer
export QT_QPA_PLATFORM=offscreen

# The robustness test first: the same rules on larger pictures, under clang's
# sanitizers. Leak checking skips thread-local storage and glib, as the test
# suite's own main does under gcc.
echo "leak:libglib-2.0.so" > "$build/lsan.supp"
LSAN_OPTIONS="use_tls=0:suppressions=$build/lsan.supp" "$bin/robustness_sanitized" --gtest_brief=1 \
  > "$build/logs/robustness.log" 2>&1 || { tail -40 "$build/logs/robustness.log"; exit 1; }
echo "robustness test under clang's sanitizers: passed"

printf '%-42s %10s %8s %8s %8s %s\n' target runs cov ft corpus found
found_any=0
# One run: NAME TARGET SEEDS [FILTER]
fuzz() {
  local name=$1 target=$2 seeds=$3 filter=${4:-}
  local corpus="$build/corpus/$name" log="$build/logs/$name.log"
  mkdir -p "$corpus"
  cp -n "$seeds"/* "$corpus"/ 2> /dev/null || true
  local status=0
  BF_FUZZ_FILTER="$filter" "$bin/$target" -max_total_time="$share" -print_final_stats=1 -timeout=30 \
    -rss_limit_mb=4096 -artifact_prefix="$build/findings/$name-" "$corpus" > "$log" 2>&1 || status=$?
  local last
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  local executed cov ft
  executed=$(grep -oP 'stat::number_of_executed_units:\s*\K[0-9]+' "$log" || echo '?')
  cov=$(grep -oP 'cov: \K[0-9]+' <<< "$last" || echo '?')
  ft=$(grep -oP 'ft: \K[0-9]+' <<< "$last" || echo '?')
  local found=no
  if ((status != 0)); then
    found="yes: see $log"
    found_any=1
  fi
  printf '%-42s %10s %8s %8s %8s %s\n' "$name" "$executed" "$cov" "$ft" "$(ls "$corpus" | wc -l)" "$found"
}

fuzz param-text fuzz_param_text "$root/fuzz/corpus/param-text"
fuzz recipe fuzz_recipe "$root/fuzz/corpus/recipe"
fuzz picture-file fuzz_picture_file "$root/fuzz/corpus/picture-file"
for filter in "${filters[@]}"; do
  fuzz "apply-$(tr 'A-Z ' 'a-z-' <<< "$filter")" fuzz_filter_apply "$root/fuzz/corpus/filter-apply" "$filter"
done
exit "$found_any"
