#!/usr/bin/python3
"""Runs every benchmark of Skerry and its peer in one run on this machine and prints one table:
each figure, its peer, the ratio and the target. Exits with status 1 when a target is missed.

Usage: bench/run-all.py [--build FOLDER] [--repetitions N] [--keep] [--batch-only]

Needs Debian's Python 3 with python3-numpy and python3-matplotlib, and the programs of the
bench preset (cmake --preset bench). Every timing is repeated and the median is taken, so that
a busy moment of a shared machine does not decide a figure. The in-process figures and their
peers are CPU times of the measuring process, so that other programs on the machine do not
count; start-up and the batch run are wall times, as a user waits for them, with Skerry's runs
and the peers' interleaved. All windows are shown on Qt's offscreen platform, Skerry's and the
peers' alike, in the same environment.
"""

import argparse
import json
import math
import os
import platform
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

POINTS = 2200  # a full scan
BATCH_SCANS = 1000
# The runs of the editor's figures, made of one scan as bench/BenchRun.h makes them: scan k
# (from 0) with every reading times 1 + k / 100.
REDRAW_RUN_SCANS = 60
MEMORY_RUN_SCANS = 200

# The editor's plot geometry, as the program draws it: plot units run from -25 to 120 across and
# from -25 to 130 up; the axis frame is 0..100 both ways; a point is a ring of radius
# MarkerSize * MarkerFactor plot units across, drawn one pixel wide.
PLOT_WIDTH_PX, PLOT_HEIGHT_PX = 1920, 1080
PLOT_UNITS_ACROSS, PLOT_UNITS_UP = 145.0, 155.0
RING_RADIUS_UNITS = 0.65 * 1.5
# Font sizes the editor chooses for a 1080-pixel-high window: 15 twips a pixel.
TITLE_POINTS = round(1080 * 15 * 0.0014)
TICK_POINTS = round(1080 * 15 * 0.0012)


# ---------------------------------------------------------------------------------------------
# Input files


def exponent4(value):
    """A number as the instrument writes it: 5 decimals and a four-digit exponent."""
    mantissa, exponent = ("%.5E" % value).split("E")
    return "%sE%s%04d" % (mantissa, exponent[0], abs(int(exponent)))


