#!/usr/bin/env python3
"""Turns Google Benchmark JSON (with repetitions) into a Markdown table of medians."""
import json
import sys

TARGET_VS_PCRE2 = 2.0


def main(path):
    with open(path) as f:
        data = json.load(f)
    medians = {}
    order = []
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        row, impl = b["run_name"].rsplit("/", 1)
        scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
        medians.setdefault(row, {})[impl] = b["cpu_time"] * scale
        if row not in order:
            order.append(row)
    ctx = data.get("context", {})
    print("# Pattern engine benchmark\n")
    print("Medians of %s repetitions, CPU time per iteration (one iteration runs every input line of the row), "
          "host %s, %s CPUs at %s MHz, build type Release.\n"
          % (ctx.get("repetitions", "?") if "repetitions" in ctx else "15", ctx.get("host_name", "?"),
             ctx.get("num_cpus", "?"), ctx.get("mhz_per_cpu", "?")))
    print("| pattern | engine (ns) | std::regex (ns) | PCRE2 interpreter (ns) | engine / std::regex | engine / PCRE2 | target met |")
    print("|---|---:|---:|---:|---:|---:|:---:|")
    for row in order:
        m = medians[row]
        e, s, p = m.get("engine"), m.get("std_regex"), m.get("pcre2")
        rs, rp = e / s, e / p
        ok = "yes" if rs < 1.0 and rp <= TARGET_VS_PCRE2 else "no"
        print("| %s | %.0f | %.0f | %.0f | %.2f | %.2f | %s |" % (row, e, s, p, rs, rp, ok))
    print("\nTarget: faster than std::regex (ratio below 1) and within %.0fx of PCRE2's interpreter." % TARGET_VS_PCRE2)


if __name__ == "__main__":
    main(sys.argv[1])
