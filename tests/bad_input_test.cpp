// Bad discs: COMMAND.TXT and pages that are not what they should be. Each row says what the user
// sees. Every row runs in a child process under a time limit, so a row that would block (a FIFO
// opened by mistake) or crash fails instead of stopping the suite.
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "app/OrvaneStartApp.h"
#include "fake/FakePlatform.h"
#include "support/Subprocess.h"
#include "support/TempDisc.h"

namespace orvane::testing {
namespace {

// The program lies in run/; a good COMMAND.TXT one folder above names a start page there, so a
// bad COMMAND.TXT beside the program shows whether it was passed over.
constexpr char kGoodAbove[] = "[Orvane]\nViewerCommand=viewer\\good.exe\nSplashPage=above.htm\n";

LaunchSettings Load(const TempDisc& disc) {
    FakePlatform fake;
    COrvaneStartApp app(fake.platform(), nullptr);
    app.LoadSettingsFrom(disc.folder() + "run/");
    return app.settings();
}

long MaxResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Row {
    const char* name;
    const char* userSees;
    std::function<void(const TempDisc&)> make;
    // Answers "" when the settings are as the row says, else what differs.
    std::function<std::string(const LaunchSettings&, const TempDisc&)> check;
};

std::string Expect(bool ok, const std::string& what) {
    return ok ? "" : what;
}

std::string PassedOver(const LaunchSettings& s, const TempDisc& d) {
    return Expect(s.settingsPath == d.path("COMMAND.TXT") && s.baseFolder == d.folder(),
                  "the bad file was not passed over: settingsPath=" + s.settingsPath);
}

std::string Junk(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

const Row kSettingsRows[] = {
    {"a FIFO named COMMAND.TXT", "the settings above it, as if the FIFO were not there",
     [](const TempDisc& d) { d.Write("COMMAND.TXT", kGoodAbove).MakeFifo("run/COMMAND.TXT"); },
     PassedOver},
    {"a device named COMMAND.TXT", "the settings above it",
     [](const TempDisc& d) {
         d.Write("COMMAND.TXT", kGoodAbove).Symlink("run/COMMAND.TXT", "/dev/null");
     },
     PassedOver},
    {"a link to /dev/zero named COMMAND.TXT", "the settings above it",
     [](const TempDisc& d) {
         d.Write("COMMAND.TXT", kGoodAbove).Symlink("run/command.txt", "/dev/zero");
     },
     PassedOver},
    {"a folder named COMMAND.TXT", "the settings above it",
     [](const TempDisc& d) { d.Write("COMMAND.TXT", kGoodAbove).MakeFolder("run/COMMAND.TXT"); },
     PassedOver},
    {"a symbolic link loop named COMMAND.TXT", "the settings above it",
     [](const TempDisc& d) {
         d.Write("COMMAND.TXT", kGoodAbove).Symlink("run/COMMAND.TXT", "COMMAND.TXT");
     },
     PassedOver},
    {"zero bytes", "View Images: \"COMMAND.TXT file is empty. ...\"",
     [](const TempDisc& d) { d.Write("run/COMMAND.TXT", ""); },
     [](const LaunchSettings& s, const TempDisc&) {
         return Expect(s.viewerCommand.empty() &&
                           s.settingsMessage.rfind("COMMAND.TXT file is empty.", 0) == 0,
                       "message: " + s.settingsMessage);
     }},
    {"binary junk", "a viewer command or a message, never both; no crash",
     [](const TempDisc& d) { d.Write("run/COMMAND.TXT", Junk(64 * 1024, 7)); },
     [](const LaunchSettings& s, const TempDisc&) {
         return Expect(s.viewerCommand.empty() != s.settingsMessage.empty(),
                       "viewer command and message both " +
                           std::string(s.viewerCommand.empty() ? "empty" : "set"));
     }},
    {"NUL bytes inside lines", "each line ends at its NUL; the rest of the file still counts",
     [](const TempDisc& d) {
         d.Write("run/COMMAND.TXT", std::string("viewer\\view.exe\0junk\nSW_MAXIMIZE\0x\n", 34));
     },
     [](const LaunchSettings& s, const TempDisc& d) {
         return Expect(s.viewerCommand == d.path("run/viewer/view.exe") && s.showWindowCmd == 3,
                       "viewerCommand=" + s.viewerCommand);
     }},
    {"a byte-order mark before [Orvane]", "the INI form, read as written",
     [](const TempDisc& d) {
         d.Write("run/COMMAND.TXT", "\xEF\xBB\xBF[Orvane]\nViewerCommand=v.exe\nWindowTitle=T\n");
     },
     [](const LaunchSettings& s, const TempDisc& d) {
         return Expect(s.viewerCommand == d.path("run/v.exe") && s.windowTitle == "T",
                       "viewerCommand=" + s.viewerCommand + " title=" + s.windowTitle);
     }},
    {"text that is not UTF-8", "the bytes as written, in the title and the paths",
     [](const TempDisc& d) {
         d.Write("run/COMMAND.TXT",
                 "[Orvane]\nViewerCommand=vi\xE9wer.exe /\xFF\nWindowTitle=Caf\xE9\n");
     },
     [](const LaunchSettings& s, const TempDisc& d) {
         return Expect(
             s.viewerCommand == d.path("run/vi\xE9wer.exe /\xFF") && s.windowTitle == "Caf\xE9",
             "viewerCommand=" + s.viewerCommand);
     }},
    {"every setting present twice", "the first of each",
     [](const TempDisc& d) {
         d.Write("run/COMMAND.TXT",
                 "[Orvane]\nViewerCommand=one.exe\nViewerCommand=two.exe\nWaitInterval=3\n"
                 "WaitInterval=4\nShowMenu=FALSE\nShowMenu=TRUE\nWindowTitle=First\n"
                 "WindowTitle=Second\nShowWindow=SW_MAX\nShowWindow=SW_MINIMIZE\n"
                 "[Orvane]\nViewerCommand=three.exe\n");
     },
     [](const LaunchSettings& s, const TempDisc& d) {
         return Expect(s.viewerCommand == d.path("run/one.exe") && s.waitInterval == 3 &&
                           !s.showMenu && s.windowTitle == "First" && s.showWindowCmd == 3,
                       "viewerCommand=" + s.viewerCommand + " title=" + s.windowTitle);
     }},
    {"pages of every bad kind in the page lists", "the first page that is a real file",
     [](const TempDisc& d) {
         d.MakeFifo("run/orvane/start.htm")
             .MakeFolder("run/OrvaneStart.html")
             .Symlink("run/start.htm", "/dev/zero")
             .Symlink("run/start.html", "start.html")
             .Symlink("run/index.htm", "/dev/null")
             .Write("run/index.html", "<title>real</title>")
             .MakeFifo("run/orvane/frameset.htm")
             .MakeFolder("run/frameset.htm")
             .Write("run/results/FRAMESET.HTM", "results");
     },
     [](const LaunchSettings& s, const TempDisc& d) {
         return Expect(s.splashPage == d.path("run/index.html") &&
                           s.resultsPage == d.path("run/results/FRAMESET.HTM"),
                       "splash=" + s.splashPage + " results=" + s.resultsPage);
     }},
};

TEST(BadInput, SettingsAndPagesOfEveryBadKind) {
    for (const auto& row : kSettingsRows) {
        SCOPED_TRACE(std::string(row.name) + " -> " + row.userSees);
        TempDisc disc;
        disc.MakeFolder("run");
        row.make(disc);
        auto answer = RunInChild([&] { return row.check(Load(disc), disc); }, 20);
        ASSERT_TRUE(answer.has_value()) << "blocked or crashed";
        EXPECT_EQ(*answer, "");
    }
}

TEST(BadInput, AHundredMegabyteLineNeitherBlocksNorFillsMemory) {
    TempDisc disc;
    {
        std::string big(100u << 20, 'a');
        disc.Write("run/COMMAND.TXT", big + "\nSW_SHOWMAXIMIZED\n");
    }
    // The user sees a viewer command cut at the longest possible command line; the lines after
    // the long one still count, and reading takes little memory.
    auto answer = RunInChild(
        [&] {
            const long before = MaxResidentKiB();
            LaunchSettings s = Load(disc);
            const long grew = MaxResidentKiB() - before;
            std::string problems;
            if (s.viewerCommand != disc.path("run/") + std::string(32767, 'a')) {
                problems +=
                    "viewer command of " + std::to_string(s.viewerCommand.size()) + " bytes; ";
            }
            if (s.showWindowCmd != 3)
                problems += "line 2 lost; ";
            if (grew > 16 * 1024)
                problems += "memory grew by " + std::to_string(grew) + " KiB; ";
            return problems;
        },
        60);
    ASSERT_TRUE(answer.has_value()) << "blocked or crashed";
    EXPECT_EQ(*answer, "");
}

}  // namespace
}  // namespace orvane::testing
