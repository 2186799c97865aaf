#!/usr/bin/env bash
# Builds and runs every test: first the suites in build/, then the same suites
# under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/. Any
# missing prerequisite is installed first (scripts/prerequisites.sh). Works as
# root and as a normal user: the end-to-end tests then run inside a user
# namespace, and skip saying why where the machine allows neither.
#
# Each build compiles with, and each suite runs, as many jobs as the machine
# has cores; the tests that assert how long a run takes run alone at the end
# of their suite (fchba_run_alone in the CMake files).
#
#   ./test.sh                   both suites
#   FCHBA_JOBS=4 ./test.sh      fewer parallel jobs (default: nproc)
#   FCHBA_WERROR=ON ./test.sh   compiler warnings are errors (CI sets this)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
jobs=${FCHBA_JOBS:-$(nproc)}
werror=${FCHBA_WERROR:-OFF}

"$root/scripts/prerequisites.sh" all

suite() {
  local title=$1 dir=$root/$2
  shift 2
  echo "== $title"
  cmake -S "$root" -B "$dir" -DFCHBA_WERROR="$werror" "$@"
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" -j"$jobs" --output-on-failure --no-tests=error
}

suite "tests" build
suite "tests under AddressSanitizer and UndefinedBehaviorSanitizer" build-asan -DFCHBA_SANITIZE=ON
echo "== every test passed, plain and under the sanitizers"
