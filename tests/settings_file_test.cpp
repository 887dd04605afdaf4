// COMMAND.TXT on disc folders: the search for it, both of its forms, every key and line, the
// shapes a file can take (byte-order mark, CRLF, NUL bytes, long lines, repeated keys and
// sections) and the pages worked out from it. Discs are made in temporary folders and loaded
// exactly as start-up loads them.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/LaunchSettings.h"
#include "app/OrvaneStartApp.h"
#include "app/SettingsFile.h"
#include "fake/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/Subprocess.h"
#include "support/TempDisc.h"

namespace {

using orvane::COrvaneStartApp;
using orvane::LaunchSettings;
using orvane::platform::posix::PosixFileSystem;
using orvane::testing::CurrentFolder;
using orvane::testing::RunInChild;
using orvane::testing::TempDisc;

const std::string kNoViewerKey =
    "COMMAND.TXT file does not contain the 'ViewerCommand' setting, which must be the relative "
    "path to the DICOM viewer EXE.\n\n";
const std::string kEmptyFile =
    "COMMAND.TXT file is empty. This text file must contain the relative path to the DICOM "
    "viewer EXE.\n\n";
const std::string kNoViewerLine =
    "COMMAND.TXT file does not contain the relative path to the DICOM viewer EXE.\n\n";
const std::string kNotFound = "Unable to locate file COMMAND.TXT.\n\n";

// What start-up loads when the program lies in `appFolder` (the fake platform reads the real
// files).
LaunchSettings LoadFrom(const std::string& appFolder) {
    orvane::testing::FakePlatform fake;
    COrvaneStartApp app(fake.platform(), nullptr);
    app.LoadSettingsFrom(appFolder);
    return app.settings();
}

std::string Field(const LaunchSettings& s, std::string_view name) {
    auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
    if (name == "baseFolder")
        return s.baseFolder;
    if (name == "appFolder")
        return s.appFolder;
    if (name == "settingsPath")
        return s.settingsPath;
    if (name == "viewerCommand")
        return s.viewerCommand;
    if (name == "viewerWorkingDir")
        return s.viewerWorkingDir;
    if (name == "settingsMessage")
        return s.settingsMessage;
    if (name == "waitInterval")
        return std::to_string(s.waitInterval);
    if (name == "showWindowCmd")
        return std::to_string(s.showWindowCmd);
    if (name == "minimumIEVersion")
        return s.minimumIEVersion;
    if (name == "ieInstallCommand")
        return s.ieInstallCommand;
    if (name == "showMenu")
        return flag(s.showMenu);
    if (name == "splashPage")
        return s.splashPage;
    if (name == "resultsPage")
        return s.resultsPage;
    if (name == "resultsFileName")
        return s.resultsFileName;
    if (name == "windowTitle")
        return s.windowTitle;
    if (name == "displayHTMLDocTitle")
        return flag(s.displayHTMLDocTitle);
    if (name == "customHelpPage")
        return s.customHelpPage;
    ADD_FAILURE() << "no field " << name;
    return {};
}

const char* const kFields[] = {
    "baseFolder",       "appFolder",        "settingsPath", "viewerCommand",
    "viewerWorkingDir", "settingsMessage",  "waitInterval", "showWindowCmd",
    "minimumIEVersion", "ieInstallCommand", "showMenu",     "splashPage",
    "resultsPage",      "resultsFileName",  "windowTitle",  "displayHTMLDocTitle",
    "customHelpPage",
};

// Every field, one per line, for comparing whole records.
std::string Dump(const LaunchSettings& s) {
    std::string out;
    for (const char* f : kFields)
        out += std::string(f) + "=" + Field(s, f) + "\n";
    return out;
}

// `text` with "$B" replaced by the settings folder and "$A" by the program's folder.
std::string Expand(std::string text, const std::string& base, const std::string& app) {
    for (auto [mark, value] : {std::pair{"$B", &base}, std::pair{"$A", &app}}) {
        for (auto at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + value->size())) {
            text.replace(at, 2, *value);
        }
    }
    return text;
}

// Makes `entries` on the disc: a name ending in '/' is a folder, any other an empty file.
void MakeEntries(const TempDisc& disc, const std::vector<std::string>& entries) {
    for (const auto& e : entries) {
        if (e.back() == '/') {
            disc.MakeFolder(e);
        } else {
            disc.Write(e, "");
        }
    }
}

struct Check {
    const char* field;
    std::string expected;  // "$B": the settings folder, "$A": the program's folder
};

// One COMMAND.TXT beside the program, with other entries on the disc, and what it gives.
struct Row {
    std::string title;
    std::string content;
    std::vector<std::string> entries;
    std::vector<Check> checks;
};

void RunRows(const std::vector<Row>& rows) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        TempDisc disc;
        disc.Write("COMMAND.TXT", row.content);
        MakeEntries(disc, row.entries);
        LaunchSettings s = LoadFrom(disc.folder());
        if (s.baseFolder != disc.folder()) {
            ADD_FAILURE() << "COMMAND.TXT not found beside the program: " << s.baseFolder;
            continue;
        }
        for (const auto& check : row.checks) {
            EXPECT_EQ(Field(s, check.field), Expand(check.expected, disc.folder(), disc.folder()))
                << "field " << check.field;
        }
    }
}

// An INI-form file: `lines` come first in the section, then a viewer command that only counts
// when `lines` give none.
std::string Ini(const std::string& lines) {
    return "[Orvane]\n" + lines + "ViewerCommand=viewer\\view.exe\n";
}

// ---------------------------------------------------------------------------------------------
// The INI form, key by key.

