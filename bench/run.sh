#!/usr/bin/env bash
# Builds the benchmark (release build), runs it with repetitions and writes
# the table of medians to bench/RESULTS.md. The rows of the program's own
# patterns run RUNS times (default 3; the table gives the median of the runs'
# medians), the long texts once. Where valgrind is installed, the table also
# gives each row's instructions per line, engine and PCRE2
# (bench/count_instructions.sh), which do not move with the machine's load.
# Usage: bash bench/run.sh [build-dir] [runs]   (default: build-bench in the tree, 3)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench}
runs=${2:-3}

cmake -S "$root" -B "$build" -DFCHBA_BENCH=ON -DFCHBA_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target regex_bench -j4
jsons=()
for ((run = 1; run <= runs; ++run)); do
  filter=()
  if [ "$run" -gt 1 ]; then filter=(--benchmark_filter=-^long/); fi
  "$build/bench/regex_bench" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.2 --benchmark_enable_random_interleaving=true "${filter[@]}" \
    --benchmark_out="$build/regex_bench.$run.json" --benchmark_out_format=json
  jsons+=("$build/regex_bench.$run.json")
done
counts=()
if command -v valgrind > /dev/null && command -v callgrind_annotate > /dev/null; then
  bash "$root/bench/count_instructions.sh" "$build" 200 > "$build/instructions.txt"
  counts=(--instructions "$build/instructions.txt")
else
  echo "run.sh: valgrind is not installed (Debian package valgrind): no instruction counts" >&2
fi
pcre2=$(pkg-config --modversion libpcre2-8 2>/dev/null || echo "?")
commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo "?")
python3 "$root/bench/make_table.py" --measured-at \
  "commit $commit, PCRE2 $pcre2, $(c++ --version | head -1)" "${counts[@]}" "${jsons[@]}" \
  > "$root/bench/RESULTS.md"
cat "$root/bench/RESULTS.md"