def write_scan(path, rng, points=POINTS, deleted_ends=(0, 0), number=1):
    """An absorbance scan of an equilibrium run: a description line, the header line with the
    scan type and seven numbers, then radius, reading and deviation, lines ended by CR LF.
    The first and last points given in deleted_ends carry negative deviations."""
    start = 5.809 + rng.uniform(-0.01, 0.01)
    step = 0.0005
    amplitude = rng.uniform(0.05, 0.15)
    slope = rng.uniform(1.5, 2.5)
    lines = [
        "Cell 1  sample scan %04d  equilibrium 20000 rpm" % number,
        "R 1 20.0 20000 %d 3.7899E+11 280 2" % (86400 + 60 * number),
    ]
    for i in range(points):
        x = start + step * i
        reading = amplitude * math.exp(slope * (x * x - start * start) / 2) + rng.gauss(0, 0.005)
        deviation = 0.0097 + rng.random() * 0.0005
        if i < deleted_ends[0] or i >= points - deleted_ends[1]:
            deviation = -deviation
        lines.append("   %.4f  %s   %s" % (x, exponent4(reading), exponent4(deviation)))
    with open(path, "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


def write_batch_scans(folder, count):
    """Scans that differ a little: length, profile, noise and a few deleted points at the ends,
    so that writing them truncated has something to cut."""
    rng = random.Random(1000)
    os.makedirs(folder)
    for k in range(1, count + 1):
        points = rng.randint(POINTS - 100, POINTS)
        ends = (rng.randint(0, 20), rng.randint(0, 20))
        write_scan(os.path.join(folder, "scan%04d.RA1" % k), rng, points, ends, k)


# ---------------------------------------------------------------------------------------------
# Timing helpers


def timed_median(action, repetitions, min_seconds=0.1, min_calls=1):
    """The median over repetitions of the mean CPU time of one call, each repetition calling at
    least min_calls times and for at least min_seconds, as Google Benchmark does."""
    action()  # warm up: first calls load code and fill caches
    means = []
    for _ in range(repetitions):
        calls = 0
        start = time.process_time()
        while True:
            action()
            calls += 1
            elapsed = time.process_time() - start
            if calls >= min_calls and elapsed >= min_seconds:
                break
        means.append(elapsed / calls)
    return statistics.median(means)


def run_checked(command, env, cwd=None, capture=True, statuses=(0,)):
    result = subprocess.run(command, env=env, cwd=cwd, capture_output=capture, text=True)
    if result.returncode not in statuses:
        sys.exit(
            "bench: %s failed with status %d\n%s"
            % (" ".join(command), result.returncode, result.stderr if capture else "")
        )
    return result


def reported(result, name):
    """The value a benchmark program printed on its line "name value"."""
    for line in result.stdout.splitlines():
        if line.startswith(name + " "):
            return line.split()[1]
    sys.exit("bench: %s reported no %s" % (result.args[0], name))


def peak_memory(result):
    return int(reported(result, "peak_rss_kb"))


# ---------------------------------------------------------------------------------------------
# The figures


def in_process_figures(bin_dir, scan, work, env, repetitions):
    """Google Benchmark's medians of the in-process figures' CPU times, in seconds."""
    out = os.path.join(work, "benchmark.json")
    run_checked(
        [
            os.path.join(bin_dir, "skerry-bench"),
            "--scan=" + scan,
            "--benchmark_repetitions=%d" % repetitions,
            "--benchmark_min_time=0.1",
            "--benchmark_report_aggregates_only=true",
            "--benchmark_out_format=json",
            "--benchmark_out=" + out,
        ],
        env,
        cwd=work,
    )
    with open(out) as f:
        report = json.load(f)
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    medians = {}
    for b in report["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[b["run_name"]] = b["cpu_time"] * scale[b["time_unit"]]
    return medians


def loadtxt_figure(scan, repetitions):
    import numpy as np

    points = np.loadtxt(scan, skiprows=2)
    if points.shape != (POINTS, 3):
        sys.exit("bench: numpy read %s points from the scan" % (points.shape,))
    return timed_median(lambda: np.loadtxt(scan, skiprows=2), repetitions)


def matplotlib_figure(scan, repetitions, scans=1):
    """matplotlib (Agg) redrawing the scan's points as rings of the editor's pixel size into a
    1920 x 1080 figure with axes, inward ticks, tick labels, axis labels and a title; with
    `scans`, the overlay of a run made of the scan as the editor's figure makes it, the other
    scans in paler colours. The figure and its artists are made once, as the editor's back
    buffer is; what is timed is what a click asks for: the rings' colours set anew and the whole
    canvas drawn."""
    import matplotlib

    matplotlib.use("Agg")
    import numpy as np
    from matplotlib.backends.backend_agg import FigureCanvasAgg
    from matplotlib.figure import Figure

    one = np.loadtxt(scan, skiprows=2)
    runs = []
    for k in range(scans):
        copy = one.copy()
        copy[:, 1] *= 1 + k / 100
        runs.append(copy)
    # The current scan, the first, drawn last, over the others.
    points = np.concatenate(runs[1:] + runs[:1])
    current = np.arange(len(points)) >= len(points) - len(one)
    dpi = 100
    fig = Figure(figsize=(PLOT_WIDTH_PX / dpi, PLOT_HEIGHT_PX / dpi), dpi=dpi)
    canvas = FigureCanvasAgg(fig)
    # The axis frame where the editor puts it.
    ax = fig.add_axes(
        [
            25 / PLOT_UNITS_ACROSS,
            25 / PLOT_UNITS_UP,
            100 / PLOT_UNITS_ACROSS,
            100 / PLOT_UNITS_UP,
        ]
    )
    ring_radius_px = RING_RADIUS_UNITS * PLOT_WIDTH_PX / PLOT_UNITS_ACROSS
    px_to_pt = 72.0 / dpi
    good = points[:, 2] > 0
    colours = np.where(good[:, None], [0, 127 / 255, 0, 1], [1, 0, 0, 1])
    paler = colours + (1 - colours) * 0.6
    colours = np.where(current[:, None], colours, paler)
    rings = ax.scatter(
        points[:, 0],
        points[:, 1],
        s=(2 * ring_radius_px * px_to_pt) ** 2,
        facecolors="none",
        edgecolors=colours,
        linewidths=px_to_pt,
        antialiased=False,
    )
    # Text sizes in pixels as the editor's 96 dpi image shows its point sizes.
    title_pt = TITLE_POINTS * 96 / dpi
    tick_pt = TICK_POINTS * 96 / dpi
    font = {"family": "serif", "weight": "bold"}
    ax.set_title("Editing Data Set\n ", fontsize=title_pt, **font)
    ax.set_xlabel("Radius (cm)", fontsize=title_pt, **font)
    ax.set_ylabel("Concentration", fontsize=title_pt, **font)
    ax.tick_params(direction="in", labelsize=tick_pt, top=False, right=False)
    for label in ax.get_xticklabels() + ax.get_yticklabels():
        label.set_fontweight("bold")
        label.set_family("serif")

    def redraw():
        rings.set_edgecolors(colours)
        canvas.draw()

    return timed_median(redraw, repetitions, min_calls=3)


def median_wall_times(commands, env, cwd, runs):
    """Each command's median wall time over runs, the commands taking turns so that all of them
    see the same moments of the machine. Every command runs once first to warm the page cache."""
    for command in commands.values():
        run_checked(command, env, cwd=cwd)
    times = {name: [] for name in commands}
    for _ in range(runs):
        for name, command in commands.items():
            start = time.perf_counter()
            run_checked(command, env, cwd=cwd)
            times[name].append(time.perf_counter() - start)
    return {name: statistics.median(t) for name, t in times.items()}


def start_up_figures(bin_dir, work, env, runs):
    """Wall time from start to the main window on screen: Skerry, the same windows without
    Skerry's logic, and an empty main window."""
    return median_wall_times(
        {
            "skerry": [os.path.join(bin_dir, "skerry-startup")],
            "same": [os.path.join(bin_dir, "same-windows")],
            "empty": [os.path.join(bin_dir, "empty-main-window")],
        },
        env,
        work,
        runs,
    )


def memory_figures(bin_dir, scan, work, env, runs):
    """Peak memory with the scan open in the editor, against the same windows without Skerry's
    logic holding the same texts and pixels, and an empty main window. The peer's windows take
    the sizes Skerry's editor reported; its panes show the scan and Skerry's listing of it."""
    listing = os.path.join(work, "listing.txt")
    run_checked(
        [os.path.join(bin_dir, "skerry-batch"), "--listing", "-o", listing, scan], env, cwd=work
    )
    editor = [os.path.join(bin_dir, "skerry-startup"), "--editor", scan]
    run = editor + ["--run", str(MEMORY_RUN_SCANS)]
    first = run_checked(editor, env, cwd=work)
    same = [
        os.path.join(bin_dir, "same-windows"),
        "--editor",
        scan,
        listing,
        reported(first, "editor_size"),
        reported(first, "plot_size"),
    ]
    empty = [os.path.join(bin_dir, "empty-main-window")]
    memory = {"editor": [], "run": [], "same": [], "empty": []}
    for _ in range(runs):
        for name, command in (("editor", editor), ("run", run), ("same", same), ("empty", empty)):
            memory[name].append(peak_memory(run_checked(command, env, cwd=work)))
    return {name: statistics.median(kb) for name, kb in memory.items()}


class BatchTimes:
    """The wall times of the runs of skerry-batch and of its peer, and the scans skerry-batch
    refused (with --auto: those in which no column is found)."""

    def __init__(self, skerry, numpy, refused):
        self.skerry = skerry
        self.numpy = numpy
        self.refused = refused

    def spread(self):
        return "skerry-batch %s to %s, peer %s to %s" % (
            seconds_text(min(self.skerry)),
            seconds_text(max(self.skerry)),
            seconds_text(min(self.numpy)),
            seconds_text(max(self.numpy)),
        )


def batch_figure(bin_dir, scans, work, env, runs, editing=()):
    """1000 scans written truncated in XI form: one skerry-batch run over all of them into a
    folder, against one Python process doing the same with numpy. Whole runs are timed, process
    starts included. Every run writes into a new empty folder, as a user's conversion would,
    and starts with nothing left to flush: skerry-batch flushes the whole file system once, and
    must not pay for the scans written here or for the files of the peer's run before.
    `editing`: options of skerry-batch's runs that the peer does not do (--auto). Such a run may
    refuse a scan (exit status 1, a line naming it); the refused scans are counted, and only the
    files written are compared with the peer's by name, not by lines."""
    batch = os.path.join(bin_dir, "skerry-batch")
    names = sorted(os.listdir(scans))
    inputs = [os.path.join(scans, name) for name in names]
    times = {"skerry": [], "numpy": []}
    refused = set()
    for run in range(runs):
        for name in times:
            folder = os.path.join(work, "out-%s-%d" % (name, run))
            os.makedirs(folder)
            if name == "skerry":
                command = [batch, *editing, "--truncated", "--xi", "-o", folder] + inputs
            else:
                command = [sys.executable, os.path.join(HERE, "batch-peer.py"), scans, folder]
            os.sync()
            start = time.perf_counter()
            result = run_checked(command, env, cwd=work, statuses=(0, 1) if editing else (0,))
            times[name].append(time.perf_counter() - start)
            if name == "skerry":
                refused = {line.split(": ")[1] for line in result.stderr.splitlines()}
    # Both wrote every scan that was not refused; converting only, with the same number of lines.
    folders = [os.path.join(work, "out-%s-%d" % (name, runs - 1)) for name in times]
    written = [name for name in names if os.path.join(scans, name) not in refused]
    if sorted(os.listdir(folders[0])) != written or sorted(os.listdir(folders[1])) != names:
        sys.exit("bench: the folders do not hold one file per scan written")
    for name in names[:: max(1, len(names) // 20)] if not editing else []:
        counts = []
        for folder in folders:
            with open(os.path.join(folder, name), "rb") as f:
                counts.append(f.read().count(b"\r\n"))
        if counts[0] != counts[1]:
            sys.exit("bench: %s: skerry-batch wrote %d lines, the peer %d" % (name, *counts))
    for folder in [os.path.join(work, "out-%s-%d" % (n, r)) for n in times for r in range(runs)]:
        shutil.rmtree(folder)
    return BatchTimes(times["skerry"], times["numpy"], len(refused))


# ---------------------------------------------------------------------------------------------
# The table


def seconds_text(value):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if value >= scale:
            return "%.3g %s" % (value / scale, unit)
    return "%.3g ns" % (value / 1e-9)


def memory_text(kilobytes):
    return "%.1f MB" % (kilobytes / 1024)


class Figure:
    """A figure and its peer. `faster` figures show peer/ours ("x faster"), the others
    ours/peer. A target asks for a `faster` ratio of at least `bound`, for another of at most
    `bound`; a reference row (bound None) has no target and only shows what a floor costs."""

    def __init__(self, name, ours, peer_name, peer, show, faster=False, bound=None):
        self.name = name
        self.ours = ours
        self.peer_name = peer_name
        self.peer = peer
        self.show = show
        self.faster = faster
        self.bound = bound

    def ratio(self):
        return self.peer / self.ours if self.faster else self.ours / self.peer

    def met(self):
        if self.bound is None:
            return True
        return self.ratio() >= self.bound if self.faster else self.ratio() <= self.bound

    def row(self):
        if self.faster:
            ratio = "%.1fx faster" % self.ratio()
            target = "at least %gx faster" % self.bound if self.bound else ""
        else:
            ratio = "%.2fx" % self.ratio()
            target = "at most %gx" % self.bound if self.bound else ""
        status = "" if self.bound is None else "met" if self.met() else "MISSED"
        return [
            self.name,
            self.show(self.ours),
            self.peer_name,
            self.show(self.peer),
            ratio,
            target,
            status,
        ]


def print_table(figures):
    header = ["figure", "Skerry", "peer", "peer's", "ratio", "target", ""]
    rows = [header] + [f.row() for f in figures]
    widths = [max(len(r[i]) for r in rows) for i in range(len(header))]
    for i, r in enumerate(rows):
        print("| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |")
        if i == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")


def machine_lines(load):
    model = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    debian = ""
    if os.path.exists("/etc/debian_version"):
        with open("/etc/debian_version") as f:
            debian = ", Debian " + f.read().strip()
    import matplotlib
    import numpy

    return [
        "Machine: %s, %d cores, %.1f GB, Linux %s%s; load average %.1f at the start, %.1f "
        "at the end"
        % (
            model,
            os.cpu_count() or 0,
            os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / 1024**3,
            platform.release(),
            debian,
            load,
            os.getloadavg()[0],
        ),
        "Peers: Python %s, numpy %s, matplotlib %s (Agg)"
        % (platform.python_version(), numpy.__version__, matplotlib.__version__),
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--repetitions", type=int, default=15)
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    parser.add_argument("--batch-only", action="store_true", help="only the 1000-scan rows")
    args = parser.parse_args()
    bin_dir = os.path.join(args.build, "bin")
    reps = max(3, args.repetitions)

    load = os.getloadavg()[0]
    work = tempfile.mkdtemp(prefix="skerry-bench-")
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "offscreen"
    # Skerry.ini of these runs lies in the work folder, on disk as a user's settings are. The
    # single-instance lock goes where a desktop session keeps it, in memory (/run/user is a
    # tmpfs); /dev/shm is one too.
    env["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    os.makedirs(env["XDG_CONFIG_HOME"])
    in_memory = "/dev/shm" if os.path.isdir("/dev/shm") else work
    runtime = tempfile.mkdtemp(prefix="skerry-bench-", dir=in_memory)
    env["XDG_RUNTIME_DIR"] = runtime
    try:
        print("Writing the scans ...", flush=True)
        scan = os.path.join(work, "scan.RA1")
        write_scan(scan, random.Random(2200))
        scans = os.path.join(work, "scans")
        write_batch_scans(scans, BATCH_SCANS)

        print("Batch runs over %d scans ..." % BATCH_SCANS, flush=True)
        batch = batch_figure(bin_dir, scans, work, env, 5)
        auto = batch_figure(bin_dir, scans, work, env, 5, editing=["--auto"])
        if not args.batch_only:
            print("In-process figures (Google Benchmark) ...", flush=True)
            medians = in_process_figures(bin_dir, scan, work, env, reps)
            print("numpy.loadtxt and matplotlib ...", flush=True)
            loadtxt = loadtxt_figure(scan, reps)
            plot = matplotlib_figure(scan, reps)
            plot_run = matplotlib_figure(scan, reps, REDRAW_RUN_SCANS)
            print("Start-up and memory ...", flush=True)
            start = start_up_figures(bin_dir, work, env, 2 * reps)
            memory = memory_figures(bin_dir, scan, work, env, 5)
    finally:
        shutil.rmtree(runtime, ignore_errors=True)
        if args.keep:
            print("Work folder kept: " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)

    same = "same windows, no logic"
    empty = "empty Qt main window"
    batch_rows = [
        Figure("1000 scans truncated as XI, one run", statistics.median(batch.skerry),
               "one Python process with numpy", statistics.median(batch.numpy), seconds_text,
               faster=True, bound=3),
        Figure("1000 scans --auto, truncated as XI, one run", statistics.median(auto.skerry),
               "the same converting only", statistics.median(auto.numpy), seconds_text,
               faster=True, bound=3),
    ]
    figures = batch_rows if args.batch_only else batch_rows + [
        Figure("listing text, 2200 points", medians["listing"], "bare to_chars loop",
               medians["bare_to_chars"], seconds_text, bound=1.5),
        Figure("listing text, 2200 points", medians["listing"], "bare snprintf loop",
               medians["bare_snprintf"], seconds_text),
        Figure("getdata, 2200-point scan", medians["getdata"], "bare from_chars loop",
               medians["bare_from_chars"], seconds_text, bound=1.25),
        Figure("getdata, 2200-point scan", medians["getdata"], "numpy.loadtxt",
               loadtxt, seconds_text, faster=True),
        Figure("suggest, 2200-point scan", medians["suggest"], "getdata of the same scan",
               medians["getdata"], seconds_text, bound=1.0),
        Figure("redraw, 2200 points, 1920 x 1080", medians["redraw"], "matplotlib (Agg)",
               plot, seconds_text, faster=True, bound=40),
        Figure("redraw, %d scans of 2200 points" % REDRAW_RUN_SCANS, medians["redraw_run"],
               "matplotlib (Agg)", plot_run, seconds_text, faster=True, bound=40),
        Figure("redraw, %d scans of 2200 points" % REDRAW_RUN_SCANS, medians["redraw_run"],
               "one frame at 60 Hz", 0.016, seconds_text, bound=1.0),
        Figure("start-up to main window shown", start["skerry"], same,
               start["same"], seconds_text, bound=1.25),
        Figure("start-up to main window shown", start["skerry"], empty,
               start["empty"], seconds_text),
        Figure("peak memory, scan in editor", memory["editor"], same,
               memory["same"], memory_text, bound=1.25),
        Figure("peak memory, scan in editor", memory["editor"], empty,
               memory["empty"], memory_text),
        Figure("peak memory, %d-scan run in editor" % MEMORY_RUN_SCANS, memory["run"],
               "scan in editor + 25 MB", memory["editor"] + 25 * 1024, memory_text, bound=1.0),
    ]
    print()
    print_table(figures)
    print()
    for line in machine_lines(load):
        print(line)
    print(
        "Medians of %d repetitions (start-up %d, batch and memory 5); in-process figures are CPU "
        "times, start-up and batch wall times; windows on Qt's offscreen platform."
        % (reps, 2 * reps)
    )
    print("Spread of the batch runs: %s; with --auto: %s, %d of %d scans without a column."
          % (batch.spread(), auto.spread(), auto.refused, BATCH_SCANS))
    missed = [f.name for f in figures if not f.met()]
    if missed:
        print("Missed: " + "; ".join(missed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
