// Byte-string helpers with the rules the launch settings rely on. Strings are bytes in the
// locale's encoding (UTF-8); only ASCII letters are case-folded, so a byte of a multibyte
// character is never taken for a separator, a ";" or a letter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::text {

// Space, tab, carriage return, line feed, vertical tab and form feed.
constexpr bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimWhite(std::string_view s);
std::string_view TrimWhiteLeft(std::string_view s);
std::string_view TrimWhiteRight(std::string_view s);
std::string_view TrimBlanks(std::string_view s);  // spaces and tabs only

std::string UpperAscii(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);

// The decimal number at the start of `s`: optional white space when `skipWhite`, an optional
// sign, then digits up to the first other byte. No number reads as 0; values beyond the 32-bit
// range saturate instead of wrapping.
std::int32_t LeadingInt(std::string_view s, bool skipWhite = true);

// `pattern` with its first occurrence of `marker` (such as "%s" or "%1") replaced by `value`.
std::string Substitute(std::string_view pattern, std::string_view marker, std::string_view value);

}  // namespace orvane::text
