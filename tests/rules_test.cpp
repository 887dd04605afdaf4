// Path rules, setting-value rules, text helpers and the browser version comparison.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "app/Paths.h"
#include "app/SettingsRules.h"
#include "platform/Text.h"

namespace orvane {
namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

// ---------------------------------------------------------------------------------------------
// Paths

TEST(PathsTest, ParentFolderClimbsOneFolderAndStopsAtTheRoot) {
    struct Case {
        std::string_view folder;
        std::string_view parent;
    };
    const Case cases[] = {
        {"/disc/start/", "/disc/"},
        {"/disc/", "/"},
        {"/", ""},
        {"", ""},
        {"/disc/start", "/disc/"},          // no trailing separator: the last name is dropped
        {"/disc/start/ \t\r\n", "/disc/"},  // trailing white space does not count
        {"/disc/ \v\f", "/"},
        {"/ ", ""},
        {"   ", ""},
        {"disc/start/", "disc/"},
        {"disc/", ""},  // a relative name without a folder above it
        {"disc", ""},
        {"/a b/c d/", "/a b/"},
        {"/disc//", ""},           // only one trailing separator is dropped
        {"/disc\\start\\/", "/"},  // '\' is an ordinary character in a folder name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("folder=\"") + std::string(c.folder) + "\"");
        EXPECT_EQ(ParentFolder(c.folder), c.parent);
    }
}

TEST(PathsTest, ParentFolderWalkFromProgramFolderEndsAfterRoot) {
    std::string folder = "/media/cd/start/";
    std::string visited;
    while (!folder.empty()) {
        visited += folder + "|";
        folder = ParentFolder(folder);
    }
    EXPECT_EQ(visited, "/media/cd/start/|/media/cd/|/media/|/|");
}

TEST(PathsTest, JoinPathPutsExactlyOneSeparatorAtTheSeam) {
    struct Case {
        std::string_view folder;
        std::string_view relative;
        std::string_view joined;
    };
    const Case cases[] = {
        {"/disc/", "viewer/view.exe", "/disc/viewer/view.exe"},
        {"/disc", "viewer/view.exe", "/disc/viewer/view.exe"},
        {"/", "viewer/view.exe", "/viewer/view.exe"},
        {"/disc/", "/start.htm", "/disc/start.htm"},
        {"/disc/", "\\start.htm", "/disc/start.htm"},
        {"/disc///", "\\/\\\\//viewer/view.exe", "/disc/viewer/view.exe"},
        {"", "start.htm", "/start.htm"},
        {"", "", "/"},
        {"/disc/", "", "/disc/"},
        // White space at the seam goes; white space elsewhere stays.
        {"/disc/ \t\r\n", " \t\v\f/x", "/disc/x"},
        {" /disc/", "x ", " /disc/x "},
        {"/disc/", "/ x", "/disc/ x"},   // white space after the separators stays
        {"/disc/ /", "x", "/disc/ /x"},  // white space before the separators stays
        // The rest of the relative part is left as written.
        {"/disc/", "viewer\\view.exe -a \\b", "/disc/viewer\\view.exe -a \\b"},
        {"/disc/", "ORVANE\\FRAMESET.HTM", "/disc/ORVANE\\FRAMESET.HTM"},
        {"/disc/", "a//b/", "/disc/a//b/"},
        // A '\' ending the folder is part of a Linux name, not a separator.
        {"/disc\\", "x", "/disc\\/x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("folder=\"") + std::string(c.folder) + "\" relative=\"" +
                     std::string(c.relative) + "\"");
        EXPECT_EQ(JoinPath(c.folder, c.relative), c.joined);
    }
}

TEST(PathsTest, NativePathAndFileNameParts) {
    EXPECT_EQ(NativePath("viewer\\bin\\view.exe"), "viewer/bin/view.exe");
    EXPECT_EQ(NativePath("\\\\server\\share/x"), "//server/share/x");
    EXPECT_EQ(NativePath("/already/native"), "/already/native");
    EXPECT_EQ(NativePath(""), "");

    struct Case {
        std::string_view path;
        std::string_view folder;
        std::string_view name;
    };
    const Case cases[] = {
        {"/disc/Results/Frameset.htm", "/disc/Results/", "Frameset.htm"},
        {"/view.exe", "/", "view.exe"},
        {"view.exe", "", "view.exe"},
        {"/disc/", "/disc/", ""},
        {"", "", ""},
        {"/disc/a\\b.htm", "/disc/", "a\\b.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("path=\"") + std::string(c.path) + "\"");
        EXPECT_EQ(FolderOfFile(c.path), c.folder);
        EXPECT_EQ(FileNamePart(c.path), c.name);
    }
}

