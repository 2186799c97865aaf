# Reads one ctest JUnit file (ctest --output-junit) and prints the stage's
# summary lines (scripts/test_summary.sh): "<name>: N passed, N failed,
# N skipped", then the failed tests, then each distinct reason for a skip
# once, with how many tests gave it. A GoogleTest skip's reason is the text
# between "<file>:<line>: Skipped" and "[  SKIPPED ]" in the test's output.
#
#   awk -v name=<stage> -f scripts/junit_summary.awk <junit file>
function unescape(s) {
  gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s); gsub(/&quot;/, "\"", s)
  gsub(/&apos;/, "'", s); gsub(/&amp;/, "\\&", s)
  return s
}
function attribute(line, key,    rest) {
  if (!match(line, " " key "=\"[^\"]*\"")) return ""
  rest = substr(line, RSTART + length(key) + 3, RLENGTH - length(key) - 4)
  return unescape(rest)
}
# The reason a GoogleTest skip gives: the lines after "...: Skipped" up to the
# "[  SKIPPED ]" line, joined by blanks.
function skip_reason(output,    lines, n, i, reason, taking) {
  n = split(output, lines, "\n")
  taking = 0
  reason = ""
  for (i = 1; i <= n; i++) {
    if (taking) {
      if (lines[i] ~ /^\[  SKIPPED \]/) break
      if (lines[i] != "") reason = reason (reason == "" ? "" : " ") lines[i]
    } else if (lines[i] ~ /: Skipped$/) {
      taking = 1
    }
  }
  return reason
}
function finish(    reason) {
  if (status == "run") {
    passed++
  } else if (status == "disabled") {
    disabled++
  } else if (status == "notrun" && skipped_message ~ /^SKIP_/) {
    skipped++
    reason = skip_reason(output)
    if (reason == "") reason = "no reason given (" skipped_message ")"
    if (!(reason in reasons)) order[++reason_count] = reason
    reasons[reason]++
  } else {
    failed++
    # A test that could not start (a missing executable) is a failure too.
    failed_names[++failed_count] = status == "notrun" ? test " (not run: " skipped_message ")" : test
  }
}
BEGIN { passed = failed = skipped = disabled = reason_count = failed_count = 0; in_output = 0 }
in_output {
  if (index($0, "</system-out>")) {
    output = output unescape(substr($0, 1, index($0, "</system-out>") - 1))
    in_output = 0
  } else {
    output = output unescape($0) "\n"
  }
  next
}
/<testcase / {
  test = attribute($0, "name"); status = attribute($0, "status")
  skipped_message = ""; output = ""
}
/<skipped / { skipped_message = attribute($0, "message") }
/<system-out>/ {
  rest = substr($0, index($0, "<system-out>") + length("<system-out>"))
  if (index(rest, "</system-out>")) {
    output = unescape(substr(rest, 1, index(rest, "</system-out>") - 1))
  } else {
    output = unescape(rest) "\n"
    in_output = 1
  }
}
/<\/testcase>/ { finish() }
END {
  printf "%s: %d passed, %d failed, %d skipped\n", name, passed, failed, skipped
  if (disabled) printf "  %d disabled\n", disabled
  for (i = 1; i <= failed_count && i <= 5; i++) printf "  failed: %s\n", failed_names[i]
  if (failed_count > 5) printf "  failed: %d more (the ctest output above lists them)\n", failed_count - 5
  for (i = 1; i <= reason_count; i++) printf "  skipped %d: %s\n", reasons[order[i]], order[i]
}
