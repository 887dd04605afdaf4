#include "platform/FileFilters.h"

namespace orvane::platform {

std::vector<FileFilter> ParseFileFilters(std::string_view text) {
    std::vector<std::string_view> fields;
    for (;;) {
        auto bar = text.find('|');
        std::string_view field = text.substr(0, bar);
        if (field.empty() && (bar == std::string_view::npos || fields.size() % 2 == 0))
            break;
        fields.push_back(field);
        if (bar == std::string_view::npos)
            break;
        text.remove_prefix(bar + 1);
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        FileFilter filter{std::string(fields[i]), {}};
        std::string_view patterns = fields[i + 1];
        while (!patterns.empty()) {
            auto semi = patterns.find(';');
            if (auto p = patterns.substr(0, semi); !p.empty())
                filter.patterns.emplace_back(p);
            if (semi == std::string_view::npos)
                break;
            patterns.remove_prefix(semi + 1);
        }
        if (!filter.patterns.empty())
            filters.push_back(std::move(filter));
    }
    return filters;
}

}  // namespace orvane::platform
