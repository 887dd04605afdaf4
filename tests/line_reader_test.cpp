// Reading COMMAND.TXT line by line, and the INI-form profile reader on top of it. The bytes come
// from memory, handed out in pieces of a chosen size, so the line rules are checked across
// every kind of read boundary.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ProfileReader.h"
#include "platform/FileSystem.h"
#include "platform/LineReader.h"

namespace orvane {
namespace {

using platform::LineReader;

// Hands out `data` in pieces of at most `chunk` bytes per Read.
class MemoryReader : public platform::ByteReader {
  public:
    MemoryReader(std::string data, std::size_t chunk) : data_(std::move(data)), chunk_(chunk) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        std::size_t n = std::min({size, chunk_, data_.size() - pos_});
        std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return n;
    }

  private:
    std::string data_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

// Piece sizes: single bytes, pieces that split CR LF and the byte-order mark, pieces just around
// the reader's own buffer size, and everything at once.
constexpr std::size_t kChunkSizes[] = {1, 2, 3, 5, 16383, 16384, 16385, 1 << 20};

std::vector<std::string> ReadLines(const std::string& data, std::size_t chunk) {
    MemoryReader source(data, chunk);
    LineReader reader(source);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line))
        lines.push_back(line);
    EXPECT_FALSE(reader.Next(line)) << "the end of the file must stay the end";
    return lines;
}

std::string Bytes(std::string_view s) {
    return std::string(s);
}
std::string Pattern(std::size_t size) {
    std::string s(size, ' ');
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>('a' + i % 26);
    return s;
}

void ExpectLinesForEveryChunkSize(const std::string& data, const std::vector<std::string>& want) {
    for (std::size_t chunk : kChunkSizes) {
        SCOPED_TRACE("chunk size " + std::to_string(chunk));
        std::vector<std::string> got = ReadLines(data, chunk);
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            SCOPED_TRACE("line " + std::to_string(i + 1));
            if (want[i].size() > 200 || got[i].size() > 200) {
                // Keep failure output readable for the long lines.
                EXPECT_EQ(got[i].size(), want[i].size());
                EXPECT_TRUE(got[i] == want[i]);
            } else {
                EXPECT_EQ(got[i], want[i]);
            }
        }
    }
}

struct LineCase {
    const char* name;
    std::string data;
    std::vector<std::string> lines;
};

