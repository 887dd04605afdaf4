// Finding and reading COMMAND.TXT into the launch settings.
//
// Two forms are read. The INI form has a section [Orvane] with named keys and is used when its
// ViewerCommand key has a value; every other file is read in the plain form, one setting per
// line by position. Nothing here ever stops start-up: what goes wrong is put in
// `settingsMessage`, which the user sees only on asking for the image viewer.
#pragma once

#include <string>
#include <string_view>

#include "app/LaunchSettings.h"
#include "platform/FileSystem.h"

namespace orvane {

inline constexpr std::string_view kSettingsFileName = "command.txt";
inline constexpr std::string_view kSettingsSection = "Orvane";

// Looks for COMMAND.TXT in `appFolder`, then in each folder above it up to the root of the
// volume that holds it. Sets `baseFolder` to the folder where it was found (empty when not).
// `settingsPath`, when given, gets the real path of the file that was found.
bool FindSettingsFile(std::string_view appFolder, std::string& baseFolder,
                      platform::FileSystem& files, std::string* settingsPath = nullptr);

// Fills `settings` from `settings.settingsPath` (which may be empty), in either form, then
// works out the start, results and help pages. `appFolder` and `baseFolder` must be set.
void LoadLaunchSettings(LaunchSettings& settings, platform::FileSystem& files);

// The plain-form reader; called by LoadLaunchSettings.
void ReadPlainSettings(LaunchSettings& settings, platform::FileSystem& files);

// The sentence that says why `path` could not be opened.
std::string DescribeOpenError(platform::OpenError why, std::string_view path);

// A command line from the settings: `folder` followed directly by `value` (a program path,
// quoted or not, then its arguments). The program part of `value` gets '/' for its '\'
// separators, and the program's real path when it exists; what follows the program stays as it
// was written. `folder` is taken as it stands.
std::string ResolveCommandLine(std::string_view folder, std::string_view value,
                               platform::FileSystem& files);

}  // namespace orvane
