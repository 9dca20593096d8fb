#include "skerry/session/Settings.h"

#include <algorithm>
#include <limits>
#include <string>

#include "skerry/ground/NumberPattern.h"
#include "skerry/ground/ProfileFile.h"

namespace skerry {

namespace {

struct ColourKeys {
    const char* section;
    PlotColor PlotColours::*colour;
};

constexpr ColourKeys colourSections[] = {{"GoodData", &PlotColours::GoodColor},
                                         {"DeletedData", &PlotColours::DeletedColor}};

struct ComponentKey {
    const char* key;
    std::int16_t PlotColor::*component;
};

constexpr ComponentKey components[] = {
    {"Red", &PlotColor::Red}, {"Green", &PlotColor::Green}, {"Blue", &PlotColor::Blue}};

// A hand-edited value beyond the 16-bit range is held at the range's nearer end.
std::int16_t toInt16(std::int32_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

void saveQuietly(const ProfileFile& profile, Platform& platform) {
    std::error_code ignored;
    std::filesystem::create_directories(platform.settingsFolder(), ignored);
    (void)profile.save(settingsFilePath(platform));
}

} // namespace

std::filesystem::path settingsFilePath(Platform& platform) {
    return platform.settingsFolder() / "Skerry.ini";
}

void ReadSettings(Program& program, Platform& platform) {
    const auto path = settingsFilePath(platform);
    ProfileFile profile = ProfileFile::load(path);

    const LocalDateTime now = platform.now();
    const NumberPattern two("00");
    const NumberPattern four("0000");
    profile.write("LastAccess", "Date",
                  two.format(double(now.month)) + "-" + two.format(double(now.day)) + "-" +
                      four.format(double(now.year)));
    profile.write("LastAccess", "Time",
                  two.format(double(now.hour)) + ":" + two.format(double(now.minute)) + ":" +
                      two.format(double(now.second)));
    saveQuietly(profile, platform);
    readColours(profile, program.colours);
}

void readColours(const ProfileFile& settings, PlotColours& colours) {
    for (const auto& section : colourSections) {
        PlotColor& colour = colours.*section.colour;
        for (const auto& c : components) {
            colour.*c.component =
                toInt16(settings.readInt(section.section, c.key, colour.*c.component));
        }
    }
}

void writeColourSettings(const Program& program, Platform& platform) {
    ProfileFile profile = ProfileFile::load(settingsFilePath(platform));
    for (const auto& section : colourSections) {
        const PlotColor& colour = program.colours.*section.colour;
        for (const auto& c : components) {
            profile.write(section.section, c.key, std::to_string(colour.*c.component));
        }
    }
    saveQuietly(profile, platform);
}

} // namespace skerry
