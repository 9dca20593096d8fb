// Measures the suggested edits on generated scans against what a careful user keeps of them,
// prints the figures beside their targets and, by kind of scan, where they fall short. Exits
// with 1 when a target is missed.
//
// Usage: accuracy-report [--seed S] [--scans N] [--failures FOLDER]
//
// With --failures every scan that misses a target is written into FOLDER with its truth, the
// suggestion and what went wrong, and drawn as FOLDER/NAME.png by plot-scans.py.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ScanGenerator.h"
#include "skerry/suggest/Suggestion.h"

namespace skerry::accuracy {
namespace {

// How far past the meniscus's end the first kept point, and how far before the bottom or the
// ceiling the last kept point, may lie for a column to count as found right (cm).
constexpr double FirstTolerance = 0.035;
constexpr double LastTolerance = 0.05;
// Spikes of at least this many times the noise must be found.
constexpr double CountedSpike = 10.0;
// The targets.
constexpr double ColumnsTarget = 0.98;
constexpr double SpikesTarget = 0.95;
constexpr double GoodDeletedTarget = 0.005;
// Radii are compared as the data set holds them, in single precision.
constexpr double Slack = 1e-6;

struct Tally {
    long scans = 0;
    long columns = 0; // truth columns
    long right = 0;   // found right
    long extra = 0;   // columns suggested where there is none
    long spikes = 0;  // planted spikes of at least CountedSpike times the noise
    long found = 0;
    long good = 0; // good points of the truth columns
    long deleted = 0;

