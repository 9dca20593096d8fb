#pragma once

// Realistic synthetic scans of the ultracentrifuge, with the truth of what a careful user keeps,
// for measuring how well the suggested edits judge real data. Every scan depends only on a seed
// and its number, and comes out the same on every machine.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "skerry/model/DataSet.h"

namespace skerry::accuracy {

// Random numbers that are the same on every machine for a seed: the engine is fully specified
// by the C++ standard, the distributions are written here because the standard's are not.
class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    double uniform(double low = 0.0, double high = 1.0);
    double logUniform(double low, double high);
    int integer(int low, int high); // low..high, both included
    bool chance(double probability) { return uniform() < probability; }
    double gauss(); // standard normal, by Box-Muller

private:
    std::mt19937_64 engine_;
};

enum class Optics { Absorbance, Interference };
enum class Run { Equilibrium, Velocity };

// What a careful user keeps of one solution column: from the first point past the meniscus's
// artifact to the last one before the bottom's artifact or the absorbance ceiling, as indices
// into WorkPoints (from 1).
struct TruthColumn {
    int first = 0;
    int last = 0;
};

// An outlier of `count` adjacent points from index `first`, each at least `size` times the
// noise at its place away from where it belongs.
struct PlantedSpike {
    int first = 0;
    int count = 1;
    double size = 0.0;
};

struct GeneratedScan {
    std::string name; // as the instrument names it, e.g. 00012.RA3
    std::string text; // the scan file's bytes
    Optics optics = Optics::Absorbance;
    Run run = Run::Equilibrium;
    double noise = 0.0;       // the readings' noise in the solution, OD or fringes
    double step = 0.0;        // the radial step, cm
    bool pastCeiling = false; // some solution lies above the absorbance ceiling
    std::vector<TruthColumn> columns;
    std::vector<PlantedSpike> spikes;
};

// The absorbance above which readings are past the optics' linear range.
inline constexpr double AbsorbanceCeiling = 1.5;

// Scan `number` of the set made from `seed`.
GeneratedScan generateScan(std::uint64_t seed, int number);

// Makes the scan the data set as File > Get Data does with its file.
void loadScan(const GeneratedScan& scan, DataSet& data);

// The kind of scan, its truth and its spikes as lines of text, for a file beside the scan.
std::string describeTruth(const GeneratedScan& scan);

// Writes the scan file into `folder` and beside it NAME.truth: its truth followed by `more`
// lines. Throws std::runtime_error when a file cannot be written.
void writeScan(const GeneratedScan& scan, const std::string& folder, const std::string& more = {});

} // namespace skerry::accuracy
