#include "platform/Text.h"

#include <limits>

namespace orvane::text {
namespace {
constexpr char UpperOf(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
}  // namespace

std::string_view TrimWhiteLeft(std::string_view s) {
    while (!s.empty() && IsWhite(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view TrimWhiteRight(std::string_view s) {
    while (!s.empty() && IsWhite(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimWhite(std::string_view s) {
    return TrimWhiteRight(TrimWhiteLeft(s));
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = UpperOf(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperOf(a[i]) != UpperOf(b[i]))
            return false;
    }
    return true;
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    if (needle.size() > haystack.size())
        return false;
    for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
        if (EqualsNoCase(haystack.substr(i, needle.size()), needle))
            return true;
    }
    return false;
}

std::int32_t LeadingInt(std::string_view s, bool skipWhite) {
    if (skipWhite)
        s = TrimWhiteLeft(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > kLimit)
            value = kLimit;  // saturate; more digits change nothing
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

std::string Substitute(std::string_view pattern, std::string_view marker, std::string_view value) {
    std::string out(pattern);
    if (auto at = out.find(marker); at != std::string::npos)
        out.replace(at, marker.size(), value);
    return out;
}

}  // namespace orvane::text
