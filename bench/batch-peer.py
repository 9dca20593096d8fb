"""The peer of the batch figure: one Python process that does with numpy what a shell loop of
skerry-batch --truncated --xi runs do, file by file.

Usage: batch-peer.py SCAN_FOLDER OUT_FOLDER

Each scan's two header lines become comment lines padded to 96 characters, the points from the
first to the last good one (third value above 0) are written with x as XI = R^2/2, in the line
shape of Skerry's edited files, lines ended by CR LF.
"""

import os
import sys

import numpy as np


def convert(source, target):
    with open(source) as scan:
        comments = [scan.readline().rstrip("\r\n"), scan.readline().rstrip("\r\n")]
        points = np.loadtxt(scan, ndmin=2)
    good = np.flatnonzero(points[:, 2] > 0)
    first, last = (good[0], good[-1]) if good.size else (0, len(points) - 1)
    kept = points[first : last + 1]
    xi = kept[:, 0] * kept[:, 0] / 2.0
    lines = [comment[:96].ljust(96) for comment in comments]
    lines += [
        "  %08.5f   % .5E   % .3E" % row
        for row in zip(xi.tolist(), kept[:, 1].tolist(), kept[:, 2].tolist())
    ]
    with open(target, "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


def main():
    source_folder, target_folder = sys.argv[1:3]
    for name in sorted(os.listdir(source_folder)):
        convert(os.path.join(source_folder, name), os.path.join(target_folder, name))


if __name__ == "__main__":
    main()
