#!/usr/bin/python3
"""Draws generated scans with their truth, and the suggestion where one was made, as PNG files.

Usage: plot-scans.py FOLDER [NAME ...]

Every scan file in FOLDER with a NAME.truth file beside it (written by generate-scans or by
accuracy-report --failures) becomes NAME.png: above, the whole scan with its deviations; below,
the readings of the solution columns at a scale that shows their noise. The columns a careful
user keeps are green dashed lines, the suggested columns red dotted ones; planted spikes are
ringed (orange when they count, grey when too small to), suggested spikes crossed. Needs
python3-matplotlib.
"""
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402


def read_scan(path):
    x, y, dev = [], [], []
    with open(path) as f:
        for line in f.readlines()[2:]:
            fields = line.split()
            if len(fields) >= 2:
                x.append(float(fields[0]))
                y.append(float(fields[1]))
                dev.append(float(fields[2]) if len(fields) > 2 else None)
    return x, y, dev


def read_truth(path):
    truth = {"columns": [], "spikes": [], "suggested": [], "suggested_spikes": [], "notes": []}
    with open(path) as f:
        for line in f:
            key, _, rest = line.rstrip("\n").partition(" ")
            values = rest.split()
            if key == "column":
                truth["columns"].append((int(values[0]), int(values[1])))
            elif key == "spike":
                truth["spikes"].append((int(values[0]), int(values[1]), float(values[2])))
            elif key == "suggested":
                truth["suggested"].append((int(values[0]), int(values[1])))
            elif key == "suggested-spikes":
                truth["suggested_spikes"] += [int(v) for v in values]
            elif key in ("optics", "run", "noise", "step"):
                truth[key] = rest
            elif key == "fault":
                truth["notes"].append(rest)
            else:
                truth["notes"].append(line.strip())
    return truth


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def plot(folder, name):
    x, y, dev = read_scan(os.path.join(folder, name))
    truth = read_truth(os.path.join(folder, name + ".truth"))
    fig, (whole, close) = plt.subplots(2, 1, figsize=(16, 9), sharex=True)
    title = "%s: %s %s, noise %s, step %s cm" % (
        name, truth.get("optics", ""), truth.get("run", ""), truth.get("noise", ""),
        truth.get("step", ""))
    fig.suptitle("\n".join([title] + truth["notes"][:4]), fontsize=9)
    kept = [y[i - 1] for first, last in truth["columns"] for i in range(first, last + 1)]
    for ax in (whole, close):
        ax.plot(x, y, ".", markersize=2, color="tab:blue")
        for first, last in truth["columns"]:
            for i in (first, last):
                ax.axvline(x[i - 1], color="green", linestyle="--", linewidth=1)
        for first, last in truth["suggested"]:
            for i in (first, last):
                ax.axvline(x[i - 1], color="red", linestyle=":", linewidth=1.5)
        for first, count, size in truth["spikes"]:
            colour = "orange" if size >= 10 else "grey"
            ax.plot(x[first - 1:first - 1 + count], y[first - 1:first - 1 + count], "o",
                    markerfacecolor="none", markeredgecolor=colour, markersize=9)
        spikes = truth["suggested_spikes"]
        ax.plot([x[i - 1] for i in spikes], [y[i - 1] for i in spikes], "x", color="red",
                markersize=8)
    if dev[0] is not None:
        deviations = whole.twinx()
        deviations.plot(x, dev, "-", linewidth=0.5, color="grey")
        deviations.set_ylabel("deviation", fontsize=8)
    low, high = min(y), max(y)
    if truth.get("optics") == "absorbance":
        low, high = max(low, -3.0), min(high, 5.0)
    whole.set_ylim(low - 0.1, high + 0.1)
    if kept:
        low, high = percentile(kept, 0.002), percentile(kept, 0.998)
        margin = 0.3 * (high - low) + 0.05
        close.set_ylim(low - margin, high + margin)
    close.set_xlabel("radius (cm)")
    fig.savefig(os.path.join(folder, name + ".png"), dpi=100)
    plt.close(fig)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    names = sys.argv[2:] or sorted(
        n[: -len(".truth")] for n in os.listdir(folder) if n.endswith(".truth"))
    for name in names:
        plot(folder, name)


if __name__ == "__main__":
    main()
