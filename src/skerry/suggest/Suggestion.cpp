#include "skerry/suggest/Suggestion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "skerry/suggest/RunningMedian.h"

namespace skerry {

namespace {

// ---- What the search assumes about scans, each from the optics or from statistics ----

// A spike is an outlier of one to three points.
constexpr int SpikeWidth = 3;
// A point this many times the local noise off its neighbours' median is an outlier: Gaussian
// noise gets that far once in a few million points.
constexpr double OutlierNoises = 5.0;
// Excursions of the spike-free curve from its wider running median this many times the noise are
// artifacts (menisci, ringing); a curve that only rises or only falls never makes them.
constexpr double ExcursionNoises = 6.0;
// A cluster of outliers across which the curve jumps by this many standard errors is an edge
// (a meniscus), not a spike.
constexpr double StepErrors = 5.0;
// Points each side of a cluster of outliers through which the curve is followed across it.
constexpr int SideWindow = 24;
// Points through which the curve is followed towards an end of a column, and how far (in noises)
// two points in a row may leave it before they are taken for the edge of an artifact.
constexpr int FitWindow = 8;
constexpr double EdgeNoises = 5.0;
// Residuals whose mean square over 2 * RoughHalfWindow + 1 points is this many times the noise's
// square are rough: chance makes that far less than once a scan.
constexpr int RoughHalfWindow = 6;
constexpr double RoughSquares = 3.0;
// Noise this many times the scan's quiet noise is erratic: light blocked or lost.
constexpr double ErraticNoises = 10.0;
// The optics blur the radius by about their finest step (0.001 cm): the tail of an artifact
// reaches this many cm further than its points show.
constexpr double BlurCm = 0.001;
// The wider running median is taken at this many points each side of the centre.
constexpr int WideSamples = 8;
// A stretch's own noise is the median of this many of its points' noises.
constexpr int OwnNoiseSamples = 64;
// The noise is measured over blocks of 2 * NoiseHalfWindow + 1 second differences.
constexpr int NoiseHalfWindow = 20;
// Noise that rises this much above the quieter side of a point is taken for an artifact's.
constexpr double QuietRise = 1.5;
// The columns of a scan are read through the same optics: a stretch whose noise is this many
// times the scan's quiet noise is no solution. Absorbance noise grows with the light lost, as
// 10^(A/2): 5.6 times from 0 OD to the 1.5 OD ceiling. Interference noise does not grow with
// the fringes: there, a stretch whose noise is QuietRise squared times the quiet noise is none.
constexpr double ScatteredNoises = 6.0;
constexpr double ScatteredFringeNoises = QuietRise * QuietRise;
// Readings repeated exactly this many times in a row are a filler, not a measurement.
constexpr int FillerRun = 8;
// A solution column holds at least this many points: fewer cannot be told from an artifact.
constexpr int MinColumnPoints = 16;
// The optics' artifacts at a meniscus (the spike or dip and the ringing after it) span at most
// this many cm of radius; the running median that finds them is twice as wide.
constexpr double MeniscusReachCm = 0.03;

// A solution's readings change across its column by more than this many times the noise.
constexpr double SolutionNoises = 6.0;
// An artifact (or a spike) standing out this many times the noise may be a meniscus.
constexpr double MeniscusNoises = 2 * OutlierNoises;

// The reference meniscus is small beside the sample's: a spike after air is taken for the
// sample's meniscus, in place of an artifact before it, when it takes out more than this many
// times its light. Of two alike, the later is as likely dust in the column.
constexpr double ReferenceShare = 2.0;

// The scan of one cell holds at most this many solution columns.
constexpr std::size_t MaxColumns = 4;
// Second differences of independent Gaussian noise have 6 times its variance; 1.4826 turns a
// median absolute value into a standard deviation.
const double NoisePerMedianAbsD2 = 1.4826 / std::sqrt(6.0);
// The standard error of the median of Gaussian readings is this many times their mean's.
const double MedianErrors = std::sqrt(std::numbers::pi / 2.0);
// The noise of the difference of two readings is this many times theirs.
const double Sqrt2 = std::sqrt(2.0);

// The points the search looks at: the good ones inside the window, in the order of the scan.
struct Trace {
    std::vector<std::int32_t> index; // into WorkPoints, from 1
    std::vector<double> r;           // radius in cm
    std::vector<double> y;           // reading
    int size() const { return static_cast<int>(index.size()); }
    // Whether points before the first were deleted or left out by the window: the scan was cut
    // there, maybe inside a column.
    bool cut() const { return !index.empty() && index.front() > 1; }
};

void traceOf(const DataSet& data, const SuggestSettings& settings, Trace& t) {
    t.index.clear();
    t.r.clear();
    t.y.clear();
    const int count = std::clamp(data.PointCount, 0, MaxPoints);
    bool radius = true;
    for (int i = count; i >= 1; --i) {
        if (data.WorkPoints(i).isGood()) {
            radius = data.WorkPoints(i).x < 8.0f; // the same rule as loading a scan
            break;
        }
    }
    for (int i = 1; i <= count; ++i) {
        const Point& p = data.WorkPoints(i);
        if (!p.isGood() || (settings.lowX && p.x < *settings.lowX) ||
            (settings.highX && p.x > *settings.highX)) {
            continue;
        }
        t.index.push_back(i);
        const double x = p.x;
        t.r.push_back(radius ? x : std::sqrt(std::max(0.0, 2.0 * x)));
        t.y.push_back(p.reading);
    }
}

// An absorbance scan: the header line of an instrument file names the scan type by its first
// letter; without one, a recorded deviation column (third values that differ) says absorbance.
bool isAbsorbance(const DataSet& data) {
    if (data.CommentCount >= 2) {
        const std::string_view header = data.CommentBlock.line(2);
        const auto first = header.find_first_not_of(' ');
        if (first != std::string_view::npos && first + 1 < header.size() &&
            header[first + 1] == ' ' &&
            std::string_view("RIPFW").find(header[first]) != std::string_view::npos) {
            return header[first] == 'R' || header[first] == 'W';
        }
    }
    const int count = std::clamp(data.PointCount, 0, MaxPoints);
    for (int i = 2; i <= count; ++i) {
        if (std::abs(data.WorkPoints(i).third) != std::abs(data.WorkPoints(1).third)) {
            return true;
        }
    }
    return false;
}

double medianOf(std::vector<double>& v) {
    if (v.empty()) {
        return 0.0;
    }
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>((v.size() - 1) / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

double quantileOf(std::vector<double>& v, double q) {
    if (v.empty()) {
        return 0.0;
    }
    const auto at = v.begin() + static_cast<std::ptrdiff_t>(q * static_cast<double>(v.size() - 1));
    std::nth_element(v.begin(), at, v.end());
    return *at;
}

// The value at position c of the least-squares line through v[from..to-1] (positions as x).
double lineAt(const std::vector<double>& v, int from, int to, double c) {
    const double n = to - from;
    const double mid = (from + to - 1) / 2.0;
    double mean = 0.0;
    for (int j = from; j < to; ++j) {
        mean += v[j];
    }
    mean /= n;
    double sxy = 0.0;
    double sxx = 0.0;
    for (int j = from; j < to; ++j) {
        sxy += (j - mid) * (v[j] - mean);
        sxx += (j - mid) * (j - mid);
    }
    return mean + (sxx > 0.0 ? sxy / sxx * (c - mid) : 0.0);
}

// The least-squares parabola through v over positions [a, b) and [d, e) (positions as x): its
// coefficients of 1, u and u^2 with u the distance from position c, solved from the normal
// equations by elimination, and the root mean square of its residuals.
struct Parabola {
    double coef[3] = {};
    double rms = 0.0;
    double at(double x, double c) const {
        const double u = x - c;
        return coef[0] + coef[1] * u + coef[2] * u * u;
    }
};

Parabola parabolaAcross(const std::vector<double>& v, int a, int b, int d, int e, double c) {
    double m[3][4] = {};
    auto add = [&](int j) {
        const double u = j - c;
        const double f[3] = {1.0, u, u * u};
        for (int r = 0; r < 3; ++r) {
            for (int q = 0; q < 3; ++q) {
                m[r][q] += f[r] * f[q];
            }
            m[r][3] += f[r] * v[j];
        }
    };
    for (int j = a; j < b; ++j) {
        add(j);
    }
    for (int j = d; j < e; ++j) {
        add(j);
    }
    for (int q = 0; q < 3; ++q) {
        for (int r = 0; r < 3; ++r) {
            if (r != q) {
                const double factor = m[r][q] / m[q][q];
                for (int k = q; k < 4; ++k) {
                    m[r][k] -= factor * m[q][k];
                }
            }
        }
    }
    Parabola p;
    for (int r = 0; r < 3; ++r) {
        p.coef[r] = m[r][3] / m[r][r];
    }
    double squares = 0.0;
    for (int j = a; j < b; ++j) {
        squares += (v[j] - p.at(j, c)) * (v[j] - p.at(j, c));
    }
    for (int j = d; j < e; ++j) {
        squares += (v[j] - p.at(j, c)) * (v[j] - p.at(j, c));
    }
    p.rms = std::sqrt(squares / (b - a + e - d));
    return p;
}

// The value at position c of the least-squares parabola through v[from..to-1] (positions as x).
double parabolaAt(const std::vector<double>& v, int from, int to, double c) {
    return parabolaAcross(v, from, to, to, to, c).coef[0];
}

// How many standard errors the curve jumps by across positions a..b-1: a least-squares fit of a
// cubic with a step between its two sides, through the points from..a-1 and b..to-1 that `use`
// allows. Zero when the sides hold too few points to tell.
double jumpSignificance(const std::vector<double>& y, const std::vector<char>& use, int from, int a,
                        int b, int to) {
    constexpr int P = 5; // 1, u, u^2, u^3, step
    double m[P][P + 1] = {};
    int count = 0;
    const double centre = (a + b - 1) / 2.0;
    const double scale = std::max(1.0, (to - from) / 2.0);
    auto basis = [&](int j, double(&f)[P]) {
        const double u = (j - centre) / scale;
        f[0] = 1.0;
        f[1] = u;
        f[2] = u * u;
        f[3] = u * u * u;
        f[4] = j >= b ? 1.0 : 0.0;
    };
    for (int j = from; j < to; ++j) {
        if ((j >= a && j < b) || !use[j]) {
            continue;
        }
        double f[P];
        basis(j, f);
        for (int r = 0; r < P; ++r) {
            for (int c = 0; c < P; ++c) {
                m[r][c] += f[r] * f[c];
            }
            m[r][P] += f[r] * y[j];
        }
        ++count;
    }
    if (count < 2 * P) {
        return 0.0;
    }
    // Gauss-Jordan elimination of the normal equations, carrying the inverse's step entry: the
    // last column of an identity appended to the right.
    double inv[P][P] = {};
    for (int r = 0; r < P; ++r) {
        inv[r][r] = 1.0;
    }
    for (int c = 0; c < P; ++c) {
        int pivot = c;
        for (int r = c + 1; r < P; ++r) {
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) {
                pivot = r;
            }
        }
        if (std::abs(m[pivot][c]) < 1e-12) {
            return 0.0;
        }
        std::swap(m[c], m[pivot]);
        std::swap(inv[c], inv[pivot]);
        for (int r = 0; r < P; ++r) {
            if (r == c) {
                continue;
            }
            const double factor = m[r][c] / m[c][c];
            for (int k = c; k <= P; ++k) {
                m[r][k] -= factor * m[c][k];
            }
            for (int k = 0; k < P; ++k) {
                inv[r][k] -= factor * inv[c][k];
            }
        }
    }
    double coef[P];
    for (int r = 0; r < P; ++r) {
        coef[r] = m[r][P] / m[r][r];
    }
    double rss = 0.0;
    for (int j = from; j < to; ++j) {
        if ((j >= a && j < b) || !use[j]) {
            continue;
        }
        double f[P];
        basis(j, f);
        double fitted = 0.0;
        for (int r = 0; r < P; ++r) {
            fitted += coef[r] * f[r];
        }
        rss += (y[j] - fitted) * (y[j] - fitted);
    }
    const double variance = rss / (count - P) * inv[P - 1][P - 1] / m[P - 1][P - 1];
    return variance > 0.0 ? std::abs(coef[P - 1]) / std::sqrt(variance) : 0.0;
}

struct Stretch {
    int begin = 0; // trace positions, end exclusive
    int end = 0;
    int size() const { return end - begin; }
};

// What each point of the trace was found to be.
enum class Mark : char {
    Unusable,  // past the absorbance ceiling, a filler, or in a stretch too short to judge
    Erratic,   // in a stretch of erratic readings
    Artifact,  // part of an artifact: a meniscus, ringing, an edge
    Excursion, // off the wider course of the curve: an artifact, or next to one
    Spike,     // an outlier of at most SpikeWidth points with the curve going on across it
    Clean,
};

// The search for solution columns in a scan. One is kept on each thread and used for scan
// after scan, so that its arrays are allocated once: freeing and allocating them anew for
// every scan costs more than the search.
class ColumnSearch {
public:
    // The points the search looks at.
    const Trace& trace() const { return t_; }

    // Takes in the points of a scan. Returns false, with nothing else done, when there are too
    // few for a column.
    bool take(const DataSet& data, const SuggestSettings& settings) {
        traceOf(data, settings, t_);
        n_ = t_.size();
        return n_ >= MinColumnPoints;
    }

    // Judges every point of the scan taken in.
    void judge(bool absorbance, float ceiling) {
        absorbance_ = absorbance;
        scratch_.clear();
        for (int k = 1; k < n_; ++k) {
            scratch_.push_back(std::abs(t_.r[k] - t_.r[k - 1]));
        }
        step_ = medianOf(scratch_);
        reach_ = step_ > 0.0
                     ? static_cast<int>(std::clamp(std::ceil(MeniscusReachCm / step_), 3.0, 200.0))
                     : 3;
        // The points a length covers whole; a tenth of a point spared, as radii are recorded
        // to a few decimals and a step of 0.001 cm comes out a little over or under it.
        const auto whole = [&](double cm) {
            return step_ > 0.0 ? static_cast<int>(std::min(std::floor(cm / step_ + 0.1), 200.0))
                               : 0;
        };
        blur_ = whole(BlurCm);
        spanned_ = std::max(whole(MeniscusReachCm), SpikeWidth);
        const auto n = static_cast<std::size_t>(n_);
        mark_.assign(n, Mark::Clean);
        rough_.assign(n, 0);
        steady_.assign(n, 0);
        cleaned_.assign(n, 0.0);
        markUnusable(absorbance, ceiling);
        findRegions(Mark::Unusable);
        measureNoise();
        // Erratic stretches are set apart too, so that their readings do not sway the level of
        // the curve next to them. The noise over a block is erratic up to a block's reach from
        // erratic readings: only where the few readings around a point scatter as much is it
        // erratic itself, so that the air and the meniscus next to blocked light stay readings.
        const double erratic = ErraticNoises * scanNoise_;
        for (const Stretch& r : regions_) {
            for (int k = r.begin; k < r.end; ++k) {
                if (noise_[k] > erratic && noiseAround(r, k) > erratic) {
                    mark_[k] = Mark::Erratic;
                }
            }
            trimErratic(r);
        }
        findRegions(Mark::Erratic);
        for (const Stretch& s : regions_) {
            judgePoints(s);
        }
        own_.assign(n, std::numeric_limits<double>::infinity());
        for (const Stretch& r : regions_) {
            std::fill(own_.begin() + r.begin, own_.begin() + r.end, ownNoise(r));
        }
    }

    bool anyRegion() const { return !regions_.empty(); }

    // Runs of points without artifacts, spikes allowed inside, long enough for a column.
    std::vector<Stretch> smoothStretches() const {
        std::vector<Stretch> smooth;
        for (int k = 0; k < n_;) {
            if (mark_[k] != Mark::Clean) {
                ++k;
                continue;
            }
            Stretch s{k, k + 1};
            while (s.end < n_ && (mark_[s.end] == Mark::Clean || mark_[s.end] == Mark::Spike) &&
                   !holeBefore(s.end)) {
                ++s.end;
            }
            while (mark_[s.end - 1] != Mark::Clean) {
                --s.end;
            }
            if (s.size() >= MinColumnPoints) {
                smooth.push_back(s);
            }
            k = s.end;
        }
        return smooth;
    }

    // The column in a smooth stretch: its ends followed outwards as long as the curve goes on,
    // then moved in by the width of the artifact that ends it.
    Stretch column(const Stretch& s) const { return {edge(s, false), edge(s, true) + 1}; }

    bool isSpike(int k) const { return mark_[k] == Mark::Spike; }

    // Whether the readings of stretch s change by more than the noise could make them: a
    // solution shows a gradient or a boundary, a channel holding none is flat.
    bool holdsSolution(const Stretch& s) const {
        const auto [low, high] =
            std::minmax_element(level_.begin() + s.begin, level_.begin() + s.end);
        return *high - *low > SolutionNoises * quiet_[(s.begin + s.end) / 2];
    }

    // Whether the absorbance at the start of c stands higher than in the air before the artifact
    // that c begins past (c may begin with a few clean points next to it), an artifact without
    // erratic readings or readings that cannot be used: those are blocked light, and the readings
    // before them no air. The reading is the light through the reference sector against that
    // through the sample's: past the reference's meniscus its buffer takes out reference light
    // and the readings fall; past the sample's meniscus buffer and solute take out sample light
    // and they rise. An artifact across which the readings rise is the sample's meniscus, however
    // faint, a spike past it is dust in the column, however large, and what follows holds a
    // solution, however flat.
    bool risesFromAir(const Stretch& c) {
        if (c.size() < FitWindow) {
            return false;
        }
        auto within = [&](int a, int from) {
            return a >= 0 && from - a <= 2 * reach_ && !holeBefore(a + 1);
        };
        int a = c.begin - 1;
        while (within(a, c.begin) && mark_[a] == Mark::Clean) {
            --a;
        }
        const int artifact = a; // its last point
        while (within(a, artifact) && mark_[a] != Mark::Clean) {
            if (mark_[a] == Mark::Unusable || mark_[a] == Mark::Erratic) {
                return false; // blocked light, not a meniscus
            }
            --a;
        }
        if (a == artifact || a < FitWindow - 1 || mark_[a] != Mark::Clean || holeBefore(a + 1)) {
            return false;
        }
        int artifacts = 0;
        for (int j = a - FitWindow + 1; j <= a; ++j) {
            if (mark_[j] == Mark::Unusable || mark_[j] == Mark::Erratic ||
                (j > a - FitWindow + 1 && holeBefore(j))) {
                return false;
            }
            artifacts += mark_[j] == Mark::Artifact ? 1 : 0;
        }
        // Their median is the air's level only where most of them are readings of it: next to
        // blocked light, a few of its scattered readings may happen to lie close enough together
        // to be judged, and the rest are no air.
        return 2 * artifacts < FitWindow && risesBetween(a, c.begin);
    }

    // Whether light is blocked somewhere between trace positions a and b: points deleted before
    // over more than a meniscus's artifacts, or more readings than those artifacts span that
    // cannot be used, are erratic, are part of artifacts or off the wider course next to them.
    // Between the air and the column of a channel lies one meniscus; between two channels lie a
    // bottom and the centerpiece, whose erratic readings cross the curve now and then.
    bool blockedBetween(int a, int b) const {
        double blocked = 0.0; // cm of radius
        for (int k = a + 1; k <= b; ++k) {
            if (holeBefore(k)) {
                return true; // points deleted: blocked light, or a stretch the user took out
            }
            if (k < b && (mark_[k] == Mark::Unusable || mark_[k] == Mark::Erratic ||
                          mark_[k] == Mark::Artifact || mark_[k] == Mark::Excursion)) {
                blocked += std::abs(t_.r[k] - t_.r[k - 1]);
            }
        }
        return blocked > MeniscusReachCm;
    }

    // Whether the readings of stretch s scatter more than a solution's can: light blocked or
    // lost, as between the channels of an interference scan, where the fringe count wanders.
    // Their scatter is measured over the stretch alone: the noise over blocks reaches into the
    // blocked light around a short column.
    bool scattered(const Stretch& s) {
        return noiseOver(s.begin + 1, s.end - 1) >
               (absorbance_ ? ScatteredNoises : ScatteredFringeNoises) * scanNoise_;
    }

    // A smooth stretch that holds a column is longer than the artifacts at both its ends could
    // be, or it could be one. (The column followed in it is shorter by its ends' margins.)
    int minStretch() const { return std::max(MinColumnPoints, 2 * reach_); }

    // The meniscus a column starts behind. Usually it is the artifact just before the stretch
    // (behind it, past air and the reference meniscus, lies the rest of the channel): one that
    // stands out like a meniscus, or one across which the absorbance rises, however faint. A
    // meniscus as narrow as a spike, with the curve going on across it, was taken for one: without
    // an artifact before the stretch it is the first spike that stands out like a meniscus, unless
    // the readings before the spike are no air: then the spike is dust in the column, and the
    // meniscus lay in the blocked light the stretch begins at, or showed only as the sharpest jump
    // of the level before the spike. Either is only the reference meniscus when such a spike
    // follows across air and takes out ReferenceShare times its light, the light of the level's
    // step across it counted in: the sample's meniscus is the last before the solution (dust in
    // the column lies past where the readings stop being air, or past an artifact across which
    // the absorbance rose). Without any the stretch is a column only where the scan (or the
    // window) starts inside one, unless it starts with air up to a sharp jump, or where the
    // meniscus lay in the blocked light it begins at; a channel without a meniscus holds no
    // solution. Returns the stretch after the meniscus, or an empty one.
    Stretch afterMeniscus(const Stretch& s) {
        const Before before = meniscusBefore(s);
        double light = before.light;
        bool risen = risesFromAir(s); // across the meniscus taken
        // past the last meniscus-like artifact
        int from = before.meniscus || risen ? s.begin : -1;
        int begin = from; // past the meniscus taken
        for (int k = s.begin; k < s.end; ++k) {
            const bool step = isStep(s, k);
            if (!step && (mark_[k] != Mark::Spike || prominence(k) < MeniscusNoises)) {
                continue;
            }
            // Past the edge of blocked light (a meniscus that takes out no light), the readings
            // lag as the light comes back: whether they are air is judged from FitWindow on.
            const int air = light > 0.0 ? from : std::min(k, from + FitWindow);
            if (from >= 0 && (risen || !isAir(air, k))) {
                break;
            }
            if (from < 0 && (risesBefore(s, k) || (!afterBlocked(s) && !isAir(s.begin, k)))) {
                // A spike in the column, the readings before it no air: its meniscus lay in the
                // blocked light, or showed only as the jump from the air's level to the
                // solution's, whose points are the meniscus's and are not followed into.
                if (afterBlocked(s)) {
                    const int jump = jumpAfterAir(s, k);
                    begin = jump >= 0 ? pastJump(jump) : s.begin;
                    break;
                }
                const int jump = sharpestJump(s, k);
                if (jump >= 0) {
                    begin = pastJump(jump);
                    break;
                }
            }
            // The light a spike takes out, or the jump of a step, in noises: none within
            // FitWindow readings of the blocked light the stretch begins at, whose edge it is,
            // as before a stretch.
            int end = k;
            double seen = 0.0;
            if (step) {
                end = k + 2;
                seen = std::abs(level_[k + 1] - level_[k - 1]) / quiet_[k];
            }
            while (!step && end < s.end && mark_[end] == Mark::Spike) {
                seen += prominence(end++);
            }
            if (from < 0 && afterBlocked(s) && k - s.begin < FitWindow) {
                seen = 0.0;
            }
            // Past the sample's meniscus the solution takes out light at every reading: a step
            // of the level across the spike adds as much as it takes out over the FitWindow
            // readings it is measured on.
            auto outweighs = [&] {
                return seen + FitWindow * stepAcross(s, k, end) > ReferenceShare * light;
            };
            if (step || from < 0 || outweighs()) {
                light = seen;
                begin = end;
                risen = k - FitWindow >= s.begin && end + FitWindow <= s.end &&
                        risesBetween(k - 1, end);
            }
            from = end;
            k = end - 1;
        }
        // Where no meniscus was found past the edge of blocked light (a meniscus that takes out
        // no light), air up to a sharp jump of the level makes the jump the meniscus, as right
        // after blocked light.
        if (begin == s.begin && !risen && before.meniscus && before.light == 0.0) {
            const int jump = jumpAfterAir(s, s.end);
            if (jump >= 0) {
                begin = pastJump(jump);
            }
        }
        if (begin < 0 && startsInside(s) && !t_.cut()) {
            // Readings the scan starts with that are air up to a sharp jump of the level are no
            // column the scan starts inside: the jump is its meniscus. (Where the scan was cut,
            // it may well start inside a column.)
            const int jump = sharpestJump(s, s.end);
            if (jump >= 0 && isAir(s.begin, jump)) {
                begin = pastJump(jump);
            }
        }
        if (begin < 0) {
            // The meniscus may lie in the blocked light the stretch begins at: the absorbance
            // rises through a solution's column, while the air of an empty channel stays level,
            // or falls past the reference's meniscus.
            const bool hidden = afterBlocked(s) && s.size() >= 2 * FitWindow &&
                                risesBetween(s.begin + FitWindow - 1, s.end - FitWindow);
            // Unless the stretch begins with air up to a sharp jump of the level.
            const int jump = hidden ? jumpAfterAir(s, s.end) : -1;
            if (jump < 0) {
                return startsInside(s) || hidden ? s : Stretch{s.end, s.end};
            }
            begin = pastJump(jump);
        }
        for (int k = begin - 1; k >= s.begin && mark_[k] == Mark::Spike; --k) {
            mark_[k] = Mark::Artifact;
        }
        return {begin, s.end};
    }

private:
    // Whether points longer than a meniscus's artifacts were deleted before point k: blocked
    // light (a filler without deviation) or a stretch the user took out. Shorter holes are
    // bridged.
    bool holeBefore(int k) const { return std::abs(t_.r[k] - t_.r[k - 1]) > MeniscusReachCm; }

    // What lies just before stretch s: whether an artifact that stands out like a meniscus does,
    // and the light it takes out, its points' prominences summed, within twice a meniscus's reach
    // and on this side of blocked light. Readings past the ceiling or erratic (blocked light often
    // holds both) take out all light when together they are as short as a meniscus's artifacts.
    // An artifact against blocked light or the scan's start, with fewer clean readings between
    // them than a level can be told from, is the blocked light's edge and takes out none (at the
    // start, nothing shows that air lies before it): light coming back from behind the
    // centerpiece overshoots or lags, and a channel has air before its meniscus, so a spike like
    // one that follows across air is taken for the meniscus in its place.
    struct Before {
        bool meniscus = false;
        double light = 0.0;
    };
    Before meniscusBefore(const Stretch& s) const {
        double light = 0.0;
        int between = 0; // clean points between the artifact and what lies before it
        auto atBlocked = [&] {
            return Before{light > 0.0, between < FitWindow ? 0.0 : light};
        };
        for (int k = s.begin - 1; k >= 0 && k >= s.begin - 2 * reach_; --k) {
            if (holeBefore(k + 1)) {
                return atBlocked();
            }
            if (mark_[k] == Mark::Unusable || mark_[k] == Mark::Erratic) {
                int from = k;
                while (from > 0 &&
                       (mark_[from - 1] == Mark::Unusable || mark_[from - 1] == Mark::Erratic) &&
                       !holeBefore(from)) {
                    --from;
                }
                if (t_.r[k] - t_.r[from] <= MeniscusReachCm && from > 0) {
                    return {true, std::numeric_limits<double>::infinity()};
                }
                return atBlocked();
            }
            if (mark_[k] != Mark::Clean && (light > 0.0 || prominence(k) >= MeniscusNoises)) {
                light += prominence(k);
            }
            between += light > 0.0 && mark_[k] == Mark::Clean ? 1 : 0;
        }
        if (s.begin - 2 * reach_ < 0) {
            return atBlocked();
        }
        return {light > 0.0, light};
    }

    // Whether the absorbance stands higher from trace position `after` on than up to `before`
    // (the FitWindow readings each side, which the caller has checked are there): their medians
    // differ by more than StepErrors standard errors.
    bool risesBetween(int before, int after) {
        return absorbance_ && beyondChance(medianOver(after, after + FitWindow) -
                                               medianOver(before - FitWindow + 1, before + 1),
                                           after, FitWindow);
    }

    // The median of the readings at trace positions from..to-1.
    double medianOver(std::ptrdiff_t from, std::ptrdiff_t to) {
        scratch_.assign(t_.y.begin() + from, t_.y.begin() + to);
        return medianOf(scratch_);
    }

    // Whether `change`, between the medians of two runs of `count` readings, is more than
    // StepErrors standard errors of such a difference, with the quiet noise at position k.
    bool beyondChance(double change, int k, std::ptrdiff_t count) const {
        const double error = MedianErrors * quiet_[k] * std::sqrt(2.0 / count);
        return change > StepErrors * error;
    }

    // Whether the spike-free level of stretch s jumps between trace positions k - 1 and k + 1
    // as a meniscus does, from the air's level to the solution's: by more than a meniscus stands
    // out, and by more than it changes over the two intervals each side together. A boundary
    // spreads its rise over its width, and the jump at a meniscus lies within the optics' blur.
    bool isStep(const Stretch& s, int k) const {
        if (k - 3 < s.begin || k + 3 >= s.end) {
            return false;
        }
        const double jump = std::abs(level_[k + 1] - level_[k - 1]);
        return jump > MeniscusNoises * quiet_[k] &&
               jump > std::abs(level_[k - 1] - level_[k - 3]) +
                          std::abs(level_[k + 3] - level_[k + 1]);
    }

    // The trace position before the sharpest jump of the spike-free level in stretch s before
    // position k (the spike's width left out), as in isStep but standing out by OutlierNoises
    // only: the level's running median of seven scatters by half a noise, so such a jump between
    // two points is far beyond chance. -1 when there is none.
    int sharpestJump(const Stretch& s, int k) const {
        int best = -1;
        double most = 0.0;
        for (int j = s.begin + 3; j + 3 < k - SpikeWidth; ++j) {
            const double jump = std::abs(level_[j + 1] - level_[j - 1]);
            const double sharp = jump - std::abs(level_[j - 1] - level_[j - 3]) -
                                 std::abs(level_[j + 3] - level_[j + 1]);
            if (jump > OutlierNoises * quiet_[j] && sharp > most) {
                most = sharp;
                best = j;
            }
        }
        return best;
    }

    // Where stretch s, past blocked light, begins with air up to a sharp jump of the level
    // before position k, the jump is a meniscus too faint to stand out: its position (see
    // sharpestJump), or -1. The readings lag as the light comes back: the air is judged from
    // FitWindow readings on, or over all its readings where fewer would be left (the lag makes
    // them less like air, not more).
    int jumpAfterAir(const Stretch& s, int k) const {
        const int jump = sharpestJump(s, k);
        if (jump < 0) {
            return -1;
        }
        int air = s.begin + FitWindow;
        if (jump - SpikeWidth - air < FitWindow) {
            air = s.begin;
        }
        return isAir(air, jump) ? jump : -1;
    }

    // The points of a jump of the level at trace position `jump` (see sharpestJump) are the
    // meniscus's, and are not followed into; returns the position past them.
    int pastJump(int jump) {
        std::fill(mark_.begin() + jump - 1, mark_.begin() + jump + 2, Mark::Artifact);
        return jump + 2;
    }

    // How far, in noises, the readings of stretch s step across the spike at trace positions
    // k..end-1, from the air's level to a solution's: the difference of the medians of FitWindow
    // readings either side, when it is more than the medians change over the next FitWindow
    // readings each side together, which a curve rising steeply does; 0 when it is not. Past a
    // reference meniscus the air goes on; past dust the column goes on at its level; past the
    // sample's meniscus the solution begins.
    double stepAcross(const Stretch& s, int k, int end) {
        if (k - 2 * FitWindow < s.begin || end + 2 * FitWindow > s.end) {
            return 0.0;
        }
        auto medianFrom = [&](int from) {
            return medianOver(from, from + FitWindow);
        };
        const double before = medianFrom(k - FitWindow);
        const double after = medianFrom(end);
        const double jump = std::abs(after - before);
        const double drift = std::abs(before - medianFrom(k - 2 * FitWindow)) +
                             std::abs(medianFrom(end + FitWindow) - after);
        return jump > drift ? jump / quiet_[k] : 0.0;
    }

    // Whether stretch s begins right after blocked light: readings that cannot be used, erratic
    // ones, or points deleted over more than a meniscus's reach.
    bool afterBlocked(const Stretch& s) const {
        return s.begin > 0 && (holeBefore(s.begin) || mark_[s.begin - 1] == Mark::Unusable ||
                               mark_[s.begin - 1] == Mark::Erratic);
    }

    // Whether the readings over two meniscus reaches before trace position k (its own spike's
    // width left out) change as a solution's do: the medians of the two halves differ by more
    // than StepErrors standard errors. Medians, so that a reference meniscus in the air does not
    // move them.
    bool risesBefore(const Stretch& s, int k) {
        return rises(std::max(s.begin, k - 2 * reach_), k - SpikeWidth);
    }

    bool rises(int from, int to) {
        const std::ptrdiff_t half = (to - from) / 2;
        if (half < FitWindow / 2) {
            return false;
        }
        const double inner = medianOver(to - 2 * half, to - half);
        const double outer = medianOver(to - half, to);
        return beyondChance(std::abs(outer - inner), static_cast<int>(to - half), half);
    }

    // Whether the readings between trace positions a and b are air: too few to tell, or flat,
    // changing by less than a solution's and without a slope that stands out of the noise. The
    // last SpikeWidth levels before b are left out: their running median reaches across b into
    // what follows, the solution's level when b is the meniscus.
    bool isAir(int a, int b) const {
        b -= SpikeWidth;
        if (b - a < FitWindow) {
            return true;
        }
        const double mid = (a + b - 1) / 2.0;
        double mean = 0.0;
        for (int j = a; j < b; ++j) {
            mean += level_[j];
        }
        mean /= b - a;
        double sxy = 0.0;
        double sxx = 0.0;
        for (int j = a; j < b; ++j) {
            sxy += (j - mid) * (level_[j] - mean);
            sxx += (j - mid) * (j - mid);
        }
        return !holdsSolution({a, b}) &&
               std::abs(sxy) / std::sqrt(sxx) <= StepErrors * quiet_[(a + b) / 2];
    }

    // Whether nothing but clean points lie between the start of the scan and stretch s.
    bool startsInside(const Stretch& s) const {
        for (int k = s.begin - 1; k >= 0; --k) {
            if (holeBefore(k + 1) || (mark_[k] != Mark::Clean && mark_[k] != Mark::Spike)) {
                return false;
            }
        }
        return true;
    }

    // Past the absorbance ceiling (judged on the spike-free level, so that a spike does not
    // split a column) and fillers.
    void markUnusable(bool absorbance, float ceiling) {
        level_.assign(static_cast<std::size_t>(n_), 0.0);
        runningMedians(t_.y, 0, n_, SpikeWidth, level_);
        if (absorbance) {
            for (int k = 0; k < n_; ++k) {
                if (std::abs(level_[k]) > ceiling) {
                    mark_[k] = Mark::Unusable;
                }
            }
        }
        for (int k = 0; k < n_;) {
            int run = k + 1;
            while (run < n_ && t_.y[run] == t_.y[k]) {
                ++run;
            }
            if (run - k >= FillerRun) {
                std::fill(mark_.begin() + k, mark_.begin() + run, Mark::Unusable);
            }
            k = run;
        }
    }

    // The noise is measured over blocks, so an erratic stretch seems to begin up to a block
    // before its first erratic reading. From each side of an erratic stretch, the points that go
    // on along the straight line through the FitWindow points before them, within EdgeNoises of
    // the quiet side's noise, are taken back, and so are spikes the line goes on across: erratic
    // readings scatter off any line, and the steep rise or fall of a bottom leaves it within a
    // point or two.
    void trimErratic(const Stretch& r) {
        auto quietFrom = [&](int from) {
            return from >= r.begin && from + FitWindow <= r.end &&
                   std::none_of(mark_.begin() + from, mark_.begin() + from + FitWindow,
                                [](Mark m) { return m == Mark::Erratic; });
        };
        for (int k = r.begin; k < r.end;) {
            if (mark_[k] != Mark::Erratic) {
                ++k;
                continue;
            }
            int end = k;
            while (end < r.end && mark_[end] == Mark::Erratic) {
                ++end;
            }
            const int stop = end;
            if (quietFrom(k - FitWindow)) {
                k = takeBack(k, end, 1, quietSide(r, k - 1, 1));
            }
            if (quietFrom(end) && end > k) {
                end = takeBack(end - 1, k - 1, -1, quietSide(r, end, -1)) + 1;
            }
            k = stop;
        }
    }

    // The noise of the FitWindow / 2 readings each side of trace position k in region r, from
    // the median of their second differences.
    double noiseAround(const Stretch& r, int k) {
        const int from = std::max(r.begin + 1, k - FitWindow / 2);
        const int to = std::min(r.end - 1, k + FitWindow / 2 + 1);
        return to - from < 3 ? noise_[k] : noiseOver(from, to);
    }

    // The noise from the median of the second differences at trace positions from..to-1 (each
    // with a reading either side).
    double noiseOver(int from, int to) {
        scratch_.clear();
        for (int j = from; j < to; ++j) {
            scratch_.push_back(std::abs(t_.y[j - 1] - 2.0 * t_.y[j] + t_.y[j + 1]));
        }
        return medianOf(scratch_) * NoisePerMedianAbsD2;
    }

    // The noise of the quiet side at trace position `edge` next to erratic readings that lie
    // towards dir (+1 or -1): measured on the readings just this side of the edge, as the noise
    // over a block at the edge reaches into them; never below the scan's quiet noise.
    double quietSide(const Stretch& r, int edge, int dir) {
        return std::min(quiet_[edge],
                        std::max(scanNoise_, noiseAround(r, edge - dir * (FitWindow / 2))));
    }

    // Takes back the points from `first` towards `limit` (excluded), dir +1 or -1, that go on
    // along the line through the last FitWindow points on it; returns the first one not taken.
    int takeBack(int first, int limit, int dir, double noise) {
        std::vector<int>& on = line_;
        on.clear();
        for (int j = first - dir * FitWindow; j != first; j += dir) {
            on.push_back(j);
        }
        auto residual = [&](int k) {
            const auto n = static_cast<double>(on.size());
            double mx = 0.0;
            double my = 0.0;
            for (int j : on) {
                mx += j;
                my += t_.y[j];
            }
            mx /= n;
            my /= n;
            double sxy = 0.0;
            double sxx = 0.0;
            for (int j : on) {
                sxy += (j - mx) * (t_.y[j] - my);
                sxx += (j - mx) * (j - mx);
            }
            return std::abs(t_.y[k] - my - sxy / sxx * (k - mx));
        };
        auto offLine = [&](int k) {
            return residual(k) > EdgeNoises * noise;
        };
        // Spikes among the points the line starts from are left out of it, the farthest first.
        while (on.size() > FitWindow / 2) {
            const auto worst = std::max_element(
                on.begin(), on.end(), [&](int a, int b) { return residual(a) < residual(b); });
            if (!offLine(*worst)) {
                break;
            }
            on.erase(worst);
        }
        int k = first;
        while (k != limit) {
            int next = k;
            while (next != limit && std::abs(next - k) < SpikeWidth && offLine(next)) {
                next += dir;
            }
            if (next == limit || offLine(next)) {
                break;
            }
            for (int j = k; j != next + dir; j += dir) {
                mark_[j] = Mark::Clean;
            }
            on.erase(on.begin());
            on.push_back(next);
            k = next + dir;
        }
        return k;
    }

    // Usable points without a hole; those too short to be judged are marked `shortMark`.
    void findRegions(Mark shortMark) {
        regions_.clear();
        auto apart = [&](int k) {
            return mark_[k] == Mark::Unusable || mark_[k] == Mark::Erratic;
        };
        for (int k = 0; k < n_;) {
            if (apart(k)) {
                ++k;
                continue;
            }
            Stretch s{k, k + 1};
            while (s.end < n_ && !apart(s.end) && !holeBefore(s.end)) {
                ++s.end;
            }
            if (s.size() >= MinColumnPoints) {
                regions_.push_back(s);
            } else {
                std::fill(mark_.begin() + s.begin, mark_.begin() + s.end, shortMark);
            }
            k = s.end;
        }
    }

    // The local noise, from the second differences of the readings around each point, and the
    // quiet noise an artifact is judged by: the least of that and the noise on either side
    // beyond the artifact's possible reach, which the artifact itself does not raise.
    void measureNoise() {
        std::vector<double>& absD2 = wide_;
        absD2.assign(static_cast<std::size_t>(n_), 0.0);
        noise_.assign(static_cast<std::size_t>(n_), 0.0);
        quiet_.assign(static_cast<std::size_t>(n_), 0.0);
        const int aside = reach_ / 2 + NoiseHalfWindow + 1;
        std::vector<double>& all = scratch_;
        all.clear();
        for (const Stretch& s : regions_) {
            for (int k = s.begin + 1; k + 1 < s.end; ++k) {
                absD2[k] = std::abs(t_.y[k - 1] - 2.0 * t_.y[k] + t_.y[k + 1]);
            }
            blockMedians(absD2, s.begin + 1, s.end - 1, NoiseHalfWindow, noise_);
            noise_[s.begin] = noise_[s.begin + 1];
            noise_[s.end - 1] = noise_[s.end - 2];
            for (int k = s.begin; k < s.end; ++k) {
                noise_[k] *= NoisePerMedianAbsD2;
                if (noise_[k] > 0.0) {
                    all.push_back(noise_[k]);
                }
            }
            for (int k = s.begin; k < s.end; ++k) {
                quiet_[k] = std::min(noise_[k],
                                     QuietRise * std::min(noise_[std::max(k - aside, s.begin)],
                                                          noise_[std::min(k + aside, s.end - 1)]));
            }
        }
        double scale = 0.0;
        for (double y : t_.y) {
            scale = std::max(scale, std::abs(y));
        }
        // The scan's quiet noise: a low quantile, so that erratic stretches do not raise it;
        // never below what single precision can tell apart.
        scanNoise_ = std::max(quantileOf(all, 0.25), scale * 1e-7);
        for (double& q : quiet_) {
            q = std::max(q, scanNoise_ * 0.25);
        }
    }

    // Each point is judged three ways: an outlier off its neighbours' median, a part of an
    // excursion of the spike-free curve from its wider running median (a curve that only rises
    // or falls has none, however steep), or erratic. Flagged points in clusters: a spike is at
    // most SpikeWidth points wide with the curve going on across it; anything else is an
    // artifact.
    void judgePoints(const Stretch& s) {
        // The spike-free level, taken again with the outliers of a first look replaced by their
        // level, so that a spike does not pull the level of its neighbours.
        runningMedians(t_.y, s.begin, s.end, SpikeWidth, level_);
        // A spike of two or three points on a steep curve pulls the running median of seven
        // with it: it is found as a run of points off the parabola through the readings either
        // side, which the readings either side follow within the noise.
        std::vector<char>& across = steady_;
        std::fill(across.begin() + s.begin, across.begin() + s.end, 0);
        constexpr int Side = 2 * SpikeWidth;
        for (int k = s.begin + Side; k + SpikeWidth + Side < s.end; ++k) {
            if (std::abs(t_.y[k] - t_.y[k - 1]) <= OutlierNoises * quiet_[k]) {
                continue;
            }
            for (int w = 2; w <= SpikeWidth; ++w) {
                const Parabola curve = parabolaAcross(t_.y, k - Side, k, k + w, k + w + Side, k);
                bool off = true;
                for (int j = k; off && j < k + w; ++j) {
                    const double r = t_.y[j] - curve.at(j, k);
                    off = curve.rms <= 2.0 * quiet_[j] && std::abs(r) > OutlierNoises * quiet_[j] &&
                          r * (t_.y[k] - curve.at(k, k)) > 0.0;
                }
                if (off) {
                    std::fill(across.begin() + k, across.begin() + k + w, 1);
                    break;
                }
            }
        }
        // On a curve that changes by several noises from one point to the next, the median of
        // seven is pulled by a point's change towards a cliff beside it (the fall at a bottom):
        // a point is an outlier only when it is off the level along the local slope as well.
        // Next to an artifact wider than a spike (a meniscus) both are pulled by the artifact's
        // points, and the readings past its edge would be bridged in its place: a point is an
        // outlier only when it is off the curve of the readings on either side of it too. (With
        // too few readings on a side, that side does not tell.)
        auto offSide = [&](int k, int dir) {
            const int from = dir > 0 ? k + 1 : std::max(s.begin, k - Side - 1);
            const int to = dir > 0 ? std::min(s.end, k + Side + 2) : k;
            return to - from <= Side ||
                   std::abs(t_.y[k] - levelAlong(from, to, k)) > OutlierNoises * quiet_[k];
        };
        auto firstLook = [&](int k) {
            return across[k] ||
                   (std::abs(t_.y[k] - level_[k]) > OutlierNoises * quiet_[k] &&
                    std::abs(t_.y[k] - slopedLevel(s, k)) > OutlierNoises * quiet_[k] &&
                    offSide(k, 1) && offSide(k, -1));
        };
        // Each run of outliers is bridged by the straight line between its neighbours.
        std::vector<double>& cleaned = cleaned_;
        std::copy(t_.y.begin() + s.begin, t_.y.begin() + s.end, cleaned.begin() + s.begin);
        for (int k = s.begin; k < s.end;) {
            if (!firstLook(k)) {
                ++k;
                continue;
            }
            int end = k + 1;
            while (end < s.end && firstLook(end)) {
                ++end;
            }
            const double from = k > s.begin ? t_.y[k - 1] : (end < s.end ? t_.y[end] : level_[k]);
            const double to = end < s.end ? t_.y[end] : from;
            for (int j = k; j < end; ++j) {
                cleaned[j] = from + (to - from) * (j - k + 1) / (end - k + 1);
            }
            k = end;
        }
        runningMedians(cleaned, s.begin, s.end, SpikeWidth, level_);
        // The wider course changes slowly: taken at a few points across the window, it holds.
        sparseRunningMedians(level_, s.begin, s.end, reach_, std::max(1, reach_ / WideSamples),
                             wide_);
        std::vector<char>& steady = steady_;
        for (int k = s.begin; k < s.end; ++k) {
            steady[k] = !isOutlier(k);
        }
        // Roughness: the mean square of the residuals of the points that are not outliers from
        // their level over a few points, against what the noise gives. Ringing too faint for
        // single outliers shows in it.
        double sum = 0.0;
        int count = 0;
        auto add = [&](int j, int sign) {
            if (steady[j]) {
                const double d = t_.y[j] - level_[j];
                sum += sign * d * d;
                count += sign;
            }
        };
        for (int j = s.begin; j < std::min(s.end, s.begin + RoughHalfWindow); ++j) {
            add(j, 1);
        }
        for (int k = s.begin; k < s.end; ++k) {
            if (k + RoughHalfWindow < s.end) {
                add(k + RoughHalfWindow, 1);
            }
            if (k - RoughHalfWindow - 1 >= s.begin) {
                add(k - RoughHalfWindow - 1, -1);
            }
            // Against the quieter side's noise itself: roughness only ever widens an artifact.
            const double calm = quiet_[k] < noise_[k] ? quiet_[k] / QuietRise : quiet_[k];
            rough_[k] = count > RoughHalfWindow && sum > RoughSquares * calm * calm * count;
        }

        std::vector<Stretch> clusters;
        for (int k = s.begin; k < s.end;) {
            if (steady[k]) {
                mark_[k] = std::abs(level_[k] - wide_[k]) > ExcursionNoises * quiet_[k]
                               ? Mark::Excursion
                               : Mark::Clean;
                ++k;
            } else {
                // A cluster of outliers, with gaps of one point.
                Stretch c{k, k + 1};
                while (c.end < s.end &&
                       (!steady[c.end] || (c.end + 1 < s.end && !steady[c.end + 1]))) {
                    ++c.end;
                }
                std::fill(mark_.begin() + c.begin, mark_.begin() + c.end, Mark::Artifact);
                clusters.push_back(c);
                k = c.end;
            }
        }
        // A spike stands alone: no other outliers around it, and the curve going on across it.
        for (const Stretch& c : clusters) {
            bool alone = c.size() <= SpikeWidth && c.begin - SpikeWidth > s.begin &&
                         c.end + SpikeWidth < s.end;
            for (int j = c.begin - SpikeWidth; alone && j < c.end + SpikeWidth; ++j) {
                alone = (j >= c.begin && j < c.end) || mark_[j] == Mark::Clean ||
                        mark_[j] == Mark::Excursion;
            }
            if (alone &&
                jumpSignificance(t_.y, steady, std::max(s.begin, c.begin - SideWindow), c.begin,
                                 c.end, std::min(s.end, c.end + SideWindow)) <= StepErrors) {
                std::fill(mark_.begin() + c.begin, mark_.begin() + c.end, Mark::Spike);
            }
        }
        // The wider course is drawn straight between a few samples, and a steep curve bends
        // between them: a single point off it, with clean readings all around, is off the
        // drawing, not off the curve.
        for (int k = s.begin + SpikeWidth; k + SpikeWidth < s.end; ++k) {
            if (mark_[k] == Mark::Excursion &&
                std::count(mark_.begin() + k - SpikeWidth, mark_.begin() + k + SpikeWidth + 1,
                           Mark::Clean) == 2 * std::ptrdiff_t{SpikeWidth}) {
                mark_[k] = Mark::Clean;
            }
        }
    }

    // The median of the 2 * SpikeWidth + 1 readings around trace position k in stretch s, each
    // moved along the median of the steps between them to k: a level that a steep curve does not
    // pull, and that a spike (two steps of the six) does not tilt.
    double slopedLevel(const Stretch& s, int k) const {
        return levelAlong(std::max(s.begin, k - SpikeWidth), std::min(s.end, k + SpikeWidth + 1),
                          k);
    }

    // The same of the readings at trace positions from..to-1 (at most 2 * SpikeWidth + 1 of
    // them), taken at position k, which may lie outside them.
    double levelAlong(int from, int to, int k) const {
        std::array<double, 2 * SpikeWidth + 1> v{};
        const auto middle = [&v](int count) {
            const auto half = static_cast<std::ptrdiff_t>(count / 2);
            std::sort(v.begin(), v.begin() + count);
            return count % 2 != 0 ? v[half] : (v[half - 1] + v[half]) / 2.0;
        };
        int count = 0;
        for (int j = from; j + 1 < to; ++j) {
            v[count++] = t_.y[j + 1] - t_.y[j];
        }
        const double slope = count > 0 ? middle(count) : 0.0;
        count = 0;
        for (int j = from; j < to; ++j) {
            v[count++] = t_.y[j] - slope * (j - k);
        }
        return middle(count);
    }

    // How far a point stands out, in quiet noises: off its neighbours, or off the wider course.
    // The noise measured over a block around an artifact is raised by it: no more than the noise
    // of the region the point lies in is taken.
    double prominence(int k) const {
        return std::max(std::abs(t_.y[k] - level_[k]), std::abs(t_.y[k] - wide_[k])) /
               std::min(quiet_[k], own_[k]);
    }

    bool isOutlier(int k) const {
        return std::abs(t_.y[k] - level_[k]) > OutlierNoises * quiet_[k];
    }

    // Whether a point beyond the last one followed may still be part of a column.
    bool mayFollow(int k) const {
        return mark_[k] == Mark::Clean || mark_[k] == Mark::Excursion || mark_[k] == Mark::Spike;
    }

    // One end of the column in smooth stretch s: from reach_ points inside (further in past rough
    // readings), each point further out is checked against the straight line through the
    // FitWindow points before it; the curve ends before two points in a row off that line, or
    // before a point that cannot be part of a column. What follows is the edge of an artifact,
    // and the part of it that stood out of the noise is taken to have faded in over about as many
    // points before: the end is moved in by that width, at most the points a meniscus's reach
    // covers whole (rounded up, it would move a coarse scan's end past the reach), and by the
    // optics' blur.
    int edge(const Stretch& s, bool atEnd) const {
        const int dir = atEnd ? 1 : -1;
        const int inner = atEnd ? s.begin : s.end - 1;
        int anchor = atEnd ? s.end - 1 - reach_ : s.begin + reach_;
        // The curve is followed from smooth readings: erratic readings past a bottom that
        // scatter less than blocked light do, or ringing, are rough, and readings whose noise
        // stands far above the stretch's own are none, as past a bottom whose readings scatter
        // less than blocked light does. (A column's noise grows towards its end with the
        // absorbance; an anchor moved in from there is followed back out.)
        const double own = ownNoise(s);
        while ((anchor - inner) * dir >= FitWindow &&
               (rough_[anchor] || quiet_[anchor] > QuietRise * QuietRise * own)) {
            anchor -= dir;
        }
        if ((anchor - inner) * dir < FitWindow) {
            return atEnd ? s.end - 1 : s.begin; // too short to follow
        }
        // The region holding the stretch: the last one that begins at or before it.
        const auto after = std::upper_bound(regions_.begin(), regions_.end(), s.begin,
                                            [](int k, const Stretch& r) { return k < r.begin; });
        if (after == regions_.begin() || std::prev(after)->end < s.end) {
            return atEnd ? s.end - 1 : s.begin;
        }
        const Stretch* region = &*std::prev(after);
        auto inRegion = [&](int k) {
            return k >= region->begin && k < region->end;
        };
        // The noise measured over a block next to an artifact is raised by it; a column's start,
        // its least absorbing part, is no noisier than the column is, and the noise of a fringe
        // count does not grow along its column at all. Only towards the bottom of an absorbance
        // column does the noise grow, with the light lost.
        auto noiseAt = [&](int k) {
            return atEnd && absorbance_ ? quiet_[k] : std::min(quiet_[k], own);
        };
        // Towards the bottom the curve bends (an exponential steepening, a boundary cut by the
        // ceiling) by more than a line through a few points follows; a bottom's rise or fall
        // leaves the parabola through twice as many as abruptly as it leaves the line. Towards
        // the meniscus it bends so only where a boundary starts at the meniscus: there it is
        // followed along the parabola only where it steepens.
        auto offLine = [&](int k, int last) {
            const int from = atEnd ? last - FitWindow + 1 : last;
            const double line = lineAt(level_, from, from + FitWindow, k);
            if (std::abs(level_[k] - line) <= EdgeNoises * noiseAt(k)) {
                return false;
            }
            // Towards its meniscus a column flattens (the foot of an exponential or of a
            // boundary): the readings go on the way the line goes, only less far, and by no more
            // than from the point before (within the noise). Ringing and the tail of a
            // meniscus's spike turn back or fall away faster, and the jump from the air's level
            // is a step far larger.
            const double moved = level_[k] - level_[last];
            const double predicted = line - level_[last];
            if (!atEnd && moved * predicted >= 0.0 && std::abs(moved) <= std::abs(predicted) &&
                std::abs(moved) <=
                    std::abs(level_[last] - level_[last - dir]) + EdgeNoises * noiseAt(k)) {
                return false;
            }
            const bool steeper = moved * predicted > 0.0 && std::abs(moved) > std::abs(predicted);
            const int bent = last - dir * (2 * FitWindow - 1);
            const int low = std::min(bent, last);
            return (!atEnd && !steeper) || !inRegion(bent) ||
                   std::abs(level_[k] - parabolaAt(level_, low, low + 2 * FitWindow, k)) >
                       EdgeNoises * noiseAt(k);
        };
        // Followed at most a meniscus's reach beyond the stretch, through the points next to an
        // artifact that only seem off the wider course.
        const int limit = (atEnd ? s.end - 1 : s.begin) + dir * reach_;
        int last = anchor;
        while (last != limit && inRegion(last + dir) && mayFollow(last + dir)) {
            const int next = last + dir;
            if (offLine(next, last) &&
                (!inRegion(next + dir) || !mayFollow(next + dir) || offLine(next + dir, last))) {
                break;
            }
            last = next;
        }
        // The artifact beyond: its edge (points off the curve) and its core (points judged not
        // clean, steps between readings, with gaps of up to two clean points: ringing crosses
        // the curve), as far as they can be told apart from what cannot be judged at all.
        auto clean = [&](int k) {
            return !inRegion(k) || (mark_[k] == Mark::Clean && !rough_[k] &&
                                    (!inRegion(k + dir) || std::abs(t_.y[k + dir] - t_.y[k]) <=
                                                               OutlierNoises * quiet_[k] * Sqrt2));
        };
        int width = 0;
        bool inCore = false;
        for (int k = last + dir; width < spanned_ && inRegion(k); k += dir, ++width) {
            inCore = inCore || !clean(k);
            if (clean(k) && (inCore ? clean(k + dir) && clean(k + 2 * dir) : !offLine(k, last))) {
                break;
            }
        }
        // The detector cannot see an edge begin within a spike's width of where it saw it, and
        // the optics blur it further by BlurCm.
        if (last + dir >= 0 && last + dir < n_) {
            width = std::max(width, SpikeWidth) + blur_;
        }
        int end = last - dir * width;
        // Ringing that fades into the column after a meniscus: it is seen as roughness, from
        // before the column's follow ended (within a meniscus's reach) to where it fades, and it
        // dies away below the noise over about as far again as it was seen (an exponential
        // decay from tens of noises).
        int faded = last;
        auto rough = [&](int k) {
            return (k - inner) * dir >= 0 && rough_[k];
        };
        for (int k = last;
             !atEnd && (k - inner) * dir > 0 && (rough(k) || rough(k - dir) || rough(k - 2 * dir));
             k -= dir) {
            faded = k - dir;
        }
        // Absorbance optics do not ring: the roughness past an absorbance meniscus is its own
        // jump, spread over the window roughness is measured in, and only what reaches past
        // that window is the meniscus's tail.
        if (absorbance_ && faded != last) {
            faded = std::abs(faded - last) > RoughHalfWindow ? faded + dir * RoughHalfWindow : last;
        }
        int seenFrom = last;
        while (!absorbance_ && faded != last && std::abs(seenFrom + dir - last) <= reach_ &&
               seenFrom + dir >= 0 && seenFrom + dir < n_ && rough_[seenFrom + dir]) {
            seenFrom += dir;
        }
        if (faded != last) {
            const int fadeEnd = faded - dir * std::max(SpikeWidth, std::abs(seenFrom - faded));
            end = dir > 0 ? std::min(end, fadeEnd) : std::max(end, fadeEnd);
        }
        return (end - inner) * dir >= 0 ? end : inner;
    }

    // The median of the quiet noise over stretch s, at OwnNoiseSamples points across it.
    double ownNoise(const Stretch& s) const {
        std::array<double, OwnNoiseSamples + 1> v{};
        const int every = std::max(1, s.size() / OwnNoiseSamples);
        int count = 0;
        for (int k = s.begin; k < s.end && count <= OwnNoiseSamples; k += every) {
            v[static_cast<std::size_t>(count++)] = quiet_[k];
        }
        std::nth_element(v.begin(), v.begin() + count / 2, v.begin() + count);
        return v[static_cast<std::size_t>(count / 2)];
    }

    Trace t_;
    bool absorbance_ = false;
    int n_ = 0;
    double step_ = 0.0;
    int reach_ = 3;
    int blur_ = 0;    // BlurCm in points
    int spanned_ = 3; // the points MeniscusReachCm covers whole
    double scanNoise_ = 0.0;
    std::vector<Mark> mark_;
    std::vector<Stretch> regions_;
    std::vector<double> noise_;
    std::vector<double> quiet_;
    std::vector<double> own_; // the own noise (ownNoise) of the region each point lies in
    std::vector<double> level_;
    std::vector<double> wide_;
    std::vector<char> rough_;
    std::vector<double> cleaned_; // the readings with outliers bridged
    std::vector<char> steady_;    // not an outlier
    std::vector<double> scratch_;
    std::vector<int> line_; // the points a line is drawn through
};

} // namespace

Outcome<Suggestion> suggestEdits(const DataSet& data, const SuggestSettings& settings) {
    thread_local ColumnSearch search;
    const bool enough = search.take(data, settings);
    const Trace& t = search.trace();
    if (t.size() == 0) {
        return Failure{settings.lowX || settings.highX ? "no good point lies between the x limits"
                                                       : "it has no good points"};
    }
    if (!enough) {
        return Failure{"it has too few good points for a solution column"};
    }
    if (std::all_of(t.y.begin(), t.y.end(), [&](double y) { return y == t.y.front(); })) {
        return Failure{"its readings are all the same"};
    }
    search.judge(isAbsorbance(data), settings.absorbanceCeiling);
    if (!search.anyRegion()) {
        return Failure{"no stretch of usable readings is long enough for a solution column"};
    }
    const std::vector<Stretch> smooth = search.smoothStretches();
    Suggestion result;

    // Each stretch followed to where its curve ends; those too short for a column are dropped.
    // Each with whether it scatters like blocked light.
    std::vector<std::pair<Stretch, bool>> candidates;
    for (const Stretch& s : smooth) {
        if (s.size() >= search.minStretch() && search.column(s).size() >= MinColumnPoints) {
            candidates.emplace_back(s, search.scattered(s));
        }
    }
    // A column is the last candidate before blocked light or the end of the scan; the ones
    // before it in its channel are air. Stretches scattered like blocked light are blocked.
    std::vector<Stretch> followed;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].second) {
            continue;
        }
        const bool last =
            i + 1 == candidates.size() || candidates[i + 1].second ||
            search.blockedBetween(candidates[i].first.end - 1, candidates[i + 1].first.begin);
        if (last) {
            followed.push_back(search.column(search.afterMeniscus(candidates[i].first)));
        }
    }
    // Two columns share no reading: where both are followed into the same readings between them,
    // those are part of the blocked light found there, and neither keeps them.
    Stretch* before = nullptr;
    for (Stretch& column : followed) {
        if (before != nullptr && column.begin < before->end) {
            std::swap(column.begin, before->end);
        }
        if (column.size() > 0) {
            before = &column;
        }
    }
    // Each column kept, and whether it holds a solution: its readings change, or rise from its air.
    std::vector<std::pair<Stretch, bool>> kept;
    bool anySolution = false;
    for (Stretch column : followed) {
        // The last point an artifact reaches stands within the noise of the column and cannot
        // be told from it: one point more is left out next to an artifact, as a careful user
        // leaves it. A column neither starts nor ends at a spike.
        if (column.begin > 0) {
            ++column.begin;
        }
        if (column.end < t.size()) {
            --column.end;
        }
        while (column.size() > 0 && search.isSpike(column.begin)) {
            ++column.begin;
        }
        while (column.size() > 0 && search.isSpike(column.end - 1)) {
            --column.end;
        }
        if (column.size() >= MinColumnPoints) {
            const bool solution = search.holdsSolution(column) || search.risesFromAir(column);
            kept.emplace_back(column, solution);
            anySolution = anySolution || solution;
        }
    }
    // A channel whose readings neither change nor rise from its air holds no solution, unless no
    // channel of the scan does: a scan is taken of a cell that holds one, and a solution whose
    // boundary has gone to the bottom leaves its column flat.
    for (const auto& [column, solution] : kept) {
        if (anySolution && !solution) {
            continue;
        }
        SolutionColumn c;
        c.first = t.index[column.begin];
        c.last = t.index[column.end - 1];
        for (int k = column.begin; k < column.end; ++k) {
            if (search.isSpike(k)) {
                c.spikes.push_back(t.index[k]);
            }
        }
        result.columns.push_back(c);
    }
    // A scan holds at most MaxColumns: the longest, in their order.
    while (result.columns.size() > MaxColumns) {
        result.columns.erase(std::min_element(result.columns.begin(), result.columns.end(),
                                              [](const SolutionColumn& a, const SolutionColumn& b) {
                                                  return a.last - a.first < b.last - b.first;
                                              }));
    }
    if (result.columns.empty()) {
        return Failure{"no smooth stretch is long enough for a solution column"};
    }
    return result;
}

void applySuggestion(DataSet& data, const Suggestion& suggestion) {
    const int count = std::clamp(data.PointCount, 0, MaxPoints);
    std::vector<char> keep(static_cast<std::size_t>(count) + 1, 0);
    for (const SolutionColumn& c : suggestion.columns) {
        for (int i = std::max(c.first, 1); i <= std::min(c.last, count); ++i) {
            keep[static_cast<std::size_t>(i)] = 1;
        }
        for (const std::int32_t i : c.spikes) {
            if (i >= 1 && i <= count) {
                keep[static_cast<std::size_t>(i)] = 0;
            }
        }
    }
    for (int i = 1; i <= count; ++i) {
        if (!keep[static_cast<std::size_t>(i)]) {
            markDeleted(data.WorkPoints(i));
        }
    }
    setRetainedRange(data, WhenNoneGood::Unchanged);
}

void applySuggestion(RunScan& scan, const Suggestion& suggestion) {
    applySuggestion(scan.data, suggestion);
    scan.columns.clear();
    for (const SolutionColumn& column : suggestion.columns) {
        scan.columns.push_back({column.first, column.last});
    }
}

} // namespace skerry
