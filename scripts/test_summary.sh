# shellcheck shell=bash
# The closing summary of ./test.sh, scripts/e2e-as-user.sh and .ci/run:
# sourced by them. Each stage adds one line, "<stage>: N passed, N failed,
# N skipped" for a ctest run, with each distinct reason for a skip once below
# it, or "<stage>: NOT RUN - why" for a stage that did not run. The outermost
# of those scripts (the one that found no summary open) prints it when it ends,
# whether it passed or failed; the scripts it runs add to the same summary.
#
# ctest shows no output of a test that passed or skipped, so the counts and
# the reasons come from its JUnit file (ctest --output-junit), which holds
# every test's status and output (scripts/junit_summary.awk reads it).
#
#   summary_open             opens a summary unless one is open (FCHBA_SUMMARY_FILE)
#   summary_owned            true in the script that opened it
#   summary_suite NAME FILE  adds the ctest run whose JUnit file is FILE
#   summary_line NAME TEXT   adds "NAME: TEXT"
#   summary_incomplete       true when a stage did not run or a test skipped
#   summary_print            prints the summary (the owner, at its end)

summary_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

summary_open() {
  if [ -n "${FCHBA_SUMMARY_FILE:-}" ] && [ -f "$FCHBA_SUMMARY_FILE" ]; then
    summary_owner=false
    return
  fi
  FCHBA_SUMMARY_FILE=$(mktemp /tmp/fchba-summary-XXXXXX)
  export FCHBA_SUMMARY_FILE
  summary_owner=true
}

summary_owned() { [ "${summary_owner:-false}" = true ]; }

summary_line() {
  printf '%s: %s\n' "$1" "$2" >>"$FCHBA_SUMMARY_FILE"
}

summary_suite() {
  local name=$1 junit=$2
  if [ ! -s "$junit" ]; then
    summary_line "$name" "no results: ctest wrote no JUnit file ($junit)"
    return
  fi
  awk -v name="$name" -f "$summary_dir/junit_summary.awk" "$junit" >>"$FCHBA_SUMMARY_FILE"
}

# A reason that an earlier stage already gave is not written out again.
summary_print() {
  echo "== summary"
  awk '
    /^[^ ]/ { stage = substr($0, 1, index($0, ":") - 1) }
    /^  skipped [0-9]+: / {
      at = index($0, ": ")
      reason = substr($0, at + 2)
      if (reason in first) { print substr($0, 1, at) " the same as under " first[reason]; next }
      first[reason] = stage
    }
    { print }
  ' "$FCHBA_SUMMARY_FILE"
  if summary_owned; then rm -f "$FCHBA_SUMMARY_FILE"; fi
}

# True when a stage did not run or a test skipped.
summary_incomplete() {
  grep -q -e '^[^ ]*: NOT RUN' -e ' [1-9][0-9]* skipped$' "$FCHBA_SUMMARY_FILE"
}
