#include "skerry/operations/Noise.h"

#include <cmath>

#include "skerry/ground/LeadingNumber.h"
#include "skerry/ground/NumberPattern.h"
#include "skerry/ground/NumberText.h"

namespace skerry {

float uniformNumber(NoiseGenerator& generator) {
    return static_cast<float>(generator() >> 8) * 0x1p-24f;
}

float GaussianNoise(float level, NoiseGenerator& generator) {
    float sum = 0.0f;
    for (int k = 0; k < 12; ++k) {
        sum = sum + uniformNumber(generator);
    }
    // The difference is exact in double precision; the product is rounded to single once.
    return static_cast<float>((static_cast<double>(sum) - 6.0) * static_cast<double>(level));
}

void addNoise(DataSet& data, NoiseGenerator& generator) {
    for (int i = 1; i <= data.PointCount; ++i) {
        float& noise = data.NoiseValues[static_cast<std::size_t>(i - 1)];
        noise = GaussianNoise(data.NoiseRms, generator);
        float& reading = data.WorkPoints(i).reading;
        reading = reading + noise;
    }
    data.NoiseAdded = true;
}

void removeNoise(DataSet& data) {
    for (int i = 1; i <= data.PointCount; ++i) {
        float& reading = data.WorkPoints(i).reading;
        reading = reading - data.NoiseValues[static_cast<std::size_t>(i - 1)];
    }
    data.NoiseAdded = false;
}

bool isPlainNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return false;
    }
    const auto last = text.find_last_not_of(" \t");
    return isDecimalNumber(text.substr(first, last - first + 1));
}

std::optional<float> plainSingleFromText(std::string_view text) {
    if (!isPlainNumber(text)) {
        return std::nullopt;
    }
    const auto level = static_cast<float>(leadingNumber(text));
    if (std::isinf(level)) {
        return std::nullopt;
    }
    return level;
}

std::string noiseLevelText(float level) {
    return formatNumber(level, " 0.00000E+00;-0.00000E+00");
}

NoiseDialogModel::NoiseDialogModel(DataSet& data, Platform& platform)
    : data_(data), platform_(platform) {}

WindowPosition NoiseDialogModel::Form_Load(const WindowGeometry& mainWindow, int dialogWidth) {
    noiseLevel_ = noiseLevelText(data_.NoiseRms);
    return {mainWindow.left + (mainWindow.width - dialogWidth) / 2, mainWindow.top + 8};
}

bool NoiseDialogModel::IsDone_Click(std::string_view text) {
    const std::optional<float> level = plainSingleFromText(text);
    if (!level) {
        platform_.messageBox("Illegal Value for RMS Noise.", "Non-Numerical Entry!",
                             MessageIcon::Exclamation, MessageButtons::Ok);
        noiseLevel_ = noiseLevelText(data_.NoiseRms);
        return false;
    }
    data_.NoiseRms = *level;
    accepted_ = true;
    return true;
}

} // namespace skerry
