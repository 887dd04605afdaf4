// orvane-inspect: shows a disc author what the start program will make of a disc.
//
//   orvane-inspect [--browser-version TEXT] FOLDER
//
// FOLDER is taken as the folder that holds the start program. The tool runs the program's own
// search for COMMAND.TXT and its loading of the launch settings, and prints them as one JSON
// object, followed by what the browser version gate would decide.
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "app/OrvaneStartApp.h"
#include "app/SettingsRules.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/posix/PosixSystem.h"

namespace {

using namespace orvane;

// Answers the browser version given on the command line, or the platform's own.
class InspectSystem final : public platform::posix::PosixSystem {
  public:
    explicit InspectSystem(std::optional<std::string> version) : version_(std::move(version)) {}
    std::string InstalledBrowserVersion() override {
        return version_ ? *version_ : PosixSystem::InstalledBrowserVersion();
    }

  private:
    std::optional<std::string> version_;
};

// The tool shows nothing: it only reads.
class SilentUi final : public platform::Ui {
  public:
    int MessageBox(std::string_view, unsigned) override { return res::IDOK; }
    int DoModal(const res::DialogTemplate&, platform::DialogEvents*) override {
        return res::IDCANCEL;
    }
    std::optional<std::string> GetOpenFileName(std::string_view) override { return {}; }
};

// Bytes that are not valid UTF-8 come out as \udcXX escapes (the "surrogate escape" convention),
// so that the output is always valid JSON and names that are not UTF-8 can be recovered.
std::string JsonString(std::string_view s) {
    std::string out = "\"";
    char buf[8];
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c == '\n') {
            out += "\\n", ++i;
        } else if (c == '\r') {
            out += "\\r", ++i;
        } else if (c == '\t') {
            out += "\\t", ++i;
        } else if (c < 0x20) {
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf, ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c), ++i;
        } else {
            // Length of a well-formed UTF-8 sequence starting here, or 0.
            std::size_t len = c >= 0xC2 && c <= 0xDF   ? 2
                              : c >= 0xE0 && c <= 0xEF ? 3
                              : c >= 0xF0 && c <= 0xF4 ? 4
                                                       : 0;
            bool ok = len != 0 && i + len <= s.size();
            for (std::size_t k = 1; ok && k < len; ++k) {
                ok = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
            }
            if (ok && len >= 3) {
                auto c1 = static_cast<unsigned char>(s[i + 1]);
                if (c == 0xE0 && c1 < 0xA0)
                    ok = false;  // overlong
                if (c == 0xED && c1 >= 0xA0)
                    ok = false;  // surrogates
                if (c == 0xF0 && c1 < 0x90)
                    ok = false;  // overlong
                if (c == 0xF4 && c1 >= 0x90)
                    ok = false;  // beyond U+10FFFF
            }
            if (ok) {
                out.append(s.substr(i, len));
                i += len;
            } else {
                std::snprintf(buf, sizeof buf, "\\udc%02x", c);
                out += buf, ++i;
            }
        }
    }
    return out + '"';
}

int Usage(std::string_view problem) {
    std::cerr << "orvane-inspect: " << problem
              << " (usage: orvane-inspect [--browser-version TEXT] FOLDER)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> version;
    std::optional<std::string> folder;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << "usage: orvane-inspect [--browser-version TEXT] FOLDER\n"
                         "Prints, as JSON, the launch settings the start program would load "
                         "when started from FOLDER.\n";
            return 0;
        }
        if (arg == "--browser-version") {
            if (++i >= argc)
                return Usage("--browser-version needs a value");
            version = argv[i];
        } else if (arg.starts_with("--browser-version=")) {
            version = std::string(arg.substr(arg.find('=') + 1));
        } else if (arg.size() > 1 && arg.front() == '-' && arg != "--" && !folder) {
            return Usage("unknown option " + std::string(arg));
        } else if (arg == "--" && i + 1 < argc && !folder) {
            folder = argv[++i];
        } else if (!folder) {
            folder = std::string(arg);
        } else {
            return Usage("more than one folder given");
        }
    }
    if (!folder)
        return Usage("no folder given");

    char resolved[PATH_MAX];
    struct stat st {};
    if (::realpath(folder->c_str(), resolved) == nullptr || ::stat(resolved, &st) != 0) {
        return Usage("the folder " + *folder + " does not exist");
    }
    if (!S_ISDIR(st.st_mode))
        return Usage(*folder + " is not a folder");
    std::string appFolder = resolved;
    if (appFolder.back() != '/')
        appFolder += '/';

    InspectSystem system(version);
    platform::posix::PosixFileSystem files;
    platform::posix::PosixProcessLauncher processes(files);
    SilentUi ui;
    COrvaneStartApp app({system, files, processes, ui}, nullptr);
    app.LoadSettingsFrom(appFolder);
    const LaunchSettings& s = app.settings();

    const char* gate = "skipped";
    if (!s.minimumIEVersion.empty()) {
        gate =
            BrowserGatePasses(app.ReadInstalledIEVersion(), s.minimumIEVersion) ? "pass" : "stop";
    }
    auto str = [](std::string_view v) { return JsonString(v); };
    auto boolean = [](bool v) { return v ? "true" : "false"; };
    std::cout << "{\"baseFolder\": " << str(s.baseFolder)               //
              << ", \"appFolder\": " << str(s.appFolder)                //
              << ", \"settingsPath\": " << str(s.settingsPath)          //
              << ", \"viewerCommand\": " << str(s.viewerCommand)        //
              << ", \"viewerWorkingDir\": " << str(s.viewerWorkingDir)  //
              << ", \"settingsMessage\": " << str(s.settingsMessage)    //
              << ", \"waitInterval\": " << s.waitInterval               //
              << ", \"showWindowCmd\": " << s.showWindowCmd             //
              << ", \"minimumIEVersion\": " << str(s.minimumIEVersion)  //
              << ", \"ieInstallCommand\": " << str(s.ieInstallCommand)  //
              << ", \"showMenu\": " << boolean(s.showMenu)              //
              << ", \"splashPage\": " << str(s.splashPage)              //
              << ", \"resultsPage\": " << str(s.resultsPage)            //
              << ", \"resultsFileName\": " << str(s.resultsFileName)    //
              << ", \"windowTitle\": " << str(s.windowTitle)            //
              << ", \"displayHTMLDocTitle\": " << boolean(s.displayHTMLDocTitle)
              << ", \"customHelpPage\": " << str(s.customHelpPage)  //
              << ", \"gate\": \"" << gate << "\"}\n";
    return 0;
}
