// Splitting the viewer's command line from COMMAND.TXT into a program and its arguments.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CommandLine.h"

namespace orvane::platform {
namespace {

using Args = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string line;
    std::set<std::string> files;  // paths the fake file test accepts
    std::string program;
    Args arguments;
    bool found;
    std::string rest;  // the line from the program's end on
};

void CheckSplit(const SplitCase& c) {
    SCOPED_TRACE(std::string(c.name) + ": " + ::testing::PrintToString(c.line));
    std::vector<std::string> asked;
    auto isFile = [&](const std::string& path) {
        asked.push_back(path);
        return c.files.count(path) != 0;
    };
    SplitCommand split = SplitCommandLine(c.line, isFile);
    EXPECT_EQ(split.program, c.program);
    EXPECT_EQ(split.arguments, c.arguments);
    EXPECT_EQ(split.programFound, c.found);
    ASSERT_LE(split.programEnd, c.line.size());
    EXPECT_EQ(c.line.substr(split.programEnd), c.rest);
    for (const auto& path : asked) {
        // The file test only ever sees system paths.
        EXPECT_EQ(path.find('\\'), std::string::npos) << path;
    }
}

TEST(CommandLineTest, QuotedProgramIsTakenAsWritten) {
    const SplitCase cases[] = {
        {"quoted path with spaces, present",
         "\"/disc/my viewer/view.exe\" -study \"a b\"",
         {"/disc/my viewer/view.exe"},
         "/disc/my viewer/view.exe",
         {"-study", "a b"},
         true,
         " -study \"a b\""},
        {"quoted path with spaces, missing",
         "\"/disc/my viewer/view.exe\" -study",
         {},
         "/disc/my viewer/view.exe",
         {"-study"},
         false,
         " -study"},
        {"quoted path alone",
         "\"/disc/my viewer/view.exe\"",
         {"/disc/my viewer/view.exe"},
         "/disc/my viewer/view.exe",
         {},
         true,
         ""},
        {"quoted path with backslashes",
         "\"\\disc\\my viewer\\view.exe\" a",
         {"/disc/my viewer/view.exe"},
         "/disc/my viewer/view.exe",
         {"a"},
         true,
         " a"},
        {"quoted short path: no longer prefix is tried",
         "\"/disc/my\" viewer/view.exe",
         {"/disc/my viewer/view.exe"},
         "/disc/my",
         {"viewer/view.exe"},
         false,
         " viewer/view.exe"},
        {"quotes in the middle of the path",
         "/disc/\"my viewer\"/view.exe -x",
         {"/disc/my viewer/view.exe"},
         "/disc/my viewer/view.exe",
         {"-x"},
         true,
         " -x"},
        {"unclosed quote takes the rest of the line",
         "\"/disc/my viewer/view.exe -x",
         {},
         "/disc/my viewer/view.exe -x",
         {},
         false,
         ""},
    };
    for (const auto& c : cases)
        CheckSplit(c);
}

TEST(CommandLineTest, UnquotedProgramIsTheShortestExistingPrefix) {
    const SplitCase cases[] = {
        {"single word, present",
         "/disc/view.exe -a b",
         {"/disc/view.exe"},
         "/disc/view.exe",
         {"-a", "b"},
         true,
         " -a b"},
        {"single word, missing",
         "/disc/view.exe -a b",
         {},
         "/disc/view.exe",
         {"-a", "b"},
         false,
         " -a b"},
        {"only the longer prefix exists",
         "/disc/my viewer/view.exe -study x",
         {"/disc/my viewer/view.exe"},
         "/disc/my viewer/view.exe",
         {"-study", "x"},
         true,
         " -study x"},
        {"both prefixes exist: the shorter wins",
         "/disc/my viewer/view.exe -study x",
         {"/disc/my", "/disc/my viewer/view.exe"},
         "/disc/my",
         {"viewer/view.exe", "-study", "x"},
         true,
         " viewer/view.exe -study x"},
        {"no prefix exists: the first word",
         "/disc/my viewer/view.exe -study x",
         {},
         "/disc/my",
         {"viewer/view.exe", "-study", "x"},
         false,
         " viewer/view.exe -study x"},
        {"the whole line names the file",
         "/disc/my viewer/view.exe",
         {"/disc/my viewer/view.exe"},
         "/disc/my viewer/view.exe",
         {},
         true,
         ""},
        {"three words in the name",
         "/disc/a b c/view.exe x",
         {"/disc/a b c/view.exe"},
         "/disc/a b c/view.exe",
         {"x"},
         true,
         " x"},
        {"double blank inside the name",
         "/disc/my  viewer x",
         {"/disc/my  viewer"},
         "/disc/my  viewer",
         {"x"},
         true,
         " x"},
        {"backslashes become slashes",
         "\\disc\\viewer\\view.exe /a",
         {"/disc/viewer/view.exe"},
         "/disc/viewer/view.exe",
         {"/a"},
         true,
         " /a"},
        {"backslashes in a name with spaces",
         "\\disc\\my viewer\\view.exe -x",
         {"/disc/my viewer/view.exe"},
         "/disc/my viewer/view.exe",
         {"-x"},
         true,
         " -x"},
        {"backslashes, missing file",
         "viewer\\view.exe -x",
         {},
         "viewer/view.exe",
         {"-x"},
         false,
         " -x"},
        {"leading and trailing blanks",
         " \t /disc/view.exe a \t ",
         {"/disc/view.exe"},
         "/disc/view.exe",
         {"a"},
         true,
         " a \t "},
        {"tab after the program",
         "/disc/view.exe\ta",
         {"/disc/view.exe"},
         "/disc/view.exe",
         {"a"},
         true,
         "\ta"},
        {"empty line", "", {}, "", {}, false, ""},
        {"blank line", " \t ", {}, "", {}, false, ""},
    };
    for (const auto& c : cases)
        CheckSplit(c);
}

TEST(CommandLineTest, QuotedArgumentsAfterAnUnquotedProgram) {
    const SplitCase cases[] = {
        {"program present",
         "/disc/view.exe \"/data/my study\" -x",
         {"/disc/view.exe"},
         "/disc/view.exe",
         {"/data/my study", "-x"},
         true,
         " \"/data/my study\" -x"},
        {"program with spaces present",
         "/disc/my viewer/view.exe \"/data/my study\"",
         {"/disc/my viewer/view.exe"},
         "/disc/my viewer/view.exe",
         {"/data/my study"},
         true,
         " \"/data/my study\""},
        // A quote in a later word does not make the program a quoted one: when nothing exists,
        // the first word is still the program and the quoted text stays one argument.
        {"program missing, quoted argument last",
         "/disc/view.exe \"/data/my study\"",
         {},
         "/disc/view.exe",
         {"/data/my study"},
         false,
         " \"/data/my study\""},
        {"program missing, quoted argument in between",
         "/disc/view.exe \"y z\" w",
         {},
         "/disc/view.exe",
         {"y z", "w"},
         false,
         " \"y z\" w"},
    };
    for (const auto& c : cases)
        CheckSplit(c);
}

TEST(CommandLineTest, ShellCharactersArePlainText) {
    const SplitCase cases[] = {
        {"separators and substitutions",
         "/disc/view.exe a;b | c & $(rm -rf /) `id` > out",
         {"/disc/view.exe"},
         "/disc/view.exe",
         {"a;b", "|", "c", "&", "$(rm", "-rf", "/)", "`id`", ">", "out"},
         true,
         " a;b | c & $(rm -rf /) `id` > out"},
        {"in the program word",
         "/disc/view;rm.exe x",
         {"/disc/view;rm.exe"},
         "/disc/view;rm.exe",
         {"x"},
         true,
         " x"},
    };
    for (const auto& c : cases)
        CheckSplit(c);
}

TEST(CommandLineTest, SplitArgumentsFollowsTheWindowsRules) {
    struct Case {
        std::string text;
        Args args;
    };
    const Case cases[] = {
        {"", {}},
        {" \t  ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"  a  \t\t b  ", {"a", "b"}},
        {"a\nb\vc", {"a\nb\vc"}},  // only spaces and tabs separate
        // Quotes group and vanish.
        {"\"a b\" c", {"a b", "c"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"a\tb\"", {"a\tb"}},
        {"\"\"", {""}},
        {"a \"\" b", {"a", "", "b"}},
        {"a\"\"b", {"ab"}},
        {"\"a b", {"a b"}},  // an unclosed quote runs to the end
        {"\"a b\tc", {"a b\tc"}},
        // "" inside quotes is a literal quote, and the quotes go on.
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"a\"\"b c\" d", {"a\"b c", "d"}},
        {"\"a\"\"\"", {"a\""}},
        {"\"\"\"a\"", {"\"a"}},
        // Backslashes before a quote: 2n give n and the quote toggles, 2n+1 give n and a quote.
        {"\\\"a", {"\"a"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"a\\\\\\\\\"b c\"", {"a\\\\b c"}},
        {"a\\\\\\\\\\\"b", {"a\\\\\"b"}},
        {"\"a\\\"b\" c", {"a\"b", "c"}},
        {"\"a\\\\\" c", {"a\\", "c"}},
        {"\"C:\\dir\\\\\" x", {"C:\\dir\\", "x"}},
        {"\"a\\\\\"\"b\"", {"a\\\"b"}},
        // Backslashes elsewhere are literal.
        {"\\\\server\\share\\x", {"\\\\server\\share\\x"}},
        {"a\\b\\\\c", {"a\\b\\\\c"}},
        {"trailing\\\\", {"trailing\\\\"}},
        {"\\ a", {"\\", "a"}},
        // Nothing else is special.
        {"'a b' %PATH% *.txt ~ $HOME", {"'a", "b'", "%PATH%", "*.txt", "~", "$HOME"}},
        {"a;b|c&d", {"a;b|c&d"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        EXPECT_EQ(SplitArguments(c.text), c.args);
    }
}

}  // namespace
}  // namespace orvane::platform

namespace {

TEST(CommandLineTest, ALineOfManyWordsTriesOnlyPrefixesThatCouldNameAFile) {
    // 16,000 one-letter words after a missing program: no file name is longer than 255 bytes,
    // so the search for a program path with blanks stops there instead of trying every prefix
    // (each trial is a lookup on the disc).
    std::string line = "/disc/view";
    for (int i = 0; i < 16000; ++i)
        line += " a";
    int asked = 0;
    auto split = orvane::platform::SplitCommandLine(line, [&](const std::string&) {
        ++asked;
        return false;
    });
    EXPECT_EQ(split.program, "/disc/view");
    EXPECT_EQ(split.arguments.size(), 16000u);
    EXPECT_LT(asked, 300);

    // A program whose name has blanks but fits is still found.
    std::string named = "/disc/" + std::string(100, 'v') + " x" + " y y";
    auto found = orvane::platform::SplitCommandLine(named, [&](const std::string& path) {
        return path == "/disc/" + std::string(100, 'v') + " x";
    });
    EXPECT_TRUE(found.programFound);
    EXPECT_EQ(found.arguments, (std::vector<std::string>{"y", "y"}));
}

}  // namespace
