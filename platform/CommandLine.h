// Splitting a Windows-style command line into a program and its arguments, as the system that
// discs are authored for does it, so that the same COMMAND.TXT starts the same program here.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

struct SplitCommand {
    std::string program;  // the program's path, quotes removed, '\' turned into '/'
    std::vector<std::string> arguments;
    std::size_t programEnd = 0;  // where the program's text ends in the command line
    bool programFound = false;   // `isFile` accepted the program path
};

// Splits `line`. The program is the text up to the first blank outside double quotes; when that
// text has no quotes and names no file, ever longer blank-separated prefixes are tried and the
// shortest one that names a file is the program (a path with spaces written without quotes).
// When none does, the first word is the program. The rest is split by the Windows argument
// rules: blanks separate, double quotes group, backslashes are literal except before a quote.
SplitCommand SplitCommandLine(std::string_view line,
                              const std::function<bool(const std::string&)>& isFile);

// The argument rules alone, for the text after the program.
std::vector<std::string> SplitArguments(std::string_view text);

}  // namespace orvane::platform
