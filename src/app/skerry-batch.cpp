// skerry-batch: the command-line companion of Skerry for scripted work on scan files.
#include <iostream>
#include <string>
#include <vector>

#include "app/BatchPlots.h"
#include "skerry/batch/BatchRun.h"

int main(int argc, char* argv[]) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return skerry::runBatch(args, std::cout, std::cerr, skerry::batchPlotWriter());
}
