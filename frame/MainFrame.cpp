#include "frame/MainFrame.h"

#include "frame/LaunchingDlg.h"
#include "platform/Text.h"
#include "view/OrvaneStartView.h"

namespace orvane {
namespace {

using F = CMainFrame;
constexpr CommandEntry<F> kFrameCommands[] = {
    {res::ID_VIEW_IMAGES, res::ID_VIEW_IMAGES, &F::OnViewImages},
    {res::ID_VIEW_RESULTS, res::ID_VIEW_RESULTS, &F::OnViewResults},
    {res::ID_HELP_CUSTOM, res::ID_HELP_CUSTOM, &F::OnNothing},  // the view answers first
    {res::ID_VIEW_START_PAGE, res::ID_VIEW_START_PAGE, &F::OnViewStartPage},
    {res::IDOK, res::IDOK, &F::OnNothing},
    {res::ID_FAVORITES_DROPDOWN, res::ID_FAVORITES_DROPDOWN, &F::OnNothing},
    {res::ID_FONT_DROPDOWN, res::ID_FONT_DROPDOWN, &F::OnNothing},  // keeps the button enabled
};

constexpr UpdateEntry<F> kFrameUpdates[] = {
    {res::ID_VIEW_RESULTS, &F::OnUpdateViewResults},
};

}  // namespace

CMainFrame::CMainFrame(COrvaneStartApp& app, platform::WindowSystem& windows)
    : app_(app), windows_(windows), title_(app.settings().windowTitle) {}

CMainFrame::~CMainFrame() {
    // The window goes first: it reports to the view until it is gone.
    window_.reset();
    view_.reset();
}

bool CMainFrame::LoadFrame(int resourceId, COrvaneStartDoc& document) {
    const LaunchSettings& s = app_.settings();
    addToTitle_ = s.displayHTMLDocTitle;
    title_ = s.windowTitle;
    document_ = &document;
    view_ = std::make_unique<COrvaneStartView>(app_, *this, document);

    platform::FrameDescription description;
    description.resourceId = resourceId;
    description.showBars = s.showMenu;
    description.caption = FrameCaption();
    window_ = windows_.CreateFrame(description, *this, *view_);
    if (!window_) {
        view_.reset();
        return false;
    }
    view_->Attach(window_->Browser());
    document.OnTitleChanged([this] { OnUpdateFrameTitle(); });
    view_->OnInitialUpdate();
    OnUpdateFrameTitle();
    return true;
}

std::string CMainFrame::FrameCaption() const {
    if (!addToTitle_ || document_ == nullptr)
        return title_;
    return document_->GetTitle() + " - " + title_;
}

void CMainFrame::OnUpdateFrameTitle() {
    if (window_)
        window_->SetCaption(FrameCaption());
}

void CMainFrame::ShowWindow(int showCommand) {
    if (window_)
        window_->ShowWindow(showCommand);
}

void CMainFrame::UpdateWindow() {
    if (window_)
        window_->UpdateWindow();
}

void CMainFrame::DestroyWindow() {
    if (window_)
        window_->Close();
}

void CMainFrame::OnCommand(int commandId) {
    if (view_ && view_->OnCmdMsg(commandId))
        return;
    if (DispatchCommand<F>(kFrameCommands, *this, commandId))
        return;
    app_.OnCmdMsg(commandId);
}

bool CMainFrame::IsCommandEnabled(int commandId) {
    CCmdUI state{commandId, (view_ && view_->HandlesCommand(commandId)) ||
                                HandlesCommand<F>(kFrameCommands, commandId) ||
                                app_.HandlesCommand(commandId)};
    DispatchUpdate<F>(kFrameUpdates, *this, state);
    return state.enabled;
}

void CMainFrame::OnToolbarDropDown(int commandId, platform::Point buttonBottomLeft) {
    OnFontDropDown(commandId, buttonBottomLeft);
}

std::string CMainFrame::CommandPrompt(int commandId) {
    return std::string(res::CommandPrompt(commandId));
}

std::string CMainFrame::CommandTooltip(int commandId) {
    return std::string(res::CommandTooltip(commandId));
}

void CMainFrame::OnViewImages(int) {
    LaunchViewer();
}

void CMainFrame::OnViewResults(int) {
    if (view_)
        view_->Navigate2(app_.settings().resultsPage);
}

void CMainFrame::OnViewStartPage(int) {
    if (view_)
        view_->Navigate2(app_.settings().splashPage);
}

void CMainFrame::OnUpdateViewResults(CCmdUI& state) {
    // Asked anew each time: the results may come and go with the medium.
    if (!app_.platform().files.FindFile(app_.settings().resultsPage))
        state.Enable(false);
}

void CMainFrame::OnFontDropDown(int commandId, platform::Point buttonBottomLeft) {
    if (commandId != res::ID_FONT_DROPDOWN || !window_)
        return;
    // One pixel below the button's bottom-left corner.
    window_->TrackPopupMenu(res::IDR_FONT_DROPDOWN, {buttonBottomLeft.x, buttonBottomLeft.y + 1});
}

void CMainFrame::SetMessageText(std::string_view text) {
    if (window_)
        window_->SetMessageText(text);
}

void CMainFrame::LaunchViewer() {
    const LaunchSettings& s = app_.settings();
    platform::Ui& ui = app_.platform().ui;
    if (s.viewerCommand.empty()) {
        ui.MessageBox(
            std::string(res::LoadString(res::IDS_MSG_CANNOT_LAUNCH_VIEWER)) + s.settingsMessage,
            platform::MB_ICONEXCLAMATION);
        return;
    }
    if (app_.LaunchProcess(s.viewerCommand, s.viewerWorkingDir)) {
        CLaunchingDlg notice(ui);
        notice.SetWaitInterval(s.waitInterval);
        notice.DoModal();
    } else {
        ui.MessageBox(text::Substitute(res::LoadString(res::IDS_MSG_VIEWER_COMMAND_INVALID), "%s",
                                       s.viewerCommand),
                      platform::MB_ICONEXCLAMATION);
    }
}

}  // namespace orvane

namespace orvane {
COrvaneStartApp::FrameMaker MainFrameMaker(platform::WindowSystem& windows) {
    return [&windows](COrvaneStartApp& app, int resourceId,
                      COrvaneStartDoc& document) -> std::unique_ptr<MainWindow> {
        auto frame = std::make_unique<CMainFrame>(app, windows);
        if (!frame->LoadFrame(resourceId, document))
            return nullptr;
        return frame;
    };
}
}  // namespace orvane