TEST(SettingsIniForm, ViewerCommand) {
    RunRows({
        {"program not on the disc",
         Ini(""),
         {},
         {{"viewerCommand", "$Bviewer/view.exe"}, {"settingsMessage", ""}}},
        {"program in other case, arguments kept as written",
         Ini("ViewerCommand=Viewer\\View.exe -x C:\\a\\b \"q\"\n"),
         {"VIEWER/view.EXE"},
         {{"viewerCommand", "$BVIEWER/view.EXE -x C:\\a\\b \"q\""}}},
        {"blanks around key and value",
         Ini("  ViewerCommand \t=   viewer\\view.exe  \t\n"),
         {},
         {{"viewerCommand", "$Bviewer/view.exe"}}},
        {"leading separators",
         Ini("ViewerCommand=\\\\viewer\\view.exe\n"),
         {},
         {{"viewerCommand", "$Bviewer/view.exe"}}},
        {"forward slashes",
         Ini("ViewerCommand=viewer/view.exe --a\n"),
         {"viewer/view.exe"},
         {{"viewerCommand", "$Bviewer/view.exe --a"}}},
        {"quoted program with a blank keeps its quotes",
         Ini("ViewerCommand=\"my viewer\\view.exe\" --study X\n"),
         {"My Viewer/View.exe"},
         {{"viewerCommand", "\"$BMy Viewer/View.exe\" --study X"}}},
        {"unquoted program with a blank",
         Ini("ViewerCommand=my viewer\\view.exe --x y\n"),
         {"my viewer/view.exe"},
         {{"viewerCommand", "$Bmy viewer/view.exe --x y"}}},
        {"missing program, quoted argument kept as written",
         Ini("ViewerCommand=viewer\\view.exe \"C:\\my files\\a b\"\n"),
         {},
         {{"viewerCommand", "$Bviewer/view.exe \"C:\\my files\\a b\""}}},
        {"missing program, unquoted argument kept as written",
         Ini("ViewerCommand=viewer\\view.exe -p C:\\x\n"),
         {},
         {{"viewerCommand", "$Bviewer/view.exe -p C:\\x"}}},
        {"whole value in double quotes",
         Ini("ViewerCommand=\"viewer\\view.exe\"\n"),
         {},
         {{"viewerCommand", "$Bviewer/view.exe"}}},
        {"whole value in single quotes",
         Ini("ViewerCommand='viewer\\view.exe'\n"),
         {},
         {{"viewerCommand", "$Bviewer/view.exe"}}},
        {"a folder is no program",
         Ini("ViewerCommand=Viewer\n"),
         {"viewer/"},
         {{"viewerCommand", "$BViewer"}}},
        {"value cut after 254 characters",
         Ini("ViewerCommand=" + std::string(300, 'v') + "\n"),
         {},
         {{"viewerCommand", "$B" + std::string(254, 'v')}}},
        {"only blanks inside quotes: INI form without a viewer",
         Ini("ViewerCommand=\"  \"\n"),
         {},
         {{"viewerCommand", ""},
          {"settingsMessage", kNoViewerKey},
          {"ieInstallCommand", "$Bie/setup.exe"},
          {"viewerWorkingDir", "$B"}}},
        {"only a form feed: INI form without a viewer",
         Ini("ViewerCommand=\f\n"),
         {},
         {{"viewerCommand", ""}, {"settingsMessage", kNoViewerKey}}},
    });
}

TEST(SettingsIniForm, ViewerWorkingDir) {
    RunRows({
        {"absent", Ini(""), {"viewer/"}, {{"viewerWorkingDir", "$B"}}},
        {"present but empty",
         Ini("ViewerWorkingDir=\n"),
         {"viewer/"},
         {{"viewerWorkingDir", "$B"}}},
        {"existing folder in other case",
         Ini("ViewerWorkingDir=work\n"),
         {"Work/"},
         {{"viewerWorkingDir", "$BWork"}}},
        {"nested folder with backslash",
         Ini("ViewerWorkingDir=data\\images\n"),
         {"DATA/Images/"},
         {{"viewerWorkingDir", "$BDATA/Images"}}},
        {"leading separator",
         Ini("ViewerWorkingDir=\\work\n"),
         {"work/"},
         {{"viewerWorkingDir", "$Bwork"}}},
        {"blanks around",
         Ini("ViewerWorkingDir=  work  \n"),
         {"work/"},
         {{"viewerWorkingDir", "$Bwork"}}},
        {"trailing backslash never passes",
         Ini("ViewerWorkingDir=work\\\n"),
         {"work/"},
         {{"viewerWorkingDir", "$B"}}},
        {"trailing slash never passes",
         Ini("ViewerWorkingDir=work/\n"),
         {"work/"},
         {{"viewerWorkingDir", "$B"}}},
        {"names a file",
         Ini("ViewerWorkingDir=notes.txt\n"),
         {"notes.txt"},
         {{"viewerWorkingDir", "$B"}}},
        {"names nothing", Ini("ViewerWorkingDir=nothing\n"), {}, {{"viewerWorkingDir", "$B"}}},
    });
}

TEST(SettingsIniForm, ShowWindow) {
    const std::pair<const char*, const char*> values[] = {
        {"sw_showmaximized", "3"},     {"SW_MAXIMIZE", "3"},        {"SW_MAX", "3"},
        {"SW_SHOWNORMAL", "1"},        {"SW_NORMAL", "1"},          {"SW_SHOWMINIMIZED", "2"},
        {"SW_MINIMIZE", "2"},          {"SW_FORCEMINIMIZE", "2"},   {"SW_RESTORE", "9"},
        {"SW_SHOWNOACTIVATE", "4"},    {"SW_SHOWMINNOACTIVE", "7"}, {"3", "1"},
        {"start Sw_Restore now", "9"}, {"maximized", "1"},
    };
    std::vector<Row> rows;
    for (auto [value, expected] : values) {
        rows.push_back({std::string("ShowWindow=") + value,
                        Ini(std::string("ShowWindow=") + value + "\n"),
                        {},
                        {{"showWindowCmd", expected}}});
    }
    rows.push_back({"absent", Ini(""), {}, {{"showWindowCmd", "1"}}});
    rows.push_back({"present but empty", Ini("ShowWindow=\n"), {}, {{"showWindowCmd", "1"}}});
    RunRows(rows);
}

TEST(SettingsIniForm, MinimumIEVersion) {
    RunRows({
        {"absent", Ini(""), {}, {{"minimumIEVersion", ""}}},
        {"present but empty", Ini("MinimumIEVersion=\n"), {}, {{"minimumIEVersion", ""}}},
        {"6.0 with blanks around",
         Ini("MinimumIEVersion=   6.0  \n"),
         {},
         {{"minimumIEVersion", "6.0"}}},
        {"5.5", Ini("MinimumIEVersion=5.5\n"), {}, {{"minimumIEVersion", "5.5"}}},
        {"6.0.2800", Ini("MinimumIEVersion=6.0.2800\n"), {}, {{"minimumIEVersion", "6.0.2800"}}},
        {"0.0 means no check", Ini("MinimumIEVersion=0.0\n"), {}, {{"minimumIEVersion", ""}}},
        {"abc means no check", Ini("MinimumIEVersion=abc\n"), {}, {{"minimumIEVersion", ""}}},
        {"quoted", Ini("MinimumIEVersion='7.0'\n"), {}, {{"minimumIEVersion", "7.0"}}},
        {"white space the reader leaves is trimmed",
         Ini("MinimumIEVersion=8.0\f\n"),
         {},
         {{"minimumIEVersion", "8.0"}}},
    });
}

TEST(SettingsIniForm, IEInstallCommand) {
    RunRows({
        {"absent, no installer on the disc", Ini(""), {}, {{"ieInstallCommand", "$Bie/setup.exe"}}},
        {"absent, installer in other case",
         Ini(""),
         {"IE/Setup.EXE"},
         {{"ieInstallCommand", "$BIE/Setup.EXE"}}},
        {"present but empty",
         Ini("IEInstallCommand=\n"),
         {"ie/setup.exe"},
         {{"ieInstallCommand", ""}}},
        {"with arguments",
         Ini("IEInstallCommand=  \\install\\ie6.exe /q C:\\tmp \n"),
         {"Install/IE6.exe"},
         {{"ieInstallCommand", "$BInstall/IE6.exe /q C:\\tmp"}}},
    });
}

