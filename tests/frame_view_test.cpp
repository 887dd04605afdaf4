// The main window on a headless window system: how start-up makes the frame and its caption,
// command routing and enabling, View Results and the results check, the viewer launch with its
// notice, the navigation hooks and the view's browsing commands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fake/FakePlatform.h"
#include "fake/FakeWindows.h"
#include "frame/MainFrame.h"
#include "support/TempDisc.h"
#include "view/OrvaneStartView.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kResults = "ORVANE/FRAMESET.HTM";
constexpr std::string_view kHelp = "orvane/tvkhelp.htm";

// COMMAND.TXT in the INI form naming the disc's viewer (and, if wanted, its working folder),
// followed by `extra` lines.
std::string Settings(std::string_view extra = "", bool workingDir = true) {
    std::string text = "[Orvane]\nViewerCommand=viewer\\view --study ORVANE\n";
    if (workingDir)
        text += "ViewerWorkingDir=viewer\n";
    return text + std::string(extra);
}

struct Disc {
    std::optional<std::string> commandTxt = Settings();  // nothing: the disc has no COMMAND.TXT
    bool startPage = true;                               // start.htm
    bool results = false;                                // ORVANE/FRAMESET.HTM
    bool customHelp = false;                             // orvane/tvkhelp.htm
    std::vector<std::string> otherFiles = {};            // further pages, relative to the disc
};

// The program started from a disc folder, with its main window on the fake window system.
class Program {
  public:
    explicit Program(const Disc& d = {}, bool windowFails = false) {
        if (d.commandTxt)
            disc.Write("COMMAND.TXT", *d.commandTxt);
        disc.Write("viewer/view", "#!/bin/sh\n").MakeExecutable("viewer/view");
        if (d.startPage)
            disc.Write("start.htm", "<title>Start</title>");
        if (d.results)
            disc.Write(kResults, "<title>Results</title>");
        if (d.customHelp)
            disc.Write(kHelp, "<title>Help</title>");
        for (const auto& file : d.otherFiles)
            disc.Write(file, "<title>Page</title>");
        fake.moduleFileName = disc.path("orvanestart");
        windows.failCreate = windowFails;
        app = std::make_unique<COrvaneStartApp>(fake.platform(), MainFrameMaker(windows));
        started = app->InitInstance();
        if (windows.window)
            startUpCalls = windows.window->browser.calls.size();
    }

    FakeFrameWindow& window() const {
        if (!windows.window)
            throw std::runtime_error("the main window does not exist");
        return *windows.window;
    }
    FakeBrowser& browser() const { return window().browser; }
    const LaunchSettings& settings() const { return app->settings(); }

    void Command(int id) const { window().events.OnCommand(id); }
    bool Enabled(int id) const { return window().events.IsCommandEnabled(id); }
    // Asks the program about a navigation the engine is about to make; true: cancelled.
    bool Follow(std::string_view address) const {
        return window().browserEvents.OnBeforeNavigate(address);
    }
    // The browser calls made after start-up.
    std::vector<std::string> Calls() const {
        const auto& all = browser().calls;
        return {all.begin() + static_cast<std::ptrdiff_t>(startUpCalls), all.end()};
    }
    void Remove(std::string_view relative) const { std::filesystem::remove(disc.path(relative)); }

    TempDisc disc;
    FakePlatform fake;
    FakeWindowSystem windows;
    std::unique_ptr<COrvaneStartApp> app;
    bool started = false;

  private:
    std::size_t startUpCalls = 0;
};

std::string Nav(std::string_view path) {
    return "Navigate:" + std::string(path);
}

void CollectCommands(std::span<const res::MenuItem> items, std::vector<int>& ids) {
    for (const auto& item : items) {
        if (item.kind == res::MenuItem::Kind::Command)
            ids.push_back(item.commandId);
        if (item.kind == res::MenuItem::Kind::Popup)
            CollectCommands(item.items, ids);
    }
}

std::vector<int> MenuCommands(int menuId) {
    std::vector<int> ids;
    if (const res::Menu* menu = res::FindMenu(menuId))
        CollectCommands(menu->items, ids);
    return ids;
}

// The command ids of the popup called `text`, at any depth of menu `menuId`.
std::vector<int> PopupCommands(int menuId, std::string_view text) {
    std::vector<int> ids;
    const res::Menu* menu = res::FindMenu(menuId);
    if (!menu)
        return ids;
    std::vector<std::span<const res::MenuItem>> pending{menu->items};
    while (!pending.empty()) {
        auto items = pending.back();
        pending.pop_back();
        for (const auto& item : items) {
            if (item.kind != res::MenuItem::Kind::Popup)
                continue;
            if (item.text == text)
                CollectCommands(item.items, ids);
            pending.push_back(item.items);
        }
    }
    return ids;
}

