// The main window as the program sees it: a frame with an optional menu bar, toolbar and status
// bar around a browser engine. Backends build the window from the tables in res/ and report
// what the user does; they hold no rules of the program.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace orvane::platform {

struct Point {
    int x = 0;
    int y = 0;
};

// What the frame reports to the program. Calls come on the GUI thread; none may throw.
class FrameEvents {
  public:
    virtual ~FrameEvents() = default;
    // A command from the menu bar, the toolbar, an accelerator key or a popup menu.
    virtual void OnCommand(int commandId) = 0;
    // Whether a command can be given now. Asked when a menu opens and when the user acts on the
    // window; never by a timer.
    virtual bool IsCommandEnabled(int commandId) = 0;
    // The arrow of a dropdown toolbar button was pressed. `buttonBottomLeft` is the button's
    // bottom-left corner in screen coordinates.
    virtual void OnToolbarDropDown(int commandId, Point buttonBottomLeft) = 0;
    // The status-bar prompt of a command while its menu item is highlighted or the pointer is
    // over its button; empty for none.
    virtual std::string CommandPrompt(int commandId) = 0;
    virtual std::string CommandTooltip(int commandId) = 0;
};

// What the browser engine reports. Every navigation the engine is about to make (links, frames,
// scripts, forms, new-window requests) is reported once, outside any engine callback, and the
// engine waits for the answer; reports are handled one at a time, in order.
class BrowserEvents {
  public:
    virtual ~BrowserEvents() = default;
    // Answers true to cancel the navigation. May run modal dialogs.
    virtual bool OnBeforeNavigate(std::string_view address) = 0;
    // The shown page's title changed (never reported empty).
    virtual void OnTitleChange(std::string_view title) = 0;
    // The text the status bar should show (the link under the pointer), empty for none.
    virtual void OnStatusText(std::string_view text) = 0;
    // A page has finished loading.
    virtual void OnDocumentComplete(std::string_view address) = 0;
};

// The browser engine inside the frame. Results are not reported; the engine shows its own page
// for what it cannot load.
class BrowserEngine {
  public:
    virtual ~BrowserEngine() = default;
    // A local path (absolute, or relative to the current folder) or an address.
    virtual void Navigate(std::string_view pathOrAddress) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void GoHome() = 0;    // the engine's own home page
    virtual void GoSearch() = 0;  // the engine's own search page
    virtual void Stop() = 0;
    virtual void Refresh() = 0;
    // Text size from 0 (smallest) to 4 (largest); 2 is the normal size. Only text is scaled.
    virtual void SetTextSize(int level) = 0;
};

struct FrameDescription {
    int resourceId = 0;    // menu and accelerator table; 0 for neither
    bool showBars = true;  // toolbar and status bar
    std::string caption;   // the first caption
};

// The main frame window. Owned by the program; closing it ends the message loop.
class FrameWindow {
  public:
    virtual ~FrameWindow() = default;
    virtual BrowserEngine& Browser() = 0;
    virtual void SetCaption(std::string_view caption) = 0;
    // The status bar's message pane ("Ready" when `text` is empty). Nothing without a status bar.
    virtual void SetMessageText(std::string_view text) = 0;
    // Show state: 1 normal, 2 minimised, 3 maximised, 4 normal without activation, 7 minimised
    // without activation, 9 restored.
    virtual void ShowWindow(int showCommand) = 0;
    virtual void UpdateWindow() = 0;
    // Shows the first popup of menu `menuId` with its top-left corner at `topLeft` (screen
    // coordinates); the chosen command is reported through FrameEvents::OnCommand.
    virtual void TrackPopupMenu(int menuId, Point topLeft) = 0;
    // Brings command states (enabled or not) up to date now.
    virtual void UpdateCommandStates() = 0;
    // Closes the window, which ends the message loop.
    virtual void Close() = 0;
};

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    // Creates the main frame window with its browser engine (not shown yet). The events must
    // outlive the window. Null when the window cannot be created.
    virtual std::unique_ptr<FrameWindow> CreateFrame(const FrameDescription& description,
                                                     FrameEvents& frameEvents,
                                                     BrowserEvents& browserEvents) = 0;
    // Runs the message loop until the main frame window closes.
    virtual void Run() = 0;
};

}  // namespace orvane::platform
