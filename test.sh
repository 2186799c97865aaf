#!/usr/bin/env bash
# Builds and runs every test: first the suites in build/, then the same suites
# under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (the
# configure presets plain and sanitizers, CMakePresets.json). Any missing
# prerequisite is installed first (scripts/prerequisites.sh). Works as root
# and as a normal user: the end-to-end tests then run inside a user
# namespace, and skip saying why where the machine allows neither.
#
# Each build compiles with, and each suite runs, as many jobs as the machine
# has cores; the tests that assert how long a run takes run alone at the end
# of their suite (fchba_run_alone in the CMake files). It stops at the first
# suite that fails, and ends, passed or failed, with a summary: per suite how
# many tests passed, failed and skipped, and each reason for a skip once
# (scripts/test_summary.sh).
#
#   ./test.sh                   both suites
#   FCHBA_JOBS=4 ./test.sh      fewer parallel jobs (default: nproc)
#   FCHBA_WERROR=ON ./test.sh   compiler warnings are errors (CI sets this)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
jobs=${FCHBA_JOBS:-$(nproc)}
werror=${FCHBA_WERROR:-OFF}

source "$root/scripts/test_summary.sh"
summary_open
finish() {
  local rc=$? incomplete=false
  if summary_incomplete; then incomplete=true; fi
  if summary_owned; then summary_print; fi
  if [ "$rc" -eq 0 ] && "$incomplete"; then
    echo "== no test failed, plain and under the sanitizers; some skipped (see the summary)"
  elif [ "$rc" -eq 0 ]; then
    echo "== every test passed, plain and under the sanitizers"
  fi
  exit "$rc"
}
trap finish EXIT

"$root/scripts/prerequisites.sh" all

# suite <name> <preset> <title>: configures, builds and runs one suite.
suite() {
  local name=$1 preset=$2 title=$3
  local dir=$root/$4 junit=$root/$4/test-results.xml rc=0
  echo "== $title"
  (cd "$root" && cmake --preset "$preset" -DFCHBA_WERROR="$werror" &&
    cmake --build --preset "$preset" -j"$jobs") || {
    summary_line "$name" "NOT RUN - the configure or the build failed (above)"
    exit 1
  }
  rm -f "$junit"
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure --no-tests=error \
    --output-junit "$junit" || rc=$?
  summary_suite "$name" "$junit"
  if [ "$rc" -ne 0 ]; then
    summary_line "stopped" "$name failed, so the suites after it did not run"
    exit "$rc"
  fi
}

suite plain plain "tests" build
suite sanitizers sanitizers "tests under AddressSanitizer and UndefinedBehaviorSanitizer" build-asan
