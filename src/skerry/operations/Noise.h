#pragma once

#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "skerry/ground/Platform.h"
#include "skerry/ground/WindowPlacement.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// The uniform pseudo-random numbers behind synthetic noise. The Mersenne twister's sequence is
// fixed by the C++ standard, so one seed gives the same noise with every compiler.
using NoiseGenerator = std::mt19937;

// The next uniform number in [0, 1): the generator's top 24 bits scaled by 2^-24, which a float
// holds exactly. (The standard distributions are not used: their algorithms differ between
// library implementations.)
float uniformNumber(NoiseGenerator& generator);

// An approximately normal number with mean 0 and standard deviation |level|: twelve uniform
// numbers summed in single precision (mean 6, variance 1), less 6, times the level. The result
// always lies within -6 |level| .. +6 |level|.
float GaussianNoise(float level, NoiseGenerator& generator);

// Add Random Noise: draws GaussianNoise(NoiseRms) for every point 1..PointCount, keeps it in
// NoiseValues, adds it to the point's reading and sets NoiseAdded.
void addNoise(DataSet& data, NoiseGenerator& generator);

// Remove Random Noise: subtracts NoiseValues from the readings as they stand now and clears
// NoiseAdded. A reading that was not changed in between comes back as the single-precision
// result of (reading + noise) - noise.
void removeNoise(DataSet& data);

// True when the whole text is one number: optional blanks (spaces or tabs), an optional sign,
// digits with an optional fraction ("12", "12.", "12.5") or a fraction alone (".5"), an optional
// exponent (E or D in either case, an optional sign, digits), optional blanks. Nothing else:
// no blanks inside, no thousands separators, no words such as "inf".
bool isPlainNumber(std::string_view text);

// The value a text stands for, as a noise level or an x limit: a plain number read in double
// precision and stored as a single. nullopt when the text is no plain number or its value is
// beyond the single range (an infinite level would leave readings that removing the noise cannot
// restore; an infinite limit is no limit).
std::optional<float> plainSingleFromText(std::string_view text);

// A level as the noise dialog shows it: " 0.00000E+00;-0.00000E+00".
std::string noiseLevelText(float level);

// The logic of the "Add Random Noise" dialog: a text box for the RMS level and an OK button;
// closing the dialog any other way adds nothing.
class NoiseDialogModel {
public:
    NoiseDialogModel(DataSet& data, Platform& platform);

    // Puts the last accepted level into the text box and returns where the dialog goes: centred
    // across the main window's frame, 8 pixels below its top edge.
    WindowPosition Form_Load(const WindowGeometry& mainWindow, int dialogWidth);

    // OK. An accepted level (any plain number, zero and negative ones included) becomes NoiseRms
    // and the dialog closes: true. Other text is refused with a message, the text box gets the
    // last accepted level back and the dialog stays open: false.
    bool IsDone_Click(std::string_view text);

    // The text the text box is to show.
    const std::string& NoiseLevel() const { return noiseLevel_; }

    // True once OK accepted a level: the noise is to be added.
    bool accepted() const { return accepted_; }

private:
    DataSet& data_;
    Platform& platform_;
    std::string noiseLevel_;
    bool accepted_ = false;
};

} // namespace skerry