TEST(SettingsIniForm, WaitInterval) {
    const std::pair<const char*, const char*> values[] = {
        {"5", "5"},  {"abc", "0"},   {"7 seconds", "7"}, {"-2", "-2"},
        {"+4", "4"}, {"'12'", "12"}, {"0", "0"},         {"99999999999", "2147483647"},
    };
    std::vector<Row> rows;
    for (auto [value, expected] : values) {
        rows.push_back({std::string("WaitInterval=") + value,
                        Ini(std::string("WaitInterval=") + value + "\n"),
                        {},
                        {{"waitInterval", expected}}});
    }
    rows.push_back({"absent", Ini(""), {}, {{"waitInterval", "10"}}});
    rows.push_back({"present but empty", Ini("WaitInterval=\n"), {}, {{"waitInterval", "10"}}});
    RunRows(rows);
}

// Both booleans follow one rule: only FALSE, in any case, is false.
TEST(SettingsIniForm, Booleans) {
    const std::pair<const char*, const char*> values[] = {
        {"false", "false"},     {"FALSE", "false"}, {"False", "false"}, {"  fAlSe  ", "false"},
        {"\"false\"", "false"}, {"No", "true"},     {"0", "true"},      {"", "true"},
        {"falsey", "true"},     {"TRUE", "true"},   {"false;", "true"},
    };
    std::vector<Row> rows;
    for (const char* key : {"ShowMenu", "DisplayHTMLDocTitle"}) {
        const char* field =
            std::string_view(key) == "ShowMenu" ? "showMenu" : "displayHTMLDocTitle";
        for (auto [value, expected] : values) {
            std::string line = std::string(key) + "=" + value;
            rows.push_back({line, Ini(line + "\n"), {}, {{field, expected}}});
        }
        rows.push_back({std::string(key) + " absent", Ini(""), {}, {{field, "true"}}});
    }
    RunRows(rows);
}

TEST(SettingsIniForm, SplashPage) {
    RunRows({
        {"absent: start.htm beside the file",
         Ini(""),
         {"start.htm", "orvane/start.htm"},
         {{"splashPage", "$Bstart.htm"}}},
        {"absent: START.HTM in other case",
         Ini(""),
         {"START.HTM"},
         {{"splashPage", "$BSTART.HTM"}}},
        {"present but empty: the search decides",
         Ini("SplashPage=\n"),
         {"start.htm", "orvane/start.htm"},
         {{"splashPage", "$Borvane/start.htm"}}},
        {"named page in other case",
         Ini("SplashPage= pages\\Home.htm \n"),
         {"Pages/HOME.HTM"},
         {{"splashPage", "$BPages/HOME.HTM"}}},
        {"named page with leading separator",
         Ini("SplashPage=\\home.htm\n"),
         {"home.htm"},
         {{"splashPage", "$Bhome.htm"}}},
        {"named page missing: the search decides",
         Ini("SplashPage=missing.htm\n"),
         {"index.html"},
         {{"splashPage", "$Bindex.html"}}},
        {"named page is a folder: the search decides",
         Ini("SplashPage=home.htm\n"),
         {"home.htm/", "default.htm"},
         {{"splashPage", "$Bdefault.htm"}}},
        {"nothing found", Ini("SplashPage=missing.htm\n"), {}, {{"splashPage", ""}}},
    });
}

TEST(SettingsIniForm, ResultsPage) {
    RunRows({
        {"absent: ORVANE/FRAMESET.HTM",
         Ini(""),
         {"ORVANE/FRAMESET.HTM"},
         {{"resultsPage", "$BORVANE/FRAMESET.HTM"}, {"resultsFileName", "FRAMESET.HTM"}}},
        {"absent: found in lower case",
         Ini(""),
         {"orvane/frameset.htm"},
         {{"resultsPage", "$Borvane/frameset.htm"}, {"resultsFileName", "FRAMESET.HTM"}}},
        {"present but empty is the same as absent",
         Ini("ResultsPage=\n"),
         {"Orvane/FrameSet.htm", "frameset.htm"},
         {{"resultsPage", "$BOrvane/FrameSet.htm"}, {"resultsFileName", "FRAMESET.HTM"}}},
        {"named page: file name upper-cased from its real name",
         Ini("ResultsPage=res\\report.html\n"),
         {"Res/Report.Html"},
         {{"resultsPage", "$BRes/Report.Html"}, {"resultsFileName", "REPORT.HTML"}}},
        {"named page missing: the search decides",
         Ini("ResultsPage=missing.htm\n"),
         {"results/OrvaneFrameset.html"},
         {{"resultsPage", "$Bresults/OrvaneFrameset.html"},
          {"resultsFileName", "ORVANEFRAMESET.HTML"}}},
        {"nothing found: FRAMESET.HTM in the settings folder",
         Ini("ResultsPage=missing.htm\n"),
         {},
         {{"resultsPage", "$BFRAMESET.HTM"}, {"resultsFileName", "FRAMESET.HTM"}}},
    });
}

TEST(SettingsIniForm, WindowTitle) {
    RunRows({
        {"absent", Ini(""), {}, {{"windowTitle", "Orvane Start"}}},
        {"present but empty", Ini("WindowTitle=\n"), {}, {{"windowTitle", ""}}},
        {"trimmed", Ini("WindowTitle=  My Disc \t\n"), {}, {{"windowTitle", "My Disc"}}},
        {"double quotes dropped, then trimmed",
         Ini("WindowTitle=\"  Quoted  \"\n"),
         {},
         {{"windowTitle", "Quoted"}}},
        {"single quotes dropped", Ini("WindowTitle='Single'\n"), {}, {{"windowTitle", "Single"}}},
        {"quotes that do not pair stay",
         Ini("WindowTitle=\"Open'\n"),
         {},
         {{"windowTitle", "\"Open'"}}},
        {"a lone quote stays", Ini("WindowTitle=\"\n"), {}, {{"windowTitle", "\""}}},
        {"quotes inside stay",
         Ini("WindowTitle=The \"best\" disc\n"),
         {},
         {{"windowTitle", "The \"best\" disc"}}},
        {"the first = splits", Ini("WindowTitle=a=b\n"), {}, {{"windowTitle", "a=b"}}},
        {"a ; inside a value stays", Ini("WindowTitle=a ; b\n"), {}, {{"windowTitle", "a ; b"}}},
        {"cut after 254 characters",
         Ini("WindowTitle=" + std::string(300, 't') + "\n"),
         {},
         {{"windowTitle", std::string(254, 't')}}},
        {"quoted and long",
         Ini("WindowTitle=\"" + std::string(300, 'q') + "\"\n"),
         {},
         {{"windowTitle", std::string(254, 'q')}}},
        {"UTF-8 kept",
         Ini("WindowTitle=Klinikum M\xC3\xBCnchen\n"),
         {},
         {{"windowTitle", "Klinikum M\xC3\xBCnchen"}}},
    });
}

