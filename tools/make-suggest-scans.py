#!/usr/bin/env python3
"""Writes the small scans of tests/data/subsystems/suggest/ (deterministic: the same bytes on every
run), each showing one thing the suggested edits must handle. Every scan is laid out by point
index, so that what it holds can be read off here: the expected columns and spikes in
tests/data/subsystems/suggestions.tsv are decided from these layouts, not from the program.
"""
import math
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "tests", "data", "subsystems", "suggest")


def exponent4(value):
    """A number as the instrument writes it: 5 decimals and a four-digit exponent."""
    mantissa, exponent = ("%.5E" % value).split("E")
    return "%sE%s%04d" % (mantissa, exponent[0], abs(int(exponent)))


def write(name, scan_type, start, step, points):
    """points: (reading, deviation) pairs, or readings alone for interference (no deviation)."""
    lines = ["%s  made by tools/make-suggest-scans.py" % name,
             "%s 1 20.0 40000 3600 1.2345E+10 280 2" % scan_type]
    for i, p in enumerate(points):
        x = start + step * i
        if isinstance(p, tuple):
            lines.append("   %.4f  %s   %s" % (x, exponent4(p[0]), exponent4(p[1])))
        else:
            lines.append("  %.4f  %.4f" % (x, p))
    with open(os.path.join(OUT, name), "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))


class Layout:
    """Readings by 1-based point index, with Gaussian noise and the deviation column."""

    def __init__(self, seed, noise):
        self.rng = random.Random(seed)
        self.noise = noise
        self.points = []

    def add(self, count, reading, deviation=None, noisy=True):
        """`reading` is a value or a function of the position within the piece (0..count-1)."""
        for j in range(count):
            value = reading(j) if callable(reading) else reading
            if noisy:
                value += self.rng.gauss(0.0, self.noise)
            dev = self.noise if deviation is None else deviation
            self.points.append((value, dev))

    def erratic(self, count, low, high):
        for _ in range(count):
            self.points.append((self.rng.uniform(low, high), self.rng.uniform(0.2, 0.6)))

    def last(self):
        return len(self.points)


def growth(first, last, count):
    """An exponential from `first` to `last` over `count` points, as at equilibrium."""
    k = math.log(last / first) / (count - 1)
    return lambda j: first * math.exp(k * j)


def meniscus_spike():
    s = Layout(1, 0.005)
    s.add(25, 0.0)                                    # 1-25 air
    for v in (0.5, 0.9, 0.6):                         # 26-28 meniscus
        s.add(1, v, 0.05)
    s.add(107, growth(0.2, 1.2, 107))                 # 29-135 column
    for v in (1.25, 1.30, 1.35, 1.40, 1.45, 2.2, 2.9, 3.4):  # 136-143 bottom, rising smoothly
        s.add(1, v, 0.2)                              # below the ceiling first
    s.erratic(7, 0.4, 3.8)                            # 144-150
    write("meniscus-spike.RA1", "R", 5.900, 0.003, s.points)


def ringing():
    rng = random.Random(2)
    noise = 0.01
    readings = [1.8 + rng.gauss(0, noise) for _ in range(40)]          # 1-40 air
    readings += [0.8, -0.5, 0.9]                                        # 41-43 dip
    for j in range(26):                                                 # 44-69 ringing
        ring = 0.6 * math.exp(-j / 6.0) * math.sin(j * 2 * math.pi / 4 + 1.0)
        readings.append(2.5 + ring + rng.gauss(0, noise))
    k = math.log(6.0 / 2.5) / 210                                       # 70-280 column
    readings += [2.5 * math.exp(k * j) + rng.gauss(0, noise) for j in range(211)]
    readings += [6.0 - 1.8 * j for j in range(1, 7)]                    # 281-286 bottom
    readings += [rng.uniform(-4, 4) for _ in range(14)]                 # 287-300
    write("ringing.IP1", "P", 5.900, 0.0007, readings)


def reference_meniscus():
    s = Layout(3, 0.004)
    s.add(30, 0.0)                                    # 1-30 air
    s.add(1, -0.15, 0.03)                             # 31-32 reference meniscus
    s.add(1, -0.10, 0.03)
    s.add(28, -0.02)                                  # 33-60 air, reference liquid
    for v in (0.4, 1.0, 1.1, 0.5):                    # 61-64 meniscus
        s.add(1, v, 0.06)
    s.add(121, growth(0.15, 1.1, 121))                # 65-185 column
    for v in (1.8, 2.6, 3.3):                         # 186-188 bottom
        s.add(1, v, 0.2)
    s.erratic(12, 1.6, 3.9)                           # 189-200
    write("reference-meniscus.RA1", "R", 5.850, 0.002, s.points)


def velocity_boundary():
    s = Layout(4, 0.004)
    s.add(40, 0.01)                                   # 1-40 air
    for v in (0.7, 1.2, 0.5):                         # 41-43 meniscus
        s.add(1, v, 0.05)
    s.add(106, 0.0)                                   # 44-149 cleared solvent
    s.add(21, lambda j: 0.8 / (1 + math.exp(-(j - 10) / 2.5)))  # 150-170 boundary
    s.add(115, 0.8)                                   # 171-285 plateau
    for v in (1.7, 2.8):                              # 286-287 bottom
        s.add(1, v, 0.2)
    s.erratic(13, 1.6, 3.9)                           # 288-300
    write("velocity-boundary.RA1", "R", 5.900, 0.002, s.points)


def six_channel(name, seed, blocked, last_air=10):
    """Three channels of 110 points: air, meniscus, column, bottom, then blocked light; the air
    of the last channel may be longer."""
    s = Layout(seed, 0.005)
    for channel in range(3):
        s.add(last_air if channel == 2 else 10, 0.0)  # air
        s.add(1, 0.8, 0.05)                           # meniscus
        s.add(1, 0.6, 0.05)
        s.add(68, growth(0.3, 0.9 + 0.1 * channel, 68))  # column
        for v in (1.8, 2.8, 3.5):                     # bottom
            s.add(1, v, 0.2)
        blocked(s, 27)
    write(name, "R", 5.800, 0.003, s.points)


def filler(s, count):
    s.add(count, 1.0, 0.0, noisy=False)


def minus_225(s, count):
    s.add(count, lambda j: -2.25 + s.rng.gauss(0, 0.01), 0.3, noisy=False)


def past_ceiling():
    s = Layout(7, 0.005)
    s.add(20, 0.0)                                    # 1-20 air
    for v in (0.6, 1.1, 0.7):                         # 21-23 meniscus
        s.add(1, v, 0.05)
    s.add(167, growth(0.2, 2.5, 167))                 # 24-190 column, past 1.5 from 157 on
    s.erratic(10, 1.7, 3.9)                           # 191-200
    write("past-ceiling.RA1", "R", 5.900, 0.002, s.points)


def spikes(name, seed, deleted=()):
    s = Layout(seed, 0.004)
    s.add(20, 0.0)                                    # 1-20 air
    for v in (0.6, 1.1, 0.7):                         # 21-23 meniscus
        s.add(1, v, 0.05)
    s.add(212, growth(0.2, 0.9, 212))                 # 24-235 column
    for i, jump in ((60, 0.2), (100, -0.15), (101, -0.15), (150, 0.1), (151, 0.1),
                    (152, 0.1), (200, -0.06)):
        value, dev = s.points[i - 1]
        s.points[i - 1] = (value + jump, dev)
    for v in (1.9, 2.9):                              # 236-237 bottom
        s.add(1, v, 0.2)
    s.erratic(13, 1.6, 3.9)                           # 238-250
    for i in deleted:
        value, dev = s.points[i - 1]
        s.points[i - 1] = (value, -dev)
    write(name, "R", 5.900, 0.002, s.points)


def interference_filler():
    """Interference without deviations, so that the fillers of 1.000 stay good points: two
    channels of 150 points (air, dip, column, fall at the bottom, then the filler) and an empty
    one with a spike in it."""
    rng = random.Random(10)
    readings = []
    for channel in range(3):
        if channel == 2:                                                    # empty but a spike
            readings += [0.5 + rng.gauss(0, 0.005) for _ in range(120)]
            readings[-60] += 0.3
            readings += [1.0] * 30
            break
        readings += [0.5 + rng.gauss(0, 0.005) for _ in range(15)]          # air
        readings += [-1.0, -0.4]                                            # dip
        k = math.log(3.0 / 1.0) / 99
        readings += [1.0 * math.exp(k * j) + rng.gauss(0, 0.005) for j in range(100)]  # column
        readings += [3.0 - 1.5 * j for j in range(1, 4)]                    # bottom
        readings += [1.0] * 30                                              # filler
    write("interference-filler.IP2", "P", 5.800, 0.002, readings)


def narrow_meniscus():
    """Coarse steps: the reference meniscus and the sample's are one point each, and the column
    starts depleted at the air's level, so that both look like spikes with the curve going on."""
    s = Layout(11, 0.004)
    s.add(40, 0.0)                                    # 1-40 air
    s.add(1, 0.07, 0.02)                              # 41 reference meniscus
    s.add(39, -0.01)                                  # 42-80 air, reference liquid
    s.add(1, 0.6, 0.06)                               # 81 meniscus
    s.add(169, lambda j: -0.01 + growth(0.005, 0.9, 169)(j))  # 82-250 column
    for i, jump in ((160, 0.12), (200, 1.5)):        # spikes of dust, the second larger than
        value, dev = s.points[i - 1]                  # the meniscus, past where the column rises
        s.points[i - 1] = (value + jump, dev)
    for v in (1.9, 2.9):                              # 251-252 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 253-262
    write("narrow-meniscus.RA1", "R", 5.900, 0.003, s.points)


def raised_meniscus():
    """A sample meniscus whose first point is too faint to be an outlier, with the curve going on
    across it, leads from the air to a column starting 0.03 OD (seven noises) above the air's
    level; a reference meniscus lies in the air before it."""
    s = Layout(15, 0.004)
    s.add(40, 0.0)                                    # 1-40 air
    s.add(1, -0.12, 0.02)                             # 41 reference meniscus
    s.add(39, 0.0)                                    # 42-80 air
    for v in (0.05, 0.35, 0.25, 0.1):                 # 81-84 meniscus
        s.add(1, v, 0.05)
    s.add(150, lambda j: 0.03 + growth(0.01, 1.0, 150)(j))  # 85-234 column
    for v in (1.9, 2.9):                              # 235-236 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 237-246
    write("raised-meniscus.RA1", "R", 5.900, 0.003, s.points)


def hidden_meniscus():
    """Two channels. The first column right after blocked light, its meniscus lost in the erratic
    readings, with a spike of dust where the column already rises: the dust is no meniscus. The
    second channel's air, also after blocked light, is flat before its meniscus of one point."""
    s = Layout(16, 0.004)
    s.erratic(30, 1.6, 3.9)                           # 1-30 blocked light, the meniscus in it
    s.add(120, growth(0.2, 1.2, 120))                 # 31-150 column
    value, dev = s.points[89]                         # 90 a spike of dust
    s.points[89] = (value + 0.15, dev)
    for v in (1.9, 2.9):                              # 151-152 bottom
        s.add(1, v, 0.2)
    s.erratic(30, 1.6, 3.9)                           # 153-182 blocked light
    s.add(40, 0.0)                                    # 183-222 air
    s.add(1, 0.6, 0.06)                               # 223 meniscus
    s.add(100, growth(0.005, 0.9, 100))               # 224-323 column, depleted at first
    for v in (1.9, 2.9):                              # 324-325 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 326-335
    write("hidden-meniscus.RA1", "R", 5.900, 0.003, s.points)


def boundary_ceiling():
    """A velocity column whose boundary, steep beside the noise, passes the ceiling: the column
    goes on along the bending curve up to 1.5 OD, not only to the boundary's foot."""
    s = Layout(17, 0.003)
    s.add(30, 0.0)                                    # 1-30 air
    for v in (0.7, 1.2, 0.8):                         # 31-33 meniscus
        s.add(1, v, 0.05)
    # 34-193 column: depleted, then a boundary centred on point 175, past 1.5 OD from 182
    s.add(160, lambda j: 2.0 / (1.0 + math.exp(-(j - 141) / 6.0)))
    s.add(30, lambda j: 2.0 + 0.02 * j)               # 194-223 plateau past the ceiling
    for v in (3.0, 3.6):                              # 224-225 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 226-235
    write("boundary-ceiling.RA1", "R", 5.900, 0.003, s.points)


def jump_meniscus(name, seed, noise, meniscus, column_from, column_to, dust):
    """A meniscus seen only as a one-point jump from the air's level, a column and a spike of
    dust at point 100, then the bottom."""
    s = Layout(seed, noise)
    s.add(40, 0.0)                                    # 1-40 air
    s.add(1, meniscus)                                # 41 meniscus, half way up
    s.add(150, growth(column_from, column_to, 150))   # 42-191 column
    value, dev = s.points[99]                         # 100 a spike of dust
    s.points[99] = (value + dust, dev)
    for v in (1.9, 2.9):                              # 192-193 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 194-203
    write(name, "R", 5.900, 0.003, s.points)


def step_meniscus():
    """A meniscus whose spike falls between the points: only the jump from the air's level to
    the solution's is left, and a spike of dust lies in the column."""
    jump_meniscus("step-meniscus.RA1", 12, 0.004, 0.2, 0.4, 1.2, 0.15)


def faint_step_meniscus():
    """A meniscus seen only as a jump from the air's level of eight noises, too small to stand out
    like a meniscus, before a column rising too slowly to show it before a spike of dust: the
    readings before the spike are no air, so the column starts past the jump."""
    jump_meniscus("faint-step-meniscus.RA1", 18, 0.01, 0.04, 0.08, 0.2, 0.3)


def rising_meniscus():
    """A sample meniscus as a dip of three points, smaller than twice the reference meniscus
    before it, with the readings rising from the air's level to the solution's right after it:
    the column starts past the sample's meniscus, not the reference's."""
    s = Layout(19, 0.01)
    s.add(30, 0.0)                                    # 1-30 air
    s.add(1, -0.6, 0.05)                              # 31 reference meniscus
    s.add(29, 0.0)                                    # 32-60 air
    for v in (-0.2, -0.3, -0.2):                      # 61-63 meniscus, a dip
        s.add(1, v, 0.05)
    s.add(4, lambda j: 0.03 * (j + 1), 0.05)          # 64-67 and its rise, three noises a point
    s.add(130, growth(0.15, 0.8, 130))                # 68-197 column
    for v in (1.9, 2.9):                              # 198-199 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 200-209
    write("rising-meniscus.RA1", "R", 5.900, 0.003, s.points)


def steep_dust():
    """A spike of dust a few points past a meniscus of one point, where the column rises steeply
    from the air's level at low noise: the readings either side of the dust differ by more than a meniscus stands out,
    but no more than the rising curve changes them; the dust is no meniscus."""
    s = Layout(20, 0.002)
    s.add(40, 0.0)                                    # 1-40 air
    s.add(1, 0.5, 0.05)                               # 41 meniscus
    s.add(120, lambda j: 0.004 * j + 0.00005 * j * j)  # 42-161 column, from the air's level
    value, dev = s.points[49]                         # 50 a spike of dust
    s.points[49] = (value + 0.1, dev)
    for v in (2.4, 2.9):                              # 162-163 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 164-173
    write("steep-dust.RA1", "R", 5.900, 0.003, s.points)


def dust_before_boundary():
    """A spike of dust in the cleared solvent of a velocity run, right before its boundary rises
    steeply: the readings after the dust stand far above those before it, but only as the rising
    curve goes on to change them. That is no step from the air's level to a solution's, and the
    dust, no larger than the faint meniscus, is no meniscus."""
    s = Layout(24, 0.005)
    s.add(40, 0.0)                                    # 1-40 air
    s.add(1, 0.08, 0.01)                              # 41 meniscus
    s.add(59, 0.0)                                    # 42-100 cleared solvent
    s.add(1, 0.1, 0.02)                               # 101 a spike of dust
    s.add(29, lambda j: 0.8 / (1.0 + math.exp(-(j - 10) / 3.0)))  # 102-130 boundary
    s.add(100, lambda j: 0.8 / (1.0 + math.exp(-(j + 19) / 3.0)))  # 131-230 plateau
    for v in (1.9, 2.9):                              # 231-232 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 233-242
    write("dust-before-boundary.RA1", "R", 5.900, 0.003, s.points)


def erratic_bottom():
    """The bottom falls to erratic readings below the ceiling for a long stretch, with a spike of
    dust just before it: the column ends at the bottom, not a block of the noise before it."""
    s = Layout(13, 0.004)
    s.add(20, 0.0)                                    # 1-20 air
    for v in (0.6, 1.1, 0.7):                         # 21-23 meniscus
        s.add(1, v, 0.05)
    s.add(105, growth(0.2, 0.9, 105))                 # 24-128 column
    value, dev = s.points[104]                        # 105 a spike of dust
    s.points[104] = (value + 0.15, dev)
    s.add(1, -0.5, 0.2)                               # 129 bottom
    s.erratic(60, -1.2, 0.2)                          # 130-189
    write("erratic-bottom.RA1", "R", 5.900, 0.003, s.points)


def wandering_fringes():
    """Interference whose fringe count, past the bottom and a few erratic readings, wanders with
    eight times the noise of the solution: light blocked, not a column after this one."""
    rng = random.Random(14)
    noise = 0.01
    readings = [1.8 + rng.gauss(0, noise) for _ in range(40)]          # 1-40 air
    readings += [0.8, -0.5, 0.9]                                        # 41-43 dip
    k = math.log(6.0 / 2.5) / 206                                       # 44-250 column
    readings += [2.5 * math.exp(k * j) + rng.gauss(0, noise) for j in range(207)]
    readings += [6.0 - 1.8 * j for j in range(1, 7)]                    # 251-256 bottom
    readings += [rng.uniform(-4, 4) for _ in range(20)]                 # 257-276
    walk = -2.0
    for _ in range(124):                                                # 277-400 wandering
        walk += rng.gauss(0, 0.02)
        readings.append(walk + rng.gauss(0, 8 * noise))
    write("wandering-fringes.IP1", "P", 5.900, 0.0007, readings)


def flat_column():
    """The only column is flat: a velocity run whose boundary has gone to the bottom leaves the
    cleared solvent at about the air's level. No channel changes, yet the cell holds a solution."""
    s = Layout(21, 0.004)
    s.add(40, 0.0)                                    # 1-40 air
    for v in (0.6, 1.0, 0.5):                         # 41-43 meniscus
        s.add(1, v, 0.05)
    s.add(157, 0.01)                                  # 44-200 column, flat
    for v in (1.9, 2.9):                              # 201-202 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 203-212
    write("flat-column.RA1", "R", 5.900, 0.003, s.points)


def boundary_foot():
    """A velocity boundary that has hardly left the meniscus: the column starts with the foot of
    the boundary right past the meniscus, flattening towards it."""
    s = Layout(23, 0.005)
    s.add(40, 0.0)                                    # 1-40 air
    for v in (0.7, 1.4, 0.8):                         # 41-43 meniscus
        s.add(1, v, 0.05)
    s.add(20, lambda j: 0.03 + 0.5 / (1.0 + math.exp(-(j - 14) / 2.5)))  # 44-63 boundary
    s.add(150, lambda j: 0.03 + 0.5 / (1.0 + math.exp(-(j + 6) / 2.5)))  # 64-213 plateau
    for v in (1.9, 2.9):                              # 214-215 bottom
        s.add(1, v, 0.2)
    s.erratic(10, 1.6, 3.9)                           # 216-225
    write("boundary-foot.RA1", "R", 5.900, 0.003, s.points)


def constant():
    write("constant.dat", "R", 6.0, 0.002, [(0.5, 0.01)] * 100)


def single():
    write("single.dat", "R", 6.0, 0.002, [(0.5, 0.01)])


def main():
    os.makedirs(OUT, exist_ok=True)
    meniscus_spike()
    ringing()
    reference_meniscus()
    velocity_boundary()
    six_channel("six-channel-filler.RA1", 5, filler, last_air=40)
    six_channel("six-channel-minus.RA1", 6, minus_225)
    past_ceiling()
    spikes("spikes.RA1", 8)
    spikes("deleted-points.RA1", 9, deleted=list(range(1, 6)) + [80, 81, 82, 100])
    interference_filler()
    narrow_meniscus()
    raised_meniscus()
    hidden_meniscus()
    boundary_ceiling()
    step_meniscus()
    faint_step_meniscus()
    rising_meniscus()
    steep_dust()
    dust_before_boundary()
    erratic_bottom()
    wandering_fringes()
    flat_column()
    boundary_foot()
    constant()
    single()


if __name__ == "__main__":
    main()
