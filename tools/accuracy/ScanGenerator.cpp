#include "ScanGenerator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <tuple>

#include "skerry/input/DataFileLoading.h"
#include "skerry/input/DataLibrary.h"

namespace skerry::accuracy {

double Random::uniform(double low, double high) {
    // The top 53 bits of the engine's number make a double in [0, 1).
    const double unit = static_cast<double>(engine_() >> 11) * 0x1.0p-53;
    return low + (high - low) * unit;
}

double Random::logUniform(double low, double high) {
    return low * std::pow(high / low, uniform());
}

int Random::integer(int low, int high) {
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<int>(engine_() % span);
}

double Random::gauss() {
    const double u = 1.0 - uniform(); // in (0, 1], so that its logarithm is finite
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * uniform());
}

namespace {

// Absorbance readings of the instrument stop meaning anything here: the light is gone.
constexpr double Saturation = 3.0;
// More points than this and an interference scan would not fit the data set.
constexpr int MostPoints = 2150;

double bump(double t) {
    const double s = std::sin(std::numbers::pi * t);
    return s * s;
}

double smoothStep(double t) {
    return t * t * (3.0 - 2.0 * t);
}

// The concentration profile of a solution column, in OD or fringes, over radius r in cm.
struct Solution {
    Run run = Run::Equilibrium;
    double base = 0.0;  // reading of the solvent alone
    double start = 0.0; // radius where the profile starts (the meniscus's end)
    double bottom = 0.0;
    // Equilibrium: the reading at `start` grows as exp(k (r^2 - start^2) / 2).
    double atStart = 0.0;
    double k = 0.0;
    // Velocity: a boundary at `boundary` of half-width `width` below a plateau, and what piles
    // up against the bottom.
    double plateau = 0.0;
    double boundary = 0.0;
    double width = 0.0;
    double pile = 0.0;
    double pileLength = 1.0;

    double at(double r) const {
        if (run == Run::Equilibrium) {
            return base + atStart * std::exp(k * (r * r - start * start) / 2.0);
        }
        return base + plateau * 0.5 * std::erfc((boundary - r) / (std::numbers::sqrt2 * width)) +
               pile * std::exp((r - bottom) / pileLength);
    }
};

// One channel of the centerpiece as the light meets it from the inside out: air with the
// reference meniscus, the sample's meniscus, the solution, the bottom and erratic readings up to
// the channel's end. An empty channel holds air only. Radii in cm.
struct Channel {
    double start = 0.0;
    double end = 0.0;
    bool empty = false;
    double air = 0.0;
    double reference = 0.0; // 0: no reference meniscus shows
    double referenceWidth = 0.0;
    double referenceSize = 0.0;
    double buffer = 0.0; // what the reference's buffer adds past its meniscus
    double meniscus = 0.0;
    double meniscusEnd = 0.0;
    // Absorbance: a spike of height `meniscusSize` peaking at `meniscusShape` of its width, with
    // an opposite lobe of height `afterSize` behind it when that is not 0. Interference: a dip
    // of depth `meniscusSize` and width `meniscusShape`, then ringing of amplitude `afterSize`
    // and period `ringPeriod` that fades into the noise at the meniscus's end.
    double meniscusSize = 0.0;
    double meniscusShape = 0.0;
    double afterSize = 0.0;
    double ringPeriod = 0.0;
    Solution solution;      // from meniscusEnd to solution.bottom
    double bottomEnd = 0.0; // the steep rise or fall ends here
    double bottomLevel = 0.0;
    double erratic = 0.0; // spread of the readings past the bottom
};

// How long each stretch of a channel is, drawn before the channel is placed.
struct Lengths {
    bool empty = false;
    double gap = 0.0; // blocked by the centerpiece before the channel
    double air = 0.0, meniscus = 0.0, solution = 0.0, bottom = 0.0, erratic = 0.0;

    double total() const { return gap + air + meniscus + solution + bottom + erratic; }
};

// What six-channel centerpieces show where they block the light.
enum class Filler { One, MinusTwo, Saturated, Erratic };

class ScanBuilder {
public:
    ScanBuilder(Random& random, GeneratedScan& scan) : random_(random), scan_(scan) {}