TEST(SettingsIniForm, LinesThatHoldNoKey) {
    RunRows({
        {"remark", Ini(";WindowTitle=Remark\n"), {}, {{"windowTitle", "Orvane Start"}}},
        {"indented remark", Ini("   ;WindowTitle=Remark\n"), {}, {{"windowTitle", "Orvane Start"}}},
        {"no =", Ini("WindowTitle\n"), {}, {{"windowTitle", "Orvane Start"}}},
        {"unknown key", Ini("Title=Other\n"), {}, {{"windowTitle", "Orvane Start"}}},
        {"key in another section",
         "[Other]\nWindowTitle=Other\n[Orvane]\nViewerCommand=v.exe\n",
         {},
         {{"windowTitle", "Orvane Start"}, {"viewerCommand", "$Bv.exe"}}},
    });
}

// ---------------------------------------------------------------------------------------------
// Which form is read.

TEST(SettingsForm, ViewerCommandDecidesTheForm) {
    RunRows({
        {"no ViewerCommand key: plain form, the header is the viewer",
         "[Orvane]\nWindowTitle=T\nWaitInterval=3\nIEInstallCommand=x.exe\n\nShowMenu=FALSE\n",
         {},
         {{"viewerCommand", "$A[Orvane]"},
          {"settingsMessage", ""},
          {"windowTitle", "Orvane Start"},
          {"waitInterval", "10"},
          {"showWindowCmd", "1"},
          {"ieInstallCommand", "$AIEInstallCommand=x.exe"},
          {"showMenu", "true"},
          {"viewerWorkingDir", ""}}},
        {"empty ViewerCommand: plain form",
         "[Orvane]\nViewerCommand=\nWindowTitle=T\n",
         {},
         {{"viewerCommand", "$A[Orvane]"}, {"windowTitle", "Orvane Start"}}},
        {"blank ViewerCommand: plain form",
         "[Orvane]\nViewerCommand=  \t \n",
         {},
         {{"viewerCommand", "$A[Orvane]"}}},
        {"ViewerCommand in another section: plain form",
         "[Other]\nViewerCommand=v.exe\n",
         {},
         {{"viewerCommand", "$A[Other]"}}},
        {"ViewerCommand without =: plain form",
         "[Orvane]\nViewerCommand\n",
         {},
         {{"viewerCommand", "$A[Orvane]"}}},
        {"remarked ViewerCommand, remark first: plain form without a viewer",
         ";ViewerCommand=v.exe\n[Orvane]\n",
         {},
         {{"viewerCommand", ""}, {"settingsMessage", kNoViewerLine}}},
        {"section and key in any case: INI form",
         "[oRVANE]\n  vIEWERcOMMAND  =  v.exe\n",
         {},
         {{"viewerCommand", "$Bv.exe"}, {"ieInstallCommand", "$Bie/setup.exe"}}},
    });
}

TEST(SettingsForm, OnlyTheFirstSectionAndTheFirstKeyCount) {
    RunRows({
        {"repeated key",
         "[Orvane]\nViewerCommand=first.exe\nviewercommand=second.exe\n",
         {},
         {{"viewerCommand", "$Bfirst.exe"}}},
        {"repeated key, the first empty",
         "[Orvane]\nViewerCommand=v.exe\nWindowTitle=\nWindowTitle=Later\n",
         {},
         {{"windowTitle", ""}}},
        {"second [Orvane] section ignored",
         "[Orvane]\nViewerCommand=v.exe\n[Other]\nx=1\n[ORVANE]\nWindowTitle=Second\n",
         {},
         {{"windowTitle", "Orvane Start"}}},
        {"viewer only in the second [Orvane] section: plain form",
         "[Orvane]\nWindowTitle=First\n[Orvane]\nViewerCommand=v.exe\n",
         {},
         {{"viewerCommand", "$A[Orvane]"}}},
        {"sections before the first [Orvane] ignored",
         "[Other]\nViewerCommand=other.exe\n[Orvane]\nViewerCommand=v.exe\n",
         {},
         {{"viewerCommand", "$Bv.exe"}}},
    });
}

// ---------------------------------------------------------------------------------------------
// The plain form, line by line. The file lies beside the program here.

TEST(SettingsPlainForm, Line1IsTheViewer) {
    RunRows({
        {"path with a remark",
         "viewer\\view.exe ; the viewer\n",
         {},
         {{"viewerCommand", "$Aviewer/view.exe"}, {"settingsMessage", ""}}},
        {"program in other case, arguments as written",
         "Viewer\\View.exe -p C:\\x\n",
         {"viewer/VIEW.exe"},
         {{"viewerCommand", "$Aviewer/VIEW.exe -p C:\\x"}}},
        {"white space around", " \t viewer.exe \t\v\f\n", {}, {{"viewerCommand", "$Aviewer.exe"}}},
        {"quoted program",
         "\"my viewer\\view.exe\" -a\n",
         {"my viewer/view.exe"},
         {{"viewerCommand", "\"$Amy viewer/view.exe\" -a"}}},
        {"remark line first",
         ";remark\nviewer.exe\n",
         {},
         {{"viewerCommand", ""}, {"settingsMessage", kNoViewerLine}}},
        {"empty line first",
         "\nviewer.exe\n",
         {},
         {{"viewerCommand", ""}, {"settingsMessage", kNoViewerLine}}},
        {"blanks only", "   \t\n", {}, {{"viewerCommand", ""}, {"settingsMessage", kNoViewerLine}}},
        {"no line end", "viewer.exe", {}, {{"viewerCommand", "$Aviewer.exe"}}},
        {"the plain form sets no working folder, title or title flag",
         "viewer.exe\n",
         {},
         {{"viewerWorkingDir", ""},
          {"windowTitle", "Orvane Start"},
          {"displayHTMLDocTitle", "true"}}},
    });
}

