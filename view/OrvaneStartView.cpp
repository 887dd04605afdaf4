#include "view/OrvaneStartView.h"

#include "frame/MainFrame.h"
#include "platform/Text.h"

namespace orvane {
namespace {

using V = COrvaneStartView;
constexpr CommandEntry<V> kViewCommands[] = {
    {res::ID_VIEW_REFRESH, res::ID_VIEW_REFRESH, &V::OnBrowse},
    {res::ID_FONT_LARGEST, res::ID_FONT_SMALLEST, &V::OnFontSize},
    {res::ID_FILE_OPEN, res::ID_FILE_OPEN, &V::OnFileOpen},
    {res::ID_HELP_CUSTOM, res::ID_HELP_CUSTOM, &V::OnHelpCustom},
    {res::ID_GO_BACK, res::ID_GO_BACK, &V::OnBrowse},
    {res::ID_GO_FORWARD, res::ID_GO_FORWARD, &V::OnBrowse},
    {res::ID_GO_HOME, res::ID_GO_HOME, &V::OnBrowse},
    {res::ID_GO_SEARCH, res::ID_GO_SEARCH, &V::OnBrowse},
    {res::ID_VIEW_STOP, res::ID_VIEW_STOP, &V::OnBrowse},
    {res::ID_HELP_WEB_TUTORIAL, res::ID_HELP_WEB_TUTORIAL, &V::OnHelpLink},
    {res::ID_HELP_LINK_FIRST, res::ID_HELP_LINK_LAST, &V::OnHelpLink},
    {res::ID_HELP_LINK_EXTRA, res::ID_HELP_LINK_EXTRA, &V::OnHelpLink},
};

}  // namespace

NavigationAction ClassifyNavigation(std::string_view address, std::string_view resultsFileName) {
    const std::string upper = text::UpperAscii(address);
    if (upper.find(kViewerKeyword) != std::string::npos)
        return NavigationAction::LaunchViewer;
    if (!resultsFileName.empty() && upper.find(resultsFileName) != std::string::npos) {
        return NavigationAction::CheckResults;
    }
    return NavigationAction::Allow;
}

int TextSizeLevel(int fontCommandId) {
    return res::ID_FONT_SMALLEST - fontCommandId;
}

int HelpLinkString(int commandId) {
    switch (commandId) {
        case res::ID_HELP_WEB_TUTORIAL:
            return 736;
        case 32800:
            return 737;
        case 32801:
            return 738;
        case 32802:
            return 741;
        case 32803:
            return 742;
        case 32804:
            return 744;
        case 32805:
            return 745;
        case 32806:
            return 746;
        case 32807:
            return 747;
        case res::ID_HELP_LINK_EXTRA:
            return 743;
        default:
            return 0;
    }
}

COrvaneStartView::COrvaneStartView(COrvaneStartApp& app, CMainFrame& frame,
                                   COrvaneStartDoc& document)
    : app_(app), frame_(frame), document_(document) {}

void COrvaneStartView::OnInitialUpdate() {
    if (auto* window = frame_.window())
        window->SetCaption(app_.settings().windowTitle);
    // The start page is not tested: the engine shows its own page for what it cannot load.
    Navigate2(app_.settings().splashPage);
}

void COrvaneStartView::Navigate2(std::string_view pathOrAddress) {
    if (engine_)
        engine_->Navigate(pathOrAddress);
}

bool COrvaneStartView::OnCmdMsg(int commandId) {
    return DispatchCommand<V>(kViewCommands, *this, commandId);
}

bool COrvaneStartView::HandlesCommand(int commandId) const {
    return orvane::HandlesCommand<V>(kViewCommands, commandId);
}

void COrvaneStartView::OnBeforeNavigate2(std::string_view address, bool& cancel) {
    const LaunchSettings& s = app_.settings();
    switch (ClassifyNavigation(address, s.resultsFileName)) {
        case NavigationAction::LaunchViewer:
            frame_.LaunchViewer();
            cancel = true;  // whether the launch succeeded or not
            return;
        case NavigationAction::CheckResults:
            // Always the disc's results page, whatever file the address names.
            if (!app_.platform().files.FindFile(s.resultsPage)) {
                app_.platform().ui.MessageBox(res::LoadString(res::IDS_NO_RESULTS),
                                              platform::MB_ICONINFORMATION);
                cancel = true;
            }
            return;
        case NavigationAction::Allow:
            return;
    }
}

bool COrvaneStartView::OnBeforeNavigate(std::string_view address) {
    bool cancel = false;
    OnBeforeNavigate2(address, cancel);
    return cancel;
}

void COrvaneStartView::OnTitleChange(std::string_view title) {
    document_.SetTitle(title);
}

void COrvaneStartView::OnStatusText(std::string_view text) {
    frame_.SetMessageText(text);
}

void COrvaneStartView::OnDocumentComplete(std::string_view) {}

void COrvaneStartView::OnFontSize(int commandId) {
    if (engine_)
        engine_->SetTextSize(TextSizeLevel(commandId));
}

void COrvaneStartView::OnFileOpen(int) {
    auto path = app_.platform().ui.GetOpenFileName(res::LoadString(res::IDS_OPEN_FILE_FILTER));
    if (path)
        Navigate2(*path);
}

void COrvaneStartView::OnHelpCustom(int) {
    const std::string& page = app_.settings().customHelpPage;
    if (app_.platform().files.FindFile(page)) {
        Navigate2(page);
    } else {
        app_.platform().ui.MessageBox(res::LoadString(res::IDS_MSG_NO_CUSTOM_HELP),
                                      platform::MB_OK);
    }
}

void COrvaneStartView::OnBrowse(int commandId) {
    if (!engine_)
        return;
    switch (commandId) {
        case res::ID_GO_BACK:
            engine_->GoBack();
            break;
        case res::ID_GO_FORWARD:
            engine_->GoForward();
            break;
        case res::ID_GO_HOME:
            engine_->GoHome();
            break;
        case res::ID_GO_SEARCH:
            engine_->GoSearch();
            break;
        case res::ID_VIEW_STOP:
            engine_->Stop();
            break;
        case res::ID_VIEW_REFRESH:
            engine_->Refresh();
            break;
        default:
            break;
    }
}

void COrvaneStartView::OnHelpLink(int commandId) {
    if (int id = HelpLinkString(commandId))
        Navigate2(res::LoadString(id));
}

}  // namespace orvane
