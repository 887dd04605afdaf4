// The main frame window: menu bar, toolbar and status bar (when the settings want them) around
// the browser view; its own commands (View Images, View Results, Start Page), the Font dropdown,
// the rule that enables View Results, the caption rule and the viewer launch.
#pragma once

#include <memory>
#include <string>

#include "app/CommandTarget.h"
#include "app/DocTemplate.h"
#include "app/OrvaneStartApp.h"
#include "platform/Window.h"

namespace orvane {

class COrvaneStartView;

class CMainFrame final : public MainWindow, public platform::FrameEvents {
  public:
    CMainFrame(COrvaneStartApp& app, platform::WindowSystem& windows);
    ~CMainFrame() override;

    // Creates the window from resource `resourceId` (128: menu and accelerator table; 0:
    // neither) with the view inside, showing `document`. False when the window cannot be made.
    bool LoadFrame(int resourceId, COrvaneStartDoc& document);

    // The caption: the document's title, " - " and the window title when page titles are
    // wanted; the window title alone otherwise.
    std::string FrameCaption() const;
    void OnUpdateFrameTitle();

    // Starts the image viewer and shows the launching notice, or says why it cannot.
    void LaunchViewer();

    // MainWindow
    void ShowWindow(int showCommand) override;
    void UpdateWindow() override;
    void DestroyWindow() override;

    // FrameEvents: routing through view, frame and application.
    void OnCommand(int commandId) override;
    bool IsCommandEnabled(int commandId) override;
    void OnToolbarDropDown(int commandId, platform::Point buttonBottomLeft) override;
    std::string CommandPrompt(int commandId) override;
    std::string CommandTooltip(int commandId) override;

    // Commands of the frame.
    void OnViewImages(int);
    void OnViewResults(int);
    void OnViewStartPage(int);
    void OnNothing(int) {}
    void OnUpdateViewResults(CCmdUI& state);
    void OnFontDropDown(int commandId, platform::Point buttonBottomLeft);

    // The status bar's message pane.
    void SetMessageText(std::string_view text);

    COrvaneStartView* GetActiveView() const { return view_.get(); }
    platform::FrameWindow* window() const { return window_.get(); }
    COrvaneStartApp& app() { return app_; }

  private:
    COrvaneStartApp& app_;
    platform::WindowSystem& windows_;
    COrvaneStartDoc* document_ = nullptr;
    std::string title_;       // the frame's title: the window title of the settings
    bool addToTitle_ = true;  // the document's title goes in front of it
    std::unique_ptr<COrvaneStartView> view_;
    std::unique_ptr<platform::FrameWindow> window_;
};

}  // namespace orvane

namespace orvane {
// The frame maker of the application: a CMainFrame in `windows`, loaded from the template's
// resource id.
COrvaneStartApp::FrameMaker MainFrameMaker(platform::WindowSystem& windows);
}  // namespace orvane