TEST(SettingsPlainForm, Lines2To8) {
    RunRows({
        {"line 2 maximised", "v.exe\nSW_MAXIMIZE\n", {}, {{"showWindowCmd", "3"}}},
        {"line 2 any case", "v.exe\n  sw_restore  \n", {}, {{"showWindowCmd", "9"}}},
        {"line 2 digit", "v.exe\n3\n", {}, {{"showWindowCmd", "1"}}},
        {"line 2 remark", "v.exe\n;SW_MAXIMIZE\n", {}, {{"showWindowCmd", "1"}}},
        {"line 3 version", "v.exe\n\n 6.0 ; needs six\n", {}, {{"minimumIEVersion", "6.0"}}},
        {"line 3 zero", "v.exe\n\n0.0\n", {}, {{"minimumIEVersion", ""}}},
        {"line 3 text", "v.exe\n\nabc\n", {}, {{"minimumIEVersion", ""}}},
        {"line 4 installer",
         "v.exe\n\n\nie\\setup.exe /q C:\\t\n",
         {},
         {{"ieInstallCommand", "$Aie/setup.exe /q C:\\t"}}},
        {"line 4 installer found in other case",
         "v.exe\n\n\nie\\setup.exe\n",
         {"IE/SETUP.EXE"},
         {{"ieInstallCommand", "$AIE/SETUP.EXE"}}},
        {"line 4 empty: no installer",
         "v.exe\n\n\n\n",
         {"ie/setup.exe"},
         {{"ieInstallCommand", ""}}},
        {"no line 4: no installer", "v.exe\n", {"ie/setup.exe"}, {{"ieInstallCommand", ""}}},
        {"line 5 number", "v.exe\n\n\n\n5\n", {}, {{"waitInterval", "5"}}},
        {"line 5 number and text", "v.exe\n\n\n\n 7 seconds\n", {}, {{"waitInterval", "7"}}},
        {"line 5 negative", "v.exe\n\n\n\n-3\n", {}, {{"waitInterval", "-3"}}},
        {"line 5 abc leaves 10", "v.exe\n\n\n\nabc\n", {}, {{"waitInterval", "10"}}},
        {"line 5 zero leaves 10", "v.exe\n\n\n\n0\n", {}, {{"waitInterval", "10"}}},
        {"line 6 HIDEMENU", "v.exe\n\n\n\n\nHIDEMENU\n", {}, {{"showMenu", "false"}}},
        {"line 6 any case, anywhere",
         "v.exe\n\n\n\n\nplease hideMenu now\n",
         {},
         {{"showMenu", "false"}}},
        {"line 6 inside a word", "v.exe\n\n\n\n\nxHIDEMENUx\n", {}, {{"showMenu", "false"}}},
        {"line 6 in a remark", "v.exe\n\n\n\n\nmenu ; HIDEMENU\n", {}, {{"showMenu", "true"}}},
        {"line 6 other text", "v.exe\n\n\n\n\nSHOWMENU\n", {}, {{"showMenu", "true"}}},
        {"HIDEMENU on line 5", "v.exe\n\n\n\nHIDEMENU\n", {}, {{"showMenu", "true"}}},
        {"HIDEMENU on line 8", "v.exe\n\n\n\n\n\n\nHIDEMENU\n", {}, {{"showMenu", "true"}}},
        {"line 7 start page in other case",
         "v.exe\n\n\n\n\n\npages\\home.htm\n",
         {"Pages/HOME.htm", "start.htm"},
         {{"splashPage", "$APages/HOME.htm"}}},
        {"line 7 page missing: the search decides",
         "v.exe\n\n\n\n\n\nmissing.htm\n",
         {"index.htm"},
         {{"splashPage", "$Aindex.htm"}}},
        {"no line 7: the search decides",
         "v.exe\n",
         {"START.HTML"},
         {{"splashPage", "$ASTART.HTML"}}},
        {"all seven lines",
         "viewer\\view.exe --x\r\nSW_SHOWMINNOACTIVE\n5.5\ninst\\go.exe\n12\nHideMenu\nhome.htm",
         {"home.htm"},
         {{"viewerCommand", "$Aviewer/view.exe --x"},
          {"showWindowCmd", "7"},
          {"minimumIEVersion", "5.5"},
          {"ieInstallCommand", "$Ainst/go.exe"},
          {"waitInterval", "12"},
          {"showMenu", "false"},
          {"splashPage", "$Ahome.htm"}}},
    });
}

// A file of zero bytes: the message, every field the plain form sets as before loading, and the
// derived pages all the same.
TEST(SettingsPlainForm, ZeroByteFile) {
    TempDisc disc;
    disc.Write("command.txt", "").Write("index.htm", "").Write("ORVANE/TVKHELP.HTM", "");
    LaunchSettings s = LoadFrom(disc.folder());
    const std::string b = disc.folder();
    EXPECT_EQ(Dump(s),
              "baseFolder=" + b + "\nappFolder=" + b + "\nsettingsPath=" + b +
                  "command.txt\nviewerCommand=\nviewerWorkingDir=\nsettingsMessage=" + kEmptyFile +
                  "\nwaitInterval=10\nshowWindowCmd=1\nminimumIEVersion=\n"
                  "ieInstallCommand=\nshowMenu=true\nsplashPage=" +
                  b + "index.htm\nresultsPage=" + b +
                  "FRAMESET.HTM\nresultsFileName=FRAMESET.HTM\nwindowTitle=Orvane "
                  "Start\ndisplayHTMLDocTitle=true\ncustomHelpPage=" +
                  b + "ORVANE/TVKHELP.HTM\n");
}

// ---------------------------------------------------------------------------------------------
// Shapes of the file.

TEST(SettingsFileShape, ByteOrderMark) {
    const std::string bom = "\xEF\xBB\xBF";
    RunRows({
        {"INI form", bom + "[Orvane]\nViewerCommand=v.exe\n", {}, {{"viewerCommand", "$Bv.exe"}}},
        {"plain form",
         bom + "viewer.exe\nSW_MAX\n",
         {},
         {{"viewerCommand", "$Aviewer.exe"}, {"showWindowCmd", "3"}}},
        {"plain form, remark first",
         bom + ";remark\nviewer.exe\n",
         {},
         {{"settingsMessage", kNoViewerLine}}},
        {"plain form, CRLF",
         bom + "viewer.exe\r\n\r\n\r\n\r\n4\r\n",
         {},
         {{"viewerCommand", "$Aviewer.exe"}, {"waitInterval", "4"}}},
        {"a mark on a later line is text",
         "v.exe\n\n" + bom + "6.0\n",
         {},
         {{"minimumIEVersion", ""}}},
        {"part of a mark is text",
         "\xEF\xBBviewer.exe\n",
         {},
         {{"viewerCommand", "$A\xEF\xBBviewer.exe"}}},
    });
}

