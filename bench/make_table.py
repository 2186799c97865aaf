#!/usr/bin/env python3
"""Turns Google Benchmark JSON (with repetitions) into a Markdown table of medians."""
import json
import sys

TARGET_VS_PCRE2 = 1.25

NOTES = """
What one iteration does, for each implementation, on every input of the row:

- engine: the program's own call sequence. Line patterns (Dazudu, Zelvok, Marqeth):
  `Compile` with flags 4, `CreateMatcher`, `Matches`, then `GetGroups(false)` (narrow) or
  `GetGroup(1)` (wide) on a match, then delete matcher and pattern. Release patterns:
  `Pattern::MatchesStatic` with flags 12. Version parts: `UPattern::MatchesStatic("\\d+")`.
- std::regex: construct `std::regex`/`std::wregex` (ECMAScript), `regex_match`, copy the groups.
  ECMAScript has no dot-matches-all mode, so each `.` outside brackets is given as `[\\s\\S]`.
- PCRE2: `pcre2_compile` (8-bit, or 32-bit for the wide rows; DOTALL for flag 4, MULTILINE
  for 8), match data from the pattern, `pcre2_match` with ANCHORED|ENDANCHORED (interpreter,
  no JIT), copy the groups, free both.

Inputs: the Dazudu row runs a five-line query output (banner, three adapter lines, an empty
line); the release rows run the three Red Hat or the two SUSE release texts; the Zelvok rows
run one five-line instance block (each pattern is tried on every line, as the program does);
the version row runs twelve version parts; the Marqeth rows run three texts each. Before the
timings the benchmark checks that all three implementations give the same answer and group 1
on every input; it prints DISAGREEMENT otherwise (none was printed).
"""


LONG_NOTES = """
Each long row runs one operation on one text: `Compile`, `CreateMatcher`, then `FindFirstMatch`
(or `Matches` where the row says whole), against `pcre2_compile` and one `pcre2_match`
(unanchored, or ANCHORED|ENDANCHORED for whole; interpreter, no JIT, PCRE2's default match
limit; LITERAL and DOTALL as the flags say). Rows marked wide run the wide copy and PCRE2's
32-bit library. "at" is where the match starts. PCRE2 finds some
of these at once through its own start-of-match analysis (a required character that the text
lacks); on others it runs out of its match limit or refuses the pattern.
"""

OUTCOMES = {0: "", 1: "step bound reached", 2: "match limit reached", 3: "pattern too large",
            4: "count too large"}


def answer(m):
    outcome = OUTCOMES.get(int(round(m["outcome"])), "?")
    if outcome:
        return outcome
    return "no match" if m["at"] < 0 else "match at %d" % m["at"]


def main(path, measured_at=None):
    with open(path) as f:
        data = json.load(f)
    medians = {}
    order = []
    long_medians = {}
    long_order = []
    repetitions = "?"
    # Repetitions run interleaved in random order; the rows keep the order in
    # which the benchmark registers them.
    benchmarks = sorted(data["benchmarks"], key=lambda b: b.get("family_index", 0))
    for b in benchmarks:
        if b.get("aggregate_name") != "median":
            continue
        parts = b["run_name"].split("/")
        while parts and ":" in parts[-1]:  # settings such as min_time:0.050
            parts.pop()
        row, impl = "/".join(parts[:-1]), parts[-1]
        scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
        if row.startswith("long/"):
            row = row[len("long/"):]
            long_medians.setdefault(row, {})[impl] = {
                "ms": b["cpu_time"] * scale / 1e6, "at": b.get("at", -1), "outcome": b.get("outcome", 0)}
            if row not in long_order:
                long_order.append(row)
            continue
        repetitions = b.get("repetitions", repetitions)
        medians.setdefault(row, {})[impl] = b["cpu_time"] * scale
        if row not in order:
            order.append(row)
    ctx = data.get("context", {})
    print("# Pattern engine benchmark\n")
    print("Medians of %s repetitions (run interleaved in random order), CPU time per iteration (one iteration runs every input line of the row), "
          "host %s, %s CPUs at %s MHz, build type Release.\n"
          % (repetitions, ctx.get("host_name", "?"),
             ctx.get("num_cpus", "?"), ctx.get("mhz_per_cpu", "?")))
    if measured_at:
        print("Measured at %s.\n" % measured_at)
    print("| pattern | engine (ns) | std::regex (ns) | PCRE2 interpreter (ns) | engine / std::regex | engine / PCRE2 | target met |")
    print("|---|---:|---:|---:|---:|---:|:---:|")
    for row in order:
        m = medians[row]
        e, s, p = m.get("engine"), m.get("std_regex"), m.get("pcre2")
        rs, rp = e / s, e / p
        ok = "yes" if rs < 1.0 and rp <= TARGET_VS_PCRE2 else "no"
        print("| %s | %.0f | %.0f | %.0f | %.2f | %.2f | %s |" % (row, e, s, p, rs, rp, ok))
    print("\nTarget: faster than std::regex (ratio below 1) and within %.2fx of PCRE2's interpreter." % TARGET_VS_PCRE2)
    print(NOTES)
    if long_order:
        print("## Long texts\n")
        print("Medians of 3 repetitions, CPU time of one operation.\n")
        print("| search | engine (ms) | engine answer | PCRE2 interpreter (ms) | PCRE2 answer |")
        print("|---|---:|---|---:|---|")
        for row in long_order:
            e, p = long_medians[row].get("engine"), long_medians[row].get("pcre2")
            print("| `%s` | %.2f | %s | %.2f | %s |" % (row.replace("|", "\\|"), e["ms"], answer(e), p["ms"], answer(p)))
        print(LONG_NOTES)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None)
