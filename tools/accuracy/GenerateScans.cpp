// Writes generated scans into a folder, each with its truth beside it in NAME.truth, so that
// they can be looked at: tools/accuracy/plot-scans.py FOLDER draws them.
//
// Usage: generate-scans [--seed S] [--scans N] FOLDER

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "ScanGenerator.h"

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    int scans = 20;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--seed" && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (option == "--scans" && i + 1 < argc) {
            scans = std::atoi(argv[++i]);
        } else if (folder.empty() && option.rfind("--", 0) != 0) {
            folder = option;
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.empty()) {
        std::fputs("usage: generate-scans [--seed S] [--scans N] FOLDER\n", stderr);
        return 2;
    }
    try {
        for (int n = 1; n <= scans; ++n) {
            skerry::accuracy::writeScan(skerry::accuracy::generateScan(seed, n), folder);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "generate-scans: %s\n", e.what());
        return 1;
    }
    return 0;
}