TEST(SettingsFileShape, CrLfLineEnds) {
    RunRows({
        {"INI form",
         "[Orvane]\r\nViewerCommand=v.exe --a\r\nWindowTitle=\"Quoted\"\r\nShowMenu=false\r\n"
         "DisplayHTMLDocTitle=FALSE\r\nMinimumIEVersion=6.0\r\nViewerWorkingDir=work\r\n",
         {"work/"},
         {{"viewerCommand", "$Bv.exe --a"},
          {"windowTitle", "Quoted"},
          {"showMenu", "false"},
          {"displayHTMLDocTitle", "false"},
          {"minimumIEVersion", "6.0"},
          {"viewerWorkingDir", "$Bwork"}}},
        {"plain form",
         "v.exe\r\nSW_MAX\r\n6.0\r\nsetup.exe\r\n4\r\nHIDEMENU\r\nhome.htm\r\n",
         {"home.htm"},
         {{"viewerCommand", "$Av.exe"},
          {"showWindowCmd", "3"},
          {"minimumIEVersion", "6.0"},
          {"ieInstallCommand", "$Asetup.exe"},
          {"waitInterval", "4"},
          {"showMenu", "false"},
          {"splashPage", "$Ahome.htm"}}},
    });
}

TEST(SettingsFileShape, NulBytesEndTheLine) {
    using namespace std::string_literals;
    RunRows({
        {"plain form",
         "viewer.exe\0junk ; x\nSW_MAX\n"s,
         {},
         {{"viewerCommand", "$Aviewer.exe"}, {"showWindowCmd", "3"}}},
        {"plain form, NUL first",
         "\0viewer.exe\nSW_MAX\n"s,
         {},
         {{"settingsMessage", kNoViewerLine}, {"showWindowCmd", "3"}}},
        {"INI form",
         "[Orvane]\nViewerCommand=v.exe\nWindowTitle=Abc\0def\nShowMenu=false\n"s,
         {},
         {{"windowTitle", "Abc"}, {"showMenu", "false"}}},
        {"INI form, NUL in the key",
         "[Orvane]\nViewer\0Command=v.exe\n"s,
         {},
         {{"viewerCommand", "$A[Orvane]"}}},
    });
}

TEST(SettingsFileShape, LongLines) {
    const std::string a32767(32767, 'a');
    RunRows({
        {"plain line 1 cut, the next line still line 2",
         std::string(40000, 'a') + "\nSW_MAX\n",
         {},
         {{"viewerCommand", "$A" + a32767}, {"showWindowCmd", "3"}}},
        {"plain line of 32768 bytes",
         std::string(32768, 'a') + "\r\nSW_MAX\n",
         {},
         {{"viewerCommand", "$A" + a32767}, {"showWindowCmd", "3"}}},
        {"plain line of 32767 bytes and CR",
         a32767 + "\r\nSW_MAX\n",
         {},
         {{"viewerCommand", "$A" + a32767}, {"showWindowCmd", "3"}}},
        {"INI: long junk lines skipped",
         "[Orvane]\n;" + std::string(50000, 'x') + "\nJunk=" + std::string(50000, 'y') +
             "\nViewerCommand=v.exe\n",
         {},
         {{"viewerCommand", "$Bv.exe"}}},
        {"INI: long value cut to 254",
         "[Orvane]\nViewerCommand=v.exe\nWindowTitle=" + std::string(70000, 'z') + "\n",
         {},
         {{"windowTitle", std::string(254, 'z')}}},
        {"INI: key after the cut of a long line is no key",
         "[Orvane]\nViewerCommand=v.exe\nX=" + std::string(32765, 'z') + "WindowTitle=No\n",
         {},
         {{"windowTitle", "Orvane Start"}}},
    });
}

// ---------------------------------------------------------------------------------------------
// The search for COMMAND.TXT, and a file above the program's folder.

TEST(SettingsSearch, FileAboveTheProgram) {
    struct Layout {
        const char* title;
        const char* settingsFile;  // where COMMAND.TXT lies
        const char* appFolder;     // the program's folder
        const char* base;          // expected settings folder
        const char* farther;       // another COMMAND.TXT higher up, or null
    };
    const Layout layouts[] = {
        {"beside", "COMMAND.TXT", "", "", nullptr},
        {"one level up", "COMMAND.TXT", "start/", "", nullptr},
        {"two levels up", "Command.Txt", "a/b/", "", nullptr},
        {"nearest wins", "a/command.txt", "a/b/", "a/", "COMMAND.TXT"},
        {"nearest wins, beside the program", "a/b/COMMAND.TXT", "a/b/", "a/b/", "a/command.txt"},
    };
    for (const auto& l : layouts) {
        SCOPED_TRACE(l.title);
        TempDisc disc;
        disc.Write(l.settingsFile, "[Orvane]\nViewerCommand=v.exe\n")
            .MakeFolder("a/b")
            .MakeFolder("start");
        if (l.farther)
            disc.Write(l.farther, "[Orvane]\nViewerCommand=far.exe\n");
        LaunchSettings s = LoadFrom(disc.folder() + l.appFolder);
        EXPECT_EQ(s.baseFolder, disc.folder() + l.base);
        EXPECT_EQ(s.appFolder, disc.folder() + l.appFolder);
        EXPECT_EQ(s.settingsPath, disc.path(l.settingsFile));
        EXPECT_EQ(s.viewerCommand, disc.folder() + l.base + "v.exe");
    }
}

TEST(SettingsSearch, ExactNameBeforeOtherCase) {
    TempDisc disc;
    disc.Write("COMMAND.TXT", "[Orvane]\nViewerCommand=upper.exe\n")
        .Write("command.txt", "[Orvane]\nViewerCommand=lower.exe\n");
    LaunchSettings s = LoadFrom(disc.folder());
    EXPECT_EQ(s.settingsPath, disc.path("command.txt"));
    EXPECT_EQ(s.viewerCommand, disc.folder() + "lower.exe");
}

// Entries named COMMAND.TXT that are no readable file are passed over, without blocking, and
// the search goes on upward.
TEST(SettingsSearch, NonFilesNamedCommandTxtArePassedOver) {
    struct Trap {
        const char* title;
        void (*make)(const TempDisc&);
    };
    const Trap traps[] = {
        {"FIFO", [](const TempDisc& d) { d.MakeFifo("run/COMMAND.TXT"); }},
        {"folder", [](const TempDisc& d) { d.MakeFolder("run/command.txt"); }},
        {"link to /dev/zero", [](const TempDisc& d) { d.Symlink("run/command.txt", "/dev/zero"); }},
        {"link to /dev/null", [](const TempDisc& d) { d.Symlink("run/Command.txt", "/dev/null"); }},
        {"dangling link", [](const TempDisc& d) { d.Symlink("run/command.txt", "gone.txt"); }},
        {"link loop",
         [](const TempDisc& d) {
             d.Symlink("run/command.txt", d.path("run/loop"));
             d.Symlink("run/loop", d.path("run/command.txt"));
         }},
    };
    for (const auto& trap : traps) {
        SCOPED_TRACE(trap.title);
        TempDisc disc;
        disc.MakeFolder("run").Write("COMMAND.TXT", "[Orvane]\nViewerCommand=v.exe\n");
        trap.make(disc);
        auto answer = RunInChild([&] {
            LaunchSettings s = LoadFrom(disc.folder() + "run/");
            return s.baseFolder + "|" + s.settingsPath + "|" + s.viewerCommand;
        });
        ASSERT_TRUE(answer.has_value()) << "loading blocked or crashed";
        EXPECT_EQ(*answer,
                  disc.folder() + "|" + disc.path("COMMAND.TXT") + "|" + disc.folder() + "v.exe");
    }
}

