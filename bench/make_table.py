#!/usr/bin/env python3
"""Turns Google Benchmark JSON (with repetitions) into a Markdown table of medians."""
import json
import sys

TARGET_VS_PCRE2 = 2.0

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


def main(path, measured_at=None):
    with open(path) as f:
        data = json.load(f)
    medians = {}
    order = []
    repetitions = "?"
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        repetitions = b.get("repetitions", repetitions)
        row, impl = b["run_name"].rsplit("/", 1)
        scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
        medians.setdefault(row, {})[impl] = b["cpu_time"] * scale
        if row not in order:
            order.append(row)
    ctx = data.get("context", {})
    print("# Pattern engine benchmark\n")
    print("Medians of %s repetitions, CPU time per iteration (one iteration runs every input line of the row), "
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
    print("\nTarget: faster than std::regex (ratio below 1) and within %.0fx of PCRE2's interpreter." % TARGET_VS_PCRE2)
    print(NOTES)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None)
