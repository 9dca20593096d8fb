#include "skerry/session/DataSetOperations.h"

#include <set>

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

RunReading readRun(const DataSet& inForce, const std::vector<std::string>& paths) {
    RunReading reading;
    // A file named twice, by the same path or another (a link, "a/../x"), is one scan.
    std::set<FileIdentity> named;
    for (const std::string& path : paths) {
        if (const auto id = fileIdentity(os::pathFromUtf8(path)); id && !named.insert(*id).second) {
            continue;
        }
        RunScan scan{inForce, {}};
        std::string text;
        if (Done read = openScan(scan.data, path, &text); !read) {
            reading.refused.emplace_back(path, read.failure());
            continue;
        }
        reading.scans.push_back(std::move(scan));
        reading.files.push_back({path, std::move(text)});
    }
    return reading;
}

Done openBlank(DataSet& data, const std::string& path, std::string* fileText) {
    if (Done loaded = loadBlankFile(data, path, fileText); !loaded) {
        return loaded;
    }
    applyBlank(data);
    return {};
}

void shareBlank(Run& run) {
    const DataSet& from = run.current();
    if (!from.BlankLoaded) {
        return;
    }
    for (RunScan& scan : run) {
        DataSet& to = scan.data;
        if (&to == &from) {
            continue;
        }
        to.BlankPoints = from.BlankPoints;
        to.BlankCount = from.BlankCount;
        to.BlankCommentBlock = from.BlankCommentBlock;
        to.BlankCommentCount = from.BlankCommentCount;
        to.BlankLoaded = true;
        applyBlank(to);
    }
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