// Answers like PosixFileSystem, but with a volume root of the test's choosing.
class MountedAt final : public orvane::platform::FileSystem {
  public:
    explicit MountedAt(std::string root) : root_(std::move(root)) {}
    std::optional<std::string> FindFile(std::string_view p,
                                        orvane::platform::OpenError* why) override {
        return real_.FindFile(p, why);
    }
    std::optional<std::string> FindProgram(std::string_view p) override {
        return real_.FindProgram(p);
    }
    std::optional<std::string> FindFolder(std::string_view p) override {
        return real_.FindFolder(p);
    }
    std::unique_ptr<orvane::platform::ByteReader> OpenRead(
        std::string_view p, orvane::platform::OpenError& why) override {
        return real_.OpenRead(p, why);
    }
    std::string VolumeRoot(std::string_view) override { return root_; }

  private:
    PosixFileSystem real_;
    std::string root_;
};

TEST(SettingsSearch, NeverAboveTheVolumeRoot) {
    TempDisc disc;
    disc.Write("COMMAND.TXT", "above the volume\n").MakeFolder("vol/run");
    MountedAt files(disc.folder() + "vol/");
    std::string base = "unchanged";
    EXPECT_FALSE(orvane::FindSettingsFile(disc.folder() + "vol/run/", base, files));
    EXPECT_EQ(base, "");
    EXPECT_FALSE(orvane::FindSettingsFile(disc.folder() + "vol/", base, files));

    disc.Write("vol/Command.txt", "on the volume's root\n");
    EXPECT_TRUE(orvane::FindSettingsFile(disc.folder() + "vol/run/", base, files));
    EXPECT_EQ(base, disc.folder() + "vol/");
}

// A disc whose COMMAND.TXT lies above the program: INI paths start in the settings folder,
// plain paths in the program's folder, and pages are searched for in the program's folder only.
TEST(SettingsSearch, IniPathsFromTheSettingsFolder) {
    TempDisc disc;
    disc.Write("COMMAND.TXT",
               "[Orvane]\nViewerCommand=viewer\\view.exe\nViewerWorkingDir=viewer\n"
               "SplashPage=missing.htm\n")
        .Write("viewer/view.exe", "")
        .Write("start.htm", "")
        .Write("index.htm", "")
        .Write("run/viewer/view.exe", "")
        .Write("run/Default.htm", "")
        .Write("run/Orvane/FRAMESET.HTM", "")
        .Write("run/Orvane/tvkhelp.htm", "")
        .Write("ORVANECUSTOMHELP.HTML", "");
    LaunchSettings s = LoadFrom(disc.folder() + "run/");
    const std::string b = disc.folder();
    const std::string a = b + "run/";
    EXPECT_EQ(s.baseFolder, b);
    EXPECT_EQ(s.viewerCommand, b + "viewer/view.exe");
    EXPECT_EQ(s.viewerWorkingDir, b + "viewer");
    EXPECT_EQ(s.ieInstallCommand, b + "ie/setup.exe");
    EXPECT_EQ(s.splashPage, a + "Default.htm");  // searched in the program's folder
    // ORVANE\FRAMESET.HTM is looked for beside COMMAND.TXT, then searched for here.
    EXPECT_EQ(s.resultsPage, a + "Orvane/FRAMESET.HTM");
    EXPECT_EQ(s.resultsFileName, "FRAMESET.HTM");
    EXPECT_EQ(s.customHelpPage, b + "ORVANECUSTOMHELP.HTML");  // help beside COMMAND.TXT only
}

TEST(SettingsSearch, IniPagesBesideTheSettingsFile) {
    TempDisc disc;
    disc.Write("COMMAND.TXT", "[Orvane]\nViewerCommand=v.exe\n")
        .Write("Start.Htm", "")
        .Write("orvane/Frameset.Htm", "")
        .Write("orvane/TvkHelp.Htm", "")
        .Write("run/start.htm", "")
        .Write("run/frameset.htm", "");
    LaunchSettings s = LoadFrom(disc.folder() + "run/");
    EXPECT_EQ(s.splashPage, disc.path("Start.Htm"));
    EXPECT_EQ(s.resultsPage, disc.path("orvane/Frameset.Htm"));
    EXPECT_EQ(s.resultsFileName, "FRAMESET.HTM");
    EXPECT_EQ(s.customHelpPage, disc.path("orvane/TvkHelp.Htm"));
}

TEST(SettingsSearch, PlainPathsFromTheProgramFolder) {
    TempDisc disc;
    disc.Write("command.txt", "viewer\\view.exe -a\n\n\nsetup\\go.exe\n\n\npage.htm\n")
        .Write("viewer/view.exe", "")
        .Write("page.htm", "")
        .Write("frameset.htm", "")
        .Write("orvane/tvkhelp.htm", "")
        .Write("a/b/Viewer/VIEW.EXE", "")
        .Write("a/b/orvane/tvkhelp.htm", "");
    LaunchSettings s = LoadFrom(disc.folder() + "a/b/");
    const std::string b = disc.folder();
    const std::string a = b + "a/b/";
    EXPECT_EQ(s.baseFolder, b);
    EXPECT_EQ(s.viewerCommand, a + "Viewer/VIEW.EXE -a");
    EXPECT_EQ(s.ieInstallCommand, a + "setup/go.exe");
    EXPECT_EQ(s.viewerWorkingDir, "");
    EXPECT_EQ(s.splashPage, "");                   // page.htm is not in the program's folder
    EXPECT_EQ(s.resultsPage, b + "FRAMESET.HTM");  // not searched for beside command.txt
    EXPECT_EQ(s.resultsFileName, "FRAMESET.HTM");
    EXPECT_EQ(s.customHelpPage, b + "orvane/tvkhelp.htm");  // beside command.txt
}