// Every command a user can give: the items of both menus, the toolbar buttons and the keys.
std::vector<int> UserCommands() {
    std::vector<int> ids = MenuCommands(res::IDR_MAINFRAME);
    for (int id : MenuCommands(res::IDR_FONT_DROPDOWN))
        ids.push_back(id);
    for (const auto& button : res::MainToolbar())
        ids.push_back(button.commandId);
    for (const auto& key : res::FindAccelerators(res::IDR_MAINFRAME))
        ids.push_back(key.commandId);
    return ids;
}

// ---------------------------------------------------------------------------------------------
// Start-up of the frame

TEST(FrameStartUp, MenuSettingChoosesResourceBarsAndShowState) {
    struct Case {
        std::string extra;
        int resourceId;
        bool bars;
        int shown;
    };
    const Case cases[] = {
        {"", 128, true, 1},
        {"ShowMenu=FALSE\n", 0, false, 1},
        {"ShowMenu=false\n", 0, false, 1},
        {"ShowMenu=No\n", 128, true, 1},
        {"ShowMenu=FALSE\nShowWindow=SW_SHOWMAXIMIZED\n", 0, false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extra);
        Program p({.commandTxt = Settings(c.extra)});
        ASSERT_TRUE(p.started);
        ASSERT_EQ(p.windows.descriptions.size(), 1u);
        EXPECT_EQ(p.windows.descriptions[0].resourceId, c.resourceId);
        EXPECT_EQ(p.windows.descriptions[0].showBars, c.bars);
        EXPECT_THAT(p.window().showCommands, ElementsAre(c.shown));
        EXPECT_EQ(p.window().updateWindowCalls, 1);
        EXPECT_NE(p.app->mainWindow(), nullptr);
    }
}

