// The line reader and the plain form's cleaning: lines stay within their bound, in any pieces.
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "app/SettingsRules.h"
#include "platform/LineReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::size_t piece = 1 + data[0] % 300;
    orvane::fuzz::BufferReader reader(orvane::fuzz::AsText(data + 1, size - 1), piece);
    orvane::platform::LineReader lines(reader);
    std::string line;
    while (lines.Next(line)) {
        if (line.size() > orvane::platform::LineReader::kMaxLine) std::abort();
        if (line.find('\0') != std::string::npos) std::abort();
        std::string_view clean = orvane::CleanPlainLine(line);
        if (clean.find(';') != std::string_view::npos) std::abort();
        (void)orvane::ParseShowWindow(clean);
        (void)orvane::IsVersionText(clean);
    }
    return 0;
}
