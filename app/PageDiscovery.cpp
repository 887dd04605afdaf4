#include "app/PageDiscovery.h"

#include <array>

#include "app/Paths.h"

namespace orvane {
namespace {

constexpr std::array<std::string_view, 10> kStartPages{
    "orvane\\start.htm", "OrvaneStart.html",   "start.htm",  "orvane\\start.html",
    "start.html",        "index.htm",          "index.html", "default.htm",
    "default.html",      "IHE_PDI\\index.htm",
};

constexpr std::array<std::string_view, 6> kResultsPages{
    "orvane\\frameset.htm",  "frameset.htm",        "results\\frameset.htm",
    "IHE_PDI\\frameset.htm", "OrvaneFrameset.html", "results\\OrvaneFrameset.html",
};

std::string FirstExisting(std::string_view folder, std::span<const std::string_view> names,
                          platform::FileSystem& files) {
    for (auto name : names) {
        // Names are appended to the folder as they stand; only the separator is made native.
        if (auto real = files.FindFile(std::string(folder) + NativePath(name)))
            return *real;
    }
    return {};
}

}  // namespace

std::span<const std::string_view> StartPageNames() {
    return kStartPages;
}
std::span<const std::string_view> ResultsPageNames() {
    return kResultsPages;
}

std::string FindStartPage(std::string_view appFolder, platform::FileSystem& files) {
    return FirstExisting(appFolder, kStartPages, files);
}

std::string FindResultsPage(std::string_view appFolder, platform::FileSystem& files) {
    return FirstExisting(appFolder, kResultsPages, files);
}

}  // namespace orvane