TEST(LineReaderTest, LineEnds) {
    const LineCase cases[] = {
        {"empty file", "", {}},
        {"one empty line", "\n", {""}},
        {"two empty lines", "\n\n", {"", ""}},
        {"last line without LF", "abc", {"abc"}},
        {"LF ends the last line", "abc\n", {"abc"}},
        {"two lines", "abc\ndef", {"abc", "def"}},
        {"empty line in between", "a\n\nb\n", {"a", "", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"CR LF only", "\r\n", {""}},
        {"only the CR right before LF goes", "a\r\r\n", {"a\r"}},
        {"CR inside a line stays", "a\rb\nc\r d\n", {"a\rb", "c\r d"}},
        {"blanks stay", "  a b \t\n", {"  a b \t"}},
        {"non-ASCII bytes",
         "\xE6\x97\xA5\xE6\x9C\xAC\n\xFF\xFE\n",
         {"\xE6\x97\xA5\xE6\x9C\xAC", "\xFF\xFE"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLinesForEveryChunkSize(c.data, c.lines);
    }
}

TEST(LineReaderTest, ByteOrderMarkOnlyAtTheVeryStart) {
    const LineCase cases[] = {
        {"mark then text",
         "\xEF\xBB\xBF"
         "abc\ndef\n",
         {"abc", "def"}},
        {"mark only", "\xEF\xBB\xBF", {}},
        {"mark then LF", "\xEF\xBB\xBF\n", {""}},
        {"mark then CR LF", "\xEF\xBB\xBF\r\nx", {"", "x"}},
        {"second mark is text", "\xEF\xBB\xBF\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}},
        {"mark on a later line is text",
         "a\n\xEF\xBB\xBF"
         "b",
         {"a",
          "\xEF\xBB\xBF"
          "b"}},
        {"mark after a blank is text", " \xEF\xBB\xBF", {" \xEF\xBB\xBF"}},
        // The start of a mark that does not go on is ordinary text.
        {"one byte of a mark", "\xEF", {"\xEF"}},
        {"two bytes of a mark", "\xEF\xBB", {"\xEF\xBB"}},
        {"two bytes then text", "\xEF\xBBx\n", {"\xEF\xBBx"}},
        {"one byte then LF", "\xEF\nx", {"\xEF", "x"}},
        {"two bytes then LF", "\xEF\xBB\n\xBF", {"\xEF\xBB", "\xBF"}},
        {"repeated first byte", "\xEF\xEF\xBB\xBF", {"\xEF\xEF\xBB\xBF"}},
        {"one byte then NUL", Bytes(std::string_view("\xEF\0x\ny", 5)), {"\xEF", "y"}},
        {"mark then NUL", Bytes(std::string_view("\xEF\xBB\xBF\0x\ny", 7)), {"", "y"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLinesForEveryChunkSize(c.data, c.lines);
    }
}

TEST(LineReaderTest, NulEndsTheTextOfItsLine) {
    const LineCase cases[] = {
        {"rest of line dropped", Bytes(std::string_view("ab\0cd\nef\n", 9)), {"ab", "ef"}},
        {"NUL first", Bytes(std::string_view("\0abc\nx", 6)), {"", "x"}},
        {"NUL at the end of the file", Bytes(std::string_view("ab\0", 3)), {"ab"}},
        {"NUL then text without LF", Bytes(std::string_view("ab\0cd", 5)), {"ab"}},
        {"NUL before CR LF", Bytes(std::string_view("ab\0\r\nc", 6)), {"ab", "c"}},
        {"CR before NUL is not before LF", Bytes(std::string_view("ab\r\0x\nc", 7)), {"ab\r", "c"}},
        {"many NULs", Bytes(std::string_view("ab\0\0\0x\0\ny", 9)), {"ab", "y"}},
        {"NUL line is still a line", Bytes(std::string_view("a\n\0\nb", 5)), {"a", "", "b"}},
        {"NUL does not hide the next line", Bytes(std::string_view("a\0\n\nb", 5)), {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLinesForEveryChunkSize(c.data, c.lines);
    }
}

TEST(LineReaderTest, LongLinesAreCutAtTheLimit) {
    constexpr std::size_t kMax = LineReader::kMaxLine;
    ASSERT_EQ(kMax, 32767u);
    const std::string full = Pattern(kMax);
    const std::string longer = Pattern(100000);
    const LineCase cases[] = {
        {"exactly the limit", full + "\nnext", {full, "next"}},
        {"one byte over", Pattern(kMax + 1) + "\nnext\n", {full, "next"}},
        {"far over", longer + "\nnext\n", {full, "next"}},
        {"far over, last line", longer, {full}},
        {"limit plus CR LF", full + "\r\nnext", {full, "next"}},
        {"one below the limit plus CR LF",
         Pattern(kMax - 1) + "\r\nnext",
         {Pattern(kMax - 1), "next"}},
        {"CR past the limit", full + "\rxyz\nnext", {full, "next"}},
        {"CR at the limit, not before LF, stays",
         Pattern(kMax - 1) + "\rxyz\nnext",
         {Pattern(kMax - 1) + "\r", "next"}},
        {"NUL past the limit", full + std::string(1, '\0') + "x\nnext", {full, "next"}},
        {"mark does not count", "\xEF\xBB\xBF" + longer + "\nnext", {full, "next"}},
        {"two long lines", longer + "\n" + longer + "\n", {full, full}},
        {"partial mark counts as text", "\xEF" + longer, {"\xEF" + Pattern(kMax - 1)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLinesForEveryChunkSize(c.data, c.lines);
    }
}

// ---------------------------------------------------------------------------------------------
// The profile reader

constexpr std::string_view kFallback = "<fallback>";

ProfileSection ReadProfile(const std::string& file, const std::vector<std::string_view>& keys,
                           std::size_t chunk = 4096) {
    MemoryReader source(file, chunk);
    LineReader lines(source);
    return ProfileSection::Read(lines, "Orvane", keys);
}

TEST(ProfileTest, ValueOfAKeyLine) {
    struct Case {
        std::string line;
        std::optional<std::string> value;  // nothing: the key is absent
    };
    const Case cases[] = {
        {"ViewerCommand=viewer/view.exe", "viewer/view.exe"},
        {"viewercommand=x", "x"},
        {"VIEWERCOMMAND=x", "x"},
        {"  ViewerCommand  =  x  ", "x"},
        {"\tViewerCommand\t=\tx\t", "x"},
        {"ViewerCommand=x\r", "x"},  // CR LF file
        {"ViewerCommand = a = b", "a = b"},
        {"ViewerCommand=x ; not a remark", "x ; not a remark"},
        {"ViewerCommand=viewer\\view.exe /a \"b c\"", "viewer\\view.exe /a \"b c\""},
        // One pair of enclosing quotes goes, after the blanks around them.
        {"ViewerCommand=\"quoted value\"", "quoted value"},
        {"ViewerCommand='single'", "single"},
        {"ViewerCommand=  \" padded \"  ", " padded "},
        {"ViewerCommand=\"\"x\"\"", "\"x\""},
        {"ViewerCommand=\"a\" \"b\"", "a\" \"b"},
        {"ViewerCommand=\"\"", ""},
        {"ViewerCommand=''", ""},
        {"ViewerCommand=\"x'", "\"x'"},
        {"ViewerCommand='x\"", "'x\""},
        {"ViewerCommand=\"x", "\"x"},
        {"ViewerCommand=x\"", "x\""},
        {"ViewerCommand=\"", "\""},
        // Present but empty is not absent.
        {"ViewerCommand=", ""},
        {"ViewerCommand= \t ", ""},
        // Only spaces and tabs are trimmed.
        {"ViewerCommand=\vx\v", "\vx\v"},
        {"ViewerCommand=\fx", "\fx"},
        // Lines that hold no key.
        {"ViewerCommand", std::nullopt},
        {"ViewerCommand viewer.exe", std::nullopt},
        {";ViewerCommand=x", std::nullopt},
        {"  ;ViewerCommand=x", std::nullopt},
        {"\t;ViewerCommand=x", std::nullopt},
        {"=x", std::nullopt},
        {"Viewer Command=x", std::nullopt},
        {"ViewerCommandX=x", std::nullopt},
        {"ViewerCommand;=x", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.line));
        for (std::size_t chunk : {std::size_t{1}, std::size_t{4096}}) {
            SCOPED_TRACE("chunk size " + std::to_string(chunk));
            ProfileSection section =
                ReadProfile("[Orvane]\n" + c.line + "\n", {"ViewerCommand"}, chunk);
            EXPECT_TRUE(section.found());
            EXPECT_EQ(section.GetString("ViewerCommand", kFallback),
                      c.value ? *c.value : std::string(kFallback));
        }
    }
}

TEST(ProfileTest, ValuesAndFallbacksArriveCutTo254Bytes) {
    constexpr std::size_t kMax = ProfileSection::kMaxValue;
    ASSERT_EQ(kMax, 254u);
    const std::string v254 = Pattern(254);
    struct Case {
        const char* name;
        std::string value;  // as written after "K="
        std::string expected;
    };
    const Case cases[] = {
        {"253 bytes", Pattern(253), Pattern(253)},
        {"254 bytes", v254, v254},
        {"255 bytes", Pattern(255), v254},
        {"1000 bytes", Pattern(1000), v254},
        {"blanks do not count", "   " + Pattern(300) + "   ", v254},
        // Quotes are removed before the value is cut.
        {"quoted 254 bytes", "\"" + v254 + "\"", v254},
        {"quoted 300 bytes", "\"" + Pattern(300) + "\"", v254},
        {"unmatched quote counts", "\"" + Pattern(300), "\"" + Pattern(253)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileSection section = ReadProfile("[Orvane]\nK=" + c.value + "\n", {"K"});
        std::string got = section.GetString("K", kFallback);
        EXPECT_EQ(got.size(), c.expected.size());
        EXPECT_TRUE(got == c.expected);
    }

    ProfileSection empty = ReadProfile("[Orvane]\n", {"K"});
    EXPECT_EQ(empty.GetString("K", Pattern(300)), v254);
    EXPECT_EQ(empty.GetString("K", v254), v254);
    EXPECT_EQ(empty.GetString("K", Pattern(10)), Pattern(10));
}

TEST(ProfileTest, OnlyTheFirstOrvaneSectionAndFirstLineOfEachKeyCount) {
    struct Case {
        const char* name;
        std::string file;
        bool found;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"plain", "[Orvane]\nK=1\n", true, "1"},
        {"section name in any case", "[oRVANE]\nK=1\n", true, "1"},
        {"blanks inside the brackets", "[ \tOrvane\t ]\nK=1\n", true, "1"},
        {"blanks around the header", "  [Orvane]\t \nK=1\n", true, "1"},
        {"remark after the header", "[Orvane] ; settings\nK=1\n", true, "1"},
        {"mark and CR LF", "\xEF\xBB\xBF[Orvane]\r\nK = \"1\"\r\n", true, "1"},
        {"keys before any section do not count", "K=0\n[Orvane]\nK=1\n", true, "1"},
        {"keys of an earlier section do not count", "[Other]\nK=0\n[Orvane]\nK=1\n", true, "1"},
        {"first line of a key wins", "[Orvane]\nK=1\nK=2\n", true, "1"},
        {"first line wins whatever the case", "[Orvane]\nk=1\nK=2\n", true, "1"},
        {"first line wins even when empty", "[Orvane]\nK=\nK=2\n", true, ""},
        {"remark line is no occurrence", "[Orvane]\n;K=0\nK=1\n", true, "1"},
        {"line without = is no occurrence", "[Orvane]\nK\nK=1\n", true, "1"},
        {"a later section ends reading", "[Orvane]\nX=1\n[Other]\nK=2\n", true, std::nullopt},
        {"an empty section", "[Orvane]\n[Other]\nK=2\n", true, std::nullopt},
        {"a second Orvane section does not count", "[Orvane]\nX=1\n[ORVANE]\nK=2\n", true,
         std::nullopt},
        {"no such section", "[Other]\nK=2\n", false, std::nullopt},
        {"a longer section name", "[Orvane2]\nK=2\n", false, std::nullopt},
        {"not a header", "Orvane\nK=2\n", false, std::nullopt},
        {"empty file", "", false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
            SCOPED_TRACE("chunk size " + std::to_string(chunk));
            ProfileSection section = ReadProfile(c.file, {"K"}, chunk);
            EXPECT_EQ(section.found(), c.found);
            EXPECT_EQ(section.GetString("K", kFallback),
                      c.value ? *c.value : std::string(kFallback));
        }
    }
}

TEST(ProfileTest, ReadsEveryRequestedKeyOfARealFile) {
    const std::string file =
        "; disc settings\r\n"
        "[Orvane]\r\n"
        "ViewerCommand = viewer\\view.exe /study \"a b\"\r\n"
        "ShowWindow=SW_SHOWMAXIMIZED\r\n"
        "MinimumIEVersion = 6.0\r\n"
        "IEInstallCommand=\r\n"
        "WaitInterval = 5 seconds\r\n"
        "showmenu=false\r\n"
        "WindowTitle='Patient CD'\r\n"
        "Unrequested=1\r\n"
        "\r\n"
        "[Other]\r\n"
        "SplashPage=other.htm\r\n";
    const std::vector<std::string_view> keys = {
        "ViewerCommand",    "ViewerWorkingDir", "ShowWindow",         "MinimumIEVersion",
        "IEInstallCommand", "WaitInterval",     "ShowMenu",           "SplashPage",
        "ResultsPage",      "WindowTitle",      "DisplayHTMLDocTitle"};
    for (std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{1 << 16}}) {
        SCOPED_TRACE("chunk size " + std::to_string(chunk));
        ProfileSection s = ReadProfile(file, keys, chunk);
        EXPECT_TRUE(s.found());
        EXPECT_EQ(s.GetString("ViewerCommand", ""), "viewer\\view.exe /study \"a b\"");
        EXPECT_EQ(s.GetString("VIEWERCOMMAND", ""), "viewer\\view.exe /study \"a b\"");
        EXPECT_EQ(s.GetString("ViewerWorkingDir", "/disc/"), "/disc/");
        EXPECT_EQ(s.GetString("ShowWindow", ""), "SW_SHOWMAXIMIZED");
        EXPECT_EQ(s.GetString("MinimumIEVersion", ""), "6.0");
        EXPECT_EQ(s.GetString("IEInstallCommand", "ie\\setup.exe"), "");
        EXPECT_EQ(s.GetInt("WaitInterval", 10), 5);
        EXPECT_EQ(s.GetString("ShowMenu", "TRUE"), "false");
        EXPECT_EQ(s.GetString("SplashPage", "start.htm"), "start.htm");
        EXPECT_EQ(s.GetString("ResultsPage", "ORVANE\\FRAMESET.HTM"), "ORVANE\\FRAMESET.HTM");
        EXPECT_EQ(s.GetString("WindowTitle", "Orvane Start"), "Patient CD");
        EXPECT_EQ(s.GetString("DisplayHTMLDocTitle", "TRUE"), "TRUE");
        // A key that was not asked for reads as absent even though the file has it.
        EXPECT_EQ(s.GetString("Unrequested", "none"), "none");
        EXPECT_EQ(s.GetInt("Unrequested", 7), 7);
    }
}

TEST(ProfileTest, GetIntReadsTheLeadingNumber) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        std::string file;  // the lines after [Orvane]
        std::int32_t value;
    };
    const Case cases[] = {
        {"", 10},               // absent
        {"WaitInterval", 10},   // no '=': absent
        {"WaitInterval=", 10},  // empty
        {"WaitInterval=  \t", 10},
        {"WaitInterval=\"\"", 10},
        {"WaitInterval=5", 5},
        {"WaitInterval=0", 0},
        {"WaitInterval=-5", -5},
        {"WaitInterval=+5", 5},
        {"WaitInterval= 7 ", 7},
        {"WaitInterval=\"30\"", 30},
        {"WaitInterval=12abc", 12},
        {"WaitInterval=1.5", 1},
        {"WaitInterval=abc", 0},
        {"WaitInterval=0x1F", 0},
        {"WaitInterval=- 5", 0},
        {"WaitInterval=99999999999", kMax},
        {"WaitInterval=-99999999999", kMin},
        {"waitinterval=3\nWaitInterval=4", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.file));
        ProfileSection s = ReadProfile("[Orvane]\n" + c.file + "\n", {"WaitInterval"});
        EXPECT_EQ(s.GetInt("WaitInterval", 10), c.value);
    }
}

TEST(ProfileTest, MissingSectionReadsAsAllAbsent) {
    ProfileSection none;
    EXPECT_FALSE(none.found());
    EXPECT_EQ(none.GetString("ViewerCommand", ""), "");
    EXPECT_EQ(none.GetString("WindowTitle", "Orvane Start"), "Orvane Start");
    EXPECT_EQ(none.GetInt("WaitInterval", 10), 10);

    ProfileSection other = ReadProfile("[Other]\nViewerCommand=x\nWaitInterval=3\n",
                                       {"ViewerCommand", "WaitInterval"});
    EXPECT_FALSE(other.found());
    EXPECT_EQ(other.GetString("ViewerCommand", ""), "");
    EXPECT_EQ(other.GetInt("WaitInterval", 10), 10);
}

}  // namespace
}  // namespace orvane
