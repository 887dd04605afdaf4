// Finding the start and results pages by fixed lists of names when the settings name none that
// exists.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace orvane {

// The names tried, in order; the first that exists wins.
std::span<const std::string_view> StartPageNames();
std::span<const std::string_view> ResultsPageNames();

// The real path of the first start page name that exists in `appFolder`, or empty.
std::string FindStartPage(std::string_view appFolder, platform::FileSystem& files);
// The same for the results page names.
std::string FindResultsPage(std::string_view appFolder, platform::FileSystem& files);

}  // namespace orvane
