// Start-up on the fake platform: the order of its steps, the ways out, the browser version gate
// with its dialog flow, the launcher's working-folder rule and the About box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake/FakePlatform.h"
#include "support/TempDisc.h"

namespace orvane::testing {
namespace {

using ::testing::ElementsAre;

constexpr char kIni[] =
    "[Orvane]\nViewerCommand=viewer\\view\nMinimumIEVersion=%MIN%\nShowMenu=%MENU%\n"
    "ShowWindow=%SHOW%\nIEInstallCommand=ie\\setup\n";

std::string Settings(std::string min, std::string menu = "TRUE", std::string show = "") {
    std::string text = kIni;
    auto put = [&](std::string_view key, const std::string& value) {
        text.replace(text.find(key), key.size(), value);
    };
    put("%MIN%", min);
    put("%MENU%", menu);
    put("%SHOW%", show);
    return text;
}

struct StartUp {
    TempDisc disc;
    FakePlatform fake;
    std::unique_ptr<COrvaneStartApp> app;
    bool result = false;

    explicit StartUp(const std::string& commandTxt, bool frameFails = false) {
        if (!commandTxt.empty())
            disc.Write("COMMAND.TXT", commandTxt);
        disc.Write("start.htm", "<title>Start</title>");
        fake.moduleFileName = disc.path("orvanestart");
        app = std::make_unique<COrvaneStartApp>(fake.platform(),
                                                RecordingFrames(fake.calls, frameFails));
    }
    bool Run() { return result = app->InitInstance(); }
};

TEST(StartUp, RunsItsStepsInOrderAndShowsTheWindow) {
    StartUp s(Settings(""));
    ASSERT_TRUE(s.Run());
    EXPECT_THAT(s.fake.calls,
                ElementsAre("StartSockets", "EnableControlContainer", "Enable3dControls",
                            "SetRegistryKey:Talvik\\Orvane", "LoadStdProfileSettings:0",
                            "ModuleFileName", "CreateFrame:128", "ShowWindow:1", "UpdateWindow"));
    EXPECT_EQ(s.app->settings().appFolder, s.disc.folder());
    EXPECT_EQ(s.app->settings().settingsPath, s.disc.path("COMMAND.TXT"));
    EXPECT_EQ(s.app->docTemplate()->ResourceId(), 128);
    EXPECT_EQ(s.fake.browserVersionReads, 0) << "no minimum version: the version is never read";
    EXPECT_TRUE(s.fake.messageBoxes.empty());
}

TEST(StartUp, FailedSocketsEndStartUpWithTheirMessageAndNothingElse) {
    StartUp s(Settings(""));
    s.fake.socketsStart = false;
    EXPECT_FALSE(s.Run());
    EXPECT_THAT(s.fake.calls, ElementsAre("StartSockets", "MessageBox"));
    ASSERT_EQ(s.fake.messageBoxes.size(), 1u);
    EXPECT_EQ(s.fake.messageBoxes[0].text, "Windows sockets initialization failed.");
    EXPECT_EQ(platform::EffectiveIcon(s.fake.messageBoxes[0].type),
              unsigned{platform::MB_ICONWARNING});
}

TEST(StartUp, MenuSettingAndShowStateReachTheFrame) {
    struct Case {
        std::string menu, show;
        std::string frame, shown;
    };
    const Case cases[] = {
        {"TRUE", "", "CreateFrame:128", "ShowWindow:1"},
        {"false", "SW_SHOWMAXIMIZED", "CreateFrame:0", "ShowWindow:3"},
        {"FALSE", "sw_minimize", "CreateFrame:0", "ShowWindow:2"},
        {"No", "SW_RESTORE", "CreateFrame:128", "ShowWindow:9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu + " " + c.show);
        StartUp s(Settings("", c.menu, c.show));
        ASSERT_TRUE(s.Run());
        EXPECT_THAT(s.fake.calls, ::testing::Contains(c.frame));
        EXPECT_THAT(s.fake.calls, ::testing::Contains(c.shown));
    }
}

TEST(StartUp, WithoutSettingsFileTheWindowStillComesUp) {
    StartUp s("");
    ASSERT_TRUE(s.Run());
    EXPECT_TRUE(s.app->settings().settingsPath.empty());
    EXPECT_TRUE(s.app->settings().viewerCommand.empty());
    EXPECT_EQ(s.app->settings().settingsMessage.rfind("Unable to locate file COMMAND.TXT.\n\n", 0),
              0u);
    EXPECT_EQ(s.app->settings().splashPage, s.disc.path("start.htm"));
    EXPECT_TRUE(s.fake.messageBoxes.empty()) << "settings problems wait for View Images";
}

TEST(StartUp, AFrameThatCannotBeCreatedEndsStartUpUnshown) {
    StartUp s(Settings(""), /*frameFails=*/true);
    EXPECT_FALSE(s.Run());
    EXPECT_THAT(s.fake.calls, ::testing::Not(::testing::Contains("ShowWindow:1")));
}

TEST(StartUp, ProgramFolderIsCutAfterTheLastSeparator) {
    struct Case {
        std::string module, folder;
    };
    for (const Case& c : {Case{"/media/disc/run", "/media/disc/"}, Case{"/run", "/"},
                          Case{"/media/disc/start/run", "/media/disc/start/"}}) {
        FakePlatform fake;
        fake.moduleFileName = c.module;
        std::vector<std::string> calls;
        COrvaneStartApp app(fake.platform(), RecordingFrames(calls));
        app.InitInstance();
        EXPECT_EQ(app.settings().appFolder, c.folder) << c.module;
    }
}

struct GateCase {
    const char* name;
    std::string minimum;
    std::string installed;
    std::deque<int> answers;
    bool launchSucceeds;
    bool goesOn;
    bool dialogShown;
    bool installerStarted;
    bool warningShown;
};

TEST(BrowserGate, DecidesAndRunsItsDialogFlow) {
    const GateCase cases[] = {
        {"equal passes", "6.0", "6.0", {}, true, true, false, false, false},
        {"longer passes", "6.0", "6.0.2", {}, true, true, false, false, false},
        {"shorter stops", "6.0", "6", {}, true, false, true, false, false},
        {"lower stops", "6.0", "5.50", {}, true, false, true, false, false},
        {"compared as text: 10.0 is below 6.0", "6.0", "10.0", {}, true, false, true, false, false},
        {"compared as text: 6.0.90 is above 6.0.280",
         "6.0.280",
         "6.0.90",
         {},
         true,
         true,
         false,
         false,
         false},
        {"no installed version stops", "1", "", {}, true, false, true, false, false},
        {"a version text too long to read stops",
         "1",
         std::string(300, '9'),
         {},
         true,
         false,
         true,
         false,
         false},
        {"this platform's answer passes an old minimum",
         "6.0",
         "9.11.19041.0",
         {},
         true,
         true,
         false,
         false,
         false},
        {"install starts the installer",
         "9.2",
         "9.11",
         {res::IDOK},
         true,
         false,
         true,
         true,
         false},
        {"installer that cannot start warns",
         "9.2",
         "9.11",
         {res::IDOK},
         false,
         false,
         true,
         true,
         true},
        {"cancel starts nothing", "9.2", "9.11", {res::IDCANCEL}, true, false, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartUp s(Settings(c.minimum));
        s.fake.browserVersion = c.installed;
        s.fake.dialogAnswers = c.answers;
        s.fake.launchSucceeds = c.launchSucceeds;
        EXPECT_EQ(s.Run(), c.goesOn);
        EXPECT_EQ(s.fake.browserVersionReads, 1);
        EXPECT_EQ(s.fake.dialogs, c.dialogShown ? std::vector<int>{137} : std::vector<int>{});
        EXPECT_EQ(s.fake.launches.size(), c.installerStarted ? 1u : 0u);
        if (c.installerStarted) {
            EXPECT_EQ(s.fake.launches[0].commandLine, s.disc.path("ie/setup"));
            EXPECT_EQ(s.fake.launches[0].workingFolder, s.disc.folder()) << "baseFolder";
        }
        if (c.warningShown) {
            ASSERT_EQ(s.fake.messageBoxes.size(), 1u);
            EXPECT_EQ(s.fake.messageBoxes[0].text,
                      "Unable to launch install program " + s.disc.path("ie/setup") +
                          ".\nInternet Explorer was not installed/upgraded.");
            EXPECT_EQ(s.fake.messageBoxes[0].type, unsigned{platform::MB_ICONWARNING});
        } else {
            EXPECT_TRUE(s.fake.messageBoxes.empty());
        }
        // The gate comes before the window: a stop never creates it.
        bool framed = std::find(s.fake.calls.begin(), s.fake.calls.end(), "CreateFrame:128") !=
                      s.fake.calls.end();
        EXPECT_EQ(framed, c.goesOn);
    }
}

TEST(BrowserGate, AnInvalidMinimumSkipsTheGate) {
    for (std::string minimum : {"0.0", "abc", ""}) {
        StartUp s(Settings(minimum));
        s.fake.browserVersion = "";
        EXPECT_TRUE(s.Run()) << minimum;
        EXPECT_EQ(s.fake.browserVersionReads, 0) << minimum;
    }
}

TEST(LaunchProcess, AnEmptyWorkingFolderMeansTheSettingsFolder) {
    StartUp s(Settings(""));
    ASSERT_TRUE(s.Run());
    platform::ProcessHandle handle = 99;
    EXPECT_TRUE(s.app->LaunchProcess("/bin/true", "", &handle));
    EXPECT_EQ(s.fake.launches.back().workingFolder, s.disc.folder());
    EXPECT_NE(handle, 0);
    EXPECT_TRUE(s.app->LaunchProcess("/bin/true", "/tmp", &handle));
    EXPECT_EQ(s.fake.launches.back().workingFolder, "/tmp");

    s.fake.launchSucceeds = false;
    handle = 99;
    EXPECT_FALSE(s.app->LaunchProcess("/bin/true", "", &handle));
    EXPECT_EQ(handle, 0) << "a failed launch always writes a null handle";
}

TEST(AboutBox, RunsDialog100AndIsTheApplicationsCommand) {
    FakePlatform fake;
    std::vector<std::string> calls;
    COrvaneStartApp app(fake.platform(), RecordingFrames(calls));
    EXPECT_TRUE(app.OnCmdMsg(res::ID_APP_ABOUT));
    EXPECT_EQ(fake.dialogs, std::vector<int>{res::IDD_ABOUTBOX});
    EXPECT_FALSE(app.OnCmdMsg(res::ID_VIEW_IMAGES));
    EXPECT_FALSE(app.OnCmdMsg(res::ID_FILE_OPEN));
}

TEST(Resources, DialogsAndTextsAreThoseUsersSee) {
    const res::DialogTemplate* gate = res::FindDialog(res::IDD_BROWSER_CHECK);
    ASSERT_NE(gate, nullptr);
    EXPECT_EQ(res::LoadString(gate->captionId), "Internet Explorer version check");
    ASSERT_EQ(gate->items.size(), 3u);
    EXPECT_EQ(gate->items[1].kind, res::DialogItem::Kind::DefaultButton);
    EXPECT_EQ(gate->items[1].id, res::IDOK);
    EXPECT_EQ(res::LoadString(gate->items[1].textId), "Install Internet Explorer");
    EXPECT_EQ(gate->items[2].id, res::IDCANCEL);

    const res::DialogTemplate* notice = res::FindDialog(res::IDD_LAUNCHING);
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->systemMenu) << "the launching notice has no close box";
    EXPECT_EQ(res::LoadString(notice->items[0].textId), "Launching DICOM Image Viewer...");

    EXPECT_EQ(res::CommandPrompt(res::ID_VIEW_REFRESH),
              "Refreshes the contents of the current page.");
    EXPECT_EQ(res::CommandTooltip(res::ID_FONT_DROPDOWN), "Fonts");
    EXPECT_EQ(res::CommandTooltip(res::ID_FONT_LARGEST), "");
    EXPECT_EQ(res::CommandPrompt(res::ID_VIEW_IMAGES), "") << "no string: no prompt";
    EXPECT_EQ(res::LoadString(999), "");
}

}  // namespace
}  // namespace orvane::testing
