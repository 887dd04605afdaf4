#include "platform/CommandLine.h"

#include "platform/Text.h"

namespace orvane::platform {
namespace {

std::string NativeSeparators(std::string path) {
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

// No file system allows a longer name, so a prefix whose last name is longer names no file.
constexpr std::size_t kMaxName = 255;

bool LastNameTooLong(std::string_view path) {
    auto separator = path.find_last_of("/\\");
    std::size_t name =
        separator == std::string_view::npos ? path.size() : path.size() - separator - 1;
    return name > kMaxName;
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view text) {
    std::vector<std::string> args;
    std::size_t i = 0;
    const std::size_t n = text.size();
    for (;;) {
        while (i < n && text::IsBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        while (i < n) {
            char c = text[i];
            if (text::IsBlank(c) && !quoted)
                break;
            if (c == '\\') {
                std::size_t run = 0;
                while (i < n && text[i] == '\\') {
                    ++run;
                    ++i;
                }
                if (i < n && text[i] == '"') {
                    arg.append(run / 2, '\\');
                    if (run % 2 == 1) {
                        arg.push_back('"');  // an escaped quote
                        ++i;
                    }
                    // With an even run the quote is handled as a quote on the next turn.
                } else {
                    arg.append(run, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && text[i + 1] == '"') {
                    arg.push_back('"');  // "" inside quotes is a literal quote
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg.push_back(c);
            ++i;
        }
        args.push_back(std::move(arg));
    }
    return args;
}

SplitCommand SplitCommandLine(std::string_view line,
                              const std::function<bool(const std::string&)>& isFile) {
    SplitCommand out;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n && text::IsBlank(line[i]))
        ++i;

    std::string candidate;
    bool quoted = false;
    bool sawQuote = false;
    std::string firstWord;
    std::size_t firstEnd = std::string::npos;
    bool decided = false;
    while (i < n) {
        char c = line[i];
        if (c == '"') {
            // A quote after the first word starts a quoted argument: the program is no longer
            // a path with blanks, so it is the first word.
            if (firstEnd != std::string::npos)
                break;
            quoted = !quoted;
            sawQuote = true;
            ++i;
            continue;
        }
        if (text::IsBlank(c) && !quoted) {
            bool wordEnds = !candidate.empty() && !text::IsBlank(candidate.back());
            if (wordEnds && firstEnd != std::string::npos && LastNameTooLong(candidate)) {
                break;  // no longer prefix can name a file: the first word is the program
            }
            if (wordEnds) {
                std::string path = NativeSeparators(candidate);
                if (sawQuote || isFile(path)) {
                    out.program = std::move(path);
                    out.programEnd = i;
                    out.programFound = !sawQuote || isFile(out.program);
                    decided = true;
                    break;
                }
                if (firstEnd == std::string::npos) {
                    firstWord = path;
                    firstEnd = i;
                }
            }
        }
        candidate.push_back(c);
        ++i;
    }
    if (!decided) {
        std::string whole = NativeSeparators(std::string(text::TrimWhiteRight(candidate)));
        if (i < n) {
            // Stopped after the first word: at a quote, or at a name too long for any file.
            out.program = std::move(firstWord);
            out.programEnd = firstEnd;
            out.programFound = isFile(out.program);
        } else if (sawQuote || firstEnd == std::string::npos || isFile(whole)) {
            out.program = std::move(whole);
            out.programEnd = n;
            out.programFound = !out.program.empty() && isFile(out.program);
        } else {
            out.program = std::move(firstWord);
            out.programEnd = firstEnd;
            out.programFound = false;
        }
    }
    out.arguments = SplitArguments(line.substr(out.programEnd));
    return out;
}

}  // namespace orvane::platform
