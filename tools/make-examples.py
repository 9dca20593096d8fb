#!/usr/bin/env python3
"""Writes the example scans in examples/ (deterministic: the same bytes on every run).

The scans are synthetic: a sedimentation equilibrium profile of one ideal species, as an
absorbance scan with deviations, its buffer blank, an interference scan of the same cell and an
edited file in XI form as Skerry writes it; a fit file lists two of them. examples/run/ holds an
equilibrium run of a six-channel cell: three samples side by side in every scan, three scans at
each of three speeds.
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


# The six-channel cell: meniscus and bottom of its three sample channels (cm), and each
# sample's loading concentration (OD). The centerpiece blocks the light between the channels.
CHANNELS = [(5.912, 6.214, 0.20), (6.431, 6.726, 0.30), (6.958, 7.247, 0.40)]
SPEEDS = [10000, 14000, 18000]
SIGMA_AT_10000 = 0.5  # reduced molecular weight, cm^-2, at 10000 rpm; it grows with speed^2


def six_channel_reading(r, sigma, rng):
    """Reading and deviation at radius r of a scan at equilibrium with reduced weight sigma."""
    for k, (meniscus, bottom, loading) in enumerate(CHANNELS):
        air_start = meniscus - (0.09 if k == 0 else 0.07)
        if r < air_start or r > bottom + 0.02:
            continue
        if r < meniscus - 0.030:  # air, then the reference meniscus as a small dip
            return 0.012 + rng.gauss(0, 0.004), 0.0045
        if r < meniscus - 0.024:
            return -0.06 + rng.gauss(0, 0.01), 0.0210
        if r < meniscus:
            return -0.008 + rng.gauss(0, 0.004), 0.0046
        if r < meniscus + 0.010:  # the sample's meniscus spike
            return 0.9 + rng.gauss(0, 0.25), 0.1830
        if r <= bottom:
            # Mass is conserved: the mean over the column is the loading concentration.
            span = sigma / 2.0 * (bottom * bottom - meniscus * meniscus)
            c = loading * span / (math.exp(span) - 1.0) * math.exp(
                sigma / 2.0 * (r * r - meniscus * meniscus))
            return 0.02 + c + rng.gauss(0, 0.005), abs(rng.gauss(0.006, 0.0015)) + 0.0005
        return 2.6 + rng.uniform(-0.6, 0.6), 0.2600 + rng.uniform(0, 0.2)  # the bottom
    return 3.3 + rng.uniform(-0.3, 0.3), 0.5100 + rng.uniform(0, 0.4)  # blocked: no light


def six_channel_scan(number, rpm, seconds, rng, spike_at=None):
    sigma = SIGMA_AT_10000 * (rpm / 10000.0) ** 2
    omega = rpm * math.pi / 30.0
    lines = ["Cell 1  six-channel  three samples  equilibrium %d rpm  scan %d" % (rpm, number),
             "R 1 20.0 %d %d %.4E 280 1" % (rpm, seconds, omega * omega * seconds)]
    r = 5.800
    while r <= 7.3001:
        a, dev = six_channel_reading(r, sigma, rng)
        if spike_at is not None and abs(r - spike_at) < 0.001:  # dust: one reading far off
            a += 0.3
        lines.append("   %.4f  %.5E   %.5E" % (r, a, dev))
        r += 0.002
    return crlf(lines)


def equilibrium_run():
    """Three scans at each speed, two hours apart, once the cell has reached equilibrium."""
    rng = random.Random(5)
    run = os.path.join(OUT, "run")
    os.makedirs(run, exist_ok=True)
    spikes = {2: 6.100, 7: 7.100}
    number = 0
    for k, rpm in enumerate(SPEEDS):
        for scan in range(3):
            number += 1
            seconds = 86400 * (k + 1) + 7200 * scan
            text = six_channel_scan(number, rpm, seconds, rng, spikes.get(number))
            with open(os.path.join(run, "%05d.RA1" % number), "w", newline="") as f:
                f.write(text)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("cell1-absorbance.RA1", absorbance_scan(random.Random(1)))
    write("cell1-blank.RA1", blank_scan(random.Random(2)))
    write("cell2-interference.IP1", interference_scan(random.Random(3)))
    write("cell1-edited-xi.dat", edited_xi_file(random.Random(4)))
    write("cell1.fit", fit_file())
    equilibrium_run()


if __name__ == "__main__":
    main()
