// Path rules of the launch settings. Folders end in the system's separator; values written in
// COMMAND.TXT may use '\' or '/' between names.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

inline constexpr char kPathSeparator = '/';

constexpr bool IsValueSeparator(char c) {
    return c == '/' || c == '\\';
}

// The folder above `folder`, ending in a separator, or empty when `folder` is a root (or empty).
std::string ParentFolder(std::string_view folder);

// `folder` and `relative` with exactly one separator between them: white space and separators
// at the seam are dropped from both sides.
std::string JoinPath(std::string_view folder, std::string_view relative);

// `relative` as JoinPath appends it: without the white space and separators in front.
std::string_view RelativePart(std::string_view relative);

// A path written in COMMAND.TXT, with its '\' separators turned into the system's.
std::string NativePath(std::string_view path);

// The folder part of a program file's path, up to and including its last separator; empty when
// it has none.
std::string FolderOfFile(std::string_view path);

// The text after the last separator.
std::string_view FileNamePart(std::string_view path);

}  // namespace orvane