// ---------------------------------------------------------------------------------------------
// Text helpers

TEST(TextTest, TrimmingKnowsWhiteSpaceAndBlanks) {
    struct Case {
        std::string_view input;
        std::string_view white;   // TrimWhite
        std::string_view left;    // TrimWhiteLeft
        std::string_view right;   // TrimWhiteRight
        std::string_view blanks;  // TrimBlanks
    };
    const Case cases[] = {
        {"", "", "", "", ""},
        {"abc", "abc", "abc", "abc", "abc"},
        {" \t abc \t ", "abc", "abc \t ", " \t abc", "abc"},
        {"\r\n\v\fa b\f\v\n\r", "a b", "a b\f\v\n\r", "\r\n\v\fa b", "\r\n\v\fa b\f\v\n\r"},
        {" \t\v\f\r\n", "", "", "", "\v\f\r\n"},
        {"\t\vx\v\t", "x", "x\v\t", "\t\vx", "\vx\v"},
        // NUL and non-breaking space bytes are not white space.
        {std::string_view("\0x\0", 3), std::string_view("\0x\0", 3), std::string_view("\0x\0", 3),
         std::string_view("\0x\0", 3), std::string_view("\0x\0", 3)},
        {"\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.input)));
        EXPECT_EQ(text::TrimWhite(c.input), c.white);
        EXPECT_EQ(text::TrimWhiteLeft(c.input), c.left);
        EXPECT_EQ(text::TrimWhiteRight(c.input), c.right);
        EXPECT_EQ(text::TrimBlanks(c.input), c.blanks);
    }
}

TEST(TextTest, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_EQ(text::UpperAscii("Frameset.htm_az-AZ@[`{"), "FRAMESET.HTM_AZ-AZ@[`{");
    // UTF-8 "é" and Latin-1 bytes stay as they are.
    EXPECT_EQ(text::UpperAscii("caf\xC3\xA9 \xE9"), "CAF\xC3\xA9 \xE9");

    struct Case {
        std::string_view a;
        std::string_view b;
        bool equal;
    };
    const Case cases[] = {
        {"Orvane", "ORVANE", true},
        {"orvane", "Orvane", true},
        {"", "", true},
        {"Orvane", "Orvan", false},
        {"Orvane", "Orvane ", false},
        {"\xC3\xA9", "\xC3\x89", false},  // é and É: no folding outside ASCII
        {"@", "`", false},                // neighbours of the letter ranges are not letters
        {"[", "{", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + std::string(c.b));
        EXPECT_EQ(text::EqualsNoCase(c.a, c.b), c.equal);
        EXPECT_EQ(text::EqualsNoCase(c.b, c.a), c.equal);
    }
}

TEST(TextTest, ContainsNoCaseFindsTextAnywhere) {
    struct Case {
        std::string_view haystack;
        std::string_view needle;
        bool found;
    };
    const Case cases[] = {
        {"HideMenu", "HIDEMENU", true},
        {"x; please hidemenu now", "HIDEMENU", true},
        {"HIDEMENU", "hidemenu", true},
        {"HIDEMEN", "HIDEMENU", false},
        {"HIDE MENU", "HIDEMENU", false},
        {"abc", "", true},
        {"", "", true},
        {"", "a", false},
        {"xxxxxy", "xxy", true},  // a partial match before the real one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.haystack) + " / " + std::string(c.needle));
        EXPECT_EQ(text::ContainsNoCase(c.haystack, c.needle), c.found);
    }
}

TEST(TextTest, LeadingIntReadsSignAndDigitsAndSaturates) {
    struct Case {
        std::string_view input;
        std::int32_t skippingWhite;
        std::int32_t notSkipping;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"abc", 0, 0},
        {"42", 42, 42},
        {"007", 7, 7},
        {"+17", 17, 17},
        {"-17", -17, -17},
        {"12abc", 12, 12},
        {"12 34", 12, 12},
        {"3.5", 3, 3},
        {"0x10", 0, 0},
        {"-", 0, 0},
        {"+", 0, 0},
        {"--5", 0, 0},
        {"+-5", 0, 0},
        {"- 5", 0, 0},
        {"  42", 42, 0},
        {"\t\v\f\r\n-8", -8, 0},
        {"2147483647", kIntMax, kIntMax},
        {"2147483648", kIntMax, kIntMax},
        {"4294967295", kIntMax, kIntMax},  // would wrap to -1
        {"4294967296", kIntMax, kIntMax},  // would wrap to 0
        {"99999999999999999999999999", kIntMax, kIntMax},
        {"-2147483647", -2147483647, -2147483647},
        {"-2147483648", kIntMin, kIntMin},
        {"-2147483649", kIntMin, kIntMin},
        {"-4294967296", kIntMin, kIntMin},
        {"-99999999999999999999999999", kIntMin, kIntMin},
        {"000000000000000000000000012", 12, 12},  // leading zeros do not saturate
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.input)));
        EXPECT_EQ(text::LeadingInt(c.input), c.skippingWhite);
        EXPECT_EQ(text::LeadingInt(c.input, /*skipWhite=*/false), c.notSkipping);
    }
}

