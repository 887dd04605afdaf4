#include "app/SettingsFile.h"

#include <array>
#include <optional>

#include "app/PageDiscovery.h"
#include "app/Paths.h"
#include "app/ProfileReader.h"
#include "app/SettingsRules.h"
#include "platform/CommandLine.h"
#include "platform/LineReader.h"
#include "platform/Text.h"
#include "res/Resources.h"

namespace orvane {
namespace {

using platform::FileSystem;
using platform::OpenError;

// The keys of the INI form, in the order they are applied.
constexpr std::string_view kViewerCommand = "ViewerCommand";
constexpr std::string_view kViewerWorkingDir = "ViewerWorkingDir";
constexpr std::string_view kShowWindow = "ShowWindow";
constexpr std::string_view kMinimumIEVersion = "MinimumIEVersion";
constexpr std::string_view kIEInstallCommand = "IEInstallCommand";
constexpr std::string_view kWaitInterval = "WaitInterval";
constexpr std::string_view kShowMenu = "ShowMenu";
constexpr std::string_view kSplashPage = "SplashPage";
constexpr std::string_view kResultsPage = "ResultsPage";
constexpr std::string_view kWindowTitle = "WindowTitle";
constexpr std::string_view kDisplayHTMLDocTitle = "DisplayHTMLDocTitle";
constexpr std::array kKeys{kViewerCommand,    kViewerWorkingDir,   kShowWindow,
                           kMinimumIEVersion, kIEInstallCommand,   kWaitInterval,
                           kShowMenu,         kSplashPage,         kResultsPage,
                           kWindowTitle,      kDisplayHTMLDocTitle};

constexpr std::string_view kDefaultInstaller = "ie\\setup.exe";
constexpr std::string_view kDefaultSplashPage = "start.htm";
constexpr std::string_view kDefaultResultsPage = "ORVANE\\FRAMESET.HTM";
constexpr std::string_view kFallbackResultsName = "FRAMESET.HTM";
constexpr std::string_view kHelpPage = "orvane\\tvkhelp.htm";
constexpr std::string_view kHelpPageFallback = "ORVANECUSTOMHELP.HTML";
constexpr std::size_t kPlainLinesUsed = 7;

ProfileSection ReadSection(const std::string& path, FileSystem& files) {
    if (path.empty())
        return {};
    OpenError why{};
    auto file = files.OpenRead(path, why);
    if (!file)
        return {};
    platform::LineReader lines(*file);
    return ProfileSection::Read(lines, kSettingsSection, kKeys);
}

// The folder test of ViewerWorkingDir: the folder the viewer would start in exists. The value is
// taken from `baseFolder`, never from the process's current folder.
std::optional<std::string> FindWorkingFolder(std::string_view base, std::string_view value,
                                             FileSystem& files) {
    if (value.empty() || IsValueSeparator(value.back()))
        return std::nullopt;
    return files.FindFolder(JoinPath(base, NativePath(value)));
}

void ReadIniSettings(LaunchSettings& s, const ProfileSection& ini, FileSystem& files) {
    const std::string& base = s.baseFolder;

    std::string viewer = ini.GetString(kViewerCommand, "");
    if (auto trimmed = text::TrimWhite(viewer); !trimmed.empty()) {
        s.viewerCommand = ResolveCommandLine(JoinPath(base, ""), RelativePart(trimmed), files);
    } else {
        s.settingsMessage = res::LoadString(res::IDS_MSG_NO_VIEWER_COMMAND_KEY);
    }

    s.viewerWorkingDir = base;
    if (std::string dir = ini.GetString(kViewerWorkingDir, base); !dir.empty()) {
        if (auto real = FindWorkingFolder(base, text::TrimWhite(dir), files)) {
            s.viewerWorkingDir = *real;
        }
    }

    s.showWindowCmd = res::SW_SHOWNORMAL;
    if (std::string show = ini.GetString(kShowWindow, ""); !show.empty()) {
        s.showWindowCmd = ParseShowWindow(show);
    }

    s.minimumIEVersion.clear();
    if (std::string version = ini.GetString(kMinimumIEVersion, "");
        !version.empty() && IsVersionText(version)) {
        s.minimumIEVersion = text::TrimWhite(version);
    }

    s.ieInstallCommand.clear();
    if (std::string installer = ini.GetString(kIEInstallCommand, kDefaultInstaller);
        !installer.empty()) {
        s.ieInstallCommand =
            ResolveCommandLine(JoinPath(base, ""), RelativePart(text::TrimWhite(installer)), files);
    }

    s.waitInterval = ini.GetInt(kWaitInterval, 10);
    s.showMenu = !IsFalseSetting(ini.GetString(kShowMenu, "TRUE"));

    s.splashPage.clear();
    if (std::string page = ini.GetString(kSplashPage, kDefaultSplashPage); !page.empty()) {
        s.splashPage = JoinPath(base, NativePath(text::TrimWhite(page)));
    }

    std::string results = ini.GetString(kResultsPage, kDefaultResultsPage);
    s.resultsPage = JoinPath(
        base, NativePath(results.empty() ? kDefaultResultsPage : text::TrimWhite(results)));

    s.windowTitle.clear();
    if (std::string title = ini.GetString(kWindowTitle, res::LoadString(res::IDS_APP_TITLE));
        !title.empty()) {
        s.windowTitle = text::TrimWhite(title);
    }

    s.displayHTMLDocTitle = !IsFalseSetting(ini.GetString(kDisplayHTMLDocTitle, "TRUE"));
}

// The page path if that file exists (in its real case), else the result of the search.
std::string PageOrSearch(const std::string& page,
                         std::string (*search)(std::string_view, FileSystem&),
                         std::string_view appFolder, FileSystem& files) {
    if (auto real = files.FindFile(page))
        return *real;
    return search(appFolder, files);
}

void DerivePages(LaunchSettings& s, FileSystem& files) {
    s.splashPage = PageOrSearch(s.splashPage, FindStartPage, s.appFolder, files);
    s.resultsPage = PageOrSearch(s.resultsPage, FindResultsPage, s.appFolder, files);
    if (!s.resultsPage.empty()) {
        s.resultsFileName = text::UpperAscii(FileNamePart(s.resultsPage));
    } else {
        s.resultsFileName = kFallbackResultsName;
        s.resultsPage = s.baseFolder + std::string(kFallbackResultsName);
    }
    if (auto help = files.FindFile(s.baseFolder + NativePath(kHelpPage))) {
        s.customHelpPage = *help;
    } else if (auto fallback = files.FindFile(JoinPath(s.baseFolder, kHelpPageFallback))) {
        s.customHelpPage = *fallback;
    } else {
        s.customHelpPage.clear();
    }
}

}  // namespace

bool FindSettingsFile(std::string_view appFolder, std::string& baseFolder, FileSystem& files,
                      std::string* settingsPath) {
    const std::string root = files.VolumeRoot(appFolder);
    std::string folder(appFolder);
    for (;;) {
        if (auto real = files.FindFile(folder + std::string(kSettingsFileName))) {
            baseFolder = folder;
            if (settingsPath)
                *settingsPath = std::move(*real);
            return true;
        }
        if (!root.empty() && folder == root)
            break;
        folder = ParentFolder(folder);
        if (folder.empty())
            break;
    }
    baseFolder.clear();
    return false;
}

std::string DescribeOpenError(OpenError why, std::string_view path) {
    int id = res::IDS_FILE_ERROR_GENERIC;
    switch (why) {
        case OpenError::NotFound:
            id = res::IDS_FILE_ERROR_NOT_FOUND;
            break;
        case OpenError::AccessDenied:
            id = res::IDS_FILE_ERROR_ACCESS_DENIED;
            break;
        case OpenError::NotAFile:
            id = res::IDS_FILE_ERROR_NOT_A_FILE;
            break;
        case OpenError::BadPath:
            id = res::IDS_FILE_ERROR_BAD_PATH;
            break;
        case OpenError::None:
        case OpenError::Other:
            break;
    }
    std::string_view name = path.empty() ? res::LoadString(res::IDS_FILE_UNNAMED) : path;
    return text::Substitute(res::LoadString(id), "%1", name);
}

std::string ResolveCommandLine(std::string_view folder, std::string_view value, FileSystem& files) {
    const std::string prefix(folder);
    // The split asks about each candidate once; remember the answer for the one it chose.
    std::string asked;
    std::optional<std::string> real;
    auto isFile = [&](const std::string& path) {
        if (path != asked) {
            asked = path;
            real = files.FindProgram(prefix + path);
        }
        return real.has_value();
    };
    platform::SplitCommand split = platform::SplitCommandLine(value, isFile);
    std::string_view programText = value.substr(0, split.programEnd);
    std::string rest(value.substr(split.programEnd));
    if (!split.programFound || !isFile(split.program)) {
        return prefix + NativePath(programText) + rest;
    }
    bool quoted = programText.find('"') != std::string_view::npos;
    return quoted ? '"' + *real + '"' + rest : *real + rest;
}

void ReadPlainSettings(LaunchSettings& s, FileSystem& files) {
    OpenError why = OpenError::NotFound;
    auto file = s.settingsPath.empty() ? nullptr : files.OpenRead(s.settingsPath, why);
    if (!file) {
        s.settingsMessage = std::string(res::LoadString(res::IDS_MSG_SETTINGS_NOT_FOUND)) +
                            DescribeOpenError(why, s.settingsPath);
        return;
    }
    std::array<std::string, kPlainLinesUsed> lines;
    std::size_t count = 0;
    {
        platform::LineReader reader(*file);
        std::string raw;
        while (count < lines.size() && reader.Next(raw))
            lines[count++] = CleanPlainLine(raw);
    }
    file.reset();
    if (count == 0) {
        s.settingsMessage = res::LoadString(res::IDS_MSG_SETTINGS_EMPTY);
        return;
    }
    // Relative paths of this form are appended to the program's folder as they stand.
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& line = lines[i];
        switch (i + 1) {
            case 1:
                if (line.empty()) {
                    s.settingsMessage = res::LoadString(res::IDS_MSG_NO_VIEWER_LINE);
                } else {
                    s.viewerCommand = ResolveCommandLine(s.appFolder, line, files);
                }
                break;
            case 2:
                s.showWindowCmd = ParseShowWindow(line);
                break;
            case 3:
                if (!line.empty() && IsVersionText(line))
                    s.minimumIEVersion = line;
                break;
            case 4:
                if (!line.empty())
                    s.ieInstallCommand = ResolveCommandLine(s.appFolder, line, files);
                break;
            case 5:
                if (auto n = text::LeadingInt(line); n != 0)
                    s.waitInterval = n;
                break;
            case 6:
                if (text::ContainsNoCase(line, "HIDEMENU"))
                    s.showMenu = false;
                break;
            case 7:
                if (!line.empty())
                    s.splashPage = s.appFolder + NativePath(line);
                break;
        }
    }
}

void LoadLaunchSettings(LaunchSettings& s, FileSystem& files) {
    ProfileSection ini = ReadSection(s.settingsPath, files);
    if (ini.GetString(kViewerCommand, "").empty()) {
        ReadPlainSettings(s, files);
    } else {
        ReadIniSettings(s, ini, files);
    }
    DerivePages(s, files);
}

}  // namespace orvane
