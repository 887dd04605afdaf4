// Small rules for reading setting values.
#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

// A show-window command from a text: the first of the known names found anywhere in it
// (ignoring case) decides; 1 when none is found.
std::int32_t ParseShowWindow(std::string_view text);

// A usable version text: with its dots removed, it starts with a number that is not 0.
bool IsVersionText(std::string_view text);

// Whether a boolean setting is off: only "FALSE", in any letter case, is.
bool IsFalseSetting(std::string_view value);

// A line of the plain form, cleaned: everything from the first ';' on is a remark, and white
// space around the rest does not count.
std::string_view CleanPlainLine(std::string_view line);

// Whether `installed` is lower than `minimum`, compared byte by byte as unsigned values, where
// the shorter of two texts that agree up to its end is the lower one.
bool IsVersionLower(std::string_view installed, std::string_view minimum);

// The browser version gate: the installed version is present and not lower than the minimum.
bool BrowserGatePasses(std::string_view installed, std::string_view minimum);

}  // namespace orvane