TEST(TextTest, SubstituteReplacesFirstMarkerOnly) {
    EXPECT_EQ(text::Substitute("Unable to launch install program %s.\nInternet Explorer", "%s",
                               "/disc/ie/setup.exe"),
              "Unable to launch install program /disc/ie/setup.exe.\nInternet Explorer");
    EXPECT_EQ(text::Substitute("%1 was not found. %1", "%1", "/x"), "/x was not found. %1");
    EXPECT_EQ(text::Substitute("no marker", "%1", "/x"), "no marker");
    // The value is put in as it is, even if it holds the marker itself.
    EXPECT_EQ(text::Substitute("[%s]", "%s", "%s%s"), "[%s%s]");
}

// ---------------------------------------------------------------------------------------------
// Setting-value rules

TEST(RulesTest, ParseShowWindowByNameTable) {
    struct Case {
        std::string_view text;
        std::int32_t command;
    };
    const Case cases[] = {
        {"SW_SHOWMAXIMIZED", 3},
        {"sw_showmaximized", 3},
        {"SW_MAXIMIZE", 3},
        {"SW_MAX", 3},
        {"Sw_Max", 3},
        {"SW_SHOWNORMAL", 1},
        {"SW_NORMAL", 1},
        {"SW_SHOWMINIMIZED", 2},
        {"SW_MINIMIZE", 2},
        {"SW_FORCEMINIMIZE", 2},
        {"SW_RESTORE", 9},
        {"SW_SHOWNOACTIVATE", 4},
        {"SW_SHOWMINNOACTIVE", 7},
        // Names the table does not know, numbers and nothing give 1.
        {"SW_HIDE", 1},
        {"SW_SHOW", 1},
        {"SW_SHOWNA", 1},
        {"SW_SHOWDEFAULT", 1},
        {"3", 1},
        {"9", 1},
        {"", 1},
        {"SW MAX", 1},
        {"MAXIMIZE", 1},
        // A name found inside other text counts.
        {"  sw_restore  ", 9},
        {"ShowWindow=SW_SHOWMINNOACTIVE;x", 7},
        {"xSW_MAXIMIZEDx", 3},
        {"\"SW_SHOWNOACTIVATE\"", 4},
        // The table order decides, not the position in the text.
        {"SW_RESTORE SW_MAX", 3},
        {"SW_SHOWMINNOACTIVE SW_SHOWNORMAL", 1},
        {"SW_SHOWNOACTIVATE SW_RESTORE", 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text=\"") + std::string(c.text) + "\"");
        EXPECT_EQ(ParseShowWindow(c.text), c.command);
    }
}

TEST(RulesTest, IsVersionTextNeedsNonZeroNumberWithoutDots) {
    struct Case {
        std::string_view text;
        bool usable;
    };
    const Case cases[] = {
        {"6.0.2800", true},
        {"5.5", true},
        {"6.0", true},
        {" 6.0", true},
        {"\t6.0 ", true},
        {"0.1", true},  // "01" reads as 1
        {".5", true},
        {"6.x", true},
        {"-1", true},
        {"+2", true},
        {"99999999999999999999", true},  // far beyond 32 bits: saturates, never 0
        {"4294967296", true},            // 2^32 would wrap to 0
        {"4.294.967.296", true},
        {"-4294967296", true},
        {"0.0", false},
        {"0", false},
        {"00.00.000", false},
        {"abc", false},
        {"", false},
        {".", false},
        {"...", false},
        {"v6.0", false},
        {"- 6.0", false},
        {"0.0.1x", true},  // "001x" reads as 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("text=\"") + std::string(c.text) + "\"");
        EXPECT_EQ(IsVersionText(c.text), c.usable);
    }
}