    void add(const Tally& t) {
        scans += t.scans;
        columns += t.columns;
        right += t.right;
        extra += t.extra;
        spikes += t.spikes;
        found += t.found;
        good += t.good;
        deleted += t.deleted;
    }
    // Suggested columns where there is none count against the columns found right.
    double columnsRight() const { return ratio(right, columns + extra); }
    double spikesFound() const { return ratio(found, spikes); }
    double goodDeleted() const { return ratio(deleted, good); }
    bool missesTarget() const {
        return columnsRight() < ColumnsTarget || spikesFound() < SpikesTarget ||
               goodDeleted() > GoodDeletedTarget;
    }
    static double ratio(long part, long whole) {
        return whole == 0 ? (part == 0 ? 1.0 : 0.0) : static_cast<double>(part) / whole;
    }
};

struct Judgement {
    Tally tally;
    std::vector<std::string> faults;
};

template <typename... Values>
std::string format(const char* pattern, Values... values) {
    char text[200];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

// Compares the suggestion for a scan with its truth.
Judgement judge(const GeneratedScan& scan, const Outcome<Suggestion>& found, const DataSet& data) {
    const Suggestion suggestion = found ? *found : Suggestion{};
    auto x = [&](int i) {
        return static_cast<double>(data.WorkPoints(i).x);
    };
    std::vector<bool> flagged(static_cast<std::size_t>(data.PointCount) + 2, false);
    for (const SolutionColumn& c : suggestion.columns) {
        for (int i : c.spikes) {
            flagged.at(static_cast<std::size_t>(i)) = true;
        }
    }
    std::vector<bool> planted(flagged.size(), false);
    for (const PlantedSpike& p : scan.spikes) {
        for (int j = 0; j < p.count; ++j) {
            planted[static_cast<std::size_t>(p.first) + static_cast<std::size_t>(j)] = true;
        }
    }
    Judgement judgement;
    Tally& t = judgement.tally;
    t.scans = 1;
    for (std::size_t k = 0; k < scan.columns.size(); ++k) {
        const TruthColumn& truth = scan.columns[k];
        const double low = x(truth.first);
        const double high = x(truth.last);
        const SolutionColumn* match = nullptr;
        const SolutionColumn* nearest = nullptr;
        int overlap = 0;
        for (const SolutionColumn& c : suggestion.columns) {
            if (c.first >= truth.first && x(c.first) - low <= FirstTolerance + Slack &&
                c.last <= truth.last && high - x(c.last) <= LastTolerance + Slack) {
                match = &c;
            }
            const int shared = std::min(c.last, truth.last) - std::max(c.first, truth.first);
            if (shared > overlap) {
                overlap = shared;
                nearest = &c;
            }
        }
        ++t.columns;
        const std::string name = "column " + std::to_string(k + 1);
        if (match != nullptr) {
            ++t.right;
        } else if (nearest == nullptr) {
            judgement.faults.push_back(name + format(" (%.3f-%.3f cm) not found", low, high));
        } else {
            judgement.faults.push_back(name + format(" (%.3f-%.3f cm) kept as %.3f-%.3f cm", low,
                                                     high, x(nearest->first), x(nearest->last)));
        }
        for (const PlantedSpike& p : scan.spikes) {
            if (p.first < truth.first || p.first > truth.last || p.size < CountedSpike) {
                continue;
            }
            ++t.spikes;
            bool deleted = true;
            for (int i = p.first; i < p.first + p.count; ++i) {
                const bool cut = match != nullptr && (i < match->first || i > match->last);
                deleted = deleted && (flagged[static_cast<std::size_t>(i)] || cut);
            }
            if (deleted) {
                ++t.found;
            } else {
                judgement.faults.push_back(
                    format("spike of %d points, %.0fx the noise, at %.4f cm kept", p.count, p.size,
                           x(p.first)));
            }
        }
        long deletedHere = 0;
        for (int i = truth.first; i <= truth.last; ++i) {
            if (!planted[static_cast<std::size_t>(i)]) {
                ++t.good;
                deletedHere += flagged[static_cast<std::size_t>(i)] ? 1 : 0;
            }
        }
        t.deleted += deletedHere;
        if (deletedHere > 0) {
            judgement.faults.push_back(name +
                                       format(": %ld good points deleted as spikes", deletedHere));
        }
    }
    for (const SolutionColumn& c : suggestion.columns) {
        const bool there = std::any_of(scan.columns.begin(), scan.columns.end(), [&](auto& tc) {
            return c.first <= tc.last && tc.first <= c.last;
        });
        if (!there) {
            ++t.extra;
            judgement.faults.push_back(format(
                "column suggested at %.3f-%.3f cm where there is none", x(c.first), x(c.last)));
        }
    }
    if (!found) {
        judgement.faults.push_back("no column found: " + found.reason());
    }
    return judgement;
}

// The kinds a scan belongs to, each a row of the breakdown: the group orders the rows.
std::vector<std::pair<int, std::string>> kindsOf(const GeneratedScan& scan) {
    const bool absorbance = scan.optics == Optics::Absorbance;
    const std::size_t n = scan.columns.size();
    std::vector<std::pair<int, std::string>> kinds{
        {0, absorbance ? "absorbance" : "interference"},
        {1, scan.run == Run::Equilibrium ? "equilibrium" : "velocity"},
        {2, std::to_string(n) + (n == 1 ? " column" : " columns")}};
    if (absorbance) {
        kinds.emplace_back(3, scan.noise < 0.005  ? "absorbance, noise 0.002-0.005 OD"
                              : scan.noise < 0.01 ? "absorbance, noise 0.005-0.01 OD"
                                                  : "absorbance, noise 0.01-0.02 OD");
        kinds.emplace_back(4, format("absorbance, step %.3f cm", scan.step));
    } else {
        kinds.emplace_back(3, scan.noise < 0.01   ? "interference, noise 0.005-0.01 fringes"
                              : scan.noise < 0.02 ? "interference, noise 0.01-0.02 fringes"
                                                  : "interference, noise 0.02-0.03 fringes");
    }
    if (scan.pastCeiling) {
        kinds.emplace_back(5, "absorbance past the ceiling");
    }
    return kinds;
}

std::string share(double value, long part, long whole) {
    return format("%.2f%%", 100.0 * value) + " (" + std::to_string(part) + " of " +
           std::to_string(whole) + ")";
}

void printTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::string line = "|";
        for (std::size_t i = 0; i < widths.size(); ++i) {
            line.append(" ").append(rows[r][i]).append(widths[i] - rows[r][i].size(), ' ');
            line.append(" |");
        }
        std::puts(line.c_str());
        if (r == 0) {
            line = "|";
            for (std::size_t w : widths) {
                line += std::string(w + 2, '-') + "|";
            }
            std::puts(line.c_str());
        }
    }
}

// Writes a failing scan with its truth, the suggestion and what went wrong.
void writeFailure(const GeneratedScan& scan, const Suggestion& suggestion,
                  const Judgement& judgement, const std::string& folder) {
    std::string more;
    std::string spikes = "suggested-spikes";
    for (const SolutionColumn& c : suggestion.columns) {
        more.append("suggested ").append(std::to_string(c.first)).append(" ");
        more.append(std::to_string(c.last)).append("\n");
        for (int i : c.spikes) {
            spikes += " " + std::to_string(i);
        }
    }
    more += spikes + "\n";
    for (const std::string& fault : judgement.faults) {
        more.append("fault ").append(fault).append("\n");
    }
    writeScan(scan, folder, more);
}

struct Options {
    std::uint64_t seed = 1;
    int scans = 2000;
    std::string failures;
};

int run(const Options& options) {
    const auto started = std::chrono::steady_clock::now();
    Tally total;
    std::map<std::pair<int, std::string>, Tally> byKind;
    auto data = std::make_unique<DataSet>();
    std::vector<std::string> failing;
    for (int n = 1; n <= options.scans; ++n) {
        const GeneratedScan scan = generateScan(options.seed, n);
        loadScan(scan, *data);
        const auto found = suggestEdits(*data);
        const Suggestion suggestion = found ? *found : Suggestion{};
        const Judgement judgement = judge(scan, found, *data);
        total.add(judgement.tally);
        for (const auto& kind : kindsOf(scan)) {
            byKind[kind].add(judgement.tally);
        }
        if (!options.failures.empty() && judgement.tally.missesTarget()) {
            writeFailure(scan, suggestion, judgement, options.failures);
            failing.push_back(scan.name);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    auto status = [](bool met) {
        return std::string(met ? "met" : "MISSED");
    };
    const bool columnsMet = total.columnsRight() >= ColumnsTarget;
    const bool spikesMet = total.spikesFound() >= SpikesTarget;
    const bool goodMet = total.goodDeleted() <= GoodDeletedTarget;
    printTable({
        {"figure", "value", "target", ""},
        {"columns found right",
         share(total.columnsRight(), total.right, total.columns + total.extra), "at least 98%",
         status(columnsMet)},
        {"columns suggested where there is none", std::to_string(total.extra), "", ""},
        {"spikes of at least 10x the noise found",
         share(total.spikesFound(), total.found, total.spikes), "at least 95%", status(spikesMet)},
        {"good points deleted as spikes", share(total.goodDeleted(), total.deleted, total.good),
         "at most 0.5%", status(goodMet)},
    });
    std::puts("");
    std::vector<std::vector<std::string>> rows{
        {"scans", "number", "columns right", "none there", "spikes found", "good deleted"}};
    for (const auto& [kind, t] : byKind) {
        rows.push_back({kind.second, std::to_string(t.scans),
                        format("%.2f%%", 100 * t.columnsRight()), std::to_string(t.extra),
                        format("%.2f%%", 100 * t.spikesFound()),
                        format("%.3f%%", 100 * t.goodDeleted())});
    }
    printTable(rows);
    std::printf("\n%d generated scans from seed %llu, judged in %.1f s.\n", options.scans,
                static_cast<unsigned long long>(options.seed), seconds);
    if (!options.failures.empty()) {
        std::printf("%zu scans missing a target written to %s", failing.size(),
                    options.failures.c_str());
        if (!failing.empty()) {
            const std::string plot =
                std::string("'") + SKERRY_PLOT_SCRIPT + "' '" + options.failures + "'";
            std::fputs(std::system(plot.c_str()) == 0 ? ", with their plots" : "; plotting failed",
                       stdout);
        }
        std::puts(".");
    }
    return columnsMet && spikesMet && goodMet ? 0 : 1;
}

} // namespace
} // namespace skerry::accuracy

int main(int argc, char** argv) {
    skerry::accuracy::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--seed" && i + 1 < argc) {
            options.seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (option == "--scans" && i + 1 < argc) {
            options.scans = std::atoi(argv[++i]);
        } else if (option == "--failures" && i + 1 < argc) {
            options.failures = argv[++i];
        } else {
            std::fputs("usage: accuracy-report [--seed S] [--scans N] [--failures FOLDER]\n",
                       stderr);
            return 2;
        }
    }
    try {
        if (!options.failures.empty()) {
            std::filesystem::create_directories(options.failures);
        }
        return skerry::accuracy::run(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "accuracy-report: %s\n", e.what());
        return 2;
    }
}
