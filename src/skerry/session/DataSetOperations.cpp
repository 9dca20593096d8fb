#include "skerry/session/DataSetOperations.h"

#include "skerry/ground/FileSystem.h"
#include "skerry/input/BlankCorrection.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/operations/Noise.h"

namespace skerry {

std::optional<std::string> openScan(DataSet& data, const std::string& path, std::string* fileText) {
    if (auto refusal = loadDataFile(data, path, fileText)) {
        return refusal;
    }
    if (data.BlankLoaded) {
        applyBlank(data);
    }
    return std::nullopt;
}

std::optional<std::string> openBlank(DataSet& data, const std::string& path,
                                     std::string* fileText) {
    if (auto refusal = loadBlankFile(data, path, fileText)) {
        return refusal;
    }
    applyBlank(data);
    return std::nullopt;
}

FitFileReading readFitFile(const std::string& path, const std::filesystem::path& folder,
                           std::optional<Failure>* loadError) {
    auto profile = ProfileFile::read(os::pathFromUtf8(path));
    if (loadError != nullptr && !profile) {
        *loadError = profile.failure();
    }
    FitFileReading reading{profile ? *std::move(profile) : ProfileFile(), {}};
    reading.list = readFitFileList(reading.profile, path, folder);
    return reading;
}

void reopenScan(DataSet& data, const FitFileList& list, int k, const ScanFile& scan,
                const ProfileFile& fit) {
    if (data.BlankLoaded) {
        clearBlank(data);
    }
    reopenFitEntry(data, list, k, scan, fit);
}

void addNoiseFromSeed(DataSet& data, float rms, std::uint32_t seed) {
    NoiseGenerator generator(seed);
    data.NoiseRms = rms;
    addNoise(data, generator);
}

} // namespace skerry
