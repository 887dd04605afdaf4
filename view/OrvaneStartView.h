// The browser view: shows the disc's pages, answers the browsing commands and watches every
// navigation (the viewer keyword, links to results the disc lacks, page titles).
#pragma once

#include <string_view>

#include "app/CommandTarget.h"
#include "app/OrvaneStartApp.h"
#include "platform/Window.h"

namespace orvane {

class CMainFrame;

// The keyword that, anywhere in a link's address and in any case, starts the image viewer.
inline constexpr std::string_view kViewerKeyword = "ORVANERUNVIEWER";

// What a navigation leads to.
enum class NavigationAction {
    Allow,         // load it
    LaunchViewer,  // start the viewer instead; never load the address
    CheckResults,  // load it only while the results page can be opened
};

// The decision on an address, before any file is looked at. The keyword wins over the results
// check; an empty results file name turns the check off.
NavigationAction ClassifyNavigation(std::string_view address, std::string_view resultsFileName);

// The text size level (0 smallest to 4 largest) of a Font command.
int TextSizeLevel(int fontCommandId);

// The string that holds the web address of a help-link command; 0 for other commands.
int HelpLinkString(int commandId);

class COrvaneStartView final : public platform::BrowserEvents {
  public:
    COrvaneStartView(COrvaneStartApp& app, CMainFrame& frame, COrvaneStartDoc& document);

    // The engine the view drives; set once the frame's window exists.
    void Attach(platform::BrowserEngine& engine) { engine_ = &engine; }

    // Gives the main window its title and shows the start page.
    void OnInitialUpdate();

    // Loads a local path or an address.
    void Navigate2(std::string_view pathOrAddress);

    bool OnCmdMsg(int commandId);
    bool HandlesCommand(int commandId) const;

    // The navigation hooks.
    void OnBeforeNavigate2(std::string_view address, bool& cancel);
    bool OnBeforeNavigate(std::string_view address) override;
    void OnTitleChange(std::string_view title) override;
    void OnStatusText(std::string_view text) override;
    void OnDocumentComplete(std::string_view address) override;

    // Commands.
    // Back, forward, home, search, stop and reload: the engine's own operations.
    void OnBrowse(int commandId);
    void OnFontSize(int commandId);
    void OnFileOpen(int);
    void OnHelpCustom(int);
    void OnHelpLink(int commandId);

  private:
    COrvaneStartApp& app_;
    CMainFrame& frame_;
    COrvaneStartDoc& document_;
    platform::BrowserEngine* engine_ = nullptr;
};

}  // namespace orvane
