#!/usr/bin/env python3
"""Turns the benchmarks' JSON output into the tables of docs/performance.md
(between its "results" markers) and the throughput plot.

    python3 bench/report.py RESULTS.json [--doc docs/performance.md]
                            [--plot docs/throughput.png]

The medians of the repetitions are used; the spread (coefficient of
variation) of the key rows is shown beside them. Without --doc the tables
are printed. The plot needs matplotlib (Debian's python3-matplotlib;
scripts/setup.sh --plot installs it).
"""

import argparse
import json
import re
import sys

BEGIN = "<!-- results:begin (bench/report.py writes this part) -->"
END = "<!-- results:end -->"


def load(path):
    with open(path) as f:
        data = json.load(f)
    medians, spread = {}, {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "aggregate":
            continue
        name = b["run_name"]
        if b["aggregate_name"] == "median":
            medians[name] = b
        elif b["aggregate_name"] == "cv":
            spread[name] = b
    return data.get("context", {}), medians, spread


def cv(spread, name, key):
    b = spread.get(name)
    if not b or key not in b:
        return ""
    return " (±%.0f%%)" % (100 * b[key])


def page_rows(medians, spread):
    sizes = sorted({int(n.split("/")[1]) for n in medians
                    if n.startswith("page_")})
    rows, plot = [], {"sizes": [], "page_parse": [], "page_prepare": [],
                      "page_iconv": [], "page_copy": []}
    for size in sizes:
        bps = {}
        for kind in ("page_parse", "page_prepare", "page_iconv", "page_copy"):
            b = medians.get("%s/%d" % (kind, size))
            bps[kind] = b["bytes_per_second"] / 1e6 if b else float("nan")
        page_bytes = medians["page_parse/%d" % size]["page_bytes"]
        plot["sizes"].append(page_bytes / 1024)
        for kind in bps:
            plot[kind].append(bps[kind])
        # Labelled by the detail page's size; the MB/s count its author
        # pages' bytes as well (page_bytes).
        rows.append("| %.0f KB | %.0f%s | %.0f%s | %.0f%s | %.0f | **%.2f** | %.2f |" % (
            size / 1024,
            bps["page_parse"], cv(spread, "page_parse/%d" % size,
                                  "bytes_per_second"),
            bps["page_prepare"], cv(spread, "page_prepare/%d" % size,
                                    "bytes_per_second"),
            bps["page_iconv"], cv(spread, "page_iconv/%d" % size,
                                  "bytes_per_second"),
            bps["page_copy"],
            bps["page_parse"] / bps["page_iconv"],
            bps["page_prepare"] / bps["page_iconv"]))
    table = [
        "| Detail page | Prepare + parse, MB/s | Prepare only, MB/s | iconv UTF-8 → CP932, MB/s | Copy, MB/s | Parse / iconv (goal ≥ 1.0) | Prepare / iconv |",
        "|---:|---:|---:|---:|---:|---:|---:|",
    ] + rows
    return table, plot


def run_key(name):
    m = re.match(r"(\w+)/codes:(\d+)/lines:(\d+)", name)
    return m.group(1), int(m.group(2)), int(m.group(3))


def run_rows(medians, spread):
    runs = {}
    for name, b in medians.items():
        if not re.match(r"(run|floor|host)/", name):
            continue
        kind, codes, lines = run_key(name)
        runs.setdefault((codes, lines), {})[kind] = b
        runs[(codes, lines)][kind + "_name"] = name
    table = [
        "| Codes | AuthDB lines | Run, µs/code | Host's writes, µs/code | Plug-in (run − host), µs/code | Floor, µs/code | Plug-in / floor (goal ≤ 1.2) | Run / (floor + host) | Peak heap, MB | Heap goal, MB | Peak / goal (goal ≤ 1.0) |",
        "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|",
    ]
    for (codes, lines) in sorted(runs, key=lambda k: (k[1], k[0])):
        r = runs[(codes, lines)]
        if not all(k in r for k in ("run", "floor", "host")):
            continue
        run = r["run"]["per_code"] * 1e6
        floor = r["floor"]["per_code"] * 1e6
        host = r["host"]["per_code"] * 1e6
        own = run - host
        table.append(
            "| %d | %d | %.0f%s | %.0f | %.0f | %.0f%s | **%.2f** | %.2f | %.2f | %.2f | **%.2f** |" % (
                codes, lines, run, cv(spread, r["run_name"], "per_code"),
                host, own, floor, cv(spread, r["floor_name"], "per_code"),
                own / floor, run / (floor + host),
                r["run"]["peak_heap"] / 1e6, r["run"]["heap_goal"] / 1e6,
                r["run"]["peak_heap"] / r["run"]["heap_goal"]))
    return table


def plot_throughput(plot, path):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    fig, ax = plt.subplots(figsize=(7.5, 4.5), dpi=110)
    styles = [("page_copy", "plain copy (memcpy)", "0.6", ":"),
              ("page_prepare", "PreparePageText", "tab:green", "-"),
              ("page_parse", "PreparePageText + ParseDetailPage", "tab:blue",
               "-"),
              ("page_iconv", "glibc iconv UTF-8 → CP932", "tab:red", "--")]
    for key, label, color, line in styles:
        ax.plot(plot["sizes"], plot[key], marker="o", color=color,
                linestyle=line, label=label)
    ax.set_xscale("log")
    ax.set_yscale("log")
    ax.set_xticks(plot["sizes"])
    ax.set_xticklabels(["%.0f" % s for s in plot["sizes"]])
    ax.set_xlabel("detail page size (KB)")
    ax.set_ylabel("throughput (MB/s of page bytes, log scale)")
    ax.set_title("Detail page throughput (medians of the repetitions)")
    ax.grid(True, which="both", alpha=0.3)
    ax.legend(loc="center right", fontsize="small")
    fig.tight_layout()
    fig.savefig(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("results")
    parser.add_argument("--doc")
    parser.add_argument("--plot")
    args = parser.parse_args()
    context, medians, spread = load(args.results)
    pages, plot = page_rows(medians, spread)
    runs = run_rows(medians, spread)
    machine = "%s CPUs at %.0f MHz, load average %s when the run began; %s" % (
        context.get("num_cpus", "?"), context.get("mhz_per_cpu", 0),
        ", ".join("%.1f" % l for l in context.get("load_avg", [])),
        context.get("date", ""))
    text = [BEGIN, "", "Measured: " + machine + ".", "",
            "### Page throughput", ""] + pages + \
        ["", "### Run cost, scaling and peak memory", ""] + runs + ["", END]
    if args.doc:
        with open(args.doc) as f:
            doc = f.read()
        start, end = doc.index(BEGIN), doc.index(END) + len(END)
        with open(args.doc, "w") as f:
            f.write(doc[:start] + "\n".join(text) + doc[end:])
    else:
        print("\n".join(text))
    if args.plot:
        plot_throughput(plot, args.plot)


if __name__ == "__main__":
    sys.exit(main())
