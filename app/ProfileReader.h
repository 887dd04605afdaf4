// The reader of the INI form of COMMAND.TXT.
//
// Rules: section and key names match without regard to ASCII case; blanks around a key name do
// not count; a value is the text after the first "=" with spaces and tabs around it removed and
// one pair of enclosing double or single quotes dropped; at most kMaxValue bytes of a value
// arrive; a line whose first non-blank character is ";" holds no key, nor does a line without
// "=". Only the first section of the wanted name counts, and in it the first line of each key.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LineReader.h"

namespace orvane {

class ProfileSection {
  public:
    static constexpr std::size_t kMaxValue = 254;

    // Reads `section` from `lines`, keeping the values of `keys` only. Stops at the end of the
    // section, so memory and reading stay bounded whatever the file holds.
    static ProfileSection Read(platform::LineReader& lines, std::string_view section,
                               std::span<const std::string_view> keys);
    // A section that was not there: every key reads as absent.
    ProfileSection() = default;

    bool found() const { return found_; }

    // The value of `key`; `fallback` when the key is absent (an empty value is not absent).
    std::string GetString(std::string_view key, std::string_view fallback) const;
    // The number at the start of the value; `fallback` when absent or empty, 0 when the value
    // does not start with a number.
    std::int32_t GetInt(std::string_view key, std::int32_t fallback) const;

    // One line's key and value, or nothing when the line holds no key.
    struct KeyValue {
        std::string_view key;
        std::string_view value;
    };
    static std::optional<KeyValue> ParseLine(std::string_view line);
    // The section name of a header line "[name]", or nothing.
    static std::optional<std::string_view> ParseHeader(std::string_view line);

  private:
    const std::optional<std::string>* Find(std::string_view key) const;

    bool found_ = false;
    std::vector<std::pair<std::string, std::optional<std::string>>> values_;
};

}  // namespace orvane