TEST(FrameStartUp, FirstNavigationIsTheStartPageEvenWhenThereIsNone) {
    struct Case {
        const char* name;
        std::string extra;
        bool startHtm;
        std::vector<std::string> otherFiles;
        std::string expected;  // relative to the disc; "" for no start page at all
    };
    const Case cases[] = {
        {"the default start.htm", "", true, {}, "start.htm"},
        {"a page named in the settings",
         "SplashPage=pages\\Welcome.htm\n",
         true,
         {"pages/Welcome.htm"},
         "pages/Welcome.htm"},
        {"a named page that is missing is searched for",
         "SplashPage=gone.htm\n",
         false,
         {"index.html"},
         "index.html"},
        {"no start page: the empty path still goes to the engine", "SplashPage=\n", false, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Program p(
            {.commandTxt = Settings(c.extra), .startPage = c.startHtm, .otherFiles = c.otherFiles});
        ASSERT_TRUE(p.started);
        const std::string expected = c.expected.empty() ? "" : p.disc.path(c.expected);
        EXPECT_EQ(p.settings().splashPage, expected);
        EXPECT_THAT(p.browser().calls, ElementsAre(Nav(expected)));
    }
}

TEST(FrameStartUp, AWindowThatCannotBeMadeEndsStartUp) {
    Program p({}, /*windowFails=*/true);
    EXPECT_FALSE(p.started);
    EXPECT_EQ(p.windows.descriptions.size(), 1u);
    EXPECT_EQ(p.windows.window, nullptr);
    EXPECT_EQ(p.app->mainWindow(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// The caption

TEST(Caption, PageTitlesLeadTheWindowTitleOnlyWhenWanted) {
    struct Case {
        std::string extra;
        std::string beforeTitles;
        std::vector<std::pair<std::string, std::string>> titles;  // page title, caption after it
    };
    const Case cases[] = {
        {"",
         "Untitled - Orvane Start",
         {{"Page", "Page - Orvane Start"},
          {"Second page", "Second page - Orvane Start"},
          {"Page", "Page - Orvane Start"}}},
        {"WindowTitle=Patient Disc\n",
         "Untitled - Patient Disc",
         {{"Page", "Page - Patient Disc"}, {"Images", "Images - Patient Disc"}}},
        {"WindowTitle=Patient Disc\nDisplayHTMLDocTitle=No\n",
         "Untitled - Patient Disc",
         {{"Page", "Page - Patient Disc"}}},
        {"WindowTitle=\n", "Untitled - ", {{"Page", "Page - "}}},
        {"WindowTitle=Patient Disc\nDisplayHTMLDocTitle=FALSE\n",
         "Patient Disc",
         {{"Page", "Patient Disc"}, {"Second page", "Patient Disc"}}},
        {"DisplayHTMLDocTitle=false\n", "Orvane Start", {{"Page", "Orvane Start"}}},
        {"WindowTitle=\nDisplayHTMLDocTitle=False\n", "", {{"Page", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.extra);
        Program p({.commandTxt = Settings(c.extra)});
        ASSERT_TRUE(p.started);
        EXPECT_EQ(p.window().caption(), c.beforeTitles);
        for (const auto& [title, caption] : c.titles) {
            p.window().browserEvents.OnTitleChange(title);
            EXPECT_EQ(p.window().caption(), caption) << "after the title " << title;
        }
        if (!p.settings().displayHTMLDocTitle) {
            // Page titles never reach the caption, not even for a moment.
            EXPECT_EQ(p.window().description.caption, p.settings().windowTitle);
            for (const auto& caption : p.window().captions) {
                EXPECT_EQ(caption, p.settings().windowTitle);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Command routing and enabling

TEST(CommandsRouting, EveryCommandUsersCanGiveIsEnabledExceptResultsWithoutResults) {
    const std::vector<int> ids = UserCommands();
    ASSERT_THAT(ids, ::testing::Contains(res::ID_VIEW_RESULTS));
    ASSERT_THAT(ids, ::testing::Contains(res::ID_FONT_DROPDOWN));
    for (bool results : {true, false}) {
        SCOPED_TRACE(results ? "with results" : "without results");
        Program p({.results = results});
        ASSERT_TRUE(p.started);
        for (int id : ids) {
            EXPECT_EQ(p.Enabled(id), results || id != res::ID_VIEW_RESULTS) << id;
        }
    }
}

TEST(CommandsRouting, CommandsThatNothingSendsAreStillHandled) {
    Program p;
    for (int id :
         {res::IDOK, res::ID_VIEW_STOP, res::ID_GO_BACK, res::ID_GO_FORWARD, res::ID_GO_HOME,
          res::ID_GO_SEARCH, res::ID_FAVORITES_DROPDOWN, res::ID_HELP_WEB_TUTORIAL, 32800, 32801,
          32802, 32803, 32804, 32805, 32806, 32807, 32812}) {
        EXPECT_TRUE(p.Enabled(id)) << id;
    }
}

TEST(CommandsRouting, UnknownIdsAreDisabledAndDoNothing) {
    Program p({.results = true, .customHelp = true});
    for (int id : {0, 2, 12345, 32777, 32780, 32781, 32791, 32794, 32797, 32799, 32808, 32811,
                   32813, 32818, 32823, 57600, 57602, 57663, 57666}) {
        EXPECT_FALSE(p.Enabled(id)) << id;
        p.Command(id);
    }
    EXPECT_THAT(p.Calls(), IsEmpty());
    EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
    EXPECT_THAT(p.fake.dialogs, IsEmpty());
    EXPECT_THAT(p.fake.launches, IsEmpty());
    EXPECT_THAT(p.window().popups, IsEmpty());
    EXPECT_EQ(p.window().closeCalls, 0);
}

TEST(CommandsRouting, DoNothingCommandsStayEnabledAndChangeNothing) {
    Program p({.results = true});
    for (int id : {res::IDOK, res::ID_FAVORITES_DROPDOWN, res::ID_FONT_DROPDOWN}) {
        EXPECT_TRUE(p.Enabled(id)) << id;
        p.Command(id);
    }
    EXPECT_THAT(p.Calls(), IsEmpty());
    EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
    EXPECT_THAT(p.fake.dialogs, IsEmpty());
    EXPECT_THAT(p.window().popups, IsEmpty()) << "the Font button's face opens no menu";
    EXPECT_EQ(p.window().closeCalls, 0);
}

TEST(CommandsRouting, ExitClosesTheWindowAndAboutRunsItsDialog) {
    Program p;
    p.Command(res::ID_APP_ABOUT);
    EXPECT_THAT(p.fake.dialogs, ElementsAre(res::IDD_ABOUTBOX));
    EXPECT_EQ(p.window().closeCalls, 0);

    p.Command(res::ID_APP_EXIT);
    EXPECT_EQ(p.window().closeCalls, 1);
    EXPECT_THAT(p.fake.dialogs, ElementsAre(res::IDD_ABOUTBOX));
    EXPECT_THAT(p.Calls(), IsEmpty());
}

TEST(CommandsRouting, CustomHelpIsAnsweredByTheViewNotTheFramesEmptyEntry) {
    Program p({.customHelp = true});
    EXPECT_TRUE(p.Enabled(res::ID_HELP_CUSTOM));
    p.Command(res::ID_HELP_CUSTOM);
    EXPECT_THAT(p.Calls(), ElementsAre(Nav(p.disc.path(kHelp))));
}

TEST(CommandsPrompts, PromptsAndTooltipsComeFromTheStringTable) {
    struct Case {
        int id;
        std::string prompt;
        std::string tooltip;
    };
    const Case cases[] = {
        {res::ID_VIEW_REFRESH, "Refreshes the contents of the current page.", "Refresh"},
        {res::ID_FONT_DROPDOWN, "Change font size.", "Fonts"},
        {res::ID_VIEW_IMAGES, "", ""},
        {res::ID_VIEW_RESULTS, "", ""},
        {res::ID_VIEW_START_PAGE, "", ""},
        {res::ID_FILE_OPEN, "Opens a document in this window.", ""},
        {res::ID_FONT_SMALLEST, "Selects smallest font size.", ""},
        {res::ID_APP_ABOUT, "Display program information, version number and copyright", "About"},
        {res::ID_GO_SEARCH, "Opens your search page.", "Search the Internet"},
    };
    Program p;
    for (const auto& c : cases) {
        EXPECT_EQ(p.window().events.CommandPrompt(c.id), c.prompt) << c.id;
        EXPECT_EQ(p.window().events.CommandTooltip(c.id), c.tooltip) << c.id;
    }
}

// ---------------------------------------------------------------------------------------------
// View Results and Start Page

TEST(FrameViewResults, EnabledExactlyWhileTheResultsFileExists) {
    Program p({.results = true});
    ASSERT_EQ(p.settings().resultsPage, p.disc.path(kResults));
    EXPECT_TRUE(p.Enabled(res::ID_VIEW_RESULTS));
    p.Remove(kResults);
    EXPECT_FALSE(p.Enabled(res::ID_VIEW_RESULTS));
    p.disc.Write(kResults, "<title>Results</title>");
    EXPECT_TRUE(p.Enabled(res::ID_VIEW_RESULTS));
    p.Remove(kResults);
    EXPECT_FALSE(p.Enabled(res::ID_VIEW_RESULTS));
}

TEST(FrameViewResults, AResultsPageWrittenAfterStartUpEnablesTheCommand) {
    Program p;
    // Without any results page the program watches FRAMESET.HTM in the settings folder.
    ASSERT_EQ(p.settings().resultsPage, p.disc.folder() + "FRAMESET.HTM");
    EXPECT_FALSE(p.Enabled(res::ID_VIEW_RESULTS));
    EXPECT_FALSE(p.Enabled(res::ID_VIEW_RESULTS)) << "asking again changes nothing";
    p.disc.Write("FRAMESET.HTM", "<title>Results</title>");
    EXPECT_TRUE(p.Enabled(res::ID_VIEW_RESULTS));
    p.Remove("FRAMESET.HTM");
    EXPECT_FALSE(p.Enabled(res::ID_VIEW_RESULTS));
}

TEST(FrameViewResults, ResultsAndStartPageNavigateToTheDiscsPages) {
    Program p({.results = true});
    p.Command(res::ID_VIEW_RESULTS);
    p.Command(res::ID_VIEW_START_PAGE);
    p.Command(res::ID_VIEW_RESULTS);
    EXPECT_THAT(p.Calls(), ElementsAre(Nav(p.disc.path(kResults)), Nav(p.disc.path("start.htm")),
                                       Nav(p.disc.path(kResults))));
    EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// The viewer launch, from View Images and from a link with the keyword

struct Trigger {
    const char* name;
    bool (*run)(const Program&);  // true: the navigation that carried the request was cancelled
};

const Trigger kTriggers[] = {
    {"View Images",
     [](const Program& p) {
         p.Command(res::ID_VIEW_IMAGES);
         return true;  // no navigation to cancel
     }},
    {"keyword link", [](const Program& p) { return p.Follow("file:///disc/ORVANERUNVIEWER"); }},
};

TEST(ViewerLaunch, WithoutAViewerCommandItSaysWhyAndStartsNothing) {
    struct Case {
        const char* name;
        std::optional<std::string> commandTxt;
        std::string messageStart;
    };
    const Case cases[] = {
        {"no COMMAND.TXT", std::nullopt, "Unable to locate file COMMAND.TXT.\n\n"},
        {"an empty COMMAND.TXT", "", "COMMAND.TXT file is empty."},
        {"a ViewerCommand of blanks", "[Orvane]\nViewerCommand=\"   \"\n",
         "COMMAND.TXT file does not contain the 'ViewerCommand' setting"},
    };
    for (const auto& c : cases) {
        for (const auto& trigger : kTriggers) {
            SCOPED_TRACE(std::string(c.name) + ", " + trigger.name);
            Program p({.commandTxt = c.commandTxt});
            ASSERT_TRUE(p.started);
            ASSERT_TRUE(p.settings().viewerCommand.empty());
            ASSERT_EQ(p.settings().settingsMessage.rfind(c.messageStart, 0), 0u)
                << p.settings().settingsMessage;
            EXPECT_TRUE(trigger.run(p));
            ASSERT_EQ(p.fake.messageBoxes.size(), 1u);
            EXPECT_EQ(p.fake.messageBoxes[0].text,
                      "Cannot launch viewer. " + p.settings().settingsMessage);
            EXPECT_EQ(p.fake.messageBoxes[0].type, unsigned{platform::MB_ICONEXCLAMATION});
            EXPECT_THAT(p.fake.launches, IsEmpty());
            EXPECT_THAT(p.fake.dialogs, IsEmpty());
            EXPECT_THAT(p.Calls(), IsEmpty());
        }
    }
}

TEST(ViewerLaunch, AViewerThatCannotStartIsReportedWithItsCommandLineAndNoNotice) {
    for (const auto& trigger : kTriggers) {
        SCOPED_TRACE(trigger.name);
        Program p;
        p.fake.launchSucceeds = false;
        ASSERT_EQ(p.settings().viewerCommand, p.disc.path("viewer/view") + " --study ORVANE");
        EXPECT_TRUE(trigger.run(p));
        ASSERT_EQ(p.fake.launches.size(), 1u);
        EXPECT_EQ(p.fake.launches[0].commandLine, p.settings().viewerCommand);
        ASSERT_EQ(p.fake.messageBoxes.size(), 1u);
        EXPECT_EQ(p.fake.messageBoxes[0].text,
                  "Unable to run DICOM Viewer. Command is invalid:\n  " +
                      p.disc.path("viewer/view") + " --study ORVANE.");
        EXPECT_EQ(p.fake.messageBoxes[0].type, unsigned{platform::MB_ICONEXCLAMATION});
        EXPECT_THAT(p.fake.dialogs, IsEmpty());
        EXPECT_THAT(p.Calls(), IsEmpty());
    }
}

TEST(ViewerLaunch, AStartedViewerIsFollowedByTheTimedNotice) {
    for (bool workingDir : {true, false}) {
        for (const auto& trigger : kTriggers) {
            SCOPED_TRACE(std::string(trigger.name) + (workingDir ? ", working folder" : ""));
            Program p({.commandTxt = Settings("", workingDir)});
            EXPECT_TRUE(trigger.run(p));
            const std::string folder = workingDir ? p.disc.path("viewer") : p.disc.folder();
            ASSERT_EQ(p.fake.launches.size(), 1u);
            EXPECT_EQ(p.fake.launches[0].commandLine,
                      p.disc.path("viewer/view") + " --study ORVANE");
            EXPECT_EQ(p.fake.launches[0].workingFolder, p.settings().viewerWorkingDir);
            EXPECT_EQ(p.fake.launches[0].workingFolder.rfind(folder, 0), 0u)
                << p.fake.launches[0].workingFolder;
            EXPECT_THAT(p.fake.dialogs, ElementsAre(res::IDD_LAUNCHING));
            ASSERT_EQ(p.fake.timers.size(), 1u);
            EXPECT_EQ(p.fake.timers[0].dialogId, res::IDD_LAUNCHING);
            EXPECT_EQ(p.fake.timers[0].milliseconds, 10000u);
            EXPECT_THAT(p.fake.dialogResults, ElementsAre(res::IDCANCEL))
                << "the timer closes the notice as cancelled";
            EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
            EXPECT_THAT(p.Calls(), IsEmpty());
            // The launch comes first, the notice after it.
            EXPECT_THAT(p.fake.calls, ::testing::IsSupersetOf({"Launch", "DoModal:134"}));
            auto at = [&](const std::string& call) {
                return std::find(p.fake.calls.begin(), p.fake.calls.end(), call);
            };
            EXPECT_LT(at("Launch"), at("DoModal:134"));
        }
    }
}

TEST(ViewerLaunch, TheNoticeStaysForTheWaitIntervalInMilliseconds) {
    struct Case {
        std::string waitInterval;  // the key's line; "" leaves the key out
        unsigned milliseconds;
    };
    const Case cases[] = {
        {"WaitInterval=3\n", 3000u},
        {"WaitInterval=1\n", 1000u},
        {"WaitInterval=0\n", 0u},
        {"WaitInterval=-5\n", 10000u},
        {"WaitInterval=-1\n", 10000u},
        {"", 10000u},
        {"WaitInterval=\n", 10000u},
        {"WaitInterval=4294967\n", 4294967000u},
        {"WaitInterval=4294968\n", 4294967295u},
        {"WaitInterval=2147483647\n", 4294967295u},
        {"WaitInterval=99999999999\n", 4294967295u},
        {"WaitInterval=-99999999999\n", 10000u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.waitInterval);
        Program p({.commandTxt = Settings(c.waitInterval)});
        p.Command(res::ID_VIEW_IMAGES);
        ASSERT_EQ(p.fake.timers.size(), 1u);
        EXPECT_EQ(p.fake.timers[0].milliseconds, c.milliseconds);
        EXPECT_EQ(p.fake.timers[0].timerId, 1);
    }
}

TEST(ViewerLaunch, EveryRequestStartsAnotherViewerWithItsOwnNotice) {
    Program p({.commandTxt = Settings("WaitInterval=2\n")});
    p.Command(res::ID_VIEW_IMAGES);
    EXPECT_TRUE(p.Follow("file:///disc/page.htm?orvanerunviewer"));
    p.Command(res::ID_VIEW_IMAGES);
    EXPECT_EQ(p.fake.launches.size(), 3u);
    EXPECT_THAT(p.fake.dialogs, ElementsAre(134, 134, 134));
    ASSERT_EQ(p.fake.timers.size(), 3u);
    for (const auto& timer : p.fake.timers)
        EXPECT_EQ(timer.milliseconds, 2000u);
}

TEST(ViewerLaunch, ANoticeClosedByTheUserEndsTheLaunchAsWell) {
    Program p;
    p.fake.dialogAnswers = {res::IDOK};  // Enter before the timer fires
    p.Command(res::ID_VIEW_IMAGES);
    EXPECT_EQ(p.fake.launches.size(), 1u);
    EXPECT_THAT(p.fake.dialogResults, ElementsAre(res::IDOK));
    EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// The navigation hooks

TEST(NavigationHooks, EachAddressIsDecidedByKeywordThenResultsName) {
    enum class Expect { Allow, Launch, Check };
    struct Case {
        std::string address;
        Expect expect;
    };
    const Case cases[] = {
        {"file:///media/disc/ORVANERUNVIEWER", Expect::Launch},
        {"file:///media/disc/orvanerunviewer.htm", Expect::Launch},
        {"file:///media/disc/OrvaneRunViewer/page.htm", Expect::Launch},
        {"file:///media/disc/page.htm?do=orvaneRUNviewer", Expect::Launch},
        {"file:///media/disc/page.htm#OrVaNeRuNvIeWeR", Expect::Launch},
        {"orvanerunviewer", Expect::Launch},
        {"https://example.org/xORVANERUNVIEWERx", Expect::Launch},
        {"file:///media/disc/ORVANE/FRAMESET.HTM?ORVANERUNVIEWER", Expect::Launch},
        {"file:///media/disc/orvanerunviewer/frameset.htm", Expect::Launch},
        {"file:///media/disc/ORVANE/FRAMESET.HTM", Expect::Check},
        {"file:///media/disc/orvane/frameset.htm", Expect::Check},
        {"file:///media/disc/results/FrameSet.Htm", Expect::Check},
        {"file:///media/disc/xframeset.htm", Expect::Check},
        {"file:///media/disc/frameset.html", Expect::Check},
        {"https://example.org/frameset.htm?page=2", Expect::Check},
        {"file:///media/disc/start.htm", Expect::Allow},
        {"file:///media/disc/frameset.ht", Expect::Allow},
        {"file:///media/disc/frame-set.htm", Expect::Allow},
        {"file:///media/disc/ORVANE-RUN-VIEWER", Expect::Allow},
        {"file:///media/disc/orvanerunview.htm", Expect::Allow},
        {"https://example.org/", Expect::Allow},
        {"", Expect::Allow},
    };
    for (const auto& c : cases) {
        for (bool results : {true, false}) {
            SCOPED_TRACE(c.address + (results ? " (results on the disc)" : " (no results)"));
            Program p({.results = results});
            const bool cancelled = p.Follow(c.address);
            const bool launched = c.expect == Expect::Launch;
            const bool refused = c.expect == Expect::Check && !results;
            EXPECT_EQ(cancelled, launched || refused);
            EXPECT_EQ(p.fake.launches.size(), launched ? 1u : 0u);
            EXPECT_EQ(p.fake.dialogs, launched ? std::vector<int>{134} : std::vector<int>{});
            if (refused) {
                ASSERT_EQ(p.fake.messageBoxes.size(), 1u);
                EXPECT_EQ(p.fake.messageBoxes[0].text, "This medium does not contain results.");
                EXPECT_EQ(p.fake.messageBoxes[0].type, unsigned{platform::MB_ICONINFORMATION});
            } else {
                EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
            }
            EXPECT_THAT(p.Calls(), IsEmpty()) << "the hooks never navigate themselves";
        }
    }
}

TEST(NavigationHooks, TheResultsPageDecidesNotTheLinksOwnTarget) {
    {
        SCOPED_TRACE("no results page: a link to an existing file of that name is refused");
        Program p;
        p.disc.Write("other/frameset.htm", "<title>Other</title>");
        EXPECT_TRUE(p.Follow("file://" + p.disc.path("other/frameset.htm")));
        ASSERT_EQ(p.fake.messageBoxes.size(), 1u);
        EXPECT_EQ(p.fake.messageBoxes[0].text, "This medium does not contain results.");
    }
    {
        SCOPED_TRACE("results page present: a link to a missing file of that name goes on");
        Program p({.results = true});
        EXPECT_FALSE(p.Follow("file://" + p.disc.path("nowhere/FRAMESET.HTM")));
        EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
    }
}

TEST(NavigationHooks, TheResultsPageIsLookedForAtEveryLink) {
    Program p({.results = true});
    const std::string link = "file://" + p.disc.path(kResults);
    EXPECT_FALSE(p.Follow(link));
    p.Remove(kResults);
    EXPECT_TRUE(p.Follow(link));
    EXPECT_EQ(p.fake.messageBoxes.size(), 1u);
    p.disc.Write(kResults, "<title>Results</title>");
    EXPECT_FALSE(p.Follow(link));
    EXPECT_EQ(p.fake.messageBoxes.size(), 1u);
}

TEST(NavigationHooks, TheWatchedNameIsTheResultsPagesOwn) {
    Program p({.commandTxt = Settings("ResultsPage=results\\Summary.html\n"),
               .otherFiles = {"results/Summary.html"}});
    ASSERT_EQ(p.settings().resultsFileName, "SUMMARY.HTML");
    EXPECT_FALSE(p.Follow("file:///media/disc/results/summary.html"));
    EXPECT_FALSE(p.Follow("file:///media/disc/ORVANE/FRAMESET.HTM"));
    p.Remove("results/Summary.html");
    EXPECT_TRUE(p.Follow("file:///media/disc/results/summary.html"));
    EXPECT_FALSE(p.Follow("file:///media/disc/ORVANE/FRAMESET.HTM"))
        << "another name is not the results page";
    EXPECT_EQ(p.fake.messageBoxes.size(), 1u);
}

TEST(NavigationHooks, ClassificationWithAndWithoutAResultsName) {
    struct Case {
        std::string address;
        std::string resultsFileName;
        NavigationAction action;
    };
    const Case cases[] = {
        {"file:///disc/ORVANE/FRAMESET.HTM", "", NavigationAction::Allow},
        {"file:///disc/frameset.htm", "", NavigationAction::Allow},
        {"file:///disc/ORVANERUNVIEWER", "", NavigationAction::LaunchViewer},
        {"file:///disc/frameset.htm", "FRAMESET.HTM", NavigationAction::CheckResults},
        {"file:///disc/frameset.htm?orvanerunviewer", "FRAMESET.HTM",
         NavigationAction::LaunchViewer},
        {"file:///disc/start.htm", "FRAMESET.HTM", NavigationAction::Allow},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyNavigation(c.address, c.resultsFileName), c.action)
            << c.address << " with '" << c.resultsFileName << "'";
    }
}

TEST(NavigationHooks, StatusTextsGoToTheStatusBarAndCompletionChangesNothing) {
    Program p;
    p.window().browserEvents.OnStatusText("file:///media/disc/page.htm");
    p.window().browserEvents.OnStatusText("");
    EXPECT_THAT(p.window().messageTexts, ElementsAre("file:///media/disc/page.htm", ""));
    const std::string caption = p.window().caption();
    const std::size_t captions = p.window().captions.size();
    p.window().browserEvents.OnDocumentComplete("file:///media/disc/page.htm");
    EXPECT_EQ(p.window().caption(), caption);
    EXPECT_EQ(p.window().captions.size(), captions);
    EXPECT_THAT(p.Calls(), IsEmpty());
    EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// The view's commands

TEST(ViewCommands, FiveTextSizesFromEitherMenu) {
    const std::vector<int> sizes{32782, 32783, 32784, 32785, 32786};
    const std::vector<int> viewFonts = PopupCommands(res::IDR_MAINFRAME, "Fo&nts");
    const std::vector<int> dropDown = MenuCommands(res::IDR_FONT_DROPDOWN);
    ASSERT_EQ(viewFonts, sizes);
    ASSERT_EQ(dropDown, sizes);

    Program p;
    for (int id : viewFonts)
        p.Command(id);
    for (int id : dropDown)
        p.Command(id);
    p.Command(res::ID_FONT_MEDIUM);
    p.Command(res::ID_FONT_MEDIUM);
    EXPECT_THAT(p.browser().textSizes, ElementsAre(4, 3, 2, 1, 0, 4, 3, 2, 1, 0, 2, 2));
    EXPECT_EQ(p.Calls().size(), 12u) << "text sizes navigate nowhere";
}

TEST(ViewCommands, RefreshReloadsFromF5MenuAndToolbar) {
    const auto keys = res::FindAccelerators(res::IDR_MAINFRAME);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].key, res::Key::F5);
    EXPECT_EQ(keys[0].commandId, 32779);
    EXPECT_TRUE(res::FindAccelerators(0).empty()) << "no menu, no F5";
    EXPECT_EQ(res::MainToolbar()[3].commandId, 32779);

    Program p;
    p.Command(keys[0].commandId);
    EXPECT_THAT(p.Calls(), ElementsAre("Refresh"));
}

TEST(ViewCommands, BrowsingCommandsGoToTheEngine) {
    struct Case {
        int id;
        std::string call;
    };
    const Case cases[] = {
        {res::ID_GO_BACK, "GoBack"}, {res::ID_GO_FORWARD, "GoForward"},
        {res::ID_GO_HOME, "GoHome"}, {res::ID_GO_SEARCH, "GoSearch"},
        {res::ID_VIEW_STOP, "Stop"}, {res::ID_VIEW_REFRESH, "Refresh"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        Program p;
        p.Command(c.id);
        // Home is the engine's own home page, never the disc's start page.
        EXPECT_THAT(p.Calls(), ElementsAre(c.call));
    }
}

TEST(ViewCommands, HelpLinksOpenTheirAddresses) {
    struct Case {
        int id;
        int stringId;
    };
    const Case cases[] = {
        {32798, 736}, {32800, 737}, {32801, 738}, {32802, 741}, {32803, 742},
        {32804, 744}, {32805, 745}, {32806, 746}, {32807, 747}, {32812, 743},
    };
    Program p;
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        const std::string address(res::LoadString(c.stringId));
        EXPECT_EQ(address.rfind("https://", 0), 0u) << c.stringId << ": " << address;
        expected.push_back(Nav(address));
        p.Command(c.id);
    }
    EXPECT_EQ(p.Calls(), expected);
}

TEST(ViewCommands, CustomHelpIsLookedForEachTime) {
    Program p({.customHelp = true});
    ASSERT_EQ(p.settings().customHelpPage, p.disc.path(kHelp));
    p.Command(res::ID_HELP_CUSTOM);
    EXPECT_THAT(p.Calls(), ElementsAre(Nav(p.disc.path(kHelp))));
    EXPECT_THAT(p.fake.messageBoxes, IsEmpty());

    p.Remove(kHelp);
    p.Command(res::ID_HELP_CUSTOM);
    EXPECT_EQ(p.Calls().size(), 1u) << "a missing help page leaves the page as it is";
    ASSERT_EQ(p.fake.messageBoxes.size(), 1u);
    EXPECT_EQ(p.fake.messageBoxes[0].text, "Sorry! Custom help is not available.");
    EXPECT_EQ(p.fake.messageBoxes[0].type, unsigned{platform::MB_OK});

    p.disc.Write(kHelp, "<title>Help</title>");
    p.Command(res::ID_HELP_CUSTOM);
    EXPECT_THAT(p.Calls(), ElementsAre(Nav(p.disc.path(kHelp)), Nav(p.disc.path(kHelp))));
    EXPECT_EQ(p.fake.messageBoxes.size(), 1u);
}

TEST(ViewCommands, CustomHelpWithoutAHelpPageSaysSo) {
    Program p;
    ASSERT_TRUE(p.settings().customHelpPage.empty());
    EXPECT_TRUE(p.Enabled(res::ID_HELP_CUSTOM));
    p.Command(res::ID_HELP_CUSTOM);
    EXPECT_THAT(p.Calls(), IsEmpty());
    ASSERT_EQ(p.fake.messageBoxes.size(), 1u);
    EXPECT_EQ(p.fake.messageBoxes[0].text, "Sorry! Custom help is not available.");
    EXPECT_EQ(p.fake.messageBoxes[0].type, unsigned{platform::MB_OK});
}

TEST(ViewCommands, FileOpenNavigatesToTheChosenFileOnly) {
    Program p;
    p.Command(res::ID_FILE_OPEN);
    EXPECT_THAT(p.Calls(), IsEmpty()) << "cancelled";
    ASSERT_EQ(p.fake.openFileFilters.size(), 1u);
    EXPECT_EQ(p.fake.openFileFilters[0],
              "HTML Files|*.htm;*.html|Text Files|*.txt|GIF Files|*.gif|JPEG Files|*.jpg;*.jpeg|"
              "AU Files|*.au|AIFF Files|*.aif;*.aiff|XBM Files|*.xbm|All Files|*.*||");
    EXPECT_EQ(p.fake.openFileFilters[0], res::LoadString(res::IDS_OPEN_FILE_FILTER));

    p.fake.openFileAnswer = "/media/other disc/Report.html";
    p.Command(res::ID_FILE_OPEN);
    EXPECT_THAT(p.Calls(), ElementsAre(Nav("/media/other disc/Report.html")));
    EXPECT_EQ(p.fake.openFileFilters.size(), 2u);
    EXPECT_THAT(p.fake.messageBoxes, IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// The Font dropdown

TEST(FrameFontDropDown, TheArrowOpensMenu132OnePixelBelowTheButton) {
    Program p;
    p.window().events.OnToolbarDropDown(res::ID_FONT_DROPDOWN, {100, 200});
    ASSERT_EQ(p.window().popups.size(), 1u);
    EXPECT_EQ(p.window().popups[0].menuId, res::IDR_FONT_DROPDOWN);
    EXPECT_EQ(p.window().popups[0].topLeft.x, 100);
    EXPECT_EQ(p.window().popups[0].topLeft.y, 201);
    EXPECT_THAT(p.Calls(), IsEmpty()) << "opening the menu chooses no size";
}

TEST(FrameFontDropDown, OtherButtonsOpenNothing) {
    Program p;
    for (int id : {res::ID_FAVORITES_DROPDOWN, res::ID_VIEW_IMAGES, res::ID_VIEW_REFRESH, 0}) {
        p.window().events.OnToolbarDropDown(id, {100, 200});
    }
    EXPECT_THAT(p.window().popups, IsEmpty());
    EXPECT_THAT(p.Calls(), IsEmpty());
    EXPECT_THAT(p.fake.launches, IsEmpty());
}

}  // namespace
}  // namespace orvane::testing
