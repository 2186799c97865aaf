#!/usr/bin/env bash
# Counts the instructions (valgrind's callgrind) that each benchmark row's
# per-line call sequence executes, for the engine and for the PCRE2
# interpreter on the same inputs: each row runs N times (default 1000)
# through `regex_bench --calls=ROW:N` and `--calls=ROW:N:pcre2`, after one
# uncounted run, and only that loop is counted (start-up and one-time set-up
# stay out). Prints per row the lines run, the instructions per line of each
# and the ratio engine / PCRE2. Counts do not move with the machine's load.
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

# count ROW IMPL: the instructions of the counted loop.
count() {
  local file=$out/$1.$2
  valgrind --tool=callgrind --callgrind-out-file="$file" '--toggle-collect=*CountedCalls*' \
    "$bench" "--calls=$1:$times:$2" > /dev/null 2>&1
  callgrind_annotate "$file" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}'
}

printf '%-22s %8s %14s %14s %8s\n' row lines engine/line pcre2/line ratio
for row in "${rows[@]}"; do
  n=$((times * ${lines[$row]}))
  engine=$(count "$row" engine)
  pcre2=$(count "$row" pcre2)
  printf '%-22s %8d %14.0f %14.0f %8.3f\n' "$row" "$n" "$(echo "$engine / $n" | bc -l)" \
    "$(echo "$pcre2 / $n" | bc -l)" "$(echo "$engine / $pcre2" | bc -l)"
done
