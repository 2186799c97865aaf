#!/usr/bin/env bash
# Builds the benchmark (release build), runs it with repetitions and writes
# the table of medians to bench/RESULTS.md.
# Usage: bash bench/run.sh [build-dir]   (default: build-bench in the tree)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench}

cmake -S "$root" -B "$build" -DFCHBA_BENCH=ON -DFCHBA_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target regex_bench -j4
"$build/bench/regex_bench" --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.2 --benchmark_enable_random_interleaving=true --benchmark_out="$build/regex_bench.json" --benchmark_out_format=json
pcre2=$(pkg-config --modversion libpcre2-8 2>/dev/null || echo "?")
commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo "?")
python3 "$root/bench/make_table.py" "$build/regex_bench.json" \
  "commit $commit, PCRE2 $pcre2, $(c++ --version | head -1)" > "$root/bench/RESULTS.md"
cat "$root/bench/RESULTS.md"