TEST(RulesTest, IsFalseSettingOnlyForTheWordFalse) {
    struct Case {
        std::string_view value;
        bool off;
    };
    const Case cases[] = {
        {"FALSE", true},   {"false", true},   {"False", true},      {"fAlSe", true},
        {"", false},       {"No", false},     {"0", false},         {"TRUE", false},
        {" FALSE", false}, {"FALSE ", false}, {"FALSEHOOD", false}, {"FALS", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("value=\"") + std::string(c.value) + "\"");
        EXPECT_EQ(IsFalseSetting(c.value), c.off);
    }
}

TEST(RulesTest, CleanPlainLineDropsRemarkAndWhiteSpace) {
    struct Case {
        std::string_view line;
        std::string_view cleaned;
    };
    const Case cases[] = {
        {"viewer\\view.exe ; the viewer", "viewer\\view.exe"},
        {"viewer\\view.exe;remark;more", "viewer\\view.exe"},
        {"; a comment line", ""},
        {"   ;", ""},
        {"", ""},
        {" \t\r\n\v\f", ""},
        {"\t\v SW_SHOWMAXIMIZED \f\r", "SW_SHOWMAXIMIZED"},
        {"a b c", "a b c"},
        {"  6.0 \t; minimum", "6.0"},
        {"x\r\n", "x"},
        {"\xE6\x97\xA5\xE6\x9C\xAC.exe ;", "\xE6\x97\xA5\xE6\x9C\xAC.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.line)));
        EXPECT_EQ(CleanPlainLine(c.line), c.cleaned);
    }
}

// ---------------------------------------------------------------------------------------------
// Browser version gate

TEST(RulesTest, VersionComparisonIsByteWiseText) {
    struct Case {
        std::string_view installed;
        std::string_view minimum;
        bool passes;
    };
    const Case cases[] = {
        {"6.0", "6.0", true},    // equal
        {"6.0.2", "6.0", true},  // same start, longer
        {"6", "6.0", false},     // same start, shorter
        {"5.50", "6.0", false},
        {"10.0", "6.0", false},       // '1' < '6' although 10 > 6
        {"6.0.90", "6.0.280", true},  // '9' > '2' although 90 < 280
        {"6.0.280", "6.0.90", false},
        {"", "6.0", false},  // nothing installed
        {"", "", false},     // nothing installed, even against an empty minimum
        {"5.0", "", true},
        {"11.0.9600.16428", "11.0.9600.16428", true},
        {"11.0.9600.16427", "11.0.9600.16428", false},
        {"6.0a", "6.0", true},
        {"6.0", "6.0a", false},
        {"6.0 ", "6.0", true},  // nothing is trimmed
        {" 6.0", "6.0", false},
        {"a", "B", true},  // no case folding: 'a' (0x61) > 'B' (0x42)
        {"B", "a", false},
        // Bytes are unsigned: a byte >= 0x80 is higher than any ASCII byte.
        {"\x80", "z", true},
        {"z", "\x80", false},
        {"6.\xFF", "6.9", true},
        {"6.9", "6.\xC3\xA9", false},
        {"\xC3\xA9", "\xC3\xA8", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.installed)) + " against " +
                     ::testing::PrintToString(std::string(c.minimum)));
        EXPECT_EQ(BrowserGatePasses(c.installed, c.minimum), c.passes);
        if (!c.installed.empty()) {
            EXPECT_EQ(IsVersionLower(c.installed, c.minimum), !c.passes);
        }
    }
}

TEST(RulesTest, IsVersionLowerIsAStrictOrder) {
    const std::string_view versions[] = {"",      "10.0",    "5",      "5.50", "6",   "6.0",
                                         "6.0.2", "6.0.280", "6.0.90", "\x80", "\xFF"};
    for (std::size_t i = 0; i < std::size(versions); ++i) {
        for (std::size_t j = 0; j < std::size(versions); ++j) {
            SCOPED_TRACE(::testing::PrintToString(std::string(versions[i])) + " vs " +
                         ::testing::PrintToString(std::string(versions[j])));
            // The list is sorted, so the comparison must agree with the positions.
            EXPECT_EQ(IsVersionLower(versions[i], versions[j]), i < j);
        }
    }
}

}  // namespace
}  // namespace orvane
