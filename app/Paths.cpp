#include "app/Paths.h"

#include "platform/Text.h"

namespace orvane {

std::string ParentFolder(std::string_view folder) {
    std::string_view copy = text::TrimWhiteRight(folder);
    if (!copy.empty() && copy.back() == kPathSeparator)
        copy.remove_suffix(1);
    if (copy.empty() || copy.back() == kPathSeparator)
        return {};
    auto last = copy.rfind(kPathSeparator);
    if (last == std::string_view::npos)
        return {};
    return std::string(copy.substr(0, last + 1));
}

std::string_view RelativePart(std::string_view relative) {
    relative = text::TrimWhiteLeft(relative);
    while (!relative.empty() && IsValueSeparator(relative.front()))
        relative.remove_prefix(1);
    return relative;
}

std::string JoinPath(std::string_view folder, std::string_view relative) {
    folder = text::TrimWhiteRight(folder);
    while (!folder.empty() && folder.back() == kPathSeparator)
        folder.remove_suffix(1);
    relative = RelativePart(relative);
    std::string out;
    out.reserve(folder.size() + 1 + relative.size());
    out.append(folder);
    out.push_back(kPathSeparator);
    out.append(relative);
    return out;
}

std::string NativePath(std::string_view path) {
    std::string out(path);
    for (char& c : out) {
        if (c == '\\')
            c = kPathSeparator;
    }
    return out;
}

std::string FolderOfFile(std::string_view path) {
    auto last = path.rfind(kPathSeparator);
    return last == std::string_view::npos ? std::string{} : std::string(path.substr(0, last + 1));
}

std::string_view FileNamePart(std::string_view path) {
    auto last = path.rfind(kPathSeparator);
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

}  // namespace orvane
