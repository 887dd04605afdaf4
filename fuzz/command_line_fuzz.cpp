// Splitting command lines: whatever the line, the program is a prefix of it, no argument holds
// a blank unless it was quoted, and the split never reads outside the line.
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "platform/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // Which candidate paths "exist" is decided by the first byte, so prefix trials vary.
    const unsigned existing = data[0];
    std::string_view line = orvane::fuzz::AsText(data + 1, size - 1);
    auto isFile = [&](const std::string& path) { return (path.size() * 7 + existing) % 5 == 0; };
    auto split = orvane::platform::SplitCommandLine(line, isFile);
    if (split.programEnd > line.size()) std::abort();
    if (split.program.find('\\') != std::string::npos) std::abort();
    bool quoted = line.find('"') != std::string_view::npos;
    for (const auto& arg : split.arguments) {
        if (!quoted && (arg.find(' ') != std::string::npos || arg.empty())) std::abort();
    }
    return 0;
}
