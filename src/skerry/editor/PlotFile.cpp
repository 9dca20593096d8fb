#include "skerry/editor/PlotFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace skerry {

namespace {

constexpr std::array<std::string_view, 3> extensions = {"pdf", "svg", "png"};

} // namespace

std::string_view plotFileExtension(PlotFile kind) {
    return extensions.at(static_cast<std::size_t>(kind));
}

std::optional<PlotFile> plotFileKind(std::string_view nameOrExtension) {
    const auto dot = nameOrExtension.rfind('.');
    std::string extension(dot == std::string_view::npos ? nameOrExtension
                                                        : nameOrExtension.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto* const found = std::find(extensions.begin(), extensions.end(), extension);
    if (found == extensions.end()) {
        return std::nullopt;
    }
    return static_cast<PlotFile>(found - extensions.begin());
}

} // namespace skerry
