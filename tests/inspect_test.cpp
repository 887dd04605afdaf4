// orvane-inspect, the real binary, on temporary discs and on the sample disc: one JSON object
// on one line with the launch settings in their fixed order and the gate's answer; usage errors;
// and the escaping that keeps the output valid JSON whatever bytes the names and values hold.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/Subprocess.h"
#include "support/TempDisc.h"

namespace {

using orvane::testing::ChildResult;
using orvane::testing::RunProgram;
using orvane::testing::TempDisc;

const std::vector<std::string> kKeys{
    "baseFolder",          "appFolder",        "settingsPath",
    "viewerCommand",       "viewerWorkingDir", "settingsMessage",
    "waitInterval",        "showWindowCmd",    "minimumIEVersion",
    "ieInstallCommand",    "showMenu",         "splashPage",
    "resultsPage",         "resultsFileName",  "windowTitle",
    "displayHTMLDocTitle", "customHelpPage",   "gate",
};

ChildResult Inspect(std::vector<std::string> args, const std::string& cwd = "") {
    args.insert(args.begin(), ORVANE_INSPECT_PATH);
    return RunProgram(args, cwd);
}

// A JSON object as far as this tool writes one: string, integer and boolean members.
struct Member {
    std::string key;
    std::string raw;  // the value as written
};

class JsonObject {
  public:
    // Parses `text`, which must be one object followed by one line feed and nothing else.
    static std::optional<JsonObject> Parse(std::string_view text, std::string& error) {
        JsonObject obj;
        std::size_t i = 0;
        auto ws = [&] {
            while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
                ++i;
        };
        auto fail = [&](const std::string& why) {
            error = why + " at " + std::to_string(i);
            return std::nullopt;
        };
        ws();
        if (i >= text.size() || text[i] != '{')
            return fail("no '{'");
        ++i;
        for (;;) {
            ws();
            Member m;
            std::string rawKey;
            if (!String(text, i, rawKey))
                return fail("bad key");
            m.key = Decode(rawKey);
            ws();
            if (i >= text.size() || text[i] != ':')
                return fail("no ':'");
            ++i;
            ws();
            std::size_t start = i;
            if (i < text.size() && text[i] == '"') {
                if (!String(text, i, m.raw))
                    return fail("bad string");
            } else if (text.substr(i, 4) == "true") {
                i += 4;
            } else if (text.substr(i, 5) == "false") {
                i += 5;
            } else {
                if (i < text.size() && text[i] == '-')
                    ++i;
                std::size_t digits = i;
                while (i < text.size() && text[i] >= '0' && text[i] <= '9')
                    ++i;
                if (i == digits)
                    return fail("bad value");
            }
            if (m.raw.empty())
                m.raw = std::string(text.substr(start, i - start));
            obj.members.push_back(std::move(m));
            ws();
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            if (i < text.size() && text[i] == '}') {
                ++i;
                break;
            }
            return fail("no ',' or '}'");
        }
        if (text.substr(i) != "\n")
            return fail("not exactly one line feed after the object");
        return obj;
    }

    // The bytes a string value stands for; "\udcXX" stands for the byte XX.
    static std::string Decode(std::string_view raw) {
        std::string out;
        for (std::size_t i = 1; i + 1 < raw.size(); ++i) {
            char c = raw[i];
            if (c != '\\') {
                out += c;
                continue;
            }
            char e = raw[++i];
            switch (e) {
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    unsigned cp = static_cast<unsigned>(
                        std::strtoul(std::string(raw.substr(i + 1, 4)).c_str(), nullptr, 16));
                    i += 4;
                    if (cp >= 0xDC80 && cp <= 0xDCFF) {
                        out += static_cast<char>(cp & 0xFF);
                    } else if (cp < 0x80) {
                        out += static_cast<char>(cp);
                    } else if (cp < 0x800) {
                        out += static_cast<char>(0xC0 | (cp >> 6));
                        out += static_cast<char>(0x80 | (cp & 0x3F));
                    } else {
                        out += static_cast<char>(0xE0 | (cp >> 12));
                        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                        out += static_cast<char>(0x80 | (cp & 0x3F));
                    }
                    break;
                }
                default:
                    out += e;  // '"', '\\', '/'
            }
        }
        return out;
    }