    void make(int number);

private:
    bool absorbance() const { return scan_.optics == Optics::Absorbance; }
    double noiseAt(double signal) const;
    void layOut();
    std::vector<Lengths> drawLengths(int columns);
    Channel place(double start, const Lengths& lengths);
    Solution drawSolution(double start, double bottom, double air);
    std::pair<std::size_t, std::size_t> indices(double from, double to) const;
    double meniscusAt(const Channel& c, double r) const;
    void paint(const Channel& c);
    void paintBlocked(double from, double to);
    void put(std::size_t i, double signal, double disturbance = 0.0);
    void paintErratic(double from, double to, double level, double spread);
    void findTruth(const Channel& c);
    void plantSpikes(const TruthColumn& column);
    void writeText(int number);

    Random& random_;
    GeneratedScan& scan_;
    Filler filler_ = Filler::One;
    double tilt_ = 0.0, wobble_ = 0.0, wobblePeriod_ = 1.0, wobblePhase_ = 0.0;
    std::vector<Channel> channels_;
    std::vector<double> x_, reading_, deviation_, signal_;
};

double ScanBuilder::noiseAt(double signal) const {
    // Less light gets through a darker solution: the noise grows with the absorbance.
    return absorbance() ? scan_.noise * std::pow(10.0, 0.35 * std::max(0.0, signal - 0.8))
                        : scan_.noise;
}

void ScanBuilder::make(int number) {
    scan_.optics = random_.chance(0.6) ? Optics::Absorbance : Optics::Interference;
    scan_.run = random_.chance(0.35) ? Run::Velocity : Run::Equilibrium;
    if (absorbance()) {
        scan_.noise = random_.logUniform(0.002, 0.02);
        scan_.step = 0.001 * random_.integer(1, 3);
        filler_ = static_cast<Filler>(random_.integer(0, 3));
    } else {
        scan_.noise = random_.logUniform(0.005, 0.03);
        scan_.step = random_.uniform(0.00068, 0.00072);
        // The interference optics' baseline is never quite flat.
        tilt_ = random_.uniform(-0.05, 0.05);
        wobble_ = random_.uniform(0.0, 0.03);
        wobblePeriod_ = random_.uniform(0.2, 0.8);
        wobblePhase_ = random_.uniform(0.0, 2.0 * std::numbers::pi);
    }
    layOut();
    double blocked = x_.front();
    for (const Channel& c : channels_) {
        paintBlocked(blocked, c.start);
        paint(c);
        blocked = c.end;
    }
    paintBlocked(blocked, x_.back() + 1.0);
    for (const Channel& c : channels_) {
        findTruth(c);
    }
    for (const TruthColumn& column : scan_.columns) {
        plantSpikes(column);
    }
    writeText(number);
}

// Sedimentation velocity runs in two-sector cells: one column. Equilibrium runs also in
// six-channel cells, which show two or three columns, or two and an empty channel.
std::vector<Lengths> ScanBuilder::drawLengths(int columns) {
    const bool sixChannel = columns > 1;
    int channels = columns;
    int emptyChannel = -1;
    if (columns == 2 && random_.chance(0.5)) {
        channels = 3;
        emptyChannel = random_.integer(0, 2);
    }
    std::vector<Lengths> plan(static_cast<std::size_t>(channels));
    for (int k = 0; k < channels; ++k) {
        Lengths& l = plan[static_cast<std::size_t>(k)];
        if (k > 0) {
            l.gap = random_.uniform(0.05, 0.18);
        } else if (sixChannel && random_.chance(0.4)) {
            l.gap = random_.uniform(0.02, 0.08); // the scan starts on the centerpiece
        }
        l.empty = k == emptyChannel;
        if (l.empty) {
            l.air = random_.uniform(0.2, 0.4);
            continue;
        }
        // Scans of a two-sector cell often start far inside its meniscus.
        l.air = k > 0                           ? random_.uniform(0.03, 0.12)
                : sixChannel                    ? random_.uniform(0.04, 0.2)
                : scan_.run == Run::Equilibrium ? random_.uniform(0.04, 1.0)
                                                : random_.uniform(0.04, 0.4);
        l.meniscus = absorbance() ? random_.uniform(0.005, 0.02) : random_.uniform(0.013, 0.025);
        l.solution = scan_.run == Run::Velocity ? random_.uniform(0.8, 1.25)
                     : sixChannel               ? random_.uniform(0.15, 0.35)
                                                : random_.uniform(0.15, 0.5);
        l.bottom = random_.uniform(0.004, 0.015);
        l.erratic = k + 1 == channels ? random_.uniform(0.03, 0.12) : random_.uniform(0.005, 0.03);
    }
    return plan;
}

// Places the channels along the radius; where the scan starts varies too.
void ScanBuilder::layOut() {
    int columns = 1;
    if (scan_.run == Run::Equilibrium) {
        const double u = random_.uniform();
        columns = u < 0.35 ? 1 : u < 0.55 ? 2 : 3;
    }
    std::vector<Lengths> plan = drawLengths(columns);
    // An empty channel at the end is closed by the centerpiece.
    double trailing = plan.back().empty ? random_.uniform(0.03, 0.1) : 0.0;
    double span = trailing;
    double artifacts = 0.0;
    for (const Lengths& l : plan) {
        span += l.total();
        artifacts += l.meniscus + l.bottom;
    }
    // An interference scan has room for MostPoints points: everything but the artifacts is
    // shorter then.
    const double room = (MostPoints - 1) * scan_.step;
    if (span > room) {
        const double scale = (room - artifacts) / (span - artifacts);
        for (Lengths& l : plan) {
            for (double* length : {&l.gap, &l.air, &l.solution, &l.erratic}) {
                *length *= scale;
            }
        }
        trailing *= scale;
        span = room;
    }
    const double first = random_.uniform(5.7, std::max(5.7, 7.3 - span));
    const double grid = absorbance() ? 1e4 : 1e5; // the decimals the instrument writes
    for (std::size_t i = 0;; ++i) {
        double x = first + static_cast<double>(i) * scan_.step;
        if (absorbance()) {
            x += random_.uniform(-0.2, 0.2) * scan_.step; // radii of a continuous scan wander
        }
        x = std::round(x * grid) / grid;
        if (x > first + span) {
            break;
        }
        x_.push_back(x);
    }
    reading_.assign(x_.size(), 0.0);
    deviation_.assign(x_.size(), 0.0);
    signal_.assign(x_.size(), 0.0);
    double r = first;
    for (const Lengths& l : plan) {
        channels_.push_back(place(r + l.gap, l));
        r = channels_.back().end;
    }
    // The first channel starts with the scan unless the centerpiece is in the way; the last
    // one's erratic readings go on to the scan's end.
    if (plan.front().gap == 0.0) {
        channels_.front().start = x_.front();
    }
    if (!plan.back().empty) {
        channels_.back().end = x_.back() + 1.0;
    }
}

Channel ScanBuilder::place(double start, const Lengths& l) {
    Channel c;
    c.start = start;
    c.end = start + l.total() - l.gap;
    c.empty = l.empty;
    const double sign = random_.chance(0.5) ? 1.0 : -1.0;
    if (absorbance()) {
        c.air = random_.uniform(-0.02, 0.04);
        c.buffer = -random_.uniform(0.0, 0.03);
        c.referenceWidth = random_.uniform(0.003, 0.008);
        c.referenceSize = sign * random_.uniform(0.03, 0.25);
    } else {
        // The fringe count carries an integer offset of its own in every channel.
        c.air = random_.integer(-4, 4) + random_.uniform(-0.5, 0.5);
        c.referenceWidth = random_.uniform(0.002, 0.005);
        c.referenceSize = sign * random_.uniform(0.05, 0.5);
    }
    // The reference sector holds a little more liquid: its meniscus lies in the sample's air.
    if (random_.chance(0.85)) {
        const double room = l.air - c.referenceWidth - 0.005;
        c.reference = start + random_.uniform(0.2, 0.8) * room;
    }
    if (c.empty) {
        return c;
    }
    c.meniscus = start + l.air;
    c.meniscusEnd = c.meniscus + l.meniscus;
    if (absorbance()) {
        c.meniscusSize =
            random_.chance(0.7) ? random_.uniform(0.3, 2.5) : -random_.uniform(0.15, 1);
        c.meniscusShape = random_.uniform(0.25, 0.5);
        if (random_.chance(0.35)) {
            c.afterSize = -c.meniscusSize * random_.uniform(0.2, 0.6);
        }
    } else {
        c.meniscusSize = random_.uniform(0.5, 3.0);
        c.meniscusShape = l.meniscus * random_.uniform(0.15, 0.3);
        c.afterSize = c.meniscusSize * random_.uniform(0.3, 0.8);
        c.ringPeriod = random_.uniform(0.002, 0.005);
    }
    c.solution = drawSolution(c.meniscusEnd, c.meniscusEnd + l.solution, c.air);
    c.bottomEnd = c.solution.bottom + l.bottom;
    // The bottom leaves the solution's profile by far more than the noise.
    const double atEnd = c.solution.at(c.bottomEnd);
    if (absorbance()) {
        c.bottomLevel = random_.chance(0.7)
                            ? std::max(random_.uniform(1.8, 3.5), atEnd + random_.uniform(0.5, 1.5))
                            : -random_.uniform(0.2, 1.5);
        c.erratic = random_.uniform(0.1, 0.8);
    } else {
        c.bottomLevel = atEnd + (random_.chance(0.5) ? 1.0 : -1.0) * random_.uniform(2.0, 8.0);
        c.erratic = random_.uniform(0.3, 2.0);
    }
    return c;
}

Solution ScanBuilder::drawSolution(double start, double bottom, double air) {
    Solution s;
    s.run = scan_.run;
    s.start = start;
    s.bottom = bottom;
    s.base = absorbance() ? random_.uniform(-0.03, 0.06) : air + random_.uniform(-1.0, 1.0);
    // Some absorbance scans go past the optics' linear range near the bottom.
    const bool pastCeiling =
        absorbance() && random_.chance(scan_.run == Run::Velocity ? 0.1 : 0.15);
    if (s.run == Run::Equilibrium) {
        // From nearly flat at low speed to steep, the meniscus depleted, at high speed.
        const double atBottom =
            absorbance() ? (pastCeiling ? random_.uniform(1.6, 3.2) : random_.uniform(0.25, 1.4))
                         : random_.uniform(1.5, 12.0);
        double ratio = random_.logUniform(1.15, 60.0);
        if (pastCeiling) {
            ratio = std::max(ratio, atBottom / random_.uniform(0.3, 1.0));
        }
        s.atStart = atBottom / ratio;
        s.k = 2.0 * std::log(ratio) / (bottom * bottom - start * start);
        return s;
    }
    s.plateau = absorbance() ? (pastCeiling ? random_.uniform(1.6, 2.2) : random_.uniform(0.2, 1.3))
                             : random_.uniform(1.0, 8.0);
    // The boundary moves out from the meniscus to the bottom as the run goes on.
    const double u = random_.uniform();
    s.boundary = u < 0.2   ? start + random_.uniform(0.005, 0.06)
                 : u < 0.4 ? bottom - random_.uniform(0.01, 0.08)
                           : random_.uniform(start + 0.06, bottom - 0.08);
    if (pastCeiling) {
        s.boundary = std::max(s.boundary, start + 0.3 * (bottom - start));
    }
    s.width = random_.uniform(0.008, 0.06);
    if (random_.chance(0.4)) {
        s.pile = s.plateau * random_.uniform(0.05, 0.4);
        s.pileLength = random_.uniform(0.01, 0.04);
    }
    return s;
}

// The points with x in [from, to), as 0-based indices [first, end).
std::pair<std::size_t, std::size_t> ScanBuilder::indices(double from, double to) const {
    const auto a = std::lower_bound(x_.begin(), x_.end(), from);
    const auto b = std::lower_bound(a, x_.end(), to);
    return {static_cast<std::size_t>(a - x_.begin()), static_cast<std::size_t>(b - x_.begin())};
}

// What the sample's meniscus adds to the readings at r.
double ScanBuilder::meniscusAt(const Channel& c, double r) const {
    const double u = r - c.meniscus;
    if (absorbance()) {
        const double t = u / (c.meniscusEnd - c.meniscus);
        const double peak = c.meniscusShape;
        if (c.afterSize != 0.0) {
            return t < peak ? c.meniscusSize * bump(t / peak)
                            : c.afterSize * bump((t - peak) / (1.0 - peak));
        }
        const double s = t < peak ? std::sin(std::numbers::pi / 2.0 * t / peak)
                                  : std::cos(std::numbers::pi / 2.0 * (t - peak) / (1.0 - peak));
        return c.meniscusSize * s * s;
    }
    if (u < c.meniscusShape) {
        return -c.meniscusSize * bump(u / c.meniscusShape);
    }
    const double v = u - c.meniscusShape;
    const double decay =
        (c.meniscusEnd - c.meniscus - c.meniscusShape) / std::log(c.afterSize / scan_.noise);
    return c.afterSize * std::exp(-v / decay) * std::sin(2.0 * std::numbers::pi * v / c.ringPeriod);
}

void ScanBuilder::paint(const Channel& c) {
    auto [a, e] = indices(c.start, c.empty ? c.end : c.meniscus);
    for (std::size_t i = a; i < e; ++i) {
        const double r = x_[i];
        double reference = 0.0;
        if (c.reference > 0.0 && r >= c.reference && r < c.reference + c.referenceWidth) {
            reference = c.referenceSize * bump((r - c.reference) / c.referenceWidth);
        }
        const double level = c.air + (c.reference > 0.0 && r >= c.reference ? c.buffer : 0.0);
        put(i, level + reference, 0.15 * std::abs(reference));
    }
    if (c.empty) {
        return;
    }
    // The readings go from the air's to the solution's where the spike peaks or the dip is
    // deepest.
    const double before = c.air + (c.reference > 0.0 ? c.buffer : 0.0);
    const double jump = c.meniscus + (absorbance() ? c.meniscusShape * (c.meniscusEnd - c.meniscus)
                                                   : c.meniscusShape / 2.0);
    std::tie(a, e) = indices(c.meniscus, c.meniscusEnd);
    for (std::size_t i = a; i < e; ++i) {
        const double artifact = meniscusAt(c, x_[i]);
        put(i, (x_[i] < jump ? before : c.solution.at(x_[i])) + artifact, 0.1 * std::abs(artifact));
    }
    std::tie(a, e) = indices(c.meniscusEnd, c.solution.bottom);
    for (std::size_t i = a; i < e; ++i) {
        put(i, c.solution.at(x_[i]));
    }
    // The steep rise or fall, away from where the solution's profile would have gone.
    const double change = c.bottomLevel - c.solution.at(c.bottomEnd);
    std::tie(a, e) = indices(c.solution.bottom, c.bottomEnd);
    for (std::size_t i = a; i < e; ++i) {
        const double t = (x_[i] - c.solution.bottom) / (c.bottomEnd - c.solution.bottom);
        put(i, c.solution.at(x_[i]) + change * smoothStep(t), 0.05 * std::abs(change) * t);
    }
    paintErratic(c.bottomEnd, c.end, c.bottomLevel, c.erratic);
}

void ScanBuilder::paintBlocked(double from, double to) {
    if (!absorbance()) {
        paintErratic(from, to, random_.uniform(-5.0, 5.0), random_.uniform(0.5, 3.0));
        return;
    }
    switch (filler_) {
    case Filler::Saturated:
        paintErratic(from, to, random_.uniform(3.3, 4.0), random_.uniform(0.2, 0.7));
        return;
    case Filler::Erratic:
        paintErratic(from, to, random_.uniform(0.5, 1.5), random_.uniform(1.5, 2.5));
        return;
    case Filler::One:
    case Filler::MinusTwo:
        break;
    }
    auto [a, e] = indices(from, to);
    for (std::size_t i = a; i < e; ++i) {
        if (filler_ == Filler::One) {
            reading_[i] = 1.0;
            deviation_[i] = 0.0;
        } else {
            reading_[i] = -2.25 + 0.003 * random_.gauss();
            deviation_[i] = random_.uniform(0.001, 0.01);
        }
        signal_[i] = reading_[i];
    }
}

// A reading on the smooth profile `signal` with the noise at its place, made larger by
// `disturbance` at artifacts, where the deviation grows too.
void ScanBuilder::put(std::size_t i, double signal, double disturbance) {
    if (absorbance() && signal > Saturation) {
        signal = random_.uniform(Saturation - 0.2, Saturation + 1.0);
        disturbance += 0.5;
    } else if (!absorbance()) {
        signal += tilt_ * (x_[i] - x_.front()) +
                  wobble_ * std::sin(2.0 * std::numbers::pi * x_[i] / wobblePeriod_ + wobblePhase_);
    }
    const double sigma = noiseAt(signal) + disturbance;
    signal_[i] = signal;
    reading_[i] = signal + sigma * random_.gauss();
    deviation_[i] = sigma * random_.uniform(0.7, 1.3);
}

// Readings without light or without fringes: absorbance scatters around a level, the fringe
// count wanders and jumps by whole fringes.
void ScanBuilder::paintErratic(double from, double to, double level, double spread) {
    auto [a, e] = indices(from, to);
    double walk = 0.0;
    for (std::size_t i = a; i < e; ++i) {
        if (absorbance()) {
            reading_[i] = level + spread * random_.uniform(-1.0, 1.0);
        } else {
            walk += 0.2 * spread * random_.gauss();
            if (random_.chance(0.03)) {
                walk += random_.integer(-3, 3);
            }
            reading_[i] = level + walk + 0.3 * spread * random_.gauss();
        }
        deviation_[i] = spread * random_.uniform(0.2, 1.0);
        signal_[i] = reading_[i];
    }
}

void ScanBuilder::findTruth(const Channel& c) {
    if (c.empty) {
        return;
    }
    auto [a, e] = indices(c.meniscusEnd, c.solution.bottom);
    for (std::size_t i = a; i < e; ++i) {
        if (absorbance() && signal_[i] > AbsorbanceCeiling) {
            scan_.pastCeiling = true;
            e = i;
            break;
        }
    }
    scan_.columns.push_back({static_cast<int>(a) + 1, static_cast<int>(e)});
}

// Dust, bubbles and the electronics: outliers of one to three points inside a column, most of
// them large, some too small to count.
void ScanBuilder::plantSpikes(const TruthColumn& column) {
    const int large = random_.integer(0, 2) + (random_.chance(0.2) ? 1 : 0);
    const int small = random_.chance(0.4) ? 1 : 0;
    for (int n = 0; n < large + small; ++n) {
        PlantedSpike spike;
        const double u = random_.uniform();
        spike.count = n >= large ? 1 : u < 0.6 ? 1 : u < 0.85 ? 2 : 3;
        spike.size = n >= large ? random_.uniform(3.0, 8.0) : random_.uniform(10.0, 50.0);
        // Indices from 1; a spike keeps three points away from another one and from the ends.
        const int low = column.first + 3;
        const int high = column.last - 3 - spike.count;
        if (high <= low) {
            return;
        }
        bool clear = false;
        for (int attempt = 0; attempt < 20 && !clear; ++attempt) {
            spike.first = random_.integer(low, high);
            clear = std::none_of(scan_.spikes.begin(), scan_.spikes.end(), [&](const auto& s) {
                return spike.first < s.first + s.count + 3 &&
                       s.first < spike.first + spike.count + 3;
            });
        }
        if (!clear) {
            continue;
        }
        const double sign = random_.chance(0.7) ? 1.0 : -1.0;
        const bool deviates = random_.chance(0.5);
        for (int j = 0; j < spike.count; ++j) {
            const auto i = static_cast<std::size_t>(spike.first + j - 1);
            const double amplitude = spike.size * random_.uniform(1.0, 1.3) * noiseAt(signal_[i]);
            reading_[i] += sign * amplitude;
            if (deviates) {
                deviation_[i] += amplitude * random_.uniform(0.3, 1.0);
            }
        }
        scan_.spikes.push_back(spike);
    }
}

std::string formatted(double value, std::chars_format format, int precision) {
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    std::string text(buffer, result.ptr);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

std::string padded(const std::string& text, std::size_t width) {
    return std::string(width - std::min(width, text.size()), ' ') + text;
}

// The instrument's ASCII scan: a description line, the header line (scan type, cell,
// temperature, speed, elapsed seconds, omega^2 t, wavelength, replicates), then the points.
void ScanBuilder::writeText(int number) {
    const int cell = random_.integer(1, 8);
    const int rpm =
        scan_.run == Run::Velocity ? 1000 * random_.integer(30, 60) : 1000 * random_.integer(8, 40);
    const int seconds = 3600 + 600 * number;
    const double omega = rpm * std::numbers::pi / 30.0;
    std::string& t = scan_.text;
    t = "Cell " + std::to_string(cell) + "  sample  scan " + std::to_string(number) + "\r\n";
    t += std::string(absorbance() ? "R " : "P ") + std::to_string(cell) + " 20.0 " +
         std::to_string(rpm) + " " + std::to_string(seconds) + " " +
         formatted(omega * omega * seconds, std::chars_format::scientific, 4) +
         (absorbance() ? " 280 1" : " 655 1") + "\r\n";
    for (std::size_t i = 0; i < x_.size(); ++i) {
        if (absorbance()) {
            t += padded(formatted(x_[i], std::chars_format::fixed, 4), 9) +
                 padded(formatted(reading_[i], std::chars_format::scientific, 5), 14) +
                 padded(formatted(deviation_[i], std::chars_format::scientific, 5), 14);
        } else {
            t += padded(formatted(x_[i], std::chars_format::fixed, 5), 9) +
                 padded(formatted(reading_[i], std::chars_format::fixed, 5), 11);
        }
        t += "\r\n";
    }
    char name[32];
    std::snprintf(name, sizeof name, "%05d.%s%d", number, absorbance() ? "RA" : "IP", cell);
    scan_.name = name;
}

} // namespace

GeneratedScan generateScan(std::uint64_t seed, int number) {
    Random random(seed * 0x9E3779B97F4A7C15u + static_cast<std::uint64_t>(number));
    GeneratedScan scan;
    ScanBuilder(random, scan).make(number);
    return scan;
}

void loadScan(const GeneratedScan& scan, DataSet& data) {
    auto file = std::make_unique<ScanFile>();
    if (const Done parsed = parseScanText(scan.text, *file); !parsed) {
        throw std::runtime_error(scan.name + ": " + parsed.reason());
    }
    takeScan(data, *file, scan.name);
}

std::string describeTruth(const GeneratedScan& scan) {
    std::string text = std::string("optics ") +
                       (scan.optics == Optics::Absorbance ? "absorbance" : "interference") +
                       "\nrun " + (scan.run == Run::Equilibrium ? "equilibrium" : "velocity") +
                       "\nnoise " + formatted(scan.noise, std::chars_format::general, 3) +
                       "\nstep " + formatted(scan.step, std::chars_format::general, 3) + "\n";
    if (scan.pastCeiling) {
        text += "readings past the absorbance ceiling\n";
    }
    for (const TruthColumn& c : scan.columns) {
        text += "column " + std::to_string(c.first) + " " + std::to_string(c.last) + "\n";
    }
    for (const PlantedSpike& s : scan.spikes) {
        text += "spike " + std::to_string(s.first) + " " + std::to_string(s.count) + " " +
                formatted(s.size, std::chars_format::fixed, 1) + "\n";
    }
    return text;
}

void writeScan(const GeneratedScan& scan, const std::string& folder, const std::string& more) {
    const std::string path = folder + "/" + scan.name;
    for (const auto& [name, text] :
         {std::pair{path, scan.text}, std::pair{path + ".truth", describeTruth(scan) + more}}) {
        std::ofstream out(name, std::ios::binary);
        out << text;
        if (!out.flush()) {
            throw std::runtime_error("cannot write " + name);
        }
    }
}

} // namespace skerry::accuracy