// The disc may lie in a folder whose name holds characters that mean something in COMMAND.TXT
// values; they belong to the folder's name and stay as they are.
TEST(SettingsSearch, FolderNamesWithSpecialCharacters) {
    for (std::string name : {"bl ank", "apo'st", "semi;colon", "back\\slash"}) {
        SCOPED_TRACE(name);
        TempDisc disc;
        disc.Write(name + "/viewer/view.exe", "")
            .MakeFolder(name + "/work")
            .Write(name + "/pages/home.htm", "")
            .Write(name + "/ORVANE/FRAMESET.HTM", "")
            .Write(name + "/index.htm", "");
        const std::string folder = disc.folder() + name + "/";

        disc.Write(name + "/COMMAND.TXT",
                   "[Orvane]\nViewerCommand=viewer\\view.exe -a\nViewerWorkingDir=work\n"
                   "SplashPage=pages\\home.htm\n");
        LaunchSettings ini = LoadFrom(folder);
        EXPECT_EQ(ini.baseFolder, folder);
        EXPECT_EQ(ini.viewerCommand, folder + "viewer/view.exe -a");
        EXPECT_EQ(ini.viewerWorkingDir, folder + "work");
        EXPECT_EQ(ini.splashPage, folder + "pages/home.htm");
        EXPECT_EQ(ini.resultsPage, folder + "ORVANE/FRAMESET.HTM");

        disc.Write(name + "/COMMAND.TXT", "viewer\\view.exe -a\n\n\n\n\n\npages\\home.htm\n");
        LaunchSettings plain = LoadFrom(folder);
        EXPECT_EQ(plain.viewerCommand, folder + "viewer/view.exe -a");
        EXPECT_EQ(plain.splashPage, folder + "pages/home.htm");
    }
}

TEST(SettingsDerivedPages, CustomHelpPage) {
    RunRows({
        {"orvane/tvkhelp.htm",
         Ini(""),
         {"orvane/tvkhelp.htm"},
         {{"customHelpPage", "$Borvane/tvkhelp.htm"}}},
        {"in other case, before the fallback",
         Ini(""),
         {"ORVANE/TVKHELP.HTM", "ORVANECUSTOMHELP.HTML"},
         {{"customHelpPage", "$BORVANE/TVKHELP.HTM"}}},
        {"fallback in other case",
         Ini(""),
         {"OrvaneCustomHelp.html"},
         {{"customHelpPage", "$BOrvaneCustomHelp.html"}}},
        {"a folder named like the help page",
         Ini(""),
         {"orvane/tvkhelp.htm/", "ORVANECUSTOMHELP.HTML"},
         {{"customHelpPage", "$BORVANECUSTOMHELP.HTML"}}},
        {"none", Ini(""), {"help.htm"}, {{"customHelpPage", ""}}},
        {"plain form too",
         "v.exe\n",
         {"Orvane/TVKHelp.htm"},
         {{"customHelpPage", "$BOrvane/TVKHelp.htm"}}},
    });
}

// ---------------------------------------------------------------------------------------------
// The process's current folder plays no part.

TEST(SettingsWorkingFolder, CurrentFolderPlaysNoPart) {
    TempDisc disc;
    disc.Write("COMMAND.TXT", "[Orvane]\nViewerCommand=viewer\\view.exe\nViewerWorkingDir=viewer\n")
        .Write("viewer/view.exe", "")
        .Write("START.HTM", "");
    TempDisc elsewhere;
    elsewhere.Write("viewer/view.exe", "").Write("start.htm", "");

    std::string reference;
    {
        CurrentFolder here(disc.path());
        reference = Dump(LoadFrom(disc.folder()));
    }
    EXPECT_NE(reference.find("viewerWorkingDir=" + disc.path("viewer") + "\n"), std::string::npos)
        << reference;
    for (const std::string& cwd : {std::string("/"), elsewhere.path(), disc.path("viewer")}) {
        SCOPED_TRACE("current folder " + cwd);
        CurrentFolder here(cwd);
        EXPECT_EQ(Dump(LoadFrom(disc.folder())), reference);
    }
}

// A working folder that exists only relative to the current folder does not pass.
TEST(SettingsWorkingFolder, FolderOnlyInTheCurrentFolderDoesNotCount) {
    TempDisc disc;
    disc.Write("COMMAND.TXT", "[Orvane]\nViewerCommand=v.exe\nViewerWorkingDir=work\n");
    TempDisc elsewhere;
    elsewhere.MakeFolder("work");
    CurrentFolder here(elsewhere.path());
    EXPECT_EQ(LoadFrom(disc.folder()).viewerWorkingDir, disc.folder());
}

// ---------------------------------------------------------------------------------------------
// No COMMAND.TXT, or one that cannot be read.

TEST(SettingsMissing, NoCommandTxtAnywhere) {
    TempDisc disc;
    disc.Write("Index.htm", "").MakeFolder("run").Write("run/Results/frameset.htm", "");
    if (orvane::testing::AnyCommandTxtAbove(disc.path())) {
        GTEST_SKIP() << "a COMMAND.TXT lies above " << disc.path();
    }
    CurrentFolder here("/");
    LaunchSettings s = LoadFrom(disc.folder());
    EXPECT_EQ(Dump(s), "baseFolder=\nappFolder=" + disc.folder() +
                           "\nsettingsPath=\nviewerCommand=\nviewerWorkingDir=\nsettingsMessage=" +
                           kNotFound +
                           "an unnamed file was not found.\nwaitInterval=10\nshowWindowCmd=1\n"
                           "minimumIEVersion=\nieInstallCommand=\nshowMenu=true\nsplashPage=" +
                           disc.path("Index.htm") +
                           "\nresultsPage=FRAMESET.HTM\nresultsFileName=FRAMESET.HTM\n"
                           "windowTitle=Orvane Start\ndisplayHTMLDocTitle=true\n"
                           "customHelpPage=\n");

    LaunchSettings below = LoadFrom(disc.folder() + "run/");
    EXPECT_EQ(below.splashPage, "");
    EXPECT_EQ(below.resultsPage, disc.path("run/Results/frameset.htm"));
    EXPECT_EQ(below.resultsFileName, "FRAMESET.HTM");
}

// LoadLaunchSettings on a path that does not open: the sentence names the path as passed.
TEST(SettingsMissing, OpenFailureMessages) {
    TempDisc disc;
    disc.MakeFolder("folder.txt").MakeFifo("fifo.txt").Symlink("loop.txt", disc.path("loop.txt"));
    struct Case {
        std::string path;
        std::string sentence;
    };
    const Case cases[] = {
        {"", "an unnamed file was not found."},
        {disc.path("missing/COMMAND.TXT"), disc.path("missing/COMMAND.TXT") + " was not found."},
        {disc.path("folder.txt"), "Access to " + disc.path("folder.txt") + " was denied."},
        {disc.path("fifo.txt"), disc.path("fifo.txt") + " is not a file that can be read."},
        {disc.path("loop.txt"), disc.path("loop.txt") + " contains an incorrect path."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto answer = RunInChild([&] {
            LaunchSettings s;
            s.appFolder = disc.folder();
            s.baseFolder = "";
            s.settingsPath = c.path;
            PosixFileSystem files;
            orvane::LoadLaunchSettings(s, files);
            return s.settingsMessage + "|" + s.viewerCommand + "|" + s.resultsPage;
        });
        ASSERT_TRUE(answer.has_value()) << "loading blocked or crashed";
        EXPECT_EQ(*answer, kNotFound + c.sentence + "||FRAMESET.HTM");
    }
}

}  // namespace
