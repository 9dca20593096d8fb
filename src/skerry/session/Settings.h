#pragma once

#include <filesystem>

#include "skerry/ground/Platform.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/session/Program.h"

namespace skerry {

// "Skerry.ini" in the platform's per-user settings folder.
std::filesystem::path settingsFilePath(Platform& platform);

// Records the start's date and time under "LastAccess", then reads the plot colours from
// "GoodData" and "DeletedData" (Red, Green, Blue), each key defaulting to the current value.
// A settings file that cannot be written is ignored without a word.
void ReadSettings(Program& program, Platform& platform);

// The plot colours of a settings file, each key defaulting to the value `colours` holds.
void readColours(const ProfileFile& settings, PlotColours& colours);

// Writes the six colour keys, good Red, Green, Blue, then deleted Red, Green, Blue. A failure is
// ignored without a word.
void writeColourSettings(const Program& program, Platform& platform);

} // namespace skerry
