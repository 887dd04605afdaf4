// The application object: start-up, the launch settings, the About command and the launcher.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/DocTemplate.h"
#include "app/LaunchSettings.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/System.h"
#include "platform/Ui.h"

namespace orvane {

// The platform services the program runs on; the caller keeps them alive longer than the app.
struct Platform {
    platform::System& system;
    platform::FileSystem& files;
    platform::ProcessLauncher& processes;
    platform::Ui& ui;
};

class COrvaneStartApp {
  public:
    // Makes the main frame and its view for the application's document template.
    using FrameMaker = std::function<std::unique_ptr<MainWindow>(
        COrvaneStartApp& app, int resourceId, COrvaneStartDoc& document)>;

    COrvaneStartApp(Platform platform, FrameMaker makeFrame);

    // Runs start-up. True when the main window has been created and shown; false ends the
    // program (the message loop must not run).
    bool InitInstance();

    // Finds COMMAND.TXT above `appFolder` and loads it: exactly what start-up does once it
    // knows the program's folder. `orvane-inspect` runs this too.
    void LoadSettingsFrom(std::string_view appFolder);

    // The browser version gate: true to go on. When it stops it has shown its dialog and, if
    // asked to, started the installer.
    bool CheckBrowserVersion();

    // The installed browser version text, at most 255 bytes; empty when there is none.
    std::string ReadInstalledIEVersion();

    // Starts a program from `commandLine` in `workingFolder` (or `baseFolder` when that is
    // empty) without waiting. True when it started; `handle` (if given) is always written.
    bool LaunchProcess(std::string_view commandLine, std::string_view workingFolder,
                       platform::ProcessHandle* handle = nullptr);

    // ID_APP_ABOUT.
    void ShowAboutBox();

    // Handles a command if the application object owns it (About, Exit); false when not.
    bool OnCmdMsg(int commandId);
    bool HandlesCommand(int commandId) const;

    const LaunchSettings& settings() const { return settings_; }
    MainWindow* mainWindow() const { return mainWindow_.get(); }
    const CSingleDocTemplate* docTemplate() const { return template_.get(); }
    Platform& platform() { return platform_; }

    void OnAppAbout(int) { ShowAboutBox(); }
    void OnAppExit(int);

  private:
    Platform platform_;
    FrameMaker makeFrame_;
    LaunchSettings settings_;
    std::unique_ptr<CSingleDocTemplate> template_;
    std::unique_ptr<MainWindow> mainWindow_;
};

}  // namespace orvane
