#include "app/ProfileReader.h"

#include "platform/Text.h"

namespace orvane {

std::optional<std::string_view> ProfileSection::ParseHeader(std::string_view line) {
    line = text::TrimBlanks(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return text::TrimBlanks(line.substr(0, line.find(']')));
}

std::optional<ProfileSection::KeyValue> ProfileSection::ParseLine(std::string_view line) {
    std::string_view trimmed = text::TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    auto eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    std::string_view key = text::TrimBlanks(trimmed.substr(0, eq));
    std::string_view value = text::TrimBlanks(trimmed.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return KeyValue{key, value.substr(0, kMaxValue)};
}

ProfileSection ProfileSection::Read(platform::LineReader& lines, std::string_view section,
                                    std::span<const std::string_view> keys) {
    ProfileSection out;
    for (auto key : keys)
        out.values_.emplace_back(std::string(key), std::nullopt);
    std::size_t missing = keys.size();
    std::string line;
    bool inside = false;
    while (missing > 0 && lines.Next(line)) {
        if (auto header = ParseHeader(line)) {
            if (inside)
                break;  // the first section of that name has ended
            inside = text::EqualsNoCase(*header, section);
            out.found_ = out.found_ || inside;
            continue;
        }
        if (!inside)
            continue;
        auto kv = ParseLine(line);
        if (!kv)
            continue;
        for (auto& [name, value] : out.values_) {
            if (!value && text::EqualsNoCase(name, kv->key)) {
                value.emplace(kv->value);
                --missing;
                break;
            }
        }
    }
    return out;
}

const std::optional<std::string>* ProfileSection::Find(std::string_view key) const {
    for (const auto& [name, value] : values_) {
        if (text::EqualsNoCase(name, key))
            return &value;
    }
    return nullptr;
}

std::string ProfileSection::GetString(std::string_view key, std::string_view fallback) const {
    const auto* value = Find(key);
    if (value == nullptr || !value->has_value()) {
        return std::string(fallback.substr(0, kMaxValue));
    }
    return **value;
}

std::int32_t ProfileSection::GetInt(std::string_view key, std::int32_t fallback) const {
    const auto* value = Find(key);
    if (value == nullptr || !value->has_value() || (*value)->empty())
        return fallback;
    return text::LeadingInt(**value);
}

}  // namespace orvane