    std::vector<std::string> Keys() const {
        std::vector<std::string> keys;
        for (const auto& m : members)
            keys.push_back(m.key);
        return keys;
    }
    std::string Raw(std::string_view key) const {
        for (const auto& m : members) {
            if (m.key == key)
                return m.raw;
        }
        ADD_FAILURE() << "no member " << key;
        return {};
    }
    // A string member's bytes.
    std::string Text(std::string_view key) const {
        std::string raw = Raw(key);
        EXPECT_TRUE(raw.size() >= 2 && raw.front() == '"') << key << " is not a string: " << raw;
        return Decode(raw);
    }

    std::vector<Member> members;

  private:
    // A string from text[i] (which must be '"') with valid escapes and no raw control bytes.
    static bool String(std::string_view text, std::size_t& i, std::string& raw) {
        std::size_t start = i;
        if (i >= text.size() || text[i] != '"')
            return false;
        for (++i; i < text.size(); ++i) {
            auto c = static_cast<unsigned char>(text[i]);
            if (c < 0x20)
                return false;
            if (c == '"') {
                ++i;
                raw = std::string(text.substr(start, i - start));
                return true;
            }
            if (c == '\\') {
                if (++i >= text.size())
                    return false;
                char e = text[i];
                if (e == 'u') {
                    if (i + 4 >= text.size())
                        return false;
                    for (int k = 1; k <= 4; ++k) {
                        if (!std::isxdigit(static_cast<unsigned char>(text[i + k])))
                            return false;
                    }
                    i += 4;
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
};

// Whether `s` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80                 ? 1
                          : c >= 0xC2 && c <= 0xDF ? 2
                          : c >= 0xE0 && c <= 0xEF ? 3
                          : c >= 0xF0 && c <= 0xF4 ? 4
                                                   : 0;
        if (len == 0 || i + len > s.size())
            return false;
        unsigned cp = len == 1 ? c : c & (0xFF >> (len + 1));
        for (std::size_t k = 1; k < len; ++k) {
            auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
            return false;
        }
        i += len;
    }
    return true;
}

// Runs the tool and parses its answer; fails the test when it is no single JSON line with the
// members in their order.
std::optional<JsonObject> InspectJson(std::vector<std::string> args, const std::string& cwd = "") {
    ChildResult r = Inspect(std::move(args), cwd);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(IsUtf8(r.out)) << "output is not UTF-8";
    std::string error;
    auto obj = JsonObject::Parse(r.out, error);
    if (!obj) {
        ADD_FAILURE() << "not one JSON object on one line: " << error << "\n" << r.out;
        return std::nullopt;
    }
    EXPECT_EQ(obj->Keys(), kKeys);
    return obj;
}

std::string RealFolder(const std::string& path) {
    char buffer[PATH_MAX];
    if (!::realpath(path.c_str(), buffer))
        return path;
    return std::string(buffer) + "/";
}

// ---------------------------------------------------------------------------------------------

TEST(InspectOutput, SampleDisc) {
    const std::string b = RealFolder(ORVANE_SAMPLE_DISC);
    auto obj = InspectJson({ORVANE_SAMPLE_DISC});
    ASSERT_TRUE(obj);
    const std::pair<const char*, std::string> expected[] = {
        {"baseFolder", "\"" + b + "\""},
        {"appFolder", "\"" + b + "\""},
        {"settingsPath", "\"" + b + "COMMAND.TXT\""},
        {"viewerCommand", "\"" + b + "viewer/dicomviewer --study ORVANE\""},
        {"viewerWorkingDir", "\"" + b + "viewer\""},
        {"settingsMessage", "\"\""},
        {"waitInterval", "3"},
        {"showWindowCmd", "1"},
        {"minimumIEVersion", "\"\""},
        {"ieInstallCommand", "\"" + b + "ie/setup.exe\""},
        {"showMenu", "true"},
        {"splashPage", "\"" + b + "START.HTM\""},
        {"resultsPage", "\"" + b + "ORVANE/FRAMESET.HTM\""},
        {"resultsFileName", "\"FRAMESET.HTM\""},
        {"windowTitle", "\"Orvane Start\""},
        {"displayHTMLDocTitle", "true"},
        {"customHelpPage", "\"" + b + "ORVANE/tvkhelp.htm\""},
        {"gate", "\"skipped\""},
    };
    for (const auto& [key, raw] : expected)
        EXPECT_EQ(obj->Raw(key), raw) << key;
}

// Numbers and booleans come out as JSON numbers and booleans; the program folder below the
// settings folder; a relative folder argument is taken from the current folder.
TEST(InspectOutput, TemporaryDiscs) {
    TempDisc disc;
    disc.Write("COMMAND.TXT",
               "[Orvane]\nViewerCommand=viewer\\view.exe -a\nWaitInterval=-4\n"
               "ShowWindow=SW_RESTORE\nShowMenu=false\nDisplayHTMLDocTitle=FALSE\n"
               "MinimumIEVersion=6.0\nWindowTitle=Disc\n")
        .Write("viewer/View.exe", "")
        .Write("run/Index.htm", "")
        .Write("Orvane/TvkHelp.htm", "");
    struct Case {
        std::vector<std::string> args;
        std::string cwd;
    };
    const Case cases[] = {
        {{disc.folder() + "run"}, ""},
        {{disc.folder() + "run/"}, ""},
        {{"run"}, disc.path()},
        {{"--", "./run"}, disc.path()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back() + " from " + (c.cwd.empty() ? "here" : c.cwd));
        auto obj = InspectJson(c.args, c.cwd);
        ASSERT_TRUE(obj);
        EXPECT_EQ(obj->Text("baseFolder"), disc.folder());
        EXPECT_EQ(obj->Text("appFolder"), disc.folder() + "run/");
        EXPECT_EQ(obj->Text("settingsPath"), disc.path("COMMAND.TXT"));
        EXPECT_EQ(obj->Text("viewerCommand"), disc.folder() + "viewer/View.exe -a");
        EXPECT_EQ(obj->Text("viewerWorkingDir"), disc.folder());
        EXPECT_EQ(obj->Raw("waitInterval"), "-4");
        EXPECT_EQ(obj->Raw("showWindowCmd"), "9");
        EXPECT_EQ(obj->Text("minimumIEVersion"), "6.0");
        EXPECT_EQ(obj->Raw("showMenu"), "false");
        EXPECT_EQ(obj->Raw("displayHTMLDocTitle"), "false");
        EXPECT_EQ(obj->Text("splashPage"), disc.path("run/Index.htm"));
        EXPECT_EQ(obj->Text("resultsPage"), disc.folder() + "FRAMESET.HTM");
        EXPECT_EQ(obj->Text("windowTitle"), "Disc");
        EXPECT_EQ(obj->Text("customHelpPage"), disc.path("Orvane/TvkHelp.htm"));
        EXPECT_EQ(obj->Text("gate"), "pass");
    }
}

TEST(InspectOutput, NoCommandTxt) {
    TempDisc disc;
    if (orvane::testing::AnyCommandTxtAbove(disc.path()))
        GTEST_SKIP() << "a COMMAND.TXT lies above the disc";
    auto obj = InspectJson({disc.path()}, "/");
    ASSERT_TRUE(obj);
    EXPECT_EQ(obj->Raw("baseFolder"), "\"\"");
    EXPECT_EQ(obj->Raw("settingsPath"), "\"\"");
    EXPECT_EQ(obj->Raw("settingsMessage"),
              "\"Unable to locate file COMMAND.TXT.\\n\\nan unnamed file was not found.\"");
    EXPECT_EQ(obj->Raw("resultsPage"), "\"FRAMESET.HTM\"");
    EXPECT_EQ(obj->Raw("waitInterval"), "10");
    EXPECT_EQ(obj->Raw("showMenu"), "true");
    EXPECT_EQ(obj->Raw("gate"), "\"skipped\"");
}

// The gate compares the installed version with the minimum as text, byte by byte; without a
// --browser-version the tool answers what a current installation registers, 9.11.19041.0.
TEST(InspectGate, Answers) {
    struct Case {
        const char* minimum;  // the MinimumIEVersion line, null: none
        std::vector<std::string> options;
        const char* gate;
    };
    const std::string tooLong(300, '9');
    const Case cases[] = {
        {nullptr, {}, "skipped"},
        {nullptr, {"--browser-version", "1.0"}, "skipped"},
        {"0.0", {"--browser-version", "1.0"}, "skipped"},
        {"6.0", {}, "pass"},
        {"9.11.19041.0", {}, "pass"},
        {"9.11.19041.1", {}, "stop"},
        {"9.2", {}, "stop"},   // '1' before '2'
        {"10.0", {}, "pass"},  // '9' after '1'
        {"6.0", {"--browser-version", "5.5"}, "stop"},
        {"6.0", {"--browser-version=6.0"}, "pass"},
        {"6.0", {"--browser-version", "6.0.1"}, "pass"},
        {"6.0", {"--browser-version", "6"}, "stop"},
        {"6.0", {"--browser-version", ""}, "stop"},
        {"6.0", {"--browser-version", "10.0"}, "stop"},
        {"1", {"--browser-version", tooLong}, "stop"},  // does not fit: no version at all
    };
    TempDisc disc;
    for (const auto& c : cases) {
        std::string trace = std::string(c.minimum ? c.minimum : "(none)");
        for (const auto& o : c.options)
            trace += " " + o.substr(0, 20);
        SCOPED_TRACE(trace);
        std::string content = "[Orvane]\nViewerCommand=v.exe\n";
        if (c.minimum)
            content += std::string("MinimumIEVersion=") + c.minimum + "\n";
        disc.Write("COMMAND.TXT", content);
        std::vector<std::string> args = c.options;
        args.push_back(disc.path());
        auto obj = InspectJson(args);
        ASSERT_TRUE(obj);
        EXPECT_EQ(obj->Text("gate"), c.gate);
        // The option may also come after the folder.
        if (!c.options.empty()) {
            std::vector<std::string> after{disc.path()};
            after.insert(after.end(), c.options.begin(), c.options.end());
            auto again = InspectJson(after);
            ASSERT_TRUE(again);
            EXPECT_EQ(again->Text("gate"), c.gate);
        }
    }
}

// Usage errors: status 2, nothing on standard output and one line on standard error.
TEST(InspectUsage, ErrorsGiveStatusTwoAndOneLine) {
    TempDisc disc;
    disc.Write("file.txt", "").MakeFolder("a").MakeFolder("b");
    const std::vector<std::string> cases[] = {
        {},
        {disc.path("missing")},
        {disc.path("file.txt")},
        {"--browser-version"},
        {disc.path("a"), "--browser-version"},
        {"-x", disc.path("a")},
        {disc.path("a"), disc.path("b")},
    };
    for (const auto& args : cases) {
        std::string trace;
        for (const auto& a : args)
            trace += "[" + a + "] ";
        SCOPED_TRACE(trace);
        ChildResult r = Inspect(args);
        EXPECT_TRUE(r.finished);
        EXPECT_EQ(r.exitStatus, 2);
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.back(), '\n');
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// Names and values of any bytes: quotes, backslashes, control characters and bytes that are
// not UTF-8 are escaped, so the output stays one valid UTF-8 JSON line from which every byte
// can be recovered.
TEST(InspectEscaping, EveryByteSurvives) {
    TempDisc disc;
    const std::string folderName = "we\"ird\\na\nme\t\x01\xff\xC3\xA9";
    const std::string title =
        "q\"b\\s\t\x01\x1f\x7f"
        "a\rb\xff\xC3\xA9\xC0\xAF\xED\xA0\x80\xF0\x9F\x98\x80\xF4\x90\x80\x80\x80"
        "end\xE2\x82";
    disc.Write(folderName + "/COMMAND.TXT",
               "[Orvane]\nViewerCommand=v.exe\nWindowTitle=" + title + "\n");
    auto obj = InspectJson({disc.path(folderName)});
    ASSERT_TRUE(obj);
    const std::string folder = disc.folder() + folderName + "/";
    EXPECT_EQ(obj->Text("appFolder"), folder);
    EXPECT_EQ(obj->Text("baseFolder"), folder);
    EXPECT_EQ(obj->Text("settingsPath"), folder + "COMMAND.TXT");
    EXPECT_EQ(obj->Text("windowTitle"), title);

    // Invalid bytes are escaped one by one as \udcXX; valid sequences stay as they are.
    std::string raw = obj->Raw("windowTitle");
    for (char& c : raw)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* escape : {"\\udcff", "\\udcc0\\udcaf", "\\udced\\udca0\\udc80",
                               "\\udcf4\\udc90\\udc80\\udc80\\udc80", "\\udce2\\udc82\""}) {
        EXPECT_NE(raw.find(escape), std::string::npos) << escape << " in " << raw;
    }
    EXPECT_NE(raw.find("\xC3\xA9"), std::string::npos);
    EXPECT_NE(raw.find("\xF0\x9F\x98\x80"), std::string::npos);
    EXPECT_NE(raw.find("\\\"b\\\\s\\t"), std::string::npos) << raw;
}

}  // namespace
