#!/usr/bin/env python3
"""Turns Google Benchmark JSON of one or more runs (with repetitions), and the
instruction counts of bench/count_instructions.sh, into a Markdown table of medians."""
import json
import sys

# The engine against PCRE2's interpreter: at most this share of its time, and
# of its instructions.
TARGET_VS_PCRE2 = 0.85
TARGET_INSTRUCTIONS = 0.8

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


def read_run(path):
    """The medians of one run: per short row and implementation (ns), and per
    long row and implementation (ms, where the match starts, how it ended)."""
    with open(path) as f:
        data = json.load(f)
    medians, order, long_medians, long_order = {}, [], {}, []
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
    return data.get("context", {}), repetitions, medians, order, long_medians, long_order


def read_instructions(path):
    """Per row: (engine, PCRE2) instructions per line, from the output of
    bench/count_instructions.sh."""
    counts = {}
    with open(path) as f:
        for line in f:
            fields = line.split()
            if len(fields) == 5 and fields[0] != "row":
                counts[fields[0]] = (float(fields[2]), float(fields[3]))
    return counts


def median(values):
    values = sorted(values)
    n = len(values)
    return values[n // 2] if n % 2 else (values[n // 2 - 1] + values[n // 2]) / 2


def main(paths, measured_at=None, instructions=None):
    runs = [read_run(path) for path in paths]
    ctx, repetitions, _, order, long_medians, long_order = runs[0]
    counts = read_instructions(instructions) if instructions else {}
    print("# Pattern engine benchmark\n")
    print("Medians of %s repetitions (run interleaved in random order) in each of %d runs, CPU time per iteration "
          "(one iteration runs every input line of the row), host %s, %s CPUs at %s MHz, build type Release. "
          "Each time is the median of the runs' medians; the ratio engine / PCRE2 is the median of the runs' "
          "ratios, with the lowest and highest in brackets.\n"
          % (repetitions, len(runs), ctx.get("host_name", "?"),
             ctx.get("num_cpus", "?"), ctx.get("mhz_per_cpu", "?")))
    if measured_at:
        print("Measured at %s.\n" % measured_at)
    print("| pattern | engine (ns) | std::regex (ns) | PCRE2 interpreter (ns) | engine / std::regex "
          "| engine / PCRE2 (time) | engine / PCRE2 (instructions) | target met |")
    print("|---|---:|---:|---:|---:|---:|---:|:---:|")
    slower = []
    for row in order:
        per_run = [run[2][row] for run in runs if row in run[2]]
        e = median([m["engine"] for m in per_run])
        s = median([m["std_regex"] for m in per_run])
        p = median([m["pcre2"] for m in per_run])
        ratios = [m["engine"] / m["pcre2"] for m in per_run]
        rp = median(ratios)
        rs = e / s
        met = rs < 1.0 and rp <= TARGET_VS_PCRE2
        if rp >= 1.0:
            slower.append(row)
        spread = " (%.2f-%.2f)" % (min(ratios), max(ratios)) if len(ratios) > 1 else ""
        if row in counts:
            ie, ip = counts[row]
            instr = "%.0f / %.0f = %.2f" % (ie, ip, ie / ip)
            met = met and ie / ip <= TARGET_INSTRUCTIONS
        else:
            instr = "not counted"
        ok = "yes" if met else "no"
        print("| %s | %.0f | %.0f | %.0f | %.2f | %.2f%s | %s | %s |" % (row, e, s, p, rs, rp, spread, instr, ok))
    print("\nTarget: faster than std::regex (ratio below 1), and against PCRE2's interpreter at most %.2f of "
          "its time and %.2f of its instructions." % (TARGET_VS_PCRE2, TARGET_INSTRUCTIONS))
    print("Rows slower than PCRE2's interpreter (median time ratio 1 or above): %s." % (", ".join(slower) or "none"))
    if counts:
        print("\nInstructions: per input line, engine / PCRE2, counted with valgrind's callgrind by "
              "`bench/count_instructions.sh` (each row's sequence run 200 times after one uncounted run).")
    print(NOTES)
    if long_order:
        print("## Long texts\n")
        print("Medians of 3 repetitions, CPU time of one operation (the first run).\n")
        print("| search | engine (ms) | engine answer | PCRE2 interpreter (ms) | PCRE2 answer |")
        print("|---|---:|---|---:|---|")
        for row in long_order:
            e, p = long_medians[row].get("engine"), long_medians[row].get("pcre2")
            print("| `%s` | %.2f | %s | %.2f | %s |" % (row.replace("|", "\\|"), e["ms"], answer(e), p["ms"], answer(p)))
        print(LONG_NOTES)


if __name__ == "__main__":
    # make_table.py [--measured-at TEXT] [--instructions FILE] RUN.json...
    args = sys.argv[1:]
    options = {}
    while args and args[0] in ("--measured-at", "--instructions"):
        options[args[0]] = args[1]
        args = args[2:]
    main(args, options.get("--measured-at"), options.get("--instructions"))
