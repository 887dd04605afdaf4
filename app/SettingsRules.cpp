#include "app/SettingsRules.h"

#include <array>
#include <string>
#include <utility>

#include "platform/Text.h"
#include "res/resource.h"

namespace orvane {

std::int32_t ParseShowWindow(std::string_view text) {
    // Grouped by effect; the order matters, as longer names contain shorter ones.
    static constexpr std::array<std::pair<std::string_view, std::int32_t>, 11> kNames{{
        {"SW_SHOWMAXIMIZED", res::SW_SHOWMAXIMIZED},
        {"SW_MAXIMIZE", res::SW_SHOWMAXIMIZED},
        {"SW_MAX", res::SW_SHOWMAXIMIZED},
        {"SW_SHOWNORMAL", res::SW_SHOWNORMAL},
        {"SW_NORMAL", res::SW_SHOWNORMAL},
        {"SW_SHOWMINIMIZED", res::SW_SHOWMINIMIZED},
        {"SW_MINIMIZE", res::SW_SHOWMINIMIZED},
        {"SW_FORCEMINIMIZE", res::SW_SHOWMINIMIZED},
        {"SW_RESTORE", res::SW_RESTORE},
        {"SW_SHOWNOACTIVATE", res::SW_SHOWNOACTIVATE},
        {"SW_SHOWMINNOACTIVE", res::SW_SHOWMINNOACTIVE},
    }};
    const std::string upper = text::UpperAscii(text);
    for (const auto& [name, command] : kNames) {
        if (upper.find(name) != std::string::npos)
            return command;
    }
    return res::SW_SHOWNORMAL;
}

bool IsVersionText(std::string_view text) {
    std::string digits;
    digits.reserve(text.size());
    for (char c : text) {
        if (c != '.')
            digits.push_back(c);
    }
    return text::LeadingInt(digits) != 0;
}

bool IsFalseSetting(std::string_view value) {
    return text::EqualsNoCase(value, "FALSE");
}

std::string_view CleanPlainLine(std::string_view line) {
    return text::TrimWhite(line.substr(0, line.find(';')));
}

bool IsVersionLower(std::string_view installed, std::string_view minimum) {
    const std::size_t common = std::min(installed.size(), minimum.size());
    for (std::size_t i = 0; i < common; ++i) {
        auto a = static_cast<unsigned char>(installed[i]);
        auto b = static_cast<unsigned char>(minimum[i]);
        if (a != b)
            return a < b;
    }
    return installed.size() < minimum.size();
}

bool BrowserGatePasses(std::string_view installed, std::string_view minimum) {
    return !installed.empty() && !IsVersionLower(installed, minimum);
}

}  // namespace orvane
