#!/usr/bin/env bash
# Builds the libFuzzer target with clang and replays the committed corpus
# (no new fuzzing). Exits non-zero when any corpus input crashes.
# Usage: bash fuzz/ci-replay.sh [build-dir]   (default: build-fuzz in the tree)
# FCHBA_JOBS sets the compile jobs (default nproc); FCHBA_WERROR=ON makes
# warnings errors.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-fuzz}

cmake -S "$root" -B "$build" \
  -DFCHBA_FUZZ=ON -DFCHBA_TESTS=OFF -DFCHBA_WERROR="${FCHBA_WERROR:-OFF}" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target regex_fuzz -j"${FCHBA_JOBS:-$(nproc)}"

shopt -s nullglob
inputs=("$root"/fuzz/corpus/*)
if [ ${#inputs[@]} -eq 0 ]; then
  echo "ci-replay: no corpus files in $root/fuzz/corpus" >&2
  exit 1
fi
# Given files (not directories), libFuzzer runs each once and stops at the
# first crash with a non-zero status. Syntax-error reports of the engine on
# standard error are expected output of some inputs.
"$build/fuzz/regex_fuzz" -timeout=30 "${inputs[@]}"
echo "ci-replay: ${#inputs[@]} corpus inputs replayed without a crash"
