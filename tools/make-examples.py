#!/usr/bin/env python3
"""Writes the example scans in examples/ (deterministic: the same bytes on every run).

The scans are synthetic: a sedimentation equilibrium profile of one ideal species, as an
absorbance scan with deviations, its buffer blank, an interference scan of the same cell and an
edited file in XI form as Skerry writes it; a fit file lists two of them.
"""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "examples")


def profile(r, meniscus=5.95, bottom=7.15, c0=0.30, sigma=0.2):
    """Concentration of an ideal species at equilibrium: c0 * exp(sigma/2 * (r^2 - rm^2))."""
    return c0 * math.exp(sigma / 2.0 * (r * r - meniscus * meniscus))


def crlf(lines):
    return "".join(line + "\r\n" for line in lines)


def write(name, text):
    with open(os.path.join(OUT, name), "w", newline="") as f:
        f.write(text)


def absorbance_scan(rng):
    lines = ["Cell 1  BSA 0.5 mg/ml in PBS  equilibrium 12000 rpm",
             "R 1 20.0 12000 259200 4.0932E+11 280 3"]
    r = 5.800
    while r <= 7.2001:
        if r < 5.95:          # air above the meniscus: only the buffer's tail
            a, dev = 0.02 + rng.gauss(0, 0.004), 0.0051
        elif r < 5.965:       # the meniscus spike
            a, dev = 1.8 + rng.gauss(0, 0.2), 0.2410
        elif r > 7.15:        # the cell bottom
            a, dev = 2.9 + rng.gauss(0, 0.3), 0.3120
        else:
            a = 0.035 + profile(r) + rng.gauss(0, 0.004)
            dev = abs(rng.gauss(0.006, 0.0015)) + 0.0005
        lines.append("   %.4f  %.5E   %.5E" % (r, a, dev))
        r += 0.002
    return crlf(lines)


def blank_scan(rng):
    lines = ["Cell 1  PBS reference scan  12000 rpm",
             "R 1 20.0 12000 259260 4.0941E+11 280 3"]
    r = 5.801  # a grid shifted from the sample's, as happens between two scans
    while r <= 7.2001:
        a = 0.030 + 0.004 * (r - 5.8) + rng.gauss(0, 0.0015)
        lines.append("   %.4f  %.5E   %.5E" % (r, a, 0.0030))
        r += 0.002
    return crlf(lines)


def interference_scan(rng):
    lines = ["Cell 2  BSA 0.5 mg/ml  interference  12000 rpm",
             "P 2 20.0 12000 259200 4.0932E+11 655 1"]
    r = 5.9000
    while r <= 7.1501:
        fringes = 3.33 * profile(r) - 0.5 + rng.gauss(0, 0.005)
        lines.append("  %.4f  %.4f" % (r, fringes))
        r += 0.0025
    return crlf(lines)


def edited_xi_file(rng):
    comments = ["Cell 1  BSA 0.5 mg/ml in PBS  equilibrium 12000 rpm",
                "R 1 20.0 12000 259200 4.0932E+11 280 3",
                "edited: meniscus and bottom cut, two spikes deleted"]
    lines = [c.ljust(96) for c in comments]
    r = 5.970
    index = 0
    while r <= 7.1401:
        xi = round(r * r / 2.0, 5)
        a = round(0.035 + profile(r) + rng.gauss(0, 0.004), 5)
        dev = round(abs(rng.gauss(0.006, 0.0015)) + 0.0005, 4)
        if index in (101, 377):  # spikes, kept in the file but marked deleted
            a, dev = a + 0.5, -dev
        lines.append("  %08.5f   %s   %s" % (xi, sci(a, 5), sci(dev, 3)))
        r += 0.003
        index += 1
    return crlf(lines)


def sci(value, decimals):
    text = "%.*E" % (decimals, value)
    mantissa, exponent = text.split("E")
    sign = "-" if mantissa.startswith("-") else " "
    return "%s%sE%s%02d" % (sign, mantissa.lstrip("-"), exponent[0], abs(int(exponent)))


def fit_file():
    """A fit file of the fitting program naming the two example cells by relative names, with
    edit limits in XI = R^2/2 (meniscus and bottom of cell 1 cut off) and three deleted points
    of cell 1 in fields of four characters."""
    return crlf(["[FileCount]",
                 "number=2",
                 "[File01]",
                 "name=cell1-absorbance.RA1",
                 "XI_low=17.83",
                 "XI_high=25.48",
                 "number_deleted=3",
                 "del_pts001=020002010450",
                 "[File02]",
                 "name=cell2-interference.IP1",
                 "XI_low=17.6",
                 "XI_high=25.2",
                 "number_deleted=0"])


def main():
    os.makedirs(OUT, exist_ok=True)
    write("cell1-absorbance.RA1", absorbance_scan(random.Random(1)))
    write("cell1-blank.RA1", blank_scan(random.Random(2)))
    write("cell2-interference.IP1", interference_scan(random.Random(3)))
    write("cell1-edited-xi.dat", edited_xi_file(random.Random(4)))
    write("cell1.fit", fit_file())


if __name__ == "__main__":
    main()
