#include "skerry/session/DataSetOperations.h"

#include "skerry/ground/FileSystem.h"
#include "skerry/input/BlankCorrection.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/operations/Noise.h"

namespace skerry {

Done openScan(DataSet& data, const std::string& path, std::string* fileText) {
    if (Done loaded = loadDataFile(data, path, fileText); !loaded) {
        return loaded;
    }
    if (data.BlankLoaded) {
        applyBlank(data);
    }
    return {};
}

Done openBlank(DataSet& data, const std::string& path, std::string* fileText) {
    if (Done loaded = loadBlankFile(data, path, fileText); !loaded) {
        return loaded;
    }
    applyBlank(data);
    return {};
}

FitFileReading readFitFile(const std::string& path, const std::filesystem::path& folder) {
    auto profile = ProfileFile::read(os::pathFromUtf8(path));
    if (!profile) {
        FitListReading empty = readFitFileList(ProfileFile(), path, folder);
        return {ProfileFile(), {profile.failure(), std::move(empty.message)}};
    }
    FitListReading list = readFitFileList(*profile, path, folder);
    return {*std::move(profile), std::move(list)};
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
