// The file type list of an Open dialog, written as "Description|pattern;pattern|...||".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;
};

// The filters in order; the list ends at "||" or at the end of the text. A description without
// patterns is dropped.
std::vector<FileFilter> ParseFileFilters(std::string_view text);

}  // namespace orvane::platform
