#!/usr/bin/env bash
# Counts the instructions (valgrind's callgrind) that the engine's per-line
# call sequence of each benchmark row executes: each row runs N times
# (default 1000) through `regex_bench --calls=ROW:N`, and only that loop is
# counted. Prints the row, the lines run and the instructions per line.
# Usage: bash bench/count_instructions.sh [build-dir] [N]   (default: build-bench)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-bench}
times=${2:-1000}
bench=$build/bench/regex_bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Input lines per row, as bench/regex_bench.cpp defines them.
declare -A lines=([dazudu_line]=5 [release_rhel4]=3 [release_rhel5]=3 [release_rhel6]=3
  [release_sles10]=2 [release_sles11]=2 [version_part_digits]=12 [zelvok_instance]=5
  [zelvok_flash_image]=5 [zelvok_port_name]=5 [marqeth_version]=3 [marqeth_kernel]=3)
rows=(dazudu_line release_rhel4 release_rhel5 release_rhel6 release_sles10 release_sles11
  version_part_digits zelvok_instance zelvok_flash_image zelvok_port_name marqeth_version
  marqeth_kernel)

printf '%-22s %8s %14s %12s\n' row lines instructions per-line
for row in "${rows[@]}"; do
  valgrind --tool=callgrind --callgrind-out-file="$out/$row" '--toggle-collect=*CountedCalls*' \
    "$bench" "--calls=$row:$times" > /dev/null 2>&1
  total=$(callgrind_annotate "$out/$row" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
  n=$((times * ${lines[$row]}))
  printf '%-22s %8d %14d %12.0f\n' "$row" "$n" "$total" "$(echo "$total / $n" | bc -l)"
done
