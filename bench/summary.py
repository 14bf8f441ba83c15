"""Prints the benchmark figures side by side with their floors, as ratios, in Markdown.

Usage: summary.py CORE.json WINDOW.json STARTUP.txt GRID.json
CORE, WINDOW and GRID are Google Benchmark JSON outputs (with repetitions; medians are used);
STARTUP has lines "kind microseconds peak-kilobytes" from startupprobe runs.
"""
import json
import statistics
import sys


def medians(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    times = {}
    for run in runs:
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") != "median":
            continue
        if run.get("error_occurred"):  # skipped: its figure is missing, not zero
            continue
        name = run.get("run_name", run["name"])
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[run["time_unit"]]
        times.setdefault(name, []).append(run["real_time"] * scale)
    return {name: statistics.median(values) for name, values in times.items()}


def counters(path, name, counter):
    """The values of a user counter over the repetitions of one benchmark."""
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    return [run[counter] for run in runs
            if run.get("run_type") == "iteration" and run.get("run_name", run["name"]) == name]


def startup(path):
    times, peaks = {}, {}
    with open(path) as f:
        for line in f:
            kind, us, kb = line.split()
            times.setdefault(kind, []).append(int(us) / 1000)
            peaks[kind] = max(peaks.get(kind, 0), int(kb) / 1024)
    return {k: statistics.median(v) for k, v in times.items()}, peaks


def main():
    core, window = medians(sys.argv[1]), medians(sys.argv[2])
    start, peak = startup(sys.argv[3])
    rows = []

    def ratio(name, value, floor_name, floor, goal, unit="us"):
        rows.append((name, f"{value:.1f} {unit}", f"{floor_name} {floor:.1f} {unit}",
                     f"{value / floor:.2f} x", goal))

    for size in ("70/151", "255/255"):
        label = size.replace("/", " x ")
        ratio(f"load {label}", core[f"BM_Load/{size}"], "plain read",
              core[f"BM_PlainRead/{size}"], "3 x at 255 x 255")
        ratio("  the same with no progress reports", core[f"BM_LoadWithoutProgress/{size}"],
              "plain read", core[f"BM_PlainRead/{size}"], "")
        rows.append((f"  progress reports alone (bar and pumps)",
                     f"{core[f'BM_PumpCallsOnly/{size}']:.1f} us", "", "", ""))
        ratio(f"save {label}", core[f"BM_Save/{size}"], "plain write",
              core[f"BM_PlainWrite/{size}"], "3 x at 255 x 255")
    ratio("save 255 x 255 through a new file, flushed", core["BM_Save/255/255"],
          "in-place write", core["BM_SaveInPlace/255/255"], "1.5 x")
    ratio("  the same without the flush", core["BM_SaveWithoutFlush/255/255"],
          "in-place write", core["BM_SaveInPlace/255/255"], "")
    ratio("line up and compare two 255 x 255 files", core["BM_CompareFiles"] / 1000,
          "plain read of both", core["BM_PlainReadCompared/2"] / 1000, "under 10 ms", "ms")
    ratio("three-way merge of three 255 x 255 files", core["BM_MergeFiles"] / 1000,
          "plain read of the three", core["BM_PlainReadCompared/3"] / 1000, "under 30 ms", "ms")
    for number, name in enumerate(("CSV", "TSV", "XLSX")):
        goal = "under 300 ms" if name == "XLSX" else "under 100 ms"
        for step in ("Export", "Import"):
            value, read = core[f"BM_{step}Table/{number}"], core["BM_PlainRead/255/255"]
            rows.append((f"{step.lower()} 255 x 255 as {name}", f"{value / 1000:.1f} ms",
                         f"plain read {read:.1f} us", f"{value / read:.0f} x", goal))
    rows.append(("relabel entry tree, 151 entries", f"{window['BM_RelabelAfterTilesetClick']:.1f} us",
                 "", "", "under 500 us"))
    ratio("open 255 x 255 through the window", window["BM_OpenThroughWindow"] / 1000,
          "65,025 processEvents()", window["BM_EventPumpFloor"] / 1000, "0.15 x", "ms")
    # Each repetition keeps its longest stretch; a run that the system preempted shows in the worst.
    stretches = counters(sys.argv[2], "BM_OpenThroughWindow", "longest_stretch_ms")
    rows.append(("  longest stretch without events", f"{statistics.median(stretches):.1f} ms",
                 "", f"worst {max(stretches):.1f} ms", "under 20 ms"))
    ratio("save 255 x 255 through the window", window["BM_SaveThroughWindow"],
          "core save", core["BM_Save/255/255"], "2 x")
    ratio("open a comparison of 255 x 255 in the window", window["BM_OpenComparison"] / 1000,
          "plain read of the file", window["BM_PlainReadComparedFile"] / 1000, "under 50 ms", "ms")
    for op in ("Insert", "Delete"):
        rows.append((f"{op.lower()} tileset, 255 x 255", f"{window[f'BM_{op}Tileset'] / 1000:.2f} ms",
                     "", "", "under 20 ms"))
    scan = window["BM_PlainScanFloor"] / 1000
    ratio("find all, 1 % of 65,280 fields match, results listed",
          window["BM_FindAllOnePercent"] / 1000, "plain scan", scan, "under 20 ms", "ms")
    ratio("replace all, 65,025 entries", window["BM_ReplaceAllEntries"] / 1000, "plain scan",
          scan, "under 100 ms", "ms")
    for step in ("Delete", "Import"):
        rows.append((f"undo or redo of a {step.lower()}, 255 x 255 (events included)",
                     f"{window[f'BM_UndoRedo{step}'] / 2000:.2f} ms", "", "", "under 5 ms"))
    for op, label in (("Rename", "rename"), ("EditEntry", "entry edit"), ("Delete", "delete")):
        ratio(f"{label} with the recovery copy, 255 x 255 (events included)",
              window[f"BM_{op}Recovery/1/min_time:3.000"] / 1000, "without",
              window[f"BM_{op}Recovery/0/min_time:3.000"] / 1000, "1.1 x", "ms")
    grown = counters(sys.argv[2], "BM_HistoryMemory/iterations:1", "grown_MB")
    rows.append(("memory after 1,000 edits and 50 deletes", f"+{statistics.median(grown):.1f} MB",
                 "the file just opened", "", "under +25 MB"))
    ratio("start-up to first window", start["editor"], "bare Qt window", start["bare"],
          "1.25 x", "ms")
    rows.append(("peak memory, 255 x 255 open", f"{peak['editor-255x255']:.1f} MB",
                 f"bare Qt window {peak['bare']:.1f} MB",
                 f"+{peak['editor-255x255'] - peak['bare']:.1f} MB", "under +20 MB"))

    grid = medians(sys.argv[4])
    ratio("open the grid of 255 x 255, first screen painted", grid["BM_GridFirstScreen"] / 1000,
          "bare QTableView, 255 x 256", grid["BM_BareTableFirstScreen"] / 1000,
          "1.5 x, under 50 ms", "ms")
    ratio("scroll the grid one screen", grid["BM_GridScroll"] / 1000, "bare QTableView",
          grid["BM_BareTableScroll"] / 1000, "1.5 x", "ms")
    for name, label, goal in (
            ("BM_CopyAllFields", "copy all 65,280 fields", "under 50 ms"),
            ("BM_PasteAllFields/0", "paste them all back, undo step included", "under 150 ms"),
            ("BM_PasteAllFields/1", "  the same from a spreadsheet's text", "")):
        rows.append((label, f"{grid[name] / 1000:.1f} ms", "", "", goal))
    rows.append(("undo or redo of that paste (events included)",
                 f"{grid['BM_UndoRedoPasteAll'] / 2000:.1f} ms", "", "", "under 20 ms"))
    rows.append(("one cell edit (events included)", f"{grid['BM_EditOneCell'] / 1000:.2f} ms",
                 "", "", "under 5 ms"))
    opened = counters(sys.argv[4], "BM_GridMemory/iterations:1", "grown_MB")
    rows.append(("memory with the grid open, 255 x 255", f"+{statistics.median(opened):.1f} MB",
                 "the file open without it", "", "under +10 MB"))

    print("| figure | measured | floor | ratio | goal |")
    print("|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
