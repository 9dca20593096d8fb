// skerry-batch: the command-line companion of Skerry for scripted work on scan files.
#include <iostream>
#include <string>
#include <vector>

#include "app/BatchPlots.h"
#include "skerry/batch/BatchRun.h"
#include "skerry/ground/FileSystem.h"

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args = skerry::os::startCommandLineProgram(argc, argv);
    return skerry::runBatch(args, std::cout, std::cerr, skerry::batchPlotWriter());
}
