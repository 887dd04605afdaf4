#include "app/OrvaneStartApp.h"

#include "app/CommandTarget.h"
#include "app/Dialogs.h"
#include "app/Paths.h"
#include "app/SettingsFile.h"
#include "app/SettingsRules.h"
#include "platform/Text.h"
#include "res/Resources.h"

namespace orvane {

namespace {
// The browser's registration holds the version in a 256-byte value, terminating zero included.
constexpr std::size_t kMaxVersionText = 255;
}  // namespace

COrvaneStartApp::COrvaneStartApp(Platform platform, FrameMaker makeFrame)
    : platform_(platform), makeFrame_(std::move(makeFrame)) {}

bool COrvaneStartApp::InitInstance() {
    if (!platform_.system.StartSockets()) {
        platform_.ui.MessageBox(res::LoadString(res::IDP_SOCKETS_INIT_FAILED), platform::MB_OK);
        return false;
    }
    platform_.system.EnableControlContainer();
    platform_.system.Enable3dControls();
    platform_.system.SetRegistryKey(res::LoadString(res::IDS_REGISTRY_KEY));
    platform_.system.LoadStdProfileSettings(0);

    LoadSettingsFrom(FolderOfFile(platform_.system.ModuleFileName()));

    const int resourceId = settings_.showMenu ? res::IDR_MAINFRAME : 0;
    template_ = std::make_unique<CSingleDocTemplate>(
        resourceId, [this](int id, COrvaneStartDoc& document) -> std::unique_ptr<MainWindow> {
            if (!makeFrame_)
                return nullptr;
            return makeFrame_(*this, id, document);
        });

    if (!settings_.minimumIEVersion.empty() && !CheckBrowserVersion())
        return false;

    // The command line carries no switches of the program's own: a new, empty document.
    mainWindow_ = template_->OpenNewDocument();
    if (!mainWindow_)
        return false;

    mainWindow_->ShowWindow(settings_.showWindowCmd);
    mainWindow_->UpdateWindow();
    return true;
}

void COrvaneStartApp::LoadSettingsFrom(std::string_view appFolder) {
    settings_.appFolder = appFolder;
    // The path is the real name, in its real case, of the file that was found.
    FindSettingsFile(settings_.appFolder, settings_.baseFolder, platform_.files,
                     &settings_.settingsPath);
    LoadLaunchSettings(settings_, platform_.files);
}

std::string COrvaneStartApp::ReadInstalledIEVersion() {
    std::string version = platform_.system.InstalledBrowserVersion();
    if (version.size() > kMaxVersionText)
        return {};  // does not fit: unreadable
    return version.substr(0, version.find('\0'));
}

bool COrvaneStartApp::CheckBrowserVersion() {
    if (BrowserGatePasses(ReadInstalledIEVersion(), settings_.minimumIEVersion))
        return true;

    CBrowserCheckDlg dialog(platform_.ui);
    if (dialog.DoModal() == res::IDOK) {
        if (!LaunchProcess(settings_.ieInstallCommand, "")) {
            platform_.ui.MessageBox(text::Substitute(res::LoadString(res::IDS_MSG_INSTALL_FAILED),
                                                     "%s", settings_.ieInstallCommand),
                                    platform::MB_ICONWARNING);
        }
    }
    return false;
}

bool COrvaneStartApp::LaunchProcess(std::string_view commandLine, std::string_view workingFolder,
                                    platform::ProcessHandle* handle) {
    platform::ProcessHandle started = 0;
    const std::string_view folder = workingFolder.empty() ? settings_.baseFolder : workingFolder;
    const bool ok = platform_.processes.Start(commandLine, folder, started);
    if (handle)
        *handle = ok ? started : 0;
    return ok;
}

void COrvaneStartApp::ShowAboutBox() {
    CAboutDlg about(platform_.ui);
    about.DoModal();
}

namespace {
constexpr CommandEntry<COrvaneStartApp> kAppCommands[] = {
    {res::ID_APP_ABOUT, res::ID_APP_ABOUT, &COrvaneStartApp::OnAppAbout},
    {res::ID_APP_EXIT, res::ID_APP_EXIT, &COrvaneStartApp::OnAppExit},
};
}  // namespace

void COrvaneStartApp::OnAppExit(int) {
    if (mainWindow_)
        mainWindow_->DestroyWindow();
}

bool COrvaneStartApp::OnCmdMsg(int commandId) {
    return DispatchCommand<COrvaneStartApp>(kAppCommands, *this, commandId);
}

bool COrvaneStartApp::HandlesCommand(int commandId) const {
    return orvane::HandlesCommand<COrvaneStartApp>(kAppCommands, commandId);
}

}  // namespace orvane
